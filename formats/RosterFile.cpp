// The roster file: records of three lines, the name, the major, and the
// five numbers.
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <streambuf>
#include <string>
#include <utility>

#include "base/LineEnd.h"
#include "base/Number.h"
#include "formats/Formats.h"

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

// A number of a record as the file gives it.
std::string valueText(const Record& record, Field field) {
    return field < kGPA ? numberText(record.whole[field - kAge])
                        : numberText(record.reals[field - kGPA]);
}

// What stopped a strict read at a record that begins on `line`, named on
// the line of the value at fault.
Problem problemAt(std::size_t line, RosterRead::Stop stop, const RecordRead& read,
                  const Record& record, const std::istream& in) {
    switch (stop) {
        case RosterRead::Unreadable: {
            const Field field = static_cast<Field>(read.field);
            const bool whole = field == kAge || field == kHeight || field == kWeight;
            return {line + read.fieldLines[field], fieldName(field),
                    in.eof() ? "the file ends before it"
                    : whole  ? "not a whole number"
                             : "not a number"};
        }
        case RosterRead::ExtraText:
            return {line + read.fieldLines[kNetworth], fieldName(kNetworth),
                    "text follows it on its line"};
        default: {
            const Field field = firstBrokenRule(record, Rules::Kept);
            return {line + read.fieldLines[field], fieldName(field),
                    outsideRule(field, valueText(record, field), Rules::Kept)};
        }
    }
}

// The record that readRecord reads back to this very person: the two
// lines, then the five numbers separated by blanks, each line ended as the
// platform's text files end lines.
void writeRecord(std::string& out, const Person& person) {
    out += person.getName();
    appendLineEnd(out);
    out += person.getMajor();
    appendLineEnd(out);
    out += numberText(person.getAge()) + ' ' + numberText(person.getHeight()) + ' ' +
           numberText(person.getWeight()) + ' ' + numberText(person.getGPA()) + ' ' +
           numberText(person.getNetworth());
    appendLineEnd(out);
}

}  // namespace

RecordRead readRecord(std::istream& in, Record& record, bool countLines) {
    std::string& name = record.name;
    std::string& major = record.major;
    RecordRead read;
    RecordRead* counted = countLines ? &read : nullptr;
    // Counts the fields read; once a read fails, every later one fails too.
    const auto next = [&] { read.field += in.fail() ? 0 : 1; };
    std::size_t nameSpaces = 0;
    std::size_t majorSpaces = 0;
    readLine(in, name, nameSpaces, read);
    next();
    read.fieldLines[1] = read.lines;
    readLine(in, major, majorSpaces, read);
    next();
    // Whitespace alone up to the end of the file is no record at all.
    if (isBlank(name) && isBlank(major) && !skipSpace(in, read)) {
        read.outcome = RecordRead::Nothing;
        in.setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return read;
    }
    if (nameSpaces + majorSpaces > 0) {
        name.append(nameSpaces, ' ');
        major.append(majorSpaces, ' ');
    }
    for (int field = kAge; field <= kWeight; ++field) {
        readNumber(in, record.whole[field - kAge], counted, field);
        next();
    }
    readNumber(in, record.reals[0], counted, kGPA);
    next();
    readNumber(in, record.reals[1], counted, kNetworth);
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

// Editors on Windows often begin UTF-8 text with a byte-order mark. It is
// no part of the first name, so it is skipped; a file that begins otherwise
// is read from its first byte.
void skipByteOrderMark(std::istream& in) {
    char start[sizeof kByteOrderMark - 1] = {};
    if (!in.read(start, sizeof start) || std::memcmp(start, kByteOrderMark, sizeof start) != 0) {
        in.clear();
        in.seekg(0);
    }
}

RosterRead readRoster(std::istream& in, std::vector<Person>& persons, ReadOptions options) {
    const bool strict = options.reading == Reading::Strict;
    std::size_t records = 0;
    std::size_t line = 1;
    // One record's room for them all; a person is made of it only when kept.
    Record record;
    while (in.peek() != std::istream::traits_type::eof()) {
        const RecordRead read = readRecord(in, record, strict);
        if (read.outcome == RecordRead::Nothing) {
            break;
        }
        ++records;
        const bool valid = firstBrokenRule(record, options.rules) == kFieldCount;
        RosterRead::Stop stop = RosterRead::End;
        if (read.outcome == RecordRead::Unreadable) {
            stop = RosterRead::Unreadable;
        } else if (!valid && strict) {
            stop = RosterRead::BrokenRule;
        } else if (strict && read.outcome == RecordRead::ExtraText) {
            stop = RosterRead::ExtraText;
        } else if (valid && persons.size() == kCapacity) {
            stop = RosterRead::Full;
        }
        if (stop == RosterRead::Full) {
            return {stop, records, {line, "", "more than 20 persons"}};
        }
        if (stop != RosterRead::End) {
            return {stop, records, strict ? problemAt(line, stop, read, record, in) : Problem()};
        }
        if (valid) {
            persons.push_back(record.take());
        }
        line += read.lines;
    }
    return {RosterRead::End, records, {}};
}

std::string rosterBytes(const std::vector<Person>& persons) {
    // Room for the largest record of each person, taken at once, so that a
    // roster of long texts is not copied as its file grows.
    std::size_t most = sizeof kByteOrderMark;
    for (const Person& person : persons) {
        most += person.getName().size() + person.getMajor().size() + 5 * 32;
    }
    std::string text;
    text.reserve(most);
    // The reader skips one byte-order mark at the start of the file, so a
    // first name that begins with one keeps it behind a mark of its own.
    if (!persons.empty() && persons.front().getName().rfind(kByteOrderMark, 0) == 0) {
        text += kByteOrderMark;
    }
    for (const Person& person : persons) {
        writeRecord(text, person);
    }
    return text;
}

}  // namespace roster
