// Writing files so that a failed write never destroys what they held.
//
// Nothing here allocates memory, and on POSIX systems nothing makes a call
// that a signal handler may not make, so a handler can save a file too.
// Paths longer than kMaxPath bytes cannot be written.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Fingerprint.h"
#include "platform/Path.h"

namespace roster {

enum class Saved { Yes, Failed, InUse };

// Makes the `size` bytes at `data` the whole of the file `path`, and says
// whether all of them arrived. A missing or regular file, also one reached
// through symbolic links, is replaced at once: the bytes go into a new file
// in the same folder, are flushed to the disk and renamed onto it, so on
// failure the file stays exactly as it was; a replaced file keeps its
// permission bits. Anything else (a device, a named pipe) is written
// directly. The bytes are written as they are (see textFileBytes). InUse
// when another program holds the file open so that it cannot be replaced
// (see renameFile).
Saved replaceFile(const char* path, const char* data, std::size_t size);

inline bool writeFileSafely(const std::string& path, const std::string& bytes) {
    return replaceFile(path.c_str(), bytes.data(), bytes.size()) == Saved::Yes;
}

enum class Made { Yes, Exists, Failed };

// Creates the file `path` holding the bytes, unless something by that name
// exists; it can be seen only whole, where the file system gives a file a
// second name, and is hidden where names are not. Not flushed to the disk.
Made createWhole(const char* path, const char* data, std::size_t size);

// Creates the first of the files named `path` with ".1", ".2", ... put in
// at byte `numberAt` of it that does not exist yet (nothing by that name,
// not even a dangling link), holding the bytes, flushed to the disk.
// Returns its number, or 0 when it could not be written, and then leaves
// nothing behind.
unsigned long writeNumberedFile(const char* path, std::size_t numberAt, const char* data,
                                std::size_t size);

enum class FileContent { Same, Different, Missing };

// Whether the file `path` holds the bytes that left `print`. Anything there
// that is not a regular file, or cannot be read, is Different.
FileContent compareFile(const char* path, const Fingerprint& print);

// `text` with its line feeds turned into the line ends of the platform's
// text files: CR LF on Windows, LF elsewhere. Elsewhere too a line whose
// text ends with a CR ends with CR LF, since a reader takes one CR before
// the LF for part of the line end; so every line reads back whole.
std::string textFileBytes(const std::string& text);

}  // namespace roster
