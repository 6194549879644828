#include <istream>
#include <optional>
#include <ostream>

#include "console/Commands.h"
#include "io/FileIo.h"

namespace roster {

void loadRoster(std::vector<Person>& persons, std::istream& in, std::ostream& out, Rules rules) {
    persons.clear();
    const RosterRead read = readRoster(in, persons, {rules, Reading::Lenient});
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
    // A folder or a device is no file of records.
    FileReader file(filename.c_str());
    if (!file.isOpen()) {
        s.out << "Cannot open file." << '\n';
        return;
    }
    std::istream infile(&file);
    // A roster kept in a file holds persons added here, who have no weight.
    const Rules rules = s.kept ? Rules::Kept : Rules::Plain;
    // A spreadsheet file is read whole or not at all, as a kept one is: a
    // refused file leaves the roster as it was.
    if (formatOf(filename) == FileFormat::Csv) {
        CsvDialect dialect;
        std::vector<Person> persons;
        if (const std::optional<Problem> problem = readCsv(infile, dialect, persons, rules)) {
            s.out << "Cannot load " << filename << ": " << *problem << '\n'
                  << refusalAdvice(FileFormat::Csv) << '\n';
            return;
        }
        s.persons = std::move(persons);
        s.out << "The file has been successfully loaded." << '\n';
        return;
    }
    skipByteOrderMark(infile);
    loadRoster(s.persons, infile, s.out, rules);
}

}  // namespace roster
