// What the program does when it is told to stop: a hang-up or a polite
// kill (SIGHUP, SIGTERM) and an interrupt (SIGINT, Ctrl-C) on POSIX
// systems; a closed console window, a logoff, a shutdown and Ctrl-C or
// Ctrl-Break on Windows. Hangup-posix.cpp and Hangup-win32.cpp are its two
// halves.
#pragma once

namespace roster {

// `save` is true for a request that saves (a hang-up, a polite kill, a
// closed window), false for an interrupt, which only cleans up.
using StopFunction = void (*)(void* context, bool save);

// While it lives, a request to stop first calls `stop(context, save)`; a
// request that saves then writes the standard output that was marked (see
// markStandardOutput), as far as it goes without waiting for a reader. The
// program then ends as the request would have: on POSIX by the same signal
// with its default action, on Windows with exit code 1 (and an interrupt
// as Windows ends it). A signal that was ignored when this was made (as
// under nohup) stays ignored. On POSIX `stop` runs in a signal handler, so
// it must not allocate and may make only the calls a handler may make; on
// Windows it runs on a thread of its own. Either way it never runs while a
// HangupGuard lives.
//
// Nothing the program waits for holds a request back for long: a write of
// standard output that waits for its reader is cut short (see
// OutputBuffer), and a wait that a HangupGuard covers gives up once a
// request has come (see stopRequested).
class SaveOnHangup {
  public:
    SaveOnHangup(StopFunction stop, void* context);
    ~SaveOnHangup();
    SaveOnHangup(const SaveOnHangup&) = delete;
    SaveOnHangup& operator=(const SaveOnHangup&) = delete;
};

// Holds a request to stop back while what `stop` reads is being changed;
// it is carried out as soon as the guard ends. Guards may nest. Standard
// output is never written while one lives.
class HangupGuard {
  public:
    HangupGuard();
    ~HangupGuard();
    HangupGuard(const HangupGuard&) = delete;
    HangupGuard& operator=(const HangupGuard&) = delete;
};

// Whether a request to stop has come that waits for what the program does
// now: held back by a HangupGuard, or waiting for a write of standard
// output to return. A wait for something outside gives up when one has.
bool stopRequested();

// Whether a request to stop found the program writing standard output, and
// left the rest of it to that write: once the write returns, the program
// calls finishStop.
bool stopDeferred();

// Writes what is still marked of standard output, as far as it goes without
// waiting, and ends the program as the request that was deferred ends it.
[[noreturn]] void finishStop();

}  // namespace roster
