// The lock file beside a kept file that says who has it open: ".~lock.NAME#"
// in the form LibreOffice writes and reads, so that LibreOffice opens the
// file read-only and names the user, and a session names who else had the
// file open when it began.
#pragma once

#include <optional>
#include <string>

#include "io/LockText.h"

namespace roster {

class OpenMarker {
  public:
    // What marking the file found.
    struct Found {
        bool other = false;              // another holder's lock was there
        std::optional<LockOwner> owner;  // who that is, where the lock reads
    };

    // Marks `file` open in this session, `holder` naming it as a save's turn
    // names it (see thisProcess), unless another holder's lock is there.
    // One that a holder that has gone left over is cleared away first, and
    // a folder where no lock can be made costs nothing.
    Found mark(const std::string& file, const std::string& holder);

    // Takes the lock over once the other holder's has gone or was left
    // over; called before each command.
    void takeOver();

    // Removes the lock while it is still this session's own. Fit for a
    // signal handler.
    void remove() const;

    // The lock file's path; empty when the file's name leaves no room for one.
    const std::string& path() const { return lockPath; }

  private:
    // Makes the lock unless another holder's is there; whether it was.
    bool make(std::optional<LockOwner>& other);

    std::string lockPath;
    std::string text;     // what this session's lock holds
    std::string holder;   // this process, as a save's turn names it
    bool held = false;    // the lock is this session's own, and is removed at the end
    bool wanted = false;  // another holder's was there: taken over once it has gone
};

}  // namespace roster
