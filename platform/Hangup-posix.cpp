// Requests to stop on POSIX systems: signals.
#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <iterator>

#include "platform/Hangup.h"
#include "platform/StandardIo.h"

namespace roster {

namespace {

StopFunction stopFunction = nullptr;
void* stopContext = nullptr;
// Guards within guards hold a request back until the outermost ends, and
// while no SaveOnHangup lives there is no request to hold back.
int guardDepth = 0;
bool holding = false;
// A request is carried out once; a second one meanwhile is dropped.
volatile sig_atomic_t stopping = 0;
// The signal whose request waits for a write of standard output to return.
volatile sig_atomic_t deferred = 0;

const int kSignals[] = {SIGHUP, SIGTERM, SIGINT};
struct sigaction previous[std::size(kSignals)];

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

// The handler was reset to the default action on entry; letting the signal
// through again ends the program by it.
[[noreturn]] void endBy(int signal) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    raise(signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    _exit(128 + signal);
}

// A write that began just before a request was deferred to it is cut short
// by the next tick, at most a second later.
extern "C" void onTick(int /*signal*/) {
    alarm(1);
}

extern "C" void onStop(int signal) {
    if (stopping != 0) {
        return;
    }
    stopping = 1;
    const bool save = signal != SIGINT;
    if (stopFunction != nullptr) {
        stopFunction(stopContext, save);
    }
    if (save && !writeMarkedStandardOutput()) {
        // Returning cuts the program's write short; it then finishes here.
        struct sigaction tick = {};
        tick.sa_handler = onTick;
        sigaction(SIGALRM, &tick, nullptr);
        alarm(1);
        deferred = signal;
        return;
    }
    endBy(signal);
}

}  // namespace

SaveOnHangup::SaveOnHangup(StopFunction stop, void* context) {
    stopFunction = stop;
    stopContext = context;
    struct sigaction action = {};
    action.sa_handler = onStop;
    action.sa_mask = stopSignals();  // one request at a time
    // Not restarted: a write or a read that the signal cuts short returns.
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN) {
            sigaction(kSignals[i], &action, nullptr);
        }
    }
}

SaveOnHangup::~SaveOnHangup() {
    HangupGuard guard;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previous[i], nullptr);
    }
    stopFunction = nullptr;
}

HangupGuard::HangupGuard() {
    if (guardDepth++ == 0 && stopFunction != nullptr) {
        const sigset_t set = stopSignals();
        sigprocmask(SIG_BLOCK, &set, nullptr);
        holding = true;
    }
}

HangupGuard::~HangupGuard() {
    if (--guardDepth == 0 && holding) {
        const sigset_t set = stopSignals();
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
        holding = false;
    }
}

bool stopRequested() {
    sigset_t pending;
    if (deferred != 0 || sigpending(&pending) != 0) {
        return deferred != 0;
    }
    for (const int signal : kSignals) {
        if (sigismember(&pending, signal) == 1) {
            return true;
        }
    }
    return false;
}

bool stopDeferred() {
    return deferred != 0;
}

void finishStop() {
    alarm(0);
    writeMarkedStandardOutput();
    endBy(deferred);
}

}  // namespace roster
