// Locks held by making a file, so that programs on one machine, or on
// several that share a folder over a network, take turns. They need only
// that a file is made where none is, and none of the system's own locks.
// A lock whose holder has gone (killed, or its machine lost power) never
// holds anyone back.
//
// Unless a call says otherwise, nothing here allocates memory, and on POSIX
// systems nothing makes a call that a signal handler may not make.
#pragma once

#include <string>
#include <string_view>

#include "base/Path.h"
#include "io/LockText.h"

namespace roster {

// The turn to save a file: while it lives, no other program that takes
// the turn saves `file`. It is the lock ".NAME.saving" beside the file that
// `file`'s links lead to, holding "roster PID HOST" (see thisProcess).
// Taking it waits for a holder that is alive, up to a few seconds, or until
// a request to stop comes; a holder that is gone is cleared away.
class SaveTurn {
  public:
    // How long a holder that is alive is waited for.
    enum Wait {
        Patiently,  // five seconds, unless a request to stop comes meanwhile
        Briefly,    // half a second: the save of a request to stop
    };
    enum State {
        Held,    // taken: saves of the file are this process's alone
        Busy,    // another holder did not let go in time
        Unheld,  // the folder takes no lock, and no file beside `file`
    };

    SaveTurn(const char* file, std::string_view me, Wait wait);
    ~SaveTurn();
    SaveTurn(const SaveTurn&) = delete;
    SaveTurn& operator=(const SaveTurn&) = delete;

    State state() const { return current; }

  private:
    Path lock;
    std::string_view holder;
    State current = Unheld;
};

// Whether a lock whose text is `text`, last written `age` seconds ago, is
// left over by a holder that has gone; `context` is the caller's own.
using LeftOver = bool (*)(std::string_view text, long long age, const void* context);

// Removes the lock file `lock` when `leftOver` finds it so, without ever
// removing a lock that another has made meanwhile: one process at a time
// clears a lock, judging it again under a lock of its own on that lock,
// which names it as `me`. True when it was removed. As fit for a signal
// handler as `leftOver` is.
bool clearLeftOver(const char* lock, std::string_view me, LeftOver leftOver, const void* context);

// The lock that SaveTurn takes for `file`.
bool saveTurnOf(const char* file, Path& lock);

// Clears away what sessions that were killed left of the lock `lock`: the
// locks above it that clear it away, where their holders are gone, and the
// files made to make them; and, when `itself`, the lock itself where it is
// a save's turn (see SaveTurn) whose holder is gone. Allocates, and is for
// normal code only.
void clearLeftOvers(const char* lock, std::string_view me, bool itself);

// Removes the file `path` when it holds exactly `text`, so that a lock is
// let go only by its holder.
void removeIfHolding(const char* path, std::string_view text);

}  // namespace roster
