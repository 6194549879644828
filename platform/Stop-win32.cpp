// Requests to stop on Windows: console control events, which the system
// hands to a thread of their own.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <atomic>

#include "platform/Stop.h"

namespace roster {

struct StopHandler::State {
    StopHandler& owner;
    StopWork& work;
    MarkedOutput* output;
    // Guards within guards hold a request back until the outermost ends.
    // Only the program's own thread makes guards; the request runs on another.
    int depth = 0;
};

namespace {

// The handler that requests reach, while one lives, and the lock that
// guards hold; a request waits for it, and finds the handler gone once it
// has ended. Whether a request that saves has come.
StopHandler::State* live = nullptr;
SRWLOCK guardLock = SRWLOCK_INIT;
std::atomic<bool> saving{false};

BOOL WINAPI onConsoleEvent(DWORD event) {
    const bool save =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    saving = save;
    AcquireSRWLockExclusive(&guardLock);
    StopHandler::State* state = live;
    if (state != nullptr) {
        state->work.onStop(save);
    }
    if (!save || state == nullptr) {
        ReleaseSRWLockExclusive(&guardLock);
        return FALSE;  // Ctrl-C and Ctrl-Break end the program as always
    }
    // A write of the output that the program is making hands the output
    // over once it returns; one that waits for its reader ends with the
    // program half a second later.
    for (int wait = 0; wait < 50 && state->output != nullptr && !state->output->writeMarked();
         ++wait) {
        Sleep(10);
    }
    ExitProcess(1);
}

}  // namespace

StopHandler::StopHandler(StopWork& work, MarkedOutput* output)
    : state(new State{*this, work, output}) {
    if (output != nullptr) {
        output->attach(this);
    }
    live = state.get();
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopHandler::~StopHandler() {
    AcquireSRWLockExclusive(&guardLock);
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    live = nullptr;
    if (state->output != nullptr) {
        state->output->attach(nullptr);
    }
    ReleaseSRWLockExclusive(&guardLock);
}

void StopHandler::hold() {
    if (state->depth++ == 0) {
        AcquireSRWLockExclusive(&guardLock);
    }
}

void StopHandler::release() {
    if (--state->depth == 0) {
        ReleaseSRWLockExclusive(&guardLock);
    }
}

bool StopHandler::requested() {
    return live != nullptr && saving;
}

bool StopHandler::deferred() const {
    return saving;
}

// The request's own thread writes what is marked and ends the program.
void StopHandler::finish() {
    for (;;) {
        Sleep(INFINITE);
    }
}

StopHandler* StopHandler::living() {
    return live == nullptr ? nullptr : &live->owner;
}

}  // namespace roster
