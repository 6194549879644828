// The system calls of POSIX systems.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/System.h"

namespace roster {

Kind System::kindOf(const char* path, int& mode) {
    struct stat status;
    if (stat(path, &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Kind::Missing : Kind::Other;
    }
    if (!S_ISREG(status.st_mode)) {
        return Kind::Other;
    }
    mode = static_cast<int>(status.st_mode & 07777);
    return Kind::Regular;
}

bool System::isFolder(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

bool System::followLinks(Path& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status;
        char target[kMaxPath];
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            break;
        }
        const ssize_t size = readlink(path.c_str(), target, sizeof target);
        if (size <= 0) {
            break;
        }
        path.cut(target[0] == '/' ? 0 : path.folderLength());
        path.add(target, static_cast<std::size_t>(size));
    }
    return path.fitsIn();
}

namespace {

bool sameIdentity(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The folder that `path` names a file in, as a path of its own.
bool folderOf(const Path& path, struct stat& status) {
    Path folder;
    const std::size_t length = path.folderLength();
    folder.add(length == 0 ? "." : path.c_str(), length == 0 ? 1 : length);
    return folder.fitsIn() && stat(folder.c_str(), &status) == 0;
}

}  // namespace

bool System::sameFile(const char* a, const char* b) {
    struct stat first;
    struct stat second;
    if (stat(a, &first) == 0 && stat(b, &second) == 0) {
        return sameIdentity(first, second);
    }
    Path one;
    Path other;
    if (!one.add(a).fitsIn() || !followLinks(one) || !other.add(b).fitsIn() ||
        !followLinks(other)) {
        return false;
    }
    return std::strcmp(one.c_str() + one.folderLength(), other.c_str() + other.folderLength()) ==
               0 &&
           folderOf(one, first) && folderOf(other, second) && sameIdentity(first, second);
}

// Never follows a link and never opens a file that is already there.
int System::createNew(const char* path, int mode) {
    const int file = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file >= 0 && mode >= 0 && fchmod(file, static_cast<mode_t>(mode)) != 0) {
        const int error = errno;
        close(file);
        unlink(path);
        errno = error;
        return -1;
    }
    return file;
}

int System::openForWriting(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

int System::openForReading(const char* path) {
    return open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

int System::openRegularFile(const char* path) {
    const int file = openForReading(path);
    struct stat status;
    if (file >= 0 && (fstat(file, &status) != 0 || !S_ISREG(status.st_mode))) {
        close(file);
        return -1;
    }
    return file;
}

bool System::flushToDisk(int file) {
    return fsync(file) == 0;
}

bool System::closeFile(int file) {
    return close(file) == 0;
}

long System::readOnce(int file, char* data, std::size_t size) {
    return static_cast<long>(read(file, data, size));
}

long System::writeOnce(int file, const char* data, std::size_t size) {
    return static_cast<long>(write(file, data, size));
}

// A file that is ready for writing takes PIPE_BUF bytes at once, as a pipe
// does; a pipe without a reader, or a terminal that has gone, takes none.
long System::writeWithoutWaiting(int file, const char* data, std::size_t size) {
    struct pollfd ready = {file, POLLOUT, 0};
    if (poll(&ready, 1, 0) != 1 || ready.revents != POLLOUT) {
        return 0;
    }
    const long written = writeOnce(file, data, size < PIPE_BUF ? size : PIPE_BUF);
    return written < 0 && (errno == EAGAIN || errno == EINTR) ? 0 : written;
}

Done System::rename(const char* from, const char* to) {
    return std::rename(from, to) == 0 ? Done::Yes : Done::Failed;
}

// A second name that only a free name takes, then the first one dropped.
Published System::publish(const char* from, const char* to) {
    if (link(from, to) != 0) {
        return errno == EEXIST ? Published::Exists : Published::Failed;
    }
    unlink(from);
    return Published::Yes;
}

Done System::remove(const char* path) {
    return unlink(path) == 0 ? Done::Yes : Done::Failed;
}

bool System::listFolder(const char* folder, std::vector<std::string>& names) {
    DIR* entries = opendir(folder);
    if (entries == nullptr) {
        return false;
    }
    while (const struct dirent* entry = readdir(entries)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    return closedir(entries) == 0;
}

long long System::secondsSinceWritten(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 ? static_cast<long long>(time(nullptr) - status.st_mtime) : -1;
}

// Some file systems cannot flush a folder (EINVAL); the change is then as
// safe as they make it.
bool System::flushFolder(const char* folder) {
    const int file = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    const bool flushed = fsync(file) == 0 || errno == EINVAL;
    return close(file) == 0 && flushed;
}

// A name that begins with a dot is hidden already.
void System::hideFile(const char* /*path*/) {}

int System::openSmallFile(const char* path, std::size_t capacity, long long& age) {
    const int file = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat status;
    if (file >= 0 && fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<unsigned long long>(status.st_size) <= capacity) {
        age = static_cast<long long>(time(nullptr) - status.st_mtime);
        return file;
    }
    if (file >= 0) {
        close(file);
    }
    return -1;
}

const char kProgramName[] = "roster";

unsigned long System::processId() {
    return static_cast<unsigned long>(getpid());
}

bool System::processGone(unsigned long id) {
    return id > 0 && id <= static_cast<unsigned long>(INT_MAX) &&
           kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

long long System::clockMilliseconds() {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

long long System::secondsSinceBoot() {
#ifdef CLOCK_BOOTTIME
    struct timespec now;
    return clock_gettime(CLOCK_BOOTTIME, &now) == 0 ? static_cast<long long>(now.tv_sec) : -1;
#else
    return -1;
#endif
}

void System::pauseMilliseconds(int milliseconds) {
    struct timespec pause = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

bool System::isTerminal(int file) {
    return isatty(file) == 1;
}

void System::failWritesToClosedPipes() {
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, nullptr);
}

std::vector<std::string> System::commandLine(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

namespace {

// The password database's entry for the user the program runs as, read
// into `room`; nullptr when there is none.
struct passwd* userEntry(struct passwd& entry, std::vector<char>& room) {
    room.resize(16384);
    struct passwd* found = nullptr;
    return getpwuid_r(geteuid(), &entry, room.data(), room.size(), &found) == 0 ? found : nullptr;
}

}  // namespace

std::string System::loginName() {
    struct passwd entry;
    std::vector<char> room;
    if (const struct passwd* user = userEntry(entry, room)) {
        return user->pw_name;
    }
    const char* name = std::getenv("LOGNAME");
    return name != nullptr ? name : "";
}

// The comment field of the entry begins with the full name; what follows a
// comma is an office or a telephone number.
std::string System::fullName() {
    struct passwd entry;
    std::vector<char> room;
    const struct passwd* user = userEntry(entry, room);
    if (user == nullptr || user->pw_gecos == nullptr) {
        return "";
    }
    const std::string comment = user->pw_gecos;
    return comment.substr(0, comment.find(','));
}

std::string System::hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return "";
    }
    return name;
}

}  // namespace roster
