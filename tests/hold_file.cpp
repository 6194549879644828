// Holds a file open as Excel holds an open workbook, until its standard
// input ends: others may read the file, but not write, rename or delete it.
// For the Windows build's tests.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    const HANDLE file = argc != 2
                            ? INVALID_HANDLE_VALUE
                            : CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fputs("usage: hold_file FILE, a file that exists\n", stderr);
        return 2;
    }
    std::puts("holding");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;  // the file is let go as the program ends
}
