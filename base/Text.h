// Text as the screen shows it: UTF-8 read without a locale, the columns
// a text takes, and text from anywhere made fit to be shown.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Unicode.h"

namespace roster {

// How many columns `text` takes on the screen, which is what the widths of
// the layouts count. Text is read as UTF-8: a character takes one column,
// an East Asian wide character or an emoji two, a combining mark or an
// invisible joiner none, and each byte that is no part of a well-formed
// character one. No locale plays a part, so every platform counts alike.
std::size_t displayWidth(std::string_view text);

// Appends `text` to `out` fit to be shown on a terminal whatever bytes it
// holds: each control character (bytes 00-1F and 7F, and the characters
// U+0080 to U+009F) and each byte that is no part of well-formed UTF-8 is
// written as \xNN, so that a terminal shows it and never obeys it. Stops
// at the first character that begins `limit` bytes or more into `text`;
// returns how many bytes of it were shown.
std::size_t appendShown(std::string& out, std::string_view text,
                        std::size_t limit = std::string_view::npos);

}  // namespace roster
