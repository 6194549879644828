// Runs a command several times, each with standard input read from a file
// and standard output thrown away, and prints four figures: the best
// wall-clock time and the best processor time (user and system) in seconds,
// the largest peak resident set size in KiB, and the most write calls a
// run made (from /proc/PID/io, read before the finished run is reaped; -1
// where the system does not tell). On a busy machine the
// processor time is the steadier of the two: it leaves out the time spent
// waiting for a core.
//
//   measure RUNS INPUT COMMAND [ARGUMENT...]
//
// Fails when a run does not end with status 0.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// The write calls of a process that has ended but is not reaped yet.
long writeCalls(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/io", static_cast<long>(pid));
    std::FILE* file = std::fopen(path, "r");
    long calls = -1;
    char line[128];
    while (file != nullptr && std::fgets(line, sizeof line, file) != nullptr) {
        std::sscanf(line, "syscw: %ld", &calls);
    }
    if (file != nullptr) {
        std::fclose(file);
    }
    return calls;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: measure RUNS INPUT COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    if (runs < 1) {
        std::fprintf(stderr, "measure: RUNS must be at least 1\n");
        return 2;
    }
    double best = 0.0;
    double bestProcessor = 0.0;
    long peak = 0;
    long writes = -1;
    for (int run = 0; run < runs; ++run) {
        const double start = now();
        const pid_t pid = fork();
        if (pid < 0) {
            std::perror("measure: fork");
            return 1;
        }
        if (pid == 0) {
            const int input = open(argv[2], O_RDONLY);
            const int output = open("/dev/null", O_WRONLY);
            if (input < 0 || output < 0 || dup2(input, 0) < 0 || dup2(output, 1) < 0) {
                std::perror("measure: redirect");
                _exit(127);
            }
            close(input);
            close(output);
            execvp(argv[3], argv + 3);
            std::perror("measure: exec");
            _exit(127);
        }
        siginfo_t ended{};
        if (waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT) < 0) {
            std::perror("measure: waitid");
            return 1;
        }
        const long calls = writeCalls(pid);
        writes = calls > writes || run == 0 ? calls : writes;
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) < 0) {
            std::perror("measure: wait4");
            return 1;
        }
        const double elapsed = now() - start;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "measure: %s did not end with status 0\n", argv[3]);
            return 1;
        }
        const double processor = seconds(usage.ru_utime) + seconds(usage.ru_stime);
        if (run == 0 || elapsed < best) {
            best = elapsed;
        }
        if (run == 0 || processor < bestProcessor) {
            bestProcessor = processor;
        }
        if (usage.ru_maxrss > peak) {
            peak = usage.ru_maxrss;
        }
    }
    std::printf("%.6f %.6f %ld %ld\n", best, bestProcessor, peak, writes);
    return 0;
}
