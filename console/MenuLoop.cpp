#include <istream>
#include <ostream>

#include "console/Commands.h"
#include "console/Menu.h"

namespace roster {

namespace {

const MenuCommand kMainMenu[] = {
    {'O', "Open an existing file", openFile},
    {'A', "Add new person to the current list", addPerson},
    {'R', "Remove a person from the current list", removePerson},
    {'P', "Print a person's info in the current list", printMenu},
    {'E', "Edit information for 1 person", editPerson},
    {'S', "Search", searchPerson},
    {'T', "Sort the list", sortMenu},
    {'X', "Exit the program", exitProgram},
};

}  // namespace

int runMenu(Session& s) {
    for (;;) {
        if (s.kept) {
            s.kept->takeOverMarker();
        }
        writeMenu(s.out, "MENU:", kMainMenu);
        s.out << "Selection: ";
        if (!(s.in >> s.choice)) {
            // Input has ended: leave as X does, so nothing is lost.
            return saveOnLeaving(s) ? 0 : 1;
        }
        if (const MenuCommand* command = findEntry(kMainMenu, s.choice)) {
            command->run(s);
            if (s.finished) {
                return 0;
            }
            // What a hang-up saves. Every command changes the roster after its
            // last answer is read, and output is shown only when the program
            // waits for input or is stopped, so whatever a command says after
            // its change is seen only once the change is noted here.
            if (s.kept) {
                s.kept->note(s.persons, s.shown);
            }
        }
    }
}

}  // namespace roster
