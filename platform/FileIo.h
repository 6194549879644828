// Reading and writing open files by their descriptors, the same on POSIX
// systems and on Windows. Nothing here allocates, and on POSIX systems each
// call is one a signal handler may make.
#pragma once

#include <cstddef>

namespace roster {

// The descriptors of standard input and standard output.
constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;

// Reads what is there, at most `size` bytes, waiting for one at least; a
// call interrupted by a signal is made again. Returns the count, 0 at the
// end of the file, or -1 on failure.
long readSome(int file, char* data, std::size_t size);

// Writes all `size` bytes, in as many calls as the system needs; false when
// one of them fails.
bool writeAll(int file, const char* data, std::size_t size);

// Reads the regular file `path` whole when it holds at most `capacity`
// bytes, never through a symbolic link at its end or from a device: its
// size, or -1. `age` gets the seconds since it was last written.
long readSmallFile(const char* path, char* data, std::size_t capacity, long long& age);

}  // namespace roster
