// roster --convert IN OUT: a roster moved between the two file formats.
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <system_error>

#include "console/Commands.h"
#include "platform/SafeWrite.h"

namespace roster {

namespace {

// Opens `path` for reading when it is a regular file.
bool openRegular(std::ifstream& file, const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        file.open(path, std::ios_base::binary);
    }
    return file.is_open();
}

// The dialect of the CSV file `path`, when it begins with a valid header.
std::optional<CsvDialect> dialectOfFile(const std::string& path) {
    std::ifstream file;
    return openRegular(file, path) ? dialectOf(file) : std::nullopt;
}

}  // namespace

int convertFile(const std::string& from, const std::string& to, std::ostream& err) {
    FileLayout in;
    in.format = formatOf(from);
    std::ifstream file;
    if (!openRegular(file, from)) {
        err << "roster: cannot open " << from << '\n';
        return 1;
    }
    std::vector<Person> persons;
    if (const std::optional<Problem> problem = readPersons(file, in, persons)) {
        err << "roster: cannot convert " << from << ": " << *problem << '\n'
            << refusalAdvice(in.format) << '\n';
        return 1;
    }
    // A CSV file keeps the dialect it has; a new one takes that of the CSV
    // file it is made from, or the one spreadsheets expect.
    FileLayout out;
    out.format = formatOf(to);
    if (out.format == FileFormat::Csv) {
        std::error_code error;
        if (const std::optional<CsvDialect> dialect = dialectOfFile(to)) {
            out.csv = *dialect;
        } else if (in.format == FileFormat::Csv && !std::filesystem::exists(to, error)) {
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
