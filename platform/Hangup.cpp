#include "platform/Hangup.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <iterator>
#endif

namespace roster {

namespace {

void (*saveFunction)(void*) = nullptr;
void* saveContext = nullptr;

}  // namespace

#ifdef _WIN32

namespace {

SRWLOCK guardLock = SRWLOCK_INIT;

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT && event != CTRL_SHUTDOWN_EVENT) {
        return FALSE;  // Ctrl-C and Ctrl-Break end the program as always
    }
    AcquireSRWLockExclusive(&guardLock);
    saveFunction(saveContext);
    ExitProcess(1);
}

}  // namespace

SaveOnHangup::SaveOnHangup(void (*save)(void*), void* context) {
    saveFunction = save;
    saveContext = context;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

SaveOnHangup::~SaveOnHangup() {
    HangupGuard guard;
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

HangupGuard::HangupGuard() {
    AcquireSRWLockExclusive(&guardLock);
}

HangupGuard::~HangupGuard() {
    ReleaseSRWLockExclusive(&guardLock);
}

#else

namespace {

const int kSignals[] = {SIGHUP, SIGTERM};
struct sigaction previous[std::size(kSignals)];

sigset_t hangupSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

extern "C" void onHangup(int signal) {
    saveFunction(saveContext);
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

SaveOnHangup::SaveOnHangup(void (*save)(void*), void* context) {
    saveFunction = save;
    saveContext = context;
    struct sigaction action = {};
    action.sa_handler = onHangup;
    action.sa_mask = hangupSignals();  // one save at a time
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
}

HangupGuard::HangupGuard() {
    const sigset_t set = hangupSignals();
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

HangupGuard::~HangupGuard() {
    const sigset_t set = hangupSignals();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

#endif

}  // namespace roster
