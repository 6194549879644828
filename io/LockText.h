// What a lock file says, written and read in this one place and within one
// size: the line that says who has a file open, in the form LibreOffice
// writes and reads, and the holder of the turn to save a file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace roster {

// A lock's text is short: none is written longer, and a longer file is no
// lock.
constexpr std::size_t kLockSize = 4096;

// What names this process: the program and its process number, as
// "roster 4242"; and, as the holder of a save's turn, with the machine's
// name after them, as "roster 4242 host". Made in normal code.
std::string programAndProcess();
std::string thisProcess();

// Whether the holder `text` names a process of this program on this
// machine (`me` names this process) that has ended. Allocates nothing.
bool holderGone(std::string_view text, std::string_view me);

// The owner that a lock file names: ".~lock.NAME#" beside a file holds one
// line "USER,LOGIN,HOST,DD.MM.YYYY HH:MM,ID;" without a line end, where a
// `,`, `;` or `\` within a field is escaped by a `\`.
struct LockOwner {
    std::string user;   // the full name, where there is one
    std::string login;  // the login name
    std::string host;
    std::string since;  // when the file was opened, DD.MM.YYYY HH:MM in local time
    std::string id;     // the program: this one gives "roster PID"; LibreOffice its profile
};

// The owner's line, within kLockSize bytes: a full name too long for it is
// cut at a character. Empty when even that does not fit.
std::string lockFileText(LockOwner owner);

// The owner that a lock file's text names; nothing for a text that is no
// such lock.
std::optional<LockOwner> readLockFile(std::string_view text);

}  // namespace roster
