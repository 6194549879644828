#include <charconv>
#include <istream>
#include <limits>
#include <ostream>
#include <streambuf>
#include <string>

#include "person/Number.h"
#include "person/Person.h"

namespace roster {

namespace {

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\n\v\f\r") == std::string::npos;
}

// A whole line; a carriage return before the line feed belongs to the line end.
void readLine(std::istream& in, std::string& field) {
    if (std::getline(in, field) && !field.empty() && field.back() == '\r') {
        field.pop_back();
    }
}

// A number is stored only when it was read whole; a failed read keeps the field.
template <typename T>
void readNumber(std::istream& in, T& field) {
    T value{};
    if (in >> number(value)) {
        field = value;
    }
}

// Consumes the rest of the line and its line end; true when the rest held
// nothing but blanks.
bool skipRestOfLine(std::istream& in) {
    using Traits = std::istream::traits_type;
    std::streambuf* buffer = in.rdbuf();
    for (Traits::int_type c = buffer->sgetc();; c = buffer->snextc()) {
        if (Traits::eq_int_type(c, Traits::eof())) {
            in.setstate(std::ios_base::eofbit);
            return true;
        }
        if (c == '\n') {
            buffer->sbumpc();
            return true;
        }
        if (c != ' ' && c != '\t' && c != '\r') {
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            return false;
        }
    }
}

// A number as std::to_chars writes it: locale-free, and for a real the
// shortest text that reads back to the same value.
template <typename T>
void writeNumber(std::ostream& out, T value) {
    char text[64];
    out.write(text, std::to_chars(text, text + sizeof text, value).ptr - text);
}

}  // namespace

RecordRead readRecordFrom(std::istream& in, Person& person) {
    readLine(in, person.name);
    readLine(in, person.major);
    // Whitespace alone up to the end of the file is no record at all.
    bool nothing = false;
    if (isBlank(person.name) && isBlank(person.major)) {
        if (in.good()) {
            in >> std::ws;
        }
        nothing = in.eof();
    }
    readNumber(in, person.age);
    readNumber(in, person.height);
    readNumber(in, person.weight);
    readNumber(in, person.GPA);
    readNumber(in, person.networth);
    if (in.fail()) {
        return nothing ? RecordRead::Nothing : RecordRead::Unreadable;
    }
    // The rest of the net worth line is not part of the record. At the end
    // of the file there is no rest, and reading it would fail the stream.
    if (in.eof() || skipRestOfLine(in)) {
        return RecordRead::Complete;
    }
    return RecordRead::ExtraText;
}

bool Person::readRecord(std::istream& in) {
    readRecordFrom(in, *this);
    return isValid();
}

std::ostream& Person::writeRecord(std::ostream& out) const {
    out << name << '\n' << major << '\n';
    writeNumber(out, age);
    out << ' ';
    writeNumber(out, height);
    out << ' ';
    writeNumber(out, weight);
    out << ' ';
    writeNumber(out, GPA);
    out << ' ';
    writeNumber(out, networth);
    return out << '\n';
}

}  // namespace roster
