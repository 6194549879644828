#include "formats/Formats.h"

#include <ostream>

#include "base/Text.h"

namespace roster {

std::ostream& operator<<(std::ostream& out, const Problem& problem) {
    if (problem.line > 0) {
        out << "line " << problem.line << (problem.column.empty() ? "" : ", ") << problem.column
            << ": ";
    }
    return out << problem.what;
}

std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string shown = "\"";
    const std::size_t at = appendShown(shown, text, kShown);
    return shown + (at < text.size() ? "...\"" : "\"");
}

std::string outsideRule(Field field, std::string_view text, Rules rules) {
    const bool blank = rules == Rules::Kept && kFieldRules[field].blankWhenKept;
    return quoted(text) + " is not between " + rangeText(field, " and ") + (blank ? ", nor 0" : "");
}

FileFormat formatOf(std::string_view path) {
    const std::string_view csv = ".csv";
    if (path.size() < csv.size()) {
        return FileFormat::Roster;
    }
    const std::string_view end = path.substr(path.size() - csv.size());
    for (std::size_t i = 0; i < csv.size(); ++i) {
        if ((end[i] | 0x20) != csv[i]) {
            return FileFormat::Roster;
        }
    }
    return FileFormat::Csv;
}

std::optional<Problem> readPersons(std::istream& in, FileLayout& layout,
                                   std::vector<Person>& persons) {
    if (layout.format == FileFormat::Csv) {
        return readCsv(in, layout.csv, persons, Rules::Kept);
    }
    skipByteOrderMark(in);
    RosterRead read = readRoster(in, persons, {Rules::Kept, Reading::Strict});
    if (read.stop != RosterRead::End) {
        return std::move(read.problem);
    }
    return std::nullopt;
}

std::string personsBytes(const FileLayout& layout, const std::vector<Person>& persons) {
    return layout.format == FileFormat::Csv ? csvBytes(layout.csv, persons) : rosterBytes(persons);
}

const char* refusalAdvice(FileFormat format) {
    return format == FileFormat::Csv
               ? "Correct it in a spreadsheet or an editor, and save it as CSV again."
               : "Correct it, or open it with O, which leaves such records out.";
}

std::size_t numberAt(std::string_view path) {
    return formatOf(path) == FileFormat::Csv ? path.size() - 4 : path.size();
}

std::string numberedName(std::string_view path, unsigned long number) {
    const std::size_t at = numberAt(path);
    return std::string(path.substr(0, at)) + '.' + std::to_string(number) +
           std::string(path.substr(at));
}

}  // namespace roster
