#include <istream>
#include <limits>
#include <streambuf>
#include <string>

#include "person/Number.h"
#include "person/Person.h"

namespace roster {

namespace {

using Traits = std::istream::traits_type;

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\n\v\f\r") == std::string::npos;
}

// A whole line; a carriage return before the line feed belongs to the line
// end. A line of spaces alone leaves `field` empty and only counts them in
// `spaces`, so that megabytes of them at the end of a file take no memory
// unless they turn out to be part of a record.
void readLine(std::istream& in, std::string& field, std::size_t& spaces, RecordRead& read) {
    spaces = 0;
    if (in.good()) {
        std::streambuf* buffer = in.rdbuf();
        Traits::int_type c = buffer->sgetc();
        for (; c == ' '; c = buffer->snextc()) {
            ++spaces;
        }
        if (spaces > 0 && Traits::eq_int_type(c, Traits::eof())) {
            field.clear();
            in.setstate(std::ios_base::eofbit);
            return;
        }
    }
    if (std::getline(in, field)) {
        read.lines += in.eof() ? 0 : 1;
        read.lineEnded = !in.eof();
        if (!field.empty() && field.back() == '\r') {
            field.pop_back();
        }
    }
    if (spaces > 0 && !field.empty()) {
        field.insert(0, spaces, ' ');
        spaces = 0;
    }
}

// The whitespace before a number, which the number's own read would skip,
// skipped here to count the line ends in it. False at the end of the file.
bool skipSpace(std::istream& in, RecordRead& read) {
    if (!in.good()) {
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    Traits::int_type c = buffer->sgetc();
    for (; c == ' ' || (c >= '\t' && c <= '\r'); c = buffer->snextc()) {
        read.lines += c == '\n' ? 1 : 0;
        read.lineEnded = c == '\n';
    }
    if (Traits::eq_int_type(c, Traits::eof())) {
        return false;
    }
    read.lineEnded = false;  // a value begins
    return true;
}

// A number is stored only when it was read whole; a failed read keeps the
// field. When counted, notes the line the value begins on.
template <typename T>
void readNumber(std::istream& in, T& field, RecordRead* read, int index) {
    if (read != nullptr) {
        skipSpace(in, *read);
        read->fieldLines[index] = read->lines;
    }
    T value{};
    if (in >> number(value)) {
        field = value;
    }
}

// Consumes the rest of the line and its line end; true when the rest held
// nothing but blanks.
bool skipRestOfLine(std::istream& in, RecordRead& read) {
    std::streambuf* buffer = in.rdbuf();
    for (Traits::int_type c = buffer->sgetc();; c = buffer->snextc()) {
        if (Traits::eq_int_type(c, Traits::eof())) {
            in.setstate(std::ios_base::eofbit);
            return true;
        }
        if (c == '\n') {
            buffer->sbumpc();
            ++read.lines;
            read.lineEnded = true;
            return true;
        }
        if (c != ' ' && c != '\t' && c != '\r') {
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            read.lines += in.eof() ? 0 : 1;
            read.lineEnded = !in.eof();
            return false;
        }
    }
}

}  // namespace

RecordRead readRecordFrom(std::istream& in, Person& person, bool countLines) {
    RecordRead read;
    RecordRead* counted = countLines ? &read : nullptr;
    // Counts the fields read; once a read fails, every later one fails too.
    const auto next = [&] { read.field += in.fail() ? 0 : 1; };
    std::size_t nameSpaces = 0;
    std::size_t majorSpaces = 0;
    readLine(in, person.name, nameSpaces, read);
    next();
    read.fieldLines[1] = read.lines;
    readLine(in, person.major, majorSpaces, read);
    next();
    // Whitespace alone up to the end of the file is no record at all.
    if (isBlank(person.name) && isBlank(person.major) && !skipSpace(in, read)) {
        read.outcome = RecordRead::Nothing;
        in.setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return read;
    }
    if (nameSpaces + majorSpaces > 0) {
        person.name.append(nameSpaces, ' ');
        person.major.append(majorSpaces, ' ');
    }
    readNumber(in, person.age, counted, 2);
    next();
    readNumber(in, person.height, counted, 3);
    next();
    readNumber(in, person.weight, counted, 4);
    next();
    readNumber(in, person.GPA, counted, 5);
    next();
    readNumber(in, person.networth, counted, 6);
    if (in.fail()) {
        read.outcome = RecordRead::Unreadable;
        // What the file ends before stands, as far as it stands anywhere,
        // on the file's last line.
        if (in.eof()) {
            read.fieldLines[read.field] = read.lines - (read.lineEnded && read.lines > 0 ? 1 : 0);
        }
        return read;
    }
    // The rest of the net worth line is not part of the record. At the end
    // of the file there is no rest, and reading it would fail the stream.
    if (!in.eof() && !skipRestOfLine(in, read)) {
        read.outcome = RecordRead::ExtraText;
    }
    return read;
}

bool Person::readRecord(std::istream& in) {
    readRecordFrom(in, *this);
    return isValid();
}

}  // namespace roster
