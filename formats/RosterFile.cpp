// The roster file: records of three lines, the name, the major, and the
// five numbers.
#include <cstring>
#include <istream>
#include <ostream>
#include <utility>

#include "formats/Formats.h"
#include "platform/SafeWrite.h"

namespace roster {

namespace {

std::string valueText(const Person& person, Field field) {
    switch (field) {
        case kAge:
            return numberText(person.getAge());
        case kHeight:
            return numberText(person.getHeight());
        case kWeight:
            return numberText(person.getWeight());
        default:
            return numberText(person.getGPA());
    }
}

// What stopped a strict read at a record that begins on `line`, named on
// the line of the value at fault.
Problem problemAt(std::size_t line, RosterRead::Stop stop, const RecordRead& read,
                  const Person& person, const std::istream& in) {
    switch (stop) {
        case RosterRead::Unreadable: {
            const Field field = static_cast<Field>(read.field);
            const bool whole = field == kAge || field == kHeight || field == kWeight;
            return {line + read.fieldLines[field], kFieldNames[field],
                    in.eof() ? "the file ends before it"
                    : whole  ? "not a whole number"
                             : "not a number"};
        }
        case RosterRead::ExtraText:
            return {line + read.fieldLines[kNetworth], kFieldNames[kNetworth],
                    "text follows it on its line"};
        default: {
            const Field field = brokenRule(person, true);
            return {line + read.fieldLines[field], kFieldNames[field],
                    outsideRule(field, valueText(person, field), true)};
        }
    }
}

// The record that readRecordFrom reads back to this very person: the two
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

RosterRead readRoster(std::istream& in, std::vector<Person>& persons, bool blankWeight,
                      bool strict) {
    std::size_t records = 0;
    std::size_t line = 1;
    while (in.peek() != std::istream::traits_type::eof()) {
        Person person;
        const RecordRead read = readRecordFrom(in, person, strict);
        if (read.outcome == RecordRead::Nothing) {
            break;
        }
        ++records;
        const bool valid = person.isValid(blankWeight);
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
            return {stop, records, strict ? problemAt(line, stop, read, person, in) : Problem()};
        }
        if (valid) {
            persons.push_back(std::move(person));
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
