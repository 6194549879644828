// A request to stop and the program's standard output meet only through
// these two small interfaces, so that neither includes the other: the
// output lets a stop show what was marked of it, and a stop lets the output
// hand back a stop that found it writing.
#pragma once

namespace roster {

class StopHook;

// What a request to stop needs of standard output.
class MarkedOutput {
  public:
    // What has been written so far may be shown should the program be
    // stopped before it goes on.
    virtual void mark() = 0;
    // Writes what was marked and is not written yet, as far as the file
    // takes it without waiting, and lets nothing more through. False,
    // writing nothing, while the program is writing itself: it does not
    // know yet how much of that went out, so that write, once it returns,
    // hands the stop back (see StopHook::finish). Allocates nothing and
    // makes only calls a signal handler may make.
    virtual bool writeMarked() = 0;
    // The stop to hand back to, or nullptr.
    virtual void attach(StopHook* hook) = 0;

  protected:
    ~MarkedOutput() = default;
};

// What standard output needs of a request to stop.
class StopHook {
  public:
    // Whether a request to stop left the rest of it to the write that the
    // program is making.
    virtual bool deferred() const = 0;
    // Finishes that request: writes what is still marked, as far as it goes
    // without waiting, and ends the program as the request ends it.
    [[noreturn]] virtual void finish() = 0;
    // Holds requests back while the output changes what it has marked.
    virtual void hold() = 0;
    virtual void release() = 0;

  protected:
    ~StopHook() = default;
};

// Holds requests to stop back while it lives, where there is a hook.
class StopHold {
  public:
    explicit StopHold(StopHook* stop) : hook(stop) {
        if (hook != nullptr) {
            hook->hold();
        }
    }
    ~StopHold() {
        if (hook != nullptr) {
            hook->release();
        }
    }
    StopHold(const StopHold&) = delete;
    StopHold& operator=(const StopHold&) = delete;

  private:
    StopHook* hook;
};

}  // namespace roster
