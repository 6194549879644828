#include <ostream>

#include "console/Commands.h"
#include "console/Menu.h"
#include "io/SafeWrite.h"
#include "platform/System.h"

namespace roster {

void writeTable(std::ostream& out, const std::vector<Person>& persons) {
    printHeader(out) << '\n';
    for (const Person& person : persons) {
        person.printRow(out) << '\n';
    }
}

namespace {

// The table, written into the report file as it is made: a roster of long
// texts is never held twice.
class Table final : public Content {
  public:
    explicit Table(const std::vector<Person>& roster) : persons(roster) {}
    bool writeTo(int file) const override {
        TextWriter text(file);
        std::ostream out(&text);
        writeTable(out, persons);
        return text.finish();
    }

  private:
    const std::vector<Person>& persons;
};

}  // namespace

bool saveReport(Session& s) {
    // A report that is no file of its own (a link to /dev/stdout) may go
    // where the output goes, so what was said before it is shown first.
    if (os().kindOf(s.reportPath.c_str()) == Kind::Other) {
        s.out.flush();
    }
    // What a save of the report that was killed left behind goes first.
    removeLeftOverTemporaries(s.reportPath.c_str());
    const bool saved = replaceFile(s.reportPath.c_str(), Table(s.persons)) == Saved::Yes;
    s.out << (saved ? "The data has been saved to outputdata.txt"
                    : "The data could not be saved to outputdata.txt")
          << '\n';
    return saved;
}

namespace {

void listTable(Session& s) {
    writeTable(s.out, s.persons);
}

void listDetails(Session& s) {
    for (const Person& person : s.persons) {
        person.printDetails(s.out);
        s.out << '\n' << "******************************************************" << '\n';
    }
}

void writeReport(Session& s) {
    saveReport(s);
}

const MenuCommand kPrintMenu[] = {
    {'L', "Print all people using format 1", listTable},
    {'T', "Print all people using format 2", listDetails},
    {'F', "Print all people in file using format 1", writeReport},
};

}  // namespace

void printMenu(Session& s) {
    if (const MenuCommand* choice = askSubmenu(s, kPrintMenu)) {
        choice->run(s);
    }
}

}  // namespace roster
