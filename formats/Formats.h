// The two kinds of file that hold a roster, side by side: the roster file
// of records (RosterFile.cpp) and the spreadsheet file of comma-separated
// values (CsvFile.cpp). Each has its reader and its writer together; both
// fill the same list of persons, name the first problem they find in one
// shape, and write files that read back to the very same persons.
#pragma once

#include <charconv>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "person/Person.h"

namespace roster {

// The first problem in a file: the line it is on (from 1; 0 for the file
// as a whole), the column as the file names it (empty for the whole line),
// and what is wrong.
struct Problem {
    std::size_t line = 0;
    std::string column;
    std::string what;
};

// Such as `line 4, Age: "19" is not between 21 and 120`.
std::ostream& operator<<(std::ostream& out, const Problem& problem);

// `text` in double quotes, fit to be shown in a message whatever bytes a
// file held: bytes outside printable ASCII and UTF-8 are written as \xNN,
// and a long text is cut short with "...".
std::string quoted(std::string_view text);

// A number as both formats write it: locale-free, and for a real the
// shortest text that reads back to the same value.
template <typename T>
std::string numberText(T value) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// What is wrong with `text`, the value of `field` as the file gives it, when
// it breaks the field's rule under `rules`.
std::string outsideRule(Field field, std::string_view text, Rules rules);

// --- The roster file (RosterFile.cpp) ---

// The UTF-8 byte-order mark, which a file may begin with.
inline constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Skips a byte-order mark at the start of a roster file.
void skipByteOrderMark(std::istream& in);

// What reading one record of a roster file found.
struct RecordRead {
    enum Outcome {
        Complete,    // every field was read; the rules may still fail
        ExtraText,   // complete, but more than blanks followed the net worth
        Unreadable,  // a field could not be read; the stream is failed
        Nothing,     // only whitespace was left before the end of the file
    };
    Outcome outcome = Complete;
    int field = 0;          // the field that could not be read: 0 the name, 6 the net worth
    std::size_t lines = 0;  // the line ends the record took up, when counted
    // When counted, the line each field's value stands on, the record's
    // first line being 0; for a field that the file ends before, the
    // file's last line.
    std::size_t fieldLines[kFieldCount] = {};
    bool lineEnded = false;  // the last character read ended a line, when counted
};

// The seven values of a record as read. Reading one record after another
// into the same Record reuses the room its texts took.
struct Record {
    std::string name;
    std::string major;
    int whole[3] = {};     // age, height, weight
    double reals[2] = {};  // GPA, net worth

    double valueOf(Field field) const {
        return field < kGPA ? whole[field - kAge] : reals[field - kGPA];
    }
    // The person it holds; its texts are moved out.
    Person take() {
        return Person(std::move(name), whole[0], whole[1], whole[2], reals[0], std::move(major),
                      reals[1]);
    }
};

// Reads one record (name line, major line, then age, height, weight, GPA and
// net worth) into `record`. A read that fails leaves the stream failed and
// the values it did not reach as they were. The line ends the record took
// up are counted only when asked.
RecordRead readRecord(std::istream& in, Record& record, bool countLines = false);

// How strictly a roster file is read.
enum class Reading {
    Lenient,  // a record that breaks a rule is left out, as O reads a file
    Strict,   // the first problem ends the reading and is named, as a kept file is read
};

struct ReadOptions {
    Rules rules = Rules::Plain;
    Reading reading = Reading::Lenient;
};

// How reading a roster file ended, and at which record, counted from 1.
// When strict, a stop other than End comes with the problem.
struct RosterRead {
    enum Stop { End, Full, Unreadable, BrokenRule, ExtraText };
    Stop stop;
    std::size_t record;
    Problem problem;
};

// Appends the valid records of a roster file to `persons` until the file
// ends, a record cannot be read, or one more valid record would outgrow
// kCapacity. A record that breaks a rule is left out; a strict reading
// ends there, and at text after a record's net worth.
RosterRead readRoster(std::istream& in, std::vector<Person>& persons, ReadOptions options);

// A roster file that holds the persons and reads back to them: one record
// each, the numbers separated by single blanks, with the platform's line
// ends.
std::string rosterBytes(const std::vector<Person>& persons);

// --- The spreadsheet file (CsvFile.cpp) ---

// How a CSV file is written: what a file read keeps, or what spreadsheets
// expect of a new one.
struct CsvDialect {
    bool byteOrderMark = true;
    bool sepLine = false;  // a first line "sep=X" names the delimiter
    char delimiter = ',';
    std::string lineEnd = "\r\n";
    char decimal = '.';
    // The header's cells as written, and the field each one holds; a cell
    // at the end may hold none (kFieldCount), and is then left empty.
    std::vector<std::string> cells{"Name", "Major", "Age", "Height", "Weight", "GPA", "Net worth"};
    std::vector<Field> columns{kName, kMajor, kAge, kHeight, kWeight, kGPA, kNetworth};
};

// Reads a CSV file strictly, as a kept roster is read: every person, or the
// first problem. Fills `dialect` with what the file shows of its own.
std::optional<Problem> readCsv(std::istream& in, CsvDialect& dialect, std::vector<Person>& persons,
                               Rules rules);

// The dialect of a CSV file that begins with a valid header; nothing for
// any other file.
std::optional<CsvDialect> dialectOf(std::istream& in);

// A CSV file in `dialect` that holds the persons and reads back to them.
std::string csvBytes(const CsvDialect& dialect, const std::vector<Person>& persons);

// --- Either file, picked by its name ---

enum class FileFormat { Roster, Csv };

// A name that ends in ".csv", in any case, is a CSV file; every other name
// is a roster file.
FileFormat formatOf(std::string_view path);

// What writing a file must know of it.
struct FileLayout {
    FileFormat format = FileFormat::Roster;
    CsvDialect csv;
};

// Reads a file in its layout's format, strictly, as a kept roster is read
// (a byte-order mark skipped, a weight of 0 passes, nothing left out
// silently, at most kCapacity persons): every person, appended to
// `persons`, or the first problem. A CSV file's dialect goes into `layout`.
std::optional<Problem> readPersons(std::istream& in, FileLayout& layout,
                                   std::vector<Person>& persons);

// The whole file that holds the persons in `layout`.
std::string personsBytes(const FileLayout& layout, const std::vector<Person>& persons);

// What a user can do about a file that was refused.
const char* refusalAdvice(FileFormat format);

// Where a file of `path`'s format with the number `number` goes beside it:
// "team.txt.1", but "class.1.csv", so that a spreadsheet still opens it.
std::size_t numberAt(std::string_view path);
std::string numberedName(std::string_view path, unsigned long number);

}  // namespace roster
