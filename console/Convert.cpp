// roster --convert IN OUT: a roster moved between the two file formats.
#include <istream>
#include <optional>
#include <ostream>

#include "console/Commands.h"
#include "io/FileIo.h"
#include "io/SafeWrite.h"
#include "platform/System.h"

namespace roster {

namespace {

// The dialect of the CSV file `path`, when it begins with a valid header.
std::optional<CsvDialect> dialectOfFile(const std::string& path) {
    FileReader file(path.c_str());
    std::istream in(&file);
    return file.isOpen() ? dialectOf(in) : std::nullopt;
}

}  // namespace

int convertFile(const std::string& from, const std::string& to, std::ostream& err) {
    FileLayout in;
    in.format = formatOf(from);
    FileReader file(from.c_str());
    std::istream read(&file);
    if (!file.isOpen()) {
        err << "roster: cannot open " << from << '\n';
        return 1;
    }
    std::vector<Person> persons;
    if (const std::optional<Problem> problem = readPersons(read, in, persons)) {
        err << "roster: cannot convert " << from << ": " << *problem << '\n'
            << refusalAdvice(in.format) << '\n';
        return 1;
    }
    // A CSV file keeps the dialect it has; a new one takes that of the CSV
    // file it is made from, or the one spreadsheets expect.
    FileLayout out;
    out.format = formatOf(to);
    if (out.format == FileFormat::Csv) {
        if (const std::optional<CsvDialect> dialect = dialectOfFile(to)) {
            out.csv = *dialect;
        } else if (in.format == FileFormat::Csv && os().kindOf(to.c_str()) == Kind::Missing) {
            out.csv = in.csv;
        }
    }
    if (!writeFileSafely(to, personsBytes(out, persons))) {
        err << "roster: cannot write " << to << '\n';
        return 1;
    }
    return 0;
}

}  // namespace roster
