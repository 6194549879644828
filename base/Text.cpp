#include "base/Text.h"

namespace roster {

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Characters that take two columns, as the C++ standard estimates widths
// for std::format, and characters that take none: combining marks and
// invisible joiners and selectors.
const Range kWide[] = {
    {0x1100, 0x115F},   {0x2329, 0x232A},   {0x2E80, 0x303E},   {0x3040, 0xA4CF},  {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},  {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};
const Range kNone[] = {{0x0300, 0x036F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF},
                       {0xFE20, 0xFE2F}, {0x200B, 0x200F}, {0xFE00, 0xFE0F}};

template <std::size_t N>
bool within(const Range (&ranges)[N], char32_t c) {
    for (const Range& range : ranges) {
        if (range.first <= c && c <= range.last) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::size_t displayWidth(std::string_view text) {
    std::size_t columns = 0;
    while (!text.empty()) {
        char32_t c = 0;
        const std::size_t length = decodeCharacter(text, c);
        // A byte that is no part of a well-formed character takes one
        // column, as does every character before the first combining mark.
        if (length == 0 || c < kNone[0].first) {
            ++columns;
        } else {
            columns += within(kNone, c) ? 0 : within(kWide, c) ? 2 : 1;
        }
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return columns;
}

std::size_t appendShown(std::string& out, std::string_view text, std::size_t limit) {
    std::size_t at = 0;
    while (at < text.size() && at < limit) {
        char32_t c = 0;
        const std::size_t length = decodeCharacter(text.substr(at), c);
        if (length == 0 || c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            appendEscaped(out, static_cast<unsigned char>(text[at++]));
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return at;
}

}  // namespace roster
