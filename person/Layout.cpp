#include <algorithm>
#include <charconv>
#include <cstddef>
#include <iomanip>
#include <iostream>
#include <string>
#include <string_view>

#include "person/Person.h"

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

const char kBlanks[] = "                    ";  // as many as the widest field

// Writes `text`, then blanks up to `width` columns.
void pad(std::ostream& out, std::string_view text, std::size_t width) {
    const std::size_t columns = displayWidth(text);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (columns < width) {
        out.write(kBlanks, static_cast<std::streamsize>(width - columns));
    }
}

// The rest of a row or block, built whole and written at once: fields of
// ASCII characters, so each column is one byte. Each field is followed by
// blanks up to its width.
class Fields {
  public:
    Fields& add(std::string_view text, std::size_t width = 0) {
        char* start = end;
        end = std::copy(text.begin(), text.end(), end);
        return fill(start, width);
    }
    Fields& add(int value, std::size_t width) {
        char* start = end;
        end = std::to_chars(end, end + 16, value).ptr;
        return fill(start, width);
    }
    // In fixed notation with 6 decimals, the stream's default precision,
    // rounded as the stream rounds, and with no locale.
    Fields& add(double value, std::size_t width) {
        char* start = end;
        end = std::to_chars(end, end + kRealRoom, value, std::chars_format::fixed, 6).ptr;
        return fill(start, width);
    }
    std::ostream& writeTo(std::ostream& out) const { return out.write(line, end - line); }

  private:
    Fields& fill(const char* start, std::size_t width) {
        const std::size_t size = static_cast<std::size_t>(end - start);
        end = std::fill_n(end, width - std::min(width, size), ' ');
        return *this;
    }

    // The largest double takes 309 digits, a sign, a point and 6 decimals.
    static constexpr std::size_t kRealRoom = 320;
    char line[2 * kRealRoom + 64];  // two reals and a few short fields
    char* end = line;
};

}  // namespace

std::size_t decodeCharacter(std::string_view text, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;  // the bounds of the second byte
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(i) & 0x3F);
    }
    return length;
}

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

std::ostream& printHeader(std::ostream& out) {
    return out << std::left << std::setw(20) << "Name" << std::setw(20) << "Major" << std::setw(10)
               << "Average" << std::setw(10) << "Height" << std::setw(10) << "Age" << std::setw(10)
               << "Net Worth";
}

std::ostream& Person::printRow(std::ostream& out) const {
    out << std::fixed << std::left;
    pad(out, name, 20);
    pad(out, major, 20);
    const char grade = letterGrade();
    return Fields()
        .add({&grade, 1}, 10)
        .add(heightText(), 10)
        .add(age, 10)
        .add("$")
        .add(networth, 10)
        .writeTo(out);
}

std::ostream& Person::printRow() const {
    return printRow(std::cout);
}

void Person::printDetails(std::ostream& out) const {
    out << std::fixed << std::left << "Name:";
    pad(out, name, 15);
    Fields()
        .add("\nNet worth:")
        .add(networth, 15)
        .add("\nGPA:")
        .add(GPA, 15)
        .add("\n")
        .writeTo(out);
}

void Person::printDetails() const {
    printDetails(std::cout);
}

}  // namespace roster
