// Requests to stop on Windows: console control events, which the system
// hands to a thread of their own.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <atomic>

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
SRWLOCK guardLock = SRWLOCK_INIT;
std::atomic<bool> requested{false};

BOOL WINAPI onConsoleEvent(DWORD event) {
    const bool save =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    requested = save;
    AcquireSRWLockExclusive(&guardLock);
    if (stopFunction != nullptr) {
        stopFunction(stopContext, save);
    }
    if (!save) {
        ReleaseSRWLockExclusive(&guardLock);
        return FALSE;  // Ctrl-C and Ctrl-Break end the program as always
    }
    // A write of standard output that the program is making hands the
    // output over once it returns; one that waits for its reader ends with
    // the program half a second later.
    for (int wait = 0; wait < 50 && !writeMarkedStandardOutput(); ++wait) {
        Sleep(10);
    }
    ExitProcess(1);
}

}  // namespace

SaveOnHangup::SaveOnHangup(StopFunction stop, void* context) {
    stopFunction = stop;
    stopContext = context;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

SaveOnHangup::~SaveOnHangup() {
    HangupGuard guard;
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    stopFunction = nullptr;
}

// Only the program's own thread makes guards; the handler runs on another.
HangupGuard::HangupGuard() {
    if (guardDepth++ == 0 && stopFunction != nullptr) {
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

bool stopRequested() {
    return requested;
}

bool stopDeferred() {
    return requested;
}

// The request's own thread writes what is marked and ends the program.
void finishStop() {
    for (;;) {
        Sleep(INFINITE);
    }
}

}  // namespace roster
