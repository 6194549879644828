// Saving what must not be lost when the program is told to stop: a hang-up
// or a polite kill (SIGHUP, SIGTERM) on POSIX systems; a closed console
// window, a logoff or a shutdown on Windows.
#pragma once

namespace roster {

// While it lives, such a request first calls `save(context)`, then writes
// the standard output that was marked (see markStandardOutput), and ends
// the program as the request would have: on POSIX by the same signal with
// its default action, on Windows with exit code 1. A signal that was
// ignored when it was made (as under nohup) stays ignored. On POSIX `save`
// runs in a signal handler, so it must not allocate and may make only the
// calls a handler may make; on Windows it runs on a thread of its own.
// Either way it never runs while a HangupGuard lives.
class SaveOnHangup {
  public:
    SaveOnHangup(void (*save)(void* context), void* context);
    ~SaveOnHangup();
    SaveOnHangup(const SaveOnHangup&) = delete;
    SaveOnHangup& operator=(const SaveOnHangup&) = delete;
};

// Holds a request to stop back while what `save` reads is being changed;
// it is carried out as soon as the guard ends. Guards may nest.
class HangupGuard {
  public:
    HangupGuard();
    ~HangupGuard();
    HangupGuard(const HangupGuard&) = delete;
    HangupGuard& operator=(const HangupGuard&) = delete;
};

}  // namespace roster
