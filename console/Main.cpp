#include <iostream>

#include "console/Commands.h"
#include "io/StandardIo.h"
#include "person/Person.h"
#include "platform/System.h"

int main(int argc, char** argv) {
    // Output is shown when the program waits for input, not before each read,
    // and at a terminal lines are typed through an editor.
    const roster::StandardStreams streams;
    // A terminal shows what names and majors hold, and never obeys it.
    if (roster::os().isTerminal(roster::kStandardOutput)) {
        roster::markTerminal(std::cout);
    }
    return roster::runProgram(roster::os().commandLine(argc, argv), std::cin, std::cout, std::cerr);
}
