// The state that every command works on: the roster, the selection variable
// and the pair of streams the user talks through.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "keep/KeptFile.h"
#include "person/Person.h"
#include "platform/StopHook.h"

namespace roster {

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
