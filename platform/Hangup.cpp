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

#include "platform/StandardIo.h"

namespace roster {

namespace {

void (*saveFunction)(void*) = nullptr;
void* saveContext = nullptr;
// Guards within guards hold a request back until the outermost ends, and
// while no SaveOnHangup lives there is no request to hold back.
int guardDepth = 0;
bool holding = false;

// What the program does on such a request before it ends.
void saveAndShow() {
    if (saveFunction != nullptr) {
        saveFunction(saveContext);
    }
    writeMarkedStandardOutput();
}

}  // namespace

#ifdef _WIN32

namespace {

SRWLOCK guardLock = SRWLOCK_INIT;

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT && event != CTRL_SHUTDOWN_EVENT) {
        return FALSE;  // Ctrl-C and Ctrl-Break end the program as always
    }
    AcquireSRWLockExclusive(&guardLock);
    saveAndShow();
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
    saveFunction = nullptr;
}

// Only the program's own thread makes guards; the handler runs on another.
HangupGuard::HangupGuard() {
    if (guardDepth++ == 0 && saveFunction != nullptr) {
        AcquireSRWLockExclusive(&guardLock);
        holding = true;
    }
}

HangupGuard::~HangupGuard() {
    if (--guardDepth == 0 && holding) {
        ReleaseSRWLockExclusive(&guardLock);
        holding = false;
    }
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
    saveAndShow();
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
    saveFunction = nullptr;
}

HangupGuard::HangupGuard() {
    if (guardDepth++ == 0 && saveFunction != nullptr) {
        const sigset_t set = hangupSignals();
        sigprocmask(SIG_BLOCK, &set, nullptr);
        holding = true;
    }
}

HangupGuard::~HangupGuard() {
    if (--guardDepth == 0 && holding) {
        const sigset_t set = hangupSignals();
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
        holding = false;
    }
}

#endif

}  // namespace roster
