#include <iostream>

#include "console/Commands.h"

int main(int argc, char** argv) {
    // Reads from standard input flush standard output first, so every prompt
    // is seen before the program waits.
    std::ios::sync_with_stdio(false);
    return roster::runProgram({argv + 1, argv + argc}, std::cin, std::cout, std::cerr);
}
