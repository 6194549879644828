// Text between UTF-8, which the program holds on every system, and UTF-16,
// which Windows holds its file names, command lines and consoles in. No
// locale plays a part and nothing here makes a system call, so every
// system converts alike (and tests it).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace roster {

// The length of the well-formed UTF-8 sequence that `text` begins with,
// with the character it stands for; 0 when it begins with none. Overlong
// forms, surrogates and values past U+10FFFF are not well-formed.
std::size_t decodeCharacter(std::string_view text, char32_t& c);

// How many bytes at the end of `text` begin a UTF-8 character that the
// text cuts off before its end: 0 to 3.
std::size_t cutCharacter(std::string_view text);

// Appends `byte` as the four characters \xNN.
void appendEscaped(std::string& out, unsigned char byte);

// `text` in UTF-16 as a name for the system; false for text that is not
// well-formed UTF-8, or holds a NUL, since that names no file.
bool utf16FromUtf8(std::string_view text, std::u16string& wide);

// `wide` in UTF-8. A surrogate without its other half, which is no
// character, is kept as the three bytes UTF-8 would give it: text that is
// not well-formed, so that it never names another file than its own.
std::string utf8FromUtf16(std::u16string_view wide);

// `text` as a console in text mode shows it, in UTF-16: each line feed
// after a carriage return, and each byte that is no part of well-formed
// UTF-8 as \xNN, so that no byte is lost.
std::u16string consoleText(std::string_view text);

// Lines typed at a console, read in UTF-16 pieces, turned into the UTF-8
// bytes of the same lines piped in: CR LF becomes LF, a character whose two
// halves come in two pieces arrives whole, and a line that begins with
// Ctrl-Z ends the input for good, as the end of a file does.
class ConsoleLines {
  public:
    // Appends to `out` what `piece` completes; false once input has ended.
    bool take(std::u16string_view piece, std::string& out);

  private:
    char16_t high = 0;            // the first half of a character
    bool carriageReturn = false;  // a CR, until the next unit tells whether LF follows
    bool lineStart = true;
    bool ended = false;
};

}  // namespace roster
