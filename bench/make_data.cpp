// Writes the inputs of the benchmarks. Every output is the same for the
// same arguments, so measurements from different runs compare.
//
//   make_data rejects PATH BYTES     a roster file of at least BYTES bytes
//                                    whose records all break the age rule
//   make_data roster PATH COUNT      a roster file of COUNT valid records
//                                    (at most 20), with distinct last names
//   make_data session PATH COMMANDS ROSTER
//                                    a session of COMMANDS menu commands: open
//                                    ROSTER, then print, sort by every key,
//                                    search and edit net worth in turn, and
//                                    exit as the last command
//   make_data wide PATH CELLS        a CSV file of one person whose row
//                                    goes on with CELLS empty cells
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

namespace {

const char* const kLastNames[] = {
    "Smith",  "Johnson", "Williams", "Brown",  "Jones",  "Garcia",    "Miller",
    "Davis",  "Wilson",  "Anderson", "Taylor", "Thomas", "Hernandez", "Moore",
    "Martin", "Jackson", "Thompson", "White",  "Lopez",  "Lee",
};
const char* const kFirstNames[] = {
    "John", "Jane", "Mary", "Robert", "Linda", "Michael", "Sarah", "David",
    "Emma", "Paul", "Anna", "Mark",   "Laura", "Peter",   "Alice", "Tom",
};
const char* const kMajors[] = {
    "Computer Science", "Biology", "Mathematics", "History", "Physics",
    "Economics",        "Art",     "Chemistry",   "Music",   "Philosophy",
};

constexpr unsigned kLastCount = sizeof kLastNames / sizeof kLastNames[0];
constexpr unsigned kFirstCount = sizeof kFirstNames / sizeof kFirstNames[0];
constexpr unsigned kMajorCount = sizeof kMajors / sizeof kMajors[0];

// One record; `age` decides whether it obeys the rules.
std::string record(unsigned i, int age) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%d %u %u %.2f %u.%02u\n", age, 50 + i % 36,
                  100 + (i * 7) % 401, static_cast<double>(i % 401) / 100.0, (i * 37) % 1000000,
                  i % 100);
    return std::string(kLastNames[i % kLastCount]) + ", " + kFirstNames[(i / 3) % kFirstCount] +
           '\n' + kMajors[(i / 7) % kMajorCount] + '\n' + numbers;
}

bool rejects(const char* path, unsigned long long bytes) {
    std::ofstream out(path, std::ios::binary);
    unsigned long long written = 0;
    for (unsigned i = 0; written < bytes; ++i) {
        // Too young: every record is read whole and then dropped.
        const std::string text = record(i, 19);
        out << text;
        written += text.size();
    }
    return static_cast<bool>(out.flush());
}

bool roster(const char* path, unsigned count) {
    std::ofstream out(path, std::ios::binary);
    for (unsigned i = 0; i < count; ++i) {
        out << record(i, 21 + static_cast<int>(i));
    }
    return static_cast<bool>(out.flush());
}

bool session(const char* path, unsigned long commands, const char* rosterPath) {
    std::ofstream out(path, std::ios::binary);
    out << "O\n" << rosterPath << '\n';
    for (unsigned long i = 1; i + 1 < commands; ++i) {
        const char* lastname = kLastNames[(i / 7) % kLastCount];
        switch (i % 7) {
            case 1:
                out << "P\nL\n";
                break;
            case 2:
                out << "T\nN\n";
                break;
            case 3:
                out << "T\nC\n";
                break;
            case 4:
                out << "T\nS\n";
                break;
            case 5:
                out << "T\nB\n";
                break;
            case 6:
                out << "S\n" << lastname << '\n';
                break;
            default:
                out << "E\n" << lastname << "\n6\n" << (i * 13) % 100000 << ".25\n";
                break;
        }
    }
    out << "X\n";
    return static_cast<bool>(out.flush());
}

bool wide(const char* path, unsigned long long cells) {
    std::ofstream out(path, std::ios::binary);
    out << "Name,Major,Age,Height,Weight,GPA,Net worth\n"
        << "\"Smith, John\",Biology,30,70,180,3.5,1500";
    const std::string commas(4096, ',');
    for (; cells >= commas.size(); cells -= commas.size()) {
        out << commas;
    }
    out << commas.substr(0, cells) << '\n';
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    bool written = false;
    if (mode == "rejects" && argc == 4) {
        written = rejects(argv[2], std::strtoull(argv[3], nullptr, 10));
    } else if (mode == "roster" && argc == 4) {
        const unsigned long count = std::strtoul(argv[3], nullptr, 10);
        if (count > kLastCount) {
            std::cerr << "make_data: a roster holds at most " << kLastCount << " persons\n";
            return 2;
        }
        written = roster(argv[2], static_cast<unsigned>(count));
    } else if (mode == "session" && argc == 5) {
        const unsigned long commands = std::strtoul(argv[3], nullptr, 10);
        if (commands < 2) {
            std::cerr << "make_data: a session needs at least 2 commands\n";
            return 2;
        }
        written = session(argv[2], commands, argv[4]);
    } else if (mode == "wide" && argc == 4) {
        written = wide(argv[2], std::strtoull(argv[3], nullptr, 10));
    } else {
        std::cerr << "usage: make_data rejects PATH BYTES\n"
                     "       make_data roster PATH COUNT\n"
                     "       make_data session PATH COMMANDS ROSTER\n"
                     "       make_data wide PATH CELLS\n";
        return 2;
    }
    if (!written) {
        std::cerr << "make_data: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
