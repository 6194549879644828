// The seam between the program and the system it runs on: every call that
// each system makes its own way, as the virtual functions of one class.
// The class itself is the real system (its POSIX half is System-posix.cpp,
// its Windows half System-win32.cpp), and it is what os() gives unless a
// test has put another in its place with useSystem: one that derives from
// it, refuses what the test wants refused and lets the rest through, as
// leveldb's Env and SQLite's VFS let a test do.
//
// Paths are UTF-8 and files are descriptors. Unless a call says otherwise,
// none allocates, and on POSIX systems each makes only calls that a signal
// handler may make, so that a handler can save a file too; os() itself is
// fit for a signal handler.
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

// The program's name as a lock names it: "roster", or "roster.exe" on
// Windows, whose process numbers are not those of the POSIX systems that
// may share a folder with it.
extern const char kProgramName[];

enum class Kind { Missing, Regular, Other };

// How one attempt to rename or remove a file went. Held: another program
// holds the file open so that it cannot be replaced or removed now, as
// Windows lets a program do; it may let go in a moment.
enum class Done { Yes, Failed, Held };

enum class Published { Yes, Exists, Failed };

class System {
  public:
    constexpr System() = default;
    virtual ~System() = default;

    // --- Files ---

    // What `path` leads to, its links followed. For a regular file `mode`
    // gets its permission bits; it stays -1 where the system keeps none to
    // carry over (Windows keeps only read-only).
    virtual Kind kindOf(const char* path, int& mode);
    // Whether `path` leads to a folder.
    virtual bool isFolder(const char* path);
    // Whether `a` and `b` lead to the same file: one that exists, under
    // any of its names, or one still to be made, by its name in its folder
    // once links are followed (regardless of case where the system does so).
    virtual bool sameFile(const char* a, const char* b);
    // Makes `path` the file that its chain of symbolic links ends at; false
    // when that does not fit. A chain that does not end is left to fail when
    // the file is opened.
    virtual bool followLinks(Path& path);

    // Creates `path` for writing only if nothing by that name exists, not
    // even a dangling link; -1 with errno set otherwise. The umask applies;
    // `mode`, unless -1, then gives its permission bits.
    virtual int createNew(const char* path, int mode);
    // Opens `path` for writing, created or emptied.
    virtual int openForWriting(const char* path);
    // Opens `path` for reading; never waits for a writer, should a named
    // pipe have taken the file's place.
    virtual int openForReading(const char* path);
    // Opens `path` for reading only when it leads to a regular file, so
    // that a folder or a device is never read as one.
    virtual int openRegularFile(const char* path);
    // Opens the regular file `path` for reading when it holds at most
    // `capacity` bytes, never through a symbolic link at its end or on a
    // device; -1 otherwise. `age` gets the seconds since it was last
    // written.
    virtual int openSmallFile(const char* path, std::size_t capacity, long long& age);
    virtual bool flushToDisk(int file);
    virtual bool closeFile(int file);
    // One read or write of at most `size` bytes: the count, or -1 on
    // failure with errno set.
    virtual long readOnce(int file, char* data, std::size_t size);
    virtual long writeOnce(int file, const char* data, std::size_t size);
    // One write of at most `size` bytes that never waits for the file's
    // reader: the count, 0 when the file takes nothing now, or -1 on
    // failure. On Windows, whose pipes cannot be asked whether they take
    // more, it is a write that is given a fraction of a second, for a
    // program's last write.
    virtual long writeWithoutWaiting(int file, const char* data, std::size_t size);

    // One attempt to rename `from` to `to`, replacing whatever file has
    // that name.
    virtual Done rename(const char* from, const char* to);
    // Gives the file `from` the name `to` in one step, only if nothing has
    // that name yet, so that `to` never exists but whole. `from` is gone
    // afterwards when that worked.
    virtual Published publish(const char* from, const char* to);
    // One attempt to remove the file `path`.
    virtual Done remove(const char* path);
    // Makes a rename or a new file in `folder` itself last.
    virtual bool flushFolder(const char* folder);
    // Marks the file hidden where a system marks files so (Windows).
    virtual void hideFile(const char* path);
    // The names in the folder `folder`, but "." and ".."; false when it
    // cannot be read. Allocates, and is for normal code only.
    virtual bool listFolder(const char* folder, std::vector<std::string>& names);
    // Seconds since the file `path` was last written, or -1 where that
    // cannot be told.
    virtual long long secondsSinceWritten(const char* path);

    // --- Processes and time ---

    virtual unsigned long processId();
    // True only when this machine surely runs no process numbered `id`.
    virtual bool processGone(unsigned long id);
    // Milliseconds since a fixed moment; never goes back.
    virtual long long clockMilliseconds();
    // Seconds since the system started, or -1 where that is not known.
    virtual long long secondsSinceBoot();
    virtual void pauseMilliseconds(int milliseconds);

    // --- The terminal, the command line and the user ---

    // Whether the open file `file` is a terminal: a POSIX terminal, or a
    // Windows console. On Windows a console is read and written in UTF-16
    // and its text handed on as UTF-8 (see ConsoleLines and consoleText).
    virtual bool isTerminal(int file);
    // Makes a write to a pipe whose reader has gone fail, as a write to a
    // full disk does, instead of ending the program (POSIX's SIGPIPE); on
    // Windows such a write fails already.
    virtual void failWritesToClosedPipes();
    // The program's arguments after its name, in UTF-8: on Windows as the
    // system holds them, in UTF-16, whatever the code page. Allocates.
    virtual std::vector<std::string> commandLine(int argc, char** argv);
    // Who runs the program, and where: the login name, the full name where
    // the system keeps one (else empty), and the host's name. These
    // allocate, and are for normal code only.
    virtual std::string loginName();
    virtual std::string fullName();
    virtual std::string hostName();

    // The kind alone, where no permissions are carried over.
    Kind kindOf(const char* path) {
        int mode = -1;
        return kindOf(path, mode);
    }
};

// The system in use: the real one, or what a test put in its place.
System& os();
// Puts `system` in place of the real system until it is called again;
// nullptr puts the real one back. For tests.
void useSystem(System* system);

}  // namespace roster
