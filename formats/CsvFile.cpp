// The spreadsheet file: comma-separated values as Excel, LibreOffice and
// Google Sheets open and save them, kept in the file's own dialect.
#include <algorithm>
#include <istream>
#include <limits>
#include <sstream>
#include <streambuf>
#include <utility>

#include "base/Number.h"
#include "formats/Formats.h"

namespace roster {

namespace {

using Traits = std::char_traits<char>;
constexpr Traits::int_type kEnd = Traits::eof();

// The delimiters a header is tried with, in order of preference.
constexpr char kDelimiters[] = {',', ';', '\t'};
// A line before the header longer than this is no header of a roster.
constexpr std::size_t kLongestHeader = 1 << 16;
// A text that begins with some quotes followed by one of these would be
// run as a formula by a spreadsheet.
constexpr std::string_view kFormulaStarts("=+-@\t\r", 6);

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// One field of a row as read. A field of spaces alone is only counted, so
// that a line of megabytes of blanks takes no memory.
struct Cell {
    std::string text;
    std::size_t spaces = 0;  // while `text` is empty
    bool quoted = false;

    void add(char c) {
        if (c == ' ' && text.empty()) {
            ++spaces;
            return;
        }
        if (text.empty() && spaces > 0) {
            text.assign(spaces, ' ');
        }
        text += c;
    }
    bool empty() const { return text.empty() && spaces == 0; }
    bool blank() const { return text.find_first_not_of(" \t") == std::string::npos; }
    std::string value() const { return text.empty() ? std::string(spaces, ' ') : text; }
    // The value, moved out: a cell may hold most of a file.
    std::string take() { return text.empty() ? std::string(spaces, ' ') : std::move(text); }
};

// Reads rows, counting the lines they take up.
class RowReader {
  public:
    enum Outcome { Row, End, Bad };

    RowReader(std::streambuf& source, char separator, std::size_t firstLine)
        : in(source), delimiter(Traits::to_int_type(separator)), line(firstLine) {}

    // The next row, `count` cells, and its line end. The first `keep`
    // cells go into `cells`; those after them are only looked at, so that
    // a row of a million empty cells takes no memory. A row that cannot be
    // read gives the cell at fault and what is wrong.
    Outcome next() {
        if (Traits::eq_int_type(in.sgetc(), kEnd)) {
            return End;
        }
        rowLine = line;
        count = 0;
        firstFilled = 0;
        restBlank = true;
        for (;;) {
            if (count == cells.size() && count < keep) {
                cells.emplace_back();
            }
            Cell& cell = count < keep ? cells[count] : spare;
            ++count;
            cell.text.clear();
            cell.spaces = 0;
            cell.quoted = false;
            Traits::int_type c = in.sgetc();
            if (c == '"' && !readQuoted(cell)) {
                return Bad;
            }
            for (c = in.sgetc(); c != delimiter && c != '\r' && c != '\n' && c != kEnd;
                 c = in.snextc()) {
                if (cell.quoted) {
                    bad = "text after a closing quote";
                    return Bad;
                }
                cell.add(Traits::to_char_type(c));
            }
            if (&cell == &spare) {
                firstFilled = firstFilled == 0 && !cell.empty() ? count : firstFilled;
                restBlank = restBlank && cell.blank();
            }
            if (c != delimiter) {
                endLine(c);
                return Row;
            }
            in.sbumpc();
        }
    }

    // Takes the line end that `c`, the next character, begins.
    void endLine(Traits::int_type c) {
        lineEnd.clear();
        if (c == '\r') {
            lineEnd += '\r';
            c = in.snextc();
        }
        if (c == '\n') {
            lineEnd += '\n';
            in.sbumpc();
        }
        line += lineEnd.empty() ? 0 : 1;
    }

    std::streambuf& in;
    const Traits::int_type delimiter;
    std::size_t line;  // the line the next row begins on
    std::size_t rowLine = 0;
    std::string lineEnd;  // the last row's: "\r\n", "\n", "\r" or none
    std::size_t keep = std::numeric_limits<std::size_t>::max();
    std::vector<Cell> cells;
    std::size_t count = 0;
    // Of the cells not kept: the place of the first that is not empty,
    // counted from 1 (0 for none), and whether all of them are blank.
    std::size_t firstFilled = 0;
    bool restBlank = true;
    const char* bad = "";  // what is wrong with cell `count`, counted from 1

