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

// Looks for what sessions on this machine that were killed while they saved
// the kept file left beside it. A copy of a roster that reads whole and is
// not the roster loaded is kept as the next numbered file, and said so on
// `s.out`; any other copy is removed, together with what the killed
// sessions made to lock the file.
void recoverCutSaves(Session& s);

// What tells one roster from another without a copy of it: every field of
// every person, the reals bit for bit.
Fingerprint rosterPrint(const std::vector<Person>& persons);

// Notes the roster as the latest command left it, ready to be saved, and
// marks what the program has said so far in `shown` as fit to be shown with
// it.
void noteRoster(KeptFile& kept, const std::vector<Person>& persons, MarkedOutput* shown);

// What a request to stop does to a KeptFile: when it saves, the roster is
// saved if it has changed, as leaving would, but silently and unmerged;
// then the file is no longer marked open. Fit for a signal handler, since
// what it saves was made ready by noteRoster.
void stopKeeping(const KeptFile& kept, bool save);

// Marks the kept file as open in this session with a lock file beside it,
// unless another holder has one there, which is then named on `s.out`.
void markOpen(Session& s);

// Takes the lock file over from the other holder that markOpen named, once
// that lock has gone or was left over; called before each command is read.
void takeOverLock(KeptFile& kept);

// Removes the lock file that markOpen made, while it is still this
// session's own. Fit for a signal handler.
void unmarkOpen(const KeptFile& kept);

// Saves a kept roster that has changed, to its file, or beside it when
// another program has changed the file, and says which; false on failure.
bool saveKeptRoster(Session& s);

}  // namespace roster
