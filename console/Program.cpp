#include <istream>
#include <ostream>

#include "console/Commands.h"

#ifndef ROSTER_VERSION
#define ROSTER_VERSION "unknown"
#endif

namespace roster {

namespace {

const char kUsage[] =
    "Usage: roster [--help | --version]\n"
    "\n"
    "Keeps a roster of up to 20 people in memory and lets you maintain it\n"
    "through a menu. Commands are read from standard input, one letter each,\n"
    "capital or small, followed by Enter:\n"
    "\n"
    "  O  open a roster file, replacing the roster\n"
    "  A  add a person\n"
    "  R  remove the first person whose name begins with a word\n"
    "  P  print the roster: L table, T details, F table into outputdata.txt\n"
    "  E  edit height, weight, age, GPA, major or net worth of one person\n"
    "  S  search: the position of the first person whose name begins with a word\n"
    "  T  sort by name, height, weight or net worth\n"
    "  X  exit, writing the roster into outputdata.txt\n"
    "\n"
    "End of input (Ctrl-D) at the menu does what X does.\n"
    "\n"
    "Options:\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Files: reads the roster file named at O, which it never changes; writes\n"
    "outputdata.txt in the current folder at F, at X and when input ends. If\n"
    "that file cannot be written, X keeps the program running so that nothing\n"
    "is lost.\n"
    "\n"
    "Exit status: 0 on success; 1 when the report could not be saved by the\n"
    "time input ended, or standard output could not be written; 2 for an\n"
    "unknown argument.\n";

}  // namespace

int runProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg != "--help" && arg != "--version") {
            err << "roster: unknown argument '" << arg << "'\n"
                << "Try 'roster --help'.\n";
            return 2;
        }
    }
    int status = 0;
    if (args.empty()) {
        Session session(in, out);
        status = runMenu(session);
    } else if (args.front() == "--help") {
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
