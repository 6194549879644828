#include <istream>
#include <ostream>

#include "console/Commands.h"
#include "platform/Stop.h"

#ifndef ROSTER_VERSION
#define ROSTER_VERSION "unknown"
#endif

namespace roster {

namespace {

const char kUsage[] =
    "Usage: roster [FILE]\n"
    "       roster --convert IN OUT\n"
    "       roster --help | --version\n"
    "\n"
    "Keeps a roster of up to 20 people in memory and lets you maintain it\n"
    "through a menu. Commands are read from standard input, one letter each,\n"
    "capital or small, followed by Enter:\n"
    "\n"
    "  O  open a roster file or a CSV file, replacing the roster\n"
    "  A  add a person\n"
    "  R  remove the first person whose name begins with a word\n"
    "  P  print the roster: L table, T details, F table into outputdata.txt\n"
    "  E  edit height, weight, age, GPA, major or net worth of one person\n"
    "  S  search: the position of the first person whose name begins with a word\n"
    "  T  sort by name, height, weight or net worth\n"
    "  X  exit, writing the roster into outputdata.txt\n"
    "\n"
    "End of input (Ctrl-D) at the menu does what X does. At a terminal an\n"
    "answer can be edited before Enter (arrow keys, Home, End, Ctrl-A, -E,\n"
    "-U, -K, -W), Up brings back earlier lines, and names and majors are\n"
    "shown with their control characters as \\xNN.\n"
    "\n"
    "FILE keeps the roster between runs: it is loaded at start, or begun\n"
    "empty when FILE does not exist yet, and saved to FILE when you leave,\n"
    "one save at a time. Changes that another program saved to FILE\n"
    "meanwhile are merged with yours person by person; where both changed\n"
    "one person, FILE is left as it is and the roster goes to FILE.1 (or the\n"
    "next free number; class.1.csv for class.csv) instead. While a session\n"
    "keeps FILE, the lock file .~lock.FILE# says so, as LibreOffice's does.\n"
    "A FILE holding what saving would lose is refused, naming the line,\n"
    "column and value at fault. A closed terminal (SIGHUP) or SIGTERM saves\n"
    "a changed roster too; Ctrl-C does not. Write 'roster -- FILE' for a\n"
    "name that begins with '-'.\n"
    "\n"
    "A FILE whose name ends in .csv is a spreadsheet file that Excel,\n"
    "LibreOffice and Google Sheets open, with the columns Name, Major, Age,\n"
    "Height, Weight, GPA and Net worth; it keeps its own delimiter (, ; or\n"
    "TAB), decimal separator and line ends. Any other FILE is a roster file.\n"
    "\n"
    "Options:\n"
    "  --convert IN OUT  read the roster in IN and write it into OUT, each a\n"
    "                    roster file or a CSV file as its name says; silent\n"
    "                    on success\n"
    "  --help            show this text and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "Files: reads the file named at O, which it never changes; a CSV file is\n"
    "read whole or not at all, as FILE is. Writes outputdata.txt in the\n"
    "current folder at F, at X and when input ends. If that file or FILE\n"
    "cannot be written, X keeps the program running so that nothing is lost.\n"
    "\n"
    "Exit status: 0 on success; 1 when FILE cannot be opened or kept, when the\n"
    "report or the roster could not be saved by the time input ended, when\n"
    "standard output could not be written, or when --convert could not read\n"
    "IN or write OUT; 2 for an unknown argument, more than one FILE, or\n"
    "--convert without IN and OUT.\n"
    "\n"
    "The manual page tells the rest: man roster.\n";

// A session that keeps its roster in a file saves it too when the terminal
// closes or the system asks the program to stop.
int runSession(std::istream& in, std::ostream& out, std::ostream& err, const std::string* file) {
    Session session(in, out);
    if (file == nullptr) {
        return runMenu(session);
    }
    if (!keepRoster(session, *file, err)) {
        return 1;
    }
    // Standard output shows a stop what was said up to the roster it saves.
    session.shown = dynamic_cast<MarkedOutput*>(out.rdbuf());
    const StopHandler stop(*session.kept, session.shown);
    markKeptOpen(session);
    const int status = runMenu(session);
    session.kept->close();
    return status;
}

}  // namespace

int runProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
    const std::string* option = nullptr;
    bool convert = false;
    std::vector<const std::string*> operands;
    bool operandsOnly = false;
    for (const std::string& arg : args) {
        if (!operandsOnly && arg == "--") {
            operandsOnly = true;
        } else if (!operandsOnly && arg == "--convert") {
            convert = true;
        } else if (!operandsOnly && arg[0] == '-') {
            if (arg != "--help" && arg != "--version") {
                err << "roster: unknown argument '" << arg << "'\n"
                    << "Try 'roster --help'.\n";
                return 2;
            }
            option = option != nullptr ? option : &arg;
        } else {
            operands.push_back(&arg);
        }
    }
    const std::size_t wanted = convert ? 2 : 1;
    const bool tooFew = option == nullptr && operands.size() < (convert ? 2 : 0);
    if (operands.size() > wanted || tooFew) {
        err << (tooFew ? "roster: --convert needs IN and OUT\n" : "roster: too many arguments\n")
            << "Try 'roster --help'.\n";
        return 2;
    }
    int status = 0;
    if (option == nullptr && convert) {
        status = convertFile(*operands[0], *operands[1], err);
    } else if (option == nullptr) {
        status = runSession(in, out, err, operands.empty() ? nullptr : operands[0]);
    } else if (*option == "--help") {
        out << kUsage;
    } else {
        out << "roster " ROSTER_VERSION "\n";
    }
    if (!out.flush()) {
        err << "roster: write error on standard output\n";
        return 1;
    }
    return status;
}

}  // namespace roster
