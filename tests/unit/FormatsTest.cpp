#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "formats/Formats.h"
#include "io/LockText.h"

namespace roster {
namespace {

// All seven fields, the reals bit for bit.
std::string fields(const Person& p) {
    std::uint64_t gpa = 0;
    std::uint64_t networth = 0;
    const double reals[] = {p.getGPA(), p.getNetworth()};
    std::memcpy(&gpa, &reals[0], sizeof gpa);
    std::memcpy(&networth, &reals[1], sizeof networth);
    std::ostringstream out;
    out << p.getName() << '|' << p.getMajor() << '|' << p.getAge() << '|' << p.getHeight() << '|'
        << p.getWeight() << '|' << std::hex << gpa << '|' << networth << '\n';
    return out.str();
}

std::string fields(const std::vector<Person>& persons) {
    std::string all;
    for (const Person& p : persons) {
        all += fields(p);
    }
    return all;
}

CsvDialect dialect(char delimiter, char decimal, bool byteOrderMark, const char* lineEnd,
                   bool sepLine = false) {
    CsvDialect d;
    d.delimiter = delimiter;
    d.decimal = decimal;
    d.byteOrderMark = byteOrderMark;
    d.lineEnd = lineEnd;
    d.sepLine = sepLine;
    return d;
}

// Every roster the program can hold reads back from the file it is saved
// as, in either format and every dialect: the same persons in the same
// order, every field bit for bit, and the file it would write again is
// the same.
TEST(FormatsTest, SavedRostersReadBackBitForBit) {
    std::vector<FileLayout> layouts(7);
    layouts[1].format = FileFormat::Roster;
    const CsvDialect dialects[] = {
        CsvDialect(),  // what spreadsheets expect: BOM, ",", CR LF
        dialect(';', ',', false, "\r\n"),
        dialect('\t', '.', true, "\n"),
        dialect('\t', ',', false, "\r\n"),
        dialect(',', '.', false, "\n"),
        dialect(';', '.', true, "\n", true),
    };
    for (std::size_t i = 0; i < std::size(dialects); ++i) {
        layouts[i + 1].format = FileFormat::Csv;
        layouts[i + 1].csv = dialects[i];
    }
    // A roster file's texts end at a line end.
    const std::string rosterTexts[] = {"Smith, John",
                                       "",
                                       " ",
                                       "Müller, Jürgen",
                                       "王, 小明",
                                       std::string(3000, 'x'),
                                       "\xEF\xBB\xBFMark",
                                       "a\tb\rc\x01",
                                       "CR\r\r"};
    const std::string starts[] = {"", "=", "+", "-", "@", "'", "''=", "\t", "\r", " ", "\"", "'-"};
    constexpr double kMax = 1.7976931348623157e308;
    const double extremes[] = {-0.0, 1e-320, 4.9e-324, kMax, 0.1, 4.0, 2500.5};
    std::mt19937_64 random(21);
    const auto any = [&](const auto& from) { return from[random() % std::size(from)]; };
    // Any byte but a line feed, more often those that a CSV file treats apart.
    const auto anyText = [&]() {
        std::string text = any(starts);
        for (auto n = random() % 12; n > 0; --n) {
            const char special[] = {',', ';', '\t', '"', '\r', ' ', '\'', '\0'};
            char c = random() % 2 != 0 ? any(special) : static_cast<char>(random() % 256);
            text += c == '\n' ? ' ' : c;
        }
        return text + (random() % 4 == 0 ? " " : "");
    };
    // Extremes and any other value of the range, each half of the time.
    const auto anyReal = [&](double low, double high) {
        for (;;) {
            double value = any(extremes);
            if (random() % 2 != 0) {
                const std::uint64_t raw = random();
                std::memcpy(&value, &raw, sizeof value);
            }
            if (low <= value && value <= high) {
                return value;
            }
        }
    };
    for (int round = 0; round < 700; ++round) {
        const FileLayout& layout = layouts[static_cast<std::size_t>(round) % layouts.size()];
        const bool csv = layout.format == FileFormat::Csv;
        std::vector<Person> persons;
        for (auto n = random() % 21; n > 0; --n) {
            persons.emplace_back(csv ? anyText() : any(rosterTexts),
                                 static_cast<int>(21 + random() % 100),
                                 static_cast<int>(50 + random() % 36),
                                 random() % 2 != 0 ? 0 : static_cast<int>(100 + random() % 401),
                                 anyReal(0.0, 4.0), csv ? anyText() : any(rosterTexts),
                                 anyReal(-kMax, kMax) * (random() % 2 != 0 ? -1 : 1));
        }
        const std::string bytes = personsBytes(layout, persons);
        std::istringstream in(bytes);
        FileLayout read;
        read.format = layout.format;
        std::vector<Person> back;
        const std::optional<Problem> problem = readPersons(in, read, back);
        ASSERT_FALSE(problem) << *problem << " in\n" << bytes;
        ASSERT_EQ(fields(back), fields(persons)) << bytes;
        ASSERT_EQ(personsBytes(read, back), bytes);
    }
}

// The seven fields in one short text.
std::string shortFields(const Person& p) {
    std::ostringstream out;
    out << p.getName() << '|' << p.getMajor() << '|' << p.getAge() << '|' << p.getHeight() << '|'
        << p.getWeight() << '|' << p.getGPA() << '|' << p.getNetworth();
    return out.str();
}

// How reading a CSV file goes: the persons it holds, or the message the
// file is refused with.
std::string readCsvText(const std::string& text) {
    std::istringstream in(text);
    FileLayout layout;
    layout.format = FileFormat::Csv;
    std::vector<Person> persons;
    if (const std::optional<Problem> problem = readPersons(in, layout, persons)) {
        std::ostringstream message;
        message << *problem;
        return message.str();
    }
    std::ostringstream read;
    read << layout.csv.delimiter << layout.csv.decimal << layout.csv.byteOrderMark
         << layout.csv.sepLine << layout.csv.cells.size() << ' ';
    for (const Person& p : persons) {
        read << shortFields(p) << ';';
    }
    return read.str();
}

TEST(FormatsTest, CsvFilesAreReadStrictly) {
    const std::string header = "Name,Major,Age,Height,Weight,GPA,Net worth\n";
    const auto row = [&](const std::string& cells) { return header + cells + "\n"; };
    std::string full = header;
    for (int i = 0; i < 21; ++i) {
        full += "A,M,25,70,180,3,1\n";
    }
    const std::pair<std::string, std::string> cases[] = {
        // What files written elsewhere hold, read as they mean it.
        {"", ",.107 "},
        {"\xEF\xBB\xBFsep=;\r\n", ";,117 "},
        {"name;MAJOR;age ;Height;weight;G-P-A;NET_WORTH;;\r\n\r\n;;\r 'Lee, Bo\";M; 25 "
         ";\"70\";0;3,5;"
         "-1e3;;\r\r",
         ";,009  'Lee, Bo\"|M|25|70|0|3.5|-1000;"},
        {"Name\tMajor\tAge\tHeight\tWeight\tGPA\tNet worth\n'=1+1\t'@x\t21\t50\t500\t0\t0,25\n",
         "\t,007 =1+1|@x|21|50|500|0|0.25;"},
        {row("\"A\"\"\r\",\"x,y\",120,85,100,4,1.5") + ",,,,,,\n   \n",
         ",.007 A\"\r|x,y|120|85|100|4|1.5;"},
        {row(std::string("A\0B", 3) + ",''-,25,70,180,3,1"),
         std::string(",.007 A\0B|'-|25|70|180|3|1;", 27)},  // NUL is text
        // What is refused, and how it is named.
        {"\xFF\xFEN\0a\0", "is UTF-16 text; save it as CSV UTF-8"},
        {"sep=.\n" + header,
         "line 1: \"sep=.\": numbers and quotes use that character, so it "
         "cannot separate fields"},
        {"Major,Age,Height,Weight,GPA,Net worth\n", "line 1: no column for Name"},
        {"Name;Grade\n",
         "line 1, Grade: no column of a roster, which has Name, Major, Age, "
         "Height, Weight, GPA and Net worth"},  // ";" names more
        {"Name,Major;Age\n",
         "line 1, Major;Age: no column of a roster, which has Name, Major, "
         "Age, Height, Weight, GPA and Net worth"},  // "," if none names more
        {"\n\nName,Major,Age,Grade,Height,Weight,GPA,Net worth\n",
         "line 3, Grade: no column of a roster, which has Name, Major, Age, Height, Weight, GPA "
         "and Net worth"},
        {"\x01\x1B[31m,Name\n",
         "line 1, \"\\x01\\x1B[31m\": no column of a roster, which has "
         "Name, Major, Age, Height, Weight, GPA and Net worth"},
        {"Name,Age,Major,AGE,Height,Weight,GPA,Net worth\n",
         "line 1, AGE: a second column for Age"},
        {"Name,,Major,Age,Height,Weight,GPA,Net worth\n",
         "line 1, column 2: a column without a name"},
        {"Name,Ma\"jor,Age,Height,Weight,GPA,Net worth\nA,M\n",
         "line 1: a quote within a cell of "
         "the header"},
        {std::string(70000, 'N'), "line 1: the line is too long for a header of a roster"},
        {row("A,M,25,70,180,3,1,x"), "line 2, column 8: text in a column without a name"},
        {row("A,M,25"), "line 2, Height: the row ends before it"},
        {row("\"A,M,25,70,180,3,1"), "line 2, Name: a line break inside a field"},
        {header + "A,\"M", "line 2, Major: a quote that is not closed"},
        {row("\"A\" ,M,25,70,180,3,1"), "line 2, Name: text after a closing quote"},
        {row("A,M,19,70,180,3,1"), "line 2, Age: \"19\" is not between 21 and 120"},
        {row("A,M,25,86,180,3,1"), "line 2, Height: \"86\" is not between 50 and 85"},
        {row("A,M,25,70,99,3,1"), "line 2, Weight: \"99\" is not between 100 and 500, nor 0"},
        {row("A,M,25,70,180,4.01,1"), "line 2, GPA: \"4.01\" is not between 0 and 4"},
        {row("A,M,25x,70,180,3,1"), "line 2, Age: \"25x\" is not a whole number"},
        {row("A,M,,70,180,3,1"), "line 2, Age: \"\" is not a whole number"},
        {row("A,M,99999999999,70,180,3,1"), "line 2, Age: \"99999999999\" is not a whole number"},
        {row("A,M,25,70,180,\"3,5\",1"),
         "line 2, GPA: \"3,5\" has a comma, but the decimal mark of this file is the point"},
        {row("A,M,25,70,180,3,1e999"), "line 2, Net worth: \"1e999\" is not a number"},
        {row("A,M,25,70,180,3,\"\r1\""), "line 2, Net worth: \"\\x0D1\" is not a number"},
        {full, "line 22: more than 20 persons"},
    };
    for (const auto& [text, outcome] : cases) {
        EXPECT_EQ(readCsvText(text), outcome) << text;
    }
}

// A file has one decimal mark, which its first real with a mark decides:
// a thousands separator written as the other one is refused, not read.
TEST(FormatsTest, ACsvFileHasOneDecimalMark) {
    const auto file = [](char delimiter, const std::string& rows) {
        std::string text = "Name,Major,Age,Height,Weight,GPA,Net worth\n" + rows;
        std::replace(text.begin(), text.end(), ',', delimiter);
        std::replace(text.begin(), text.end(), '_', ',');  // a comma within a number
        return text;
    };
    const std::tuple<char, std::string, std::string> cases[] = {
        {'\t', "A,M,25,70,180,3.5,25_000\n",
         "line 2, Net worth: \"25,000\" has a comma, but the decimal mark of this file is the "
         "point, as in \"3.5\" on line 2"},
        {';', "A,M,25,70,180,3_5,1\nB,M,25,70,180,3,1.000\n",
         "line 3, Net worth: \"1.000\" has a point, but the decimal mark of this file is the "
         "comma, as in \"3,5\" on line 2"},
        {';', "A,M,25,70,180,3,1e3\nB,M,25,70,180,0_5,1_5\n",
         ";,007 A|M|25|70|180|3|1000;B|M|25|70|180|0.5|1.5;"},           // one mark, as before
        {'\t', "A,M,25,70,180,3,1.000\n", "\t.007 A|M|25|70|180|3|1;"},  // nothing tells
        {';', "A,M,25,70,180,3,1.000_5\n", "line 2, Net worth: \"1.000,5\" is not a number"},
    };
    for (const auto& [delimiter, rows, outcome] : cases) {
        EXPECT_EQ(readCsvText(file(delimiter, rows)), outcome) << rows;
    }
}

// Reads records until one is not complete and logs each: its fields, whether
// its rules hold, the lines it took up, and how the last read ended, with
// the field that could not be read.
std::string readAll(const std::string& text) {
    std::istringstream in(text);
    std::string log;
    for (RecordRead read;
         read.outcome == RecordRead::Complete || read.outcome == RecordRead::ExtraText;) {
        Record record;
        read = readRecord(in, record, true);
        const Person p = record.take();
        const std::string ends[] = {"\n", " extra\n", " unreadable " + std::to_string(read.field),
                                    ""};
        log += read.outcome == RecordRead::Nothing
                   ? "end"
                   : shortFields(p) + (p.isValid() ? " ok " : " bad ") +
                         std::to_string(read.lines) + ends[read.outcome];
    }
    return log;
}

// Line ends, numbers on lines of their own, a last line without a line
// end; and what a record leaves in the fields when it breaks a rule or
// cannot be read, which the open command never shows.
TEST(FormatsTest, ReadRecords) {
    const std::string doe = "Doe, Jane\nBiology\n22 65 130 2.8 2500.50\n";
    const std::string doeLog = "Doe, Jane|Biology|22|65|130|2.8|2500.5 ok 3\n";
    const std::pair<std::string, std::string> cases[] = {
        {"A\r\nM\r\n25\n70\n180\n3.5\n15000 \t\r\n" + doe +
             "B\nM\n25 70 180 3 1 and more\nC\nM\n25 70 180 3 2",
         "A|M|25|70|180|3.5|15000 ok 7\n" + doeLog +
             "B|M|25|70|180|3|1 ok 3 extra\nC|M|25|70|180|3|2 ok 2\nend"},
        {"A\nM\n20 70 180 3 0\nE\nM\n25 70 99 4.01 0\n\nBiology\n22 65 130 2.8 1\n \n\t\n",
         "A|M|20|70|180|3|0 bad 3\nE|M|25|70|99|4.01|0 bad 3\n|Biology|22|65|130|2.8|1 ok 3\nend"},
        {"A\nM\n25 70 180 abc 15000\n", "A|M|25|70|180|0|0 ok 2 unreadable 5"},
        {"A\nM\n25 70", "A|M|25|70|0|0|0 bad 2 unreadable 4"},
        {"\n" + doe, "|Doe, Jane|0|0|0|0|0 bad 2 unreadable 2"},
    };
    for (const auto& [text, log] : cases) {
        EXPECT_EQ(readAll(text), log) << text;
    }
}

TEST(FormatsTest, LockFilesEscapeTheCharactersThatSeparateTheirFields) {
    const LockOwner owner{"Lee, Bo;\\", "bo", "pc", "07.12.2026 09:15", "roster 42"};
    EXPECT_EQ(lockFileText(owner), "Lee\\, Bo\\;\\\\,bo,pc,07.12.2026 09:15,roster 42;");
}

}  // namespace
}  // namespace roster
