// How the platform's text files end a line: CR LF on Windows, LF elsewhere.
// Elsewhere too a line whose text ends with a CR ends with CR LF, since a
// reader takes one CR before the LF for part of the line end; so every line
// reads back whole.
#pragma once

#include <string>

namespace roster {

// The line end after a line whose last character is `last`.
inline const char* lineEndAfter(char last) {
#ifdef _WIN32
    static_cast<void>(last);
    return "\r\n";
#else
    return last == '\r' ? "\r\n" : "\n";
#endif
}

// Ends the line that `text` ends with.
inline void appendLineEnd(std::string& text) {
    text += lineEndAfter(text.empty() ? '\0' : text.back());
}

}  // namespace roster
