// Reading and writing open files by their descriptors, the same on POSIX
// systems and on Windows. Nothing here allocates, and on POSIX systems each
// call is one a signal handler may make.
#pragma once

#include <cstddef>
#include <streambuf>

#include "base/Fingerprint.h"

namespace roster {

enum class Moved { Yes, Failed, InUse };

// Renames `from` to `to`, replacing whatever file has that name. A file
// that another program holds open is tried again for a second, since the
// program may be replacing it at the same moment; InUse when it still
// holds it, as Excel holds an open workbook on Windows.
Moved renameFile(const char* from, const char* to);

// Removes the file `path`; one that another program holds open for a
// moment (another session reading a lock) is tried again for a second.
void removeFile(const char* path);

// Reads what is there, at most `size` bytes, waiting for one at least; a
// call interrupted by a signal is made again. Returns the count, 0 at the
// end of the file, or -1 on failure.
long readSome(int file, char* data, std::size_t size);

// Writes all `size` bytes, in as many calls as the system needs; false when
// one of them fails.
bool writeAll(int file, const char* data, std::size_t size);

// Writes as many of the bytes as the file takes without waiting for its
// reader (see writeWithoutWaiting).
void writeAvailable(int file, const char* data, std::size_t size);

// Reads the regular file `path` whole when it holds at most `capacity`
// bytes, never through a symbolic link at its end or from a device: its
// size, or -1. `age` gets the seconds since it was last written.
long readSmallFile(const char* path, char* data, std::size_t capacity, long long& age);

// The bytes of the regular file `path`, as they are, through a buffer of
// its own; `print`, where given, takes in every byte read. Seeking goes
// back only within the bytes read last, as far as a byte-order mark.
class FileReader final : public std::streambuf {
  public:
    explicit FileReader(const char* path, Fingerprint* print = nullptr);
    ~FileReader() override;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // False when `path` is no regular file that could be opened.
    bool isOpen() const { return file >= 0; }

  protected:
    int_type underflow() override;
    pos_type seekpos(pos_type position, std::ios_base::openmode) override;

  private:
    int file;
    Fingerprint* print;
    std::size_t consumed = 0;  // bytes read before those in the buffer
    char buffer[1 << 14];
};

}  // namespace roster