  private:
    Cell spare;  // each cell past those kept, in turn

    bool readQuoted(Cell& cell) {
        cell.quoted = true;
        for (Traits::int_type c = in.snextc();; c = in.snextc()) {
            if (c == kEnd) {
                bad = "a quote that is not closed";
                return false;
            }
            if (c == '\n') {
                bad = "a line break inside a field";
                return false;
            }
            if (c == '"' && in.snextc() != '"') {
                return true;
            }
            cell.text += Traits::to_char_type(c);
        }
    }
};

// Reads the first lines up to the header as they stand, since the header
// decides how the rest is read: what is within quotes counts as part of
// the line whatever the delimiter. False when the file ends first.
bool rawLine(RowReader& reader, std::string& text, std::optional<Problem>& problem) {
    text.clear();
    Traits::int_type c = reader.in.sgetc();
    if (c == kEnd) {
        return false;
    }
    reader.rowLine = reader.line;
    bool quoted = false;
    for (; c != kEnd && (quoted || (c != '\r' && c != '\n')); c = reader.in.snextc()) {
        if (text.size() == kLongestHeader) {
            problem = Problem{reader.line, "", "the line is too long for a header of a roster"};
            return false;
        }
        quoted = quoted != (c == '"');
        text += Traits::to_char_type(c);
    }
    reader.endLine(c);
    return true;
}

// A header cell's name in the form names are compared in: small letters,
// without blanks, "_" and "-".
std::string canonical(std::string_view name) {
    std::string form;
    for (char c : name) {
        if (!isBlank(c) && c != '_' && c != '-') {
            form += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return form;
}

Field fieldNamed(std::string_view name) {
    const std::string form = canonical(name);
    for (int field = 0; field < kFieldCount; ++field) {
        if (form == canonical(fieldName(static_cast<Field>(field)))) {
            return static_cast<Field>(field);
        }
    }
    return kFieldCount;
}

// A header cell as a message shows it.
std::string columnName(const std::string& cell) {
    for (char c : cell) {
        if (c < ' ' || c > '~' || c == '"') {
            return quoted(cell);
        }
    }
    return cell.empty() || isBlank(cell.front()) || isBlank(cell.back()) ? quoted(cell) : cell;
}

// The header read with `delimiter`: how many of its cells name a field.
int namedCells(const std::string& header, char delimiter) {
    std::stringbuf text(header);
    RowReader reader(text, delimiter, 1);
    if (reader.next() != RowReader::Row) {
        return -1;
    }
    int named = 0;
    for (std::size_t i = 0; i < reader.count; ++i) {
        named += fieldNamed(reader.cells[i].value()) != kFieldCount ? 1 : 0;
    }
    return named;
}

// Takes the header's cells into the dialect, or names what is wrong.
std::optional<Problem> readHeader(const RowReader& header, CsvDialect& dialect) {
    dialect.cells.clear();
    dialect.columns.clear();
    bool seen[kFieldCount] = {};
    // Cells without a name are allowed only where every cell after them
    // is blank too: up to the last cell that is not.
    std::size_t filled = header.count;
    while (filled > 0 && header.cells[filled - 1].blank()) {
        --filled;
    }
    for (std::size_t i = 0; i < header.count; ++i) {
        const std::string cell = header.cells[i].value();
        const Field field = fieldNamed(cell);
        if (field == kFieldCount && !canonical(cell).empty()) {
            return Problem{header.rowLine, columnName(cell),
                           "no column of a roster, which has Name, Major, Age, Height, Weight, "
                           "GPA and Net worth"};
        }
        if (field == kFieldCount) {
            if (i < filled) {
                return Problem{header.rowLine, "column " + std::to_string(i + 1),
                               "a column without a name"};
            }
        } else if (seen[field]) {
            return Problem{header.rowLine, columnName(cell),
                           std::string("a second column for ") + fieldName(field)};
        } else {
            seen[field] = true;
        }
        dialect.cells.push_back(cell);
        dialect.columns.push_back(field);
    }
    for (int field = 0; field < kFieldCount; ++field) {
        if (!seen[field]) {
            return Problem{header.rowLine, "",
                           std::string("no column for ") + fieldName(static_cast<Field>(field))};
        }
    }
    return std::nullopt;
}

// A quote in front of a text that a spreadsheet would take for a formula.
bool formulaLike(std::string_view text) {
    const std::size_t start = text.find_first_not_of('\'');
    return start != std::string_view::npos &&
           kFormulaStarts.find(text[start]) != std::string_view::npos;
}

// A number that fills the field but for blanks around it.
template <typename T>
bool readFilled(const std::string& text, T& value) {
    std::istringstream in(text);
    return !text.empty() && !(text[0] >= '\t' && text[0] <= '\r') && in >> number(value) &&
           in.eof();
}

// The column at `i` as a message names it.
std::string columnAt(const CsvDialect& dialect, std::size_t i) {
    return i < dialect.columns.size() && dialect.columns[i] != kFieldCount
               ? columnName(dialect.cells[i])
               : "column " + std::to_string(i + 1);
}

// The one decimal mark of a file: in a file separated by semicolons or
// TABs the mark of the first real written with one, in any other the
// point; so a thousands separator is refused, never read as a decimal mark.
struct DecimalMark {
    char mark = '.';
    bool decided = false;
    std::size_t line = 0;  // where it was decided
    std::string example;   // the value that decided it

    explicit DecimalMark(char delimiter) : decided(delimiter != ';' && delimiter != '\t') {}

    // Takes the mark of `text`, a real on `atLine`; what is wrong when the
    // file has the other one.
    std::optional<std::string> take(char used, std::string_view text, std::size_t atLine) {
        if (!decided) {
            decided = true;
            mark = used;
            line = atLine;
            example = quoted(text);
        }
        if (used == mark) {
            return std::nullopt;
        }
        const auto name = [](char c) { return c == ',' ? "comma" : "point"; };
        std::string wrong = quoted(text) + " has a " + name(used) +
                            ", but the decimal mark of this file is the " + name(mark);
        if (!example.empty()) {
            wrong += ", as in " + example + " on line " + std::to_string(line);
        }
        return wrong;
    }
};

// Reads one row that holds a person into it, or names what is wrong: the
// first field that cannot be read, else the first rule broken.
std::optional<Problem> readPerson(RowReader& row, CsvDialect& dialect, DecimalMark& decimal,
                                  Rules rules, Person& person) {
    std::string texts[kFieldCount];  // the numbers without the blanks around them
    int whole[3] = {};
    double reals[2] = {};
    std::size_t at[kFieldCount] = {};
    const std::size_t columns = dialect.columns.size();
    for (std::size_t i = 0; i < columns; ++i) {
        const Field field = dialect.columns[i];
        if (i >= row.count || field == kFieldCount) {
            if (field != kFieldCount) {
                return Problem{row.rowLine, columnAt(dialect, i), "the row ends before it"};
            }
            if (i < row.count && !row.cells[i].empty()) {
                return Problem{row.rowLine, columnAt(dialect, i),
                               "text in a column without a name"};
            }
            continue;
        }
        at[field] = i;
        std::string& text = texts[field] = row.cells[i].take();
        if (field == kName || field == kMajor) {
            if (!text.empty() && text[0] == '\'' && formulaLike(std::string_view(text).substr(1))) {
                text.erase(0, 1);
            }
            continue;
        }
        const std::size_t first = text.find_first_not_of(" \t");
        text = first == std::string::npos
                   ? ""
                   : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
        bool read = false;
        if (field == kGPA || field == kNetworth) {
            // A second mark stays as it is, and the number does not read.
            std::string point = text;
            const std::size_t mark = point.find_first_of(".,");
            if (mark != std::string::npos) {
                point[mark] = '.';
            }
            read = readFilled(point, reals[field - kGPA]);
            if (read && mark != std::string::npos) {
                if (const std::optional<std::string> wrong =
                        decimal.take(text[mark], text, row.rowLine)) {
                    return Problem{row.rowLine, columnAt(dialect, i), *wrong};
                }
                dialect.decimal = decimal.mark;
            }
        } else {
            read = readFilled(text, whole[field - kAge]);
        }
        if (!read) {
            return Problem{
                row.rowLine, columnAt(dialect, i),
                quoted(text) + (field == kGPA || field == kNetworth ? " is not a number"
                                                                    : " is not a whole number")};
        }
    }
    if (row.firstFilled != 0) {
        return Problem{row.rowLine, columnAt(dialect, row.firstFilled - 1),
                       "text in a column without a name"};
    }
    person = Person(std::move(texts[kName]), whole[0], whole[1], whole[2], reals[0],
                    std::move(texts[kMajor]), reals[1]);
    const Field broken = person.brokenRule(rules);
    if (broken != kFieldCount) {
        return Problem{row.rowLine, columnAt(dialect, at[broken]),
                       outsideRule(broken, texts[broken], rules)};
    }
    return std::nullopt;
}

bool blankRow(const RowReader& row) {
    for (std::size_t i = 0; i < row.count && i < row.cells.size(); ++i) {
        if (!row.cells[i].blank()) {
            return false;
        }
    }
    return row.restBlank;
}

// Reads the whole file; `headerRead` tells whether it began with a valid
// header, whatever came after it.
std::optional<Problem> readFile(std::istream& in, CsvDialect& dialect, std::vector<Person>& persons,
                                Rules rules, bool& headerRead) {
    headerRead = false;
    dialect = CsvDialect();
    std::streambuf& source = *in.rdbuf();
    RowReader lines(source, ',', 1);
    std::optional<Problem> problem;
    std::string header;
    bool found = false;
    bool first = true;
    bool sepLine = false;
    while (!found && rawLine(lines, header, problem)) {
        if (first && (header.rfind("\xFF\xFE", 0) == 0 || header.rfind("\xFE\xFF", 0) == 0)) {
            return Problem{0, "", "is UTF-16 text; save it as CSV UTF-8"};
        }
        if (first && header.rfind(kByteOrderMark, 0) == 0) {
            header.erase(0, sizeof kByteOrderMark - 1);
        } else if (first) {
            dialect.byteOrderMark = false;
        }
        if (first && header.size() == 5 && header.rfind("sep=", 0) == 0) {
            if (std::string_view("0123456789+-.eE\"").find(header[4]) != std::string_view::npos) {
                return Problem{1, "",
                               quoted(header) +
                                   ": numbers and quotes use that character, so it "
                                   "cannot separate fields"};
            }
            sepLine = true;
            dialect.sepLine = true;
            dialect.delimiter = header[4];
        } else {
            found = header.find_first_not_of(std::string(" \t,;") + dialect.delimiter) !=
                    std::string::npos;
        }
        dialect.lineEnd = lines.lineEnd.empty() ? dialect.lineEnd : lines.lineEnd;
        first = false;
    }
    if (problem) {
        return problem;
    }
    dialect.decimal = dialect.delimiter == ';' ? ',' : '.';
    if (!found) {
        return std::nullopt;  // a new file, or one that holds no header yet
    }
    if (!sepLine) {
        int most = 0;
        for (const char delimiter : kDelimiters) {
            const int named = namedCells(header, delimiter);
            if (named > most) {
                most = named;
                dialect.delimiter = delimiter;
            }
        }
        dialect.decimal = dialect.delimiter == ';' ? ',' : '.';
    }
    std::stringbuf headerText(header);
    RowReader headerRow(headerText, dialect.delimiter, lines.rowLine);
    if (headerRow.next() != RowReader::Row) {
        return Problem{lines.rowLine, "", headerRow.bad};
    }
    // The header was taken to end where its quotes were paired up; a quote
    // within a cell pairs them otherwise.
    if (headerText.in_avail() > 0) {
        return Problem{lines.rowLine, "", "a quote within a cell of the header"};
    }
    if ((problem = readHeader(headerRow, dialect))) {
        return problem;
    }
    headerRead = true;
    RowReader rows(source, dialect.delimiter, lines.line);
    rows.keep = dialect.columns.size();
    DecimalMark decimal(dialect.delimiter);
    for (RowReader::Outcome outcome; (outcome = rows.next()) != RowReader::End;) {
        if (outcome == RowReader::Bad) {
            return Problem{rows.rowLine, columnAt(dialect, rows.count - 1), rows.bad};
        }
        if (blankRow(rows)) {
            continue;
        }
        if (persons.size() == kCapacity) {
            return Problem{rows.rowLine, "", "more than 20 persons"};
        }
        Person person;
        if ((problem = readPerson(rows, dialect, decimal, rules, person))) {
            return problem;
        }
        persons.push_back(std::move(person));
    }
    return std::nullopt;
}

// A text as a field: in quotes where a spreadsheet would otherwise split
// it, end its row, or trim it.
void writeText(std::string& out, const std::string& text, char delimiter) {
    const bool plain =
        text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string::npos &&
        (text.empty() || (!isBlank(text.front()) && !isBlank(text.back())));
    if (plain) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

template <typename T>
void writeNumber(std::string& out, T value, char decimal) {
    for (const char c : numberText(value)) {
        out += c == '.' ? decimal : c;
    }
}

}  // namespace

std::optional<Problem> readCsv(std::istream& in, CsvDialect& dialect, std::vector<Person>& persons,
                               Rules rules) {
    bool headerRead = false;
    std::optional<Problem> problem = readFile(in, dialect, persons, rules, headerRead);
    if (problem) {
        persons.clear();
    }
    return problem;
}

std::optional<CsvDialect> dialectOf(std::istream& in) {
    CsvDialect dialect;
    std::vector<Person> persons;
    bool headerRead = false;
    readFile(in, dialect, persons, Rules::Kept, headerRead);
    return headerRead ? std::optional<CsvDialect>(std::move(dialect)) : std::nullopt;
}

std::string csvBytes(const CsvDialect& dialect, const std::vector<Person>& persons) {
    // Room for the longest file these persons can make, taken at once, so
    // that a roster of long texts is not copied as its file grows.
    std::size_t most = 16 + dialect.lineEnd.size();
    for (const std::string& cell : dialect.cells) {
        most += 2 * cell.size() + 3;
    }
    for (const Person& person : persons) {
        most += 2 * (person.getName().size() + person.getMajor().size()) + 6 +
                dialect.columns.size() * 32 + dialect.lineEnd.size();
    }
    std::string out;
    out.reserve(most);
    out += dialect.byteOrderMark ? kByteOrderMark : "";
    if (dialect.sepLine) {
        out += "sep=";
        out += dialect.delimiter;
        out += dialect.lineEnd;
    }
    for (std::size_t i = 0; i < dialect.cells.size(); ++i) {
        out += i > 0 ? std::string(1, dialect.delimiter) : "";
        writeText(out, dialect.cells[i], dialect.delimiter);
    }
    out += dialect.lineEnd;
    for (const Person& person : persons) {
        for (std::size_t i = 0; i < dialect.columns.size(); ++i) {
            out += i > 0 ? std::string(1, dialect.delimiter) : "";
            const Field field = dialect.columns[i];
            if (field == kName || field == kMajor) {
                const std::string& text = field == kName ? person.getName() : person.getMajor();
                if (formulaLike(text)) {
                    writeText(out, '\'' + text, dialect.delimiter);
                } else {
                    writeText(out, text, dialect.delimiter);
                }
            } else if (field == kGPA || field == kNetworth) {
                writeNumber(out, field == kGPA ? person.getGPA() : person.getNetworth(),
                            dialect.decimal);
            } else if (field != kFieldCount) {
                writeNumber(out,
                            field == kAge      ? person.getAge()
                            : field == kHeight ? person.getHeight()
                                               : person.getWeight(),
                            dialect.decimal);
            }
        }
        out += dialect.lineEnd;
    }
    return out;
}

}  // namespace roster
