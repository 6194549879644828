#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <system_error>

#include "console/Commands.h"

namespace roster {

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
