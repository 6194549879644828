// Requests to stop on POSIX systems: signals.
#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <iterator>

#include "platform/Stop.h"

namespace roster {

namespace {

const int kSignals[] = {SIGHUP, SIGTERM, SIGINT};

}  // namespace

struct StopHandler::State {
    StopHandler& owner;
    StopWork& work;
    MarkedOutput* output;
    // Guards within guards hold a request back until the outermost ends.
    int depth = 0;
    // A request is carried out once; a second one meanwhile is dropped.
    volatile sig_atomic_t stopping = 0;
    // The signal whose request waits for a write of the output to return.
    volatile sig_atomic_t deferred = 0;
    struct sigaction previous[std::size(kSignals)] = {};
};

namespace {

// The handler that signals reach, while one lives.
StopHandler::State* live = nullptr;

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

extern "C" void onSignal(int signal) {
    StopHandler::State* state = live;
    if (state == nullptr || state->stopping != 0) {
        return;
    }
    state->stopping = 1;
    const bool save = signal != SIGINT;
    state->work.onStop(save);
    if (save && state->output != nullptr && !state->output->writeMarked()) {
        // Returning cuts the program's write short; it then finishes here.
        struct sigaction tick = {};
        tick.sa_handler = onTick;
        sigaction(SIGALRM, &tick, nullptr);
        alarm(1);
        state->deferred = signal;
        return;
    }
    endBy(signal);
}

}  // namespace

StopHandler::StopHandler(StopWork& work, MarkedOutput* output)
    : state(new State{*this, work, output}) {
    if (output != nullptr) {
        output->attach(this);
    }
    live = state.get();
    struct sigaction action = {};
    action.sa_handler = onSignal;
    action.sa_mask = stopSignals();  // one request at a time
    // Not restarted: a write or a read that the signal cuts short returns.
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], nullptr, &state->previous[i]);
        if (state->previous[i].sa_handler != SIG_IGN) {
            sigaction(kSignals[i], &action, nullptr);
        }
    }
}

StopHandler::~StopHandler() {
    const sigset_t set = stopSignals();
    sigprocmask(SIG_BLOCK, &set, nullptr);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &state->previous[i], nullptr);
    }
    live = nullptr;
    if (state->output != nullptr) {
        state->output->attach(nullptr);
    }
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

void StopHandler::hold() {
    if (state->depth++ == 0) {
        const sigset_t set = stopSignals();
        sigprocmask(SIG_BLOCK, &set, nullptr);
    }
}

void StopHandler::release() {
    if (--state->depth == 0) {
        const sigset_t set = stopSignals();
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
    }
}

bool StopHandler::requested() {
    const State* state = live;
    sigset_t pending;
    if (state == nullptr || state->deferred != 0 || sigpending(&pending) != 0) {
        return state != nullptr && state->deferred != 0;
    }
    for (const int signal : kSignals) {
        if (sigismember(&pending, signal) == 1) {
            return true;
        }
    }
    return false;
}

bool StopHandler::deferred() const {
    return state->deferred != 0;
}

void StopHandler::finish() {
    alarm(0);
    if (state->output != nullptr) {
        state->output->writeMarked();
    }
    endBy(state->deferred);
}

StopHandler* StopHandler::living() {
    return live == nullptr ? nullptr : &live->owner;
}

}  // namespace roster
