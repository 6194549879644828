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

extern "C" void onStop(int signal) {
    const bool save = signal != SIGINT;
    if (stopFunction != nullptr) {
        stopFunction(stopContext, save);
    }
    if (save) {
        writeMarkedStandardOutput();
    }
    // The handler was reset to the default action on entry; letting the
    // signal through again ends the program by it.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    raise(signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    _exit(128 + signal);
}

}  // namespace

SaveOnHangup::SaveOnHangup(StopFunction stop, void* context) {
    stopFunction = stop;
    stopContext = context;
    struct sigaction action = {};
    action.sa_handler = onStop;
    action.sa_mask = stopSignals();  // one request at a time
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

}  // namespace roster
