// Requests to stop: a hang-up or a polite kill (SIGHUP, SIGTERM) and an
// interrupt (SIGINT, Ctrl-C) on POSIX systems; a closed console window, a
// logoff, a shutdown and Ctrl-C or Ctrl-Break on Windows. Stop-posix.cpp
// and Stop-win32.cpp are its two halves.
#pragma once

#include <memory>

#include "platform/StopHook.h"

namespace roster {

// What a request to stop does for the program before it ends: `save` is
// true for a request that saves (a hang-up, a polite kill, a closed window),
// false for an interrupt, which only cleans up. On POSIX it runs in a
// signal handler, so it must not allocate and may make only the calls a
// handler may make; on Windows it runs on a thread of its own. Either way
// it never runs while a StopGuard lives.
class StopWork {
  public:
    virtual void onStop(bool save) = 0;

  protected:
    ~StopWork() = default;
};

// The one owner of what happens when the program is told to stop: while it
// lives, a request runs `work`, then one that saves writes what `output`
// marked, as far as it goes without waiting for a reader, and the program
// ends as the request would have: on POSIX by the same signal with its
// default action, on Windows with exit code 1 (and an interrupt as Windows
// ends it). A signal that was ignored when this was made (as under nohup)
// stays ignored.
//
// Nothing the program waits for holds a request back for long: a write of
// `output` that waits for its reader is cut short, and the output hands the
// rest of the request back through StopHook; a wait that a StopGuard
// covers gives up once a request has come (see requested).
class StopHandler final : public StopHook {
  public:
    StopHandler(StopWork& work, MarkedOutput* output);
    ~StopHandler();
    StopHandler(const StopHandler&) = delete;
    StopHandler& operator=(const StopHandler&) = delete;

    // Whether a request to stop has come that waits for what the program
    // does now: held back by a StopGuard, or waiting for a write of the
    // output to return. A wait for something outside gives up when one has.
    static bool requested();
    // The handler that requests reach now, or nullptr.
    static StopHandler* living();

    bool deferred() const override;
    [[noreturn]] void finish() override;
    void hold() override;
    void release() override;

    struct State;  // each system's own

  private:
    std::unique_ptr<State> state;
};

// Holds a request to stop back while what the stop's work reads is being
// changed; it is carried out as soon as the guard ends. Guards may nest,
// and do nothing while no StopHandler lives.
class StopGuard : public StopHold {
  public:
    StopGuard() : StopHold(StopHandler::living()) {}
};

}  // namespace roster
