// The state that every command works on: the roster, the selection variable
// and the pair of streams the user talks through.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Fingerprint.h"
#include "formats/Formats.h"
#include "person/Person.h"
#include "platform/StopHook.h"

namespace roster {

// A roster kept in a file between runs. Each text is the file's bytes.
struct KeptFile {
    std::string path;   // as the user typed it
    FileLayout layout;  // its format, and how a CSV file is written
    // The roster as this session last loaded or saved it, what a merge
    // starts from, and as the latest command left it: one and the same text
    // while they are alike, so that a roster of long texts is held once.
    std::shared_ptr<const std::string> saved;
    std::shared_ptr<const std::string> pending;
    Fingerprint noted;    // the persons that `pending` holds (see rosterPrint)
    bool onDisk = false;  // whether the file held `disk` when last read or written
    Fingerprint disk;
    std::string holder;  // this process, as a lock names it
    // The lock file that says who has the file open, and what it holds
    // while it is this session's own.
    std::string lockPath;
    std::string lockText;
    bool lockHeld = false;
    bool lockWanted = false;  // another holder's lock was there: taken over once it has gone
};

struct Session {
    Session(std::istream& input, std::ostream& output) : in(input), out(output) {}

    std::istream& in;
    std::ostream& out;
    std::vector<Person> persons;
    // The selection of the main menu, reused by every submenu.
    char choice = 0;
    // Where the report is written; tests point it elsewhere.
    std::string reportPath = "outputdata.txt";
    // Set by the exit command once the report is saved.
    bool finished = false;
    // Where the roster is kept between runs, if anywhere.
    std::optional<KeptFile> kept;
    // The output as a request to stop shows it, where that is standard
    // output.
    MarkedOutput* shown = nullptr;
};

}  // namespace roster
