// The commands of the main menu and the pieces they are made of.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "console/Session.h"
#include "person/Person.h"

namespace roster {

// Runs the main menu until the user leaves; returns the exit status.
int runMenu(Session& s);

// Handles the command line, then runs the menu on `in` and `out`; returns
// the exit status.
int runProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err);

// Reads the file `from` strictly, as a kept roster is read, and writes the
// roster it holds into the file `to`, each in the format its name says.
// Says on `err` why it could not; returns the exit status.
int convertFile(const std::string& from, const std::string& to, std::ostream& err);

void openFile(Session& s);
void addPerson(Session& s);
void removePerson(Session& s);
void printMenu(Session& s);
void editPerson(Session& s);
void searchPerson(Session& s);
void sortMenu(Session& s);
void exitProgram(Session& s);

// Replaces the roster with the valid records of a roster file, at most
// kCapacity of them, and reports how the load went.
void loadRoster(std::vector<Person>& persons, std::istream& in, std::ostream& out,
                Rules rules = Rules::Plain);

// The position of the first person whose name begins with `lastname`, or -1.
int findPerson(const std::vector<Person>& persons, const std::string& lastname);

// Asks for a last name and looks it up. Returns the position found; when
// nobody matches, writes `notFound` and returns nothing, and when input ended
// before a word was typed, returns nothing without a word.
std::optional<std::size_t> lookUpPerson(Session& s, const char* notFound);

// Whether the persons at places i and j of the sort's order change places;
// `rosterJ` is the person who stood at j before the sort began.
using ExchangeTest = bool (*)(const Person& arrayI, const Person& arrayJ, const Person& rosterJ);

// Reorders the roster by exchanges of positions in a scratch array of
// kCapacity.
void sortRoster(std::vector<Person>& persons, ExchangeTest exchange);

// The header line and one row per person, each ended by a line break.
void writeTable(std::ostream& out, const std::vector<Person>& persons);

// Writes the table into the report file and says whether that worked.
bool saveReport(Session& s);

// What leaving saves: the report, then a kept roster. True when both are safe.
bool saveOnLeaving(Session& s);

// Starts keeping the roster in the file `path`, loading it when it exists.
// Refuses a file that cannot be read or that holds what saving it again
// would lose: writes why to `err` and returns false.
bool keepRoster(Session& s, const std::string& path, std::ostream& err);

// Marks the kept file open with a lock file beside it, unless another holder
// has one there, who is then named; keeps what killed sessions left of their
// saves, and says so.
void markKeptOpen(Session& s);

// Saves a kept roster that has changed, to its file, or beside it when
// another program has changed the file, and says which; false on failure.
bool saveKeptRoster(Session& s);

}  // namespace roster
