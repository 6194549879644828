// The lock file that LibreOffice makes beside a file it has open, and that
// this program makes too: ".~lock.NAME#", holding one line
// "USER,LOGIN,HOST,DD.MM.YYYY HH:MM,ID;" without a line end, where a `,`,
// `;` or `\` within a field is escaped by a `\`.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace roster {

struct LockOwner {
    std::string user;   // the full name, where there is one
    std::string login;  // the login name
    std::string host;
    std::string since;  // when the file was opened, DD.MM.YYYY HH:MM in local time
    std::string id;     // the program: this one gives "roster PID"; LibreOffice its profile
};

std::string lockFileText(const LockOwner& owner);

// The owner that a lock file's text names; nothing for a text that is no
// such lock.
std::optional<LockOwner> readLockFile(std::string_view text);

}  // namespace roster
