#include <algorithm>
#include <charconv>
#include <cstddef>
#include <iomanip>
#include <ostream>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "person/Person.h"

namespace roster {

namespace {

const char kBlanks[] = "                    ";  // as many as the widest field

int terminalIndex() {
    static const int index = std::ios_base::xalloc();
    return index;
}

// Writes `text`, then blanks up to `width` columns; to a terminal, with
// its control characters shown.
void pad(std::ostream& out, std::string_view text, std::size_t width) {
    std::string shown;
    if (writesToTerminal(out)) {
        appendShown(shown, text);
        text = shown;
    }
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

void markTerminal(std::ostream& out) {
    out.iword(terminalIndex()) = 1;
}

bool writesToTerminal(std::ostream& out) {
    return out.iword(terminalIndex()) != 0;
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

}  // namespace roster
