// Writing files so that a failed write never destroys what they held.
//
// Nothing here allocates memory, and on POSIX systems nothing makes a call
// that a signal handler may not make, so a handler can save a file too.
// Paths longer than kMaxPath bytes cannot be written.
#pragma once

#include <cstddef>
#include <streambuf>
#include <string>
#include <vector>

#include "base/Fingerprint.h"
#include "base/Path.h"

namespace roster {

enum class Saved { Yes, Failed, InUse };

// What a save writes into the file it has opened.
class Content {
  public:
    // Writes all of it into the open file `file`; false when a write failed.
    virtual bool writeTo(int file) const = 0;

  protected:
    ~Content() = default;
};

// Bytes at hand. Writing them allocates nothing, and on POSIX systems
// makes only calls that a signal handler may make.
class Bytes final : public Content {
  public:
    Bytes(const char* start, std::size_t count) : data(start), size(count) {}
    bool writeTo(int file) const override;

  private:
    const char* data;
    std::size_t size;
};

// Makes `content` the whole of the file `path`, and says whether all of it
// arrived. A missing or regular file, also one reached through symbolic
// links, is replaced at once: the content goes into a new file in the same
// folder, is flushed to the disk and renamed onto it, so on failure the
// file stays exactly as it was; a replaced file keeps its permission bits.
// Anything else (a device, a named pipe) is written directly. InUse when
// another program holds the file open so that it cannot be replaced (see
// renameFile).
Saved replaceFile(const char* path, const Content& content);

inline bool writeFileSafely(const std::string& path, const std::string& bytes) {
    return replaceFile(path.c_str(), Bytes(bytes.data(), bytes.size())) == Saved::Yes;
}

enum class Made { Yes, Exists, Failed };

// Creates the file `path` holding the bytes, unless something by that name
// exists; it can be seen only whole, where the file system gives a file a
// second name, and is hidden where names are not. Not flushed to the disk.
Made createWhole(const char* path, const char* data, std::size_t size);

// Creates the first of the files named `path` with ".1", ".2", ... put in
// at byte `numberAt` of it that does not exist yet (nothing by that name,
// not even a dangling link), holding the bytes, flushed to the disk, and
// seen only whole where the file system gives a file a second name.
// Returns its number, or 0 when it could not be written, and then leaves
// nothing behind.
unsigned long writeNumberedFile(const char* path, std::size_t numberAt, const char* data,
                                std::size_t size);

// Gives the file `from` the first name that writeNumberedFile would give:
// in one step where the file system gives a file a second name, and
// otherwise by copying it there, flushed to the disk, and removing it. Its
// number, or 0 when that could not be done, and `from` is then as it was.
unsigned long moveToNumbered(const char* from, const char* path, std::size_t numberAt);

// The temporary files beside `path`, named after it, that this program on
// this machine left there when it ended before it was done with them
// (killed, or its machine lost power): their paths. The files of a run
// that goes on, or of another machine, are never among them. Allocates,
// and is for normal code only.
std::vector<std::string> leftOverTemporaries(const char* path);

// Removes the temporary files that a replaceFile of `path` left over.
void removeLeftOverTemporaries(const char* path);

enum class FileContent { Same, Different, Missing };

// Whether the file `path` holds the bytes that left `print`. Anything there
// that is not a regular file, or cannot be read, is Different.
FileContent compareFile(const char* path, const Fingerprint& print);

// Writes text into the open file `file` through a buffer of its own, each
// line feed turned into the platform's line end (see lineEndAfter).
class TextWriter final : public std::streambuf {
  public:
    explicit TextWriter(int to) : file(to) {}
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    // Writes what is buffered; false when any write has failed.
    bool finish();

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;

  private:
    void put(char c);

    int file;
    bool failed = false;
    char last = '\0';
    std::size_t used = 0;
    char buffer[1 << 14];
};

}  // namespace roster
