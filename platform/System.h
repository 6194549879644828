// The calls that each system makes its own way, behind one header: the
// POSIX half is System-posix.cpp, the Windows half System-win32.cpp. Paths
// are UTF-8 and files are descriptors. Unless a call says otherwise, none
// allocates, and on POSIX systems each makes only calls that a signal
// handler may make, so that a handler can save a file too.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/Path.h"

namespace roster {

// The descriptors of standard input, output and error.
constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;
constexpr int kStandardError = 2;

enum class Kind { Missing, Regular, Other };

// What `path` leads to, its links followed. For a regular file `mode` gets
// its permission bits; it stays -1 where the system keeps none to carry
// over (Windows keeps only read-only).
Kind kindOf(const char* path, int& mode);
// The kind alone, where no permissions are carried over.
inline Kind kindOf(const char* path) {
    int mode = -1;
    return kindOf(path, mode);
}
// Whether `path` leads to a folder.
bool isFolder(const char* path);

// Whether `a` and `b` lead to the same file: one that exists, under any
// of its names, or one still to be made, by its name in its folder once
// links are followed (regardless of case where the system does so).
bool sameFile(const char* a, const char* b);

// Makes `path` the file that its chain of symbolic links ends at; false
// when that does not fit. A chain that does not end is left to fail when
// the file is opened.
bool followLinks(Path& path);

// Creates `path` for writing only if nothing by that name exists, not even
// a dangling link; -1 with errno set otherwise. The umask applies; `mode`,
// unless -1, then gives its permission bits.
int createNew(const char* path, int mode);
// Opens `path` for writing, created or emptied.
int openForWriting(const char* path);
// Opens `path` for reading; never waits for a writer, should a named pipe
// have taken the file's place.
int openForReading(const char* path);
// Opens `path` for reading only when it leads to a regular file, so that
// a folder or a device is never read as one.
int openRegularFile(const char* path);
bool flushToDisk(int file);
bool closeFile(int file);
// One read or write of at most `size` bytes: the count, or -1 on failure.
long readOnce(int file, char* data, std::size_t size);
long writeOnce(int file, const char* data, std::size_t size);
// One write of at most `size` bytes that never waits for the file's reader:
// the count, 0 when the file takes nothing now, or -1 on failure. On
// Windows, whose pipes cannot be asked whether they take more, it is a
// write that is given a fraction of a second, for a program's last write.
long writeWithoutWaiting(int file, const char* data, std::size_t size);

enum class Moved { Yes, Failed, InUse };
// Renames `from` to `to`, replacing whatever file has that name. InUse
// when another program holds `to` open so that it cannot be replaced, as
// Excel holds an open file on Windows.
Moved renameFile(const char* from, const char* to);

enum class Published { Yes, Exists, Failed };
// Gives the file `from` the name `to` in one step, only if nothing has
// that name yet, so that `to` never exists but whole. `from` is gone
// afterwards when that worked.
Published publishFile(const char* from, const char* to);

void removeFile(const char* path);

// The names in the folder `folder`, but "." and ".."; false when it cannot
// be read. Allocates, and is for normal code only.
bool listFolder(const char* folder, std::vector<std::string>& names);
// Seconds since the file `path` was last written, or -1 where that cannot
// be told.
long long secondsSinceWritten(const char* path);
// Makes a rename or a new file in `folder` itself last.
bool flushFolder(const char* folder);
// Marks the file hidden where a system marks files so (Windows).
void hideFile(const char* path);

// Opens the regular file `path` for reading when it holds at most
// `capacity` bytes, never through a symbolic link at its end or on a
// device; -1 otherwise. `age` gets the seconds since it was last written.
int openSmallFile(const char* path, std::size_t capacity, long long& age);

// The program's name as a lock names it: "roster", or "roster.exe" on
// Windows, whose process numbers are not those of the POSIX systems that
// may share a folder with it.
extern const char kProgramName[];
unsigned long processId();
// True only when this machine surely runs no process numbered `id`.
bool processGone(unsigned long id);
// Milliseconds since a fixed moment; never goes back.
long long clockMilliseconds();
// Seconds since the system started, or -1 where that is not known.
long long secondsSinceBoot();
void pauseMilliseconds(int milliseconds);

// Whether the open file `file` is a terminal: a POSIX terminal, or a
// Windows console. On Windows a console is read and written in UTF-16 and
// its text handed on as UTF-8 (see ConsoleLines and consoleText).
bool isTerminal(int file);

// Makes a write to a pipe whose reader has gone fail, as a write to a full
// disk does, instead of ending the program (POSIX's SIGPIPE); on Windows
// such a write fails already.
void failWritesToClosedPipes();

// The program's arguments after its name, in UTF-8: on Windows as the
// system holds them, in UTF-16, whatever the code page. Allocates.
std::vector<std::string> commandLine(int argc, char** argv);

// Who runs the program, and where: the login name, the full name where the
// system keeps one (else empty), and the host's name. These allocate, and
// are for normal code only.
std::string loginName();
std::string fullName();
std::string hostName();

}  // namespace roster
