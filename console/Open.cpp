#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <system_error>

#include "console/Commands.h"

namespace roster {

void loadRoster(std::vector<Person>& persons, std::istream& in, std::ostream& out) {
    persons.clear();
    bool full = false;
    std::size_t records = 0;
    std::size_t unreadable = 0;
    while (in.peek() != std::istream::traits_type::eof()) {
        Person person;
        const RecordRead read = readRecordFrom(in, person);
        if (read == RecordRead::Nothing) {
            break;
        }
        ++records;
        if (read == RecordRead::Unreadable) {
            unreadable = records;
            break;
        }
        if (!person.isValid()) {
            continue;
        }
        if (persons.size() == kCapacity) {
            full = true;
            break;
        }
        persons.push_back(std::move(person));
    }
    out << "The file has been successfully loaded." << '\n';
    if (full) {
        out << "The list is full; only the first 20 persons have been loaded." << '\n';
    }
    if (unreadable != 0) {
        out << "Loading stopped at record " << unreadable << ", which could not be read." << '\n';
    }
}

namespace {

// Editors on Windows often begin UTF-8 text with a byte-order mark. It is
// no part of the first name, so it is skipped; a file that begins otherwise
// is read from its first byte.
void skipByteOrderMark(std::istream& in) {
    const char mark[] = {'\xEF', '\xBB', '\xBF'};
    char start[sizeof mark] = {};
    if (!in.read(start, sizeof start) || std::memcmp(start, mark, sizeof mark) != 0) {
        in.clear();
        in.seekg(0);
    }
}

}  // namespace

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
    loadRoster(s.persons, infile, s.out);
}

}  // namespace roster
