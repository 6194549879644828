#include <iostream>

#include "console/Commands.h"
#include "platform/StandardIo.h"

int main(int argc, char** argv) {
    // Output is shown when the program waits for input, not before each read.
    const roster::StandardStreams streams;
    return roster::runProgram({argv + 1, argv + argc}, std::cin, std::cout, std::cerr);
}
