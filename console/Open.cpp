#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <system_error>

#include "console/Commands.h"

namespace roster {

RosterRead readRoster(std::istream& in, std::vector<Person>& persons, bool blankWeight,
                      bool strict) {
    std::size_t records = 0;
    while (in.peek() != std::istream::traits_type::eof()) {
        Person person;
        const RecordRead read = readRecordFrom(in, person);
        if (read == RecordRead::Nothing) {
            break;
        }
        ++records;
        if (read == RecordRead::Unreadable) {
            return {RosterRead::Unreadable, records};
        }
        if (!person.isValid(blankWeight)) {
            if (strict) {
                return {RosterRead::BrokenRule, records};
            }
            continue;
        }
        if (strict && read == RecordRead::ExtraText) {
            return {RosterRead::ExtraText, records};
        }
        if (persons.size() == kCapacity) {
            return {RosterRead::Full, records};
        }
        persons.push_back(std::move(person));
    }
    return {RosterRead::End, records};
}

void loadRoster(std::vector<Person>& persons, std::istream& in, std::ostream& out,
                bool blankWeight) {
    persons.clear();
    const RosterRead read = readRoster(in, persons, blankWeight, false);
    out << "The file has been successfully loaded." << '\n';
    if (read.stop == RosterRead::Full) {
        out << "The list is full; only the first 20 persons have been loaded." << '\n';
    }
    if (read.stop == RosterRead::Unreadable) {
        out << "Loading stopped at record " << read.record << ", which could not be read." << '\n';
    }
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

void openFile(Session& s) {
    s.out << "Enter filename: ";
    std::string filename;
    if (!(s.in >> filename)) {
        return;
    }
    // A folder opens as a stream that cannot be read; only a regular file
    // can hold records.
    std::error_code error;
    std::ifstream infile;
    if (std::filesystem::is_regular_file(filename, error)) {
        infile.open(filename);
    }
    if (!infile.is_open() || !infile.good()) {
        s.out << "Cannot open file." << '\n';
        return;
    }
    skipByteOrderMark(infile);
    // A roster kept in a file holds persons added here, who have no weight.
    loadRoster(s.persons, infile, s.out, s.kept.has_value());
}

}  // namespace roster
