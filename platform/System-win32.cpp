// The system calls of Windows. Here a request to stop is handled on a
// thread of its own, not in a signal handler, so these may allocate.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/System.h"

namespace roster {

namespace fs = std::filesystem;

namespace {

std::wstring wide(const char* path) {
    return fs::path(path).wstring();
}

std::string utf8(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
    }
    return bytes;
}

}  // namespace

Kind kindOf(const char* path, int& /*mode*/) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return Kind::Missing;
    }
    return fs::is_regular_file(status) ? Kind::Regular : Kind::Other;
}

bool followLinks(Path& path) {
    std::error_code error;
    fs::path followed(path.c_str());
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(followed, error)); ++hops) {
        const fs::path target = fs::read_symlink(followed, error);
        if (error) {
            break;
        }
        followed = target.is_absolute() ? target : followed.parent_path() / target;
    }
    path.cut(0);
    return path.add(followed.string().c_str()).fitsIn();
}

int createNew(const char* path, int /*mode*/) {
    return _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int openForWriting(const char* path) {
    return _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int openForReading(const char* path) {
    return _wopen(wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool flushToDisk(int file) {
    return _commit(file) == 0;
}

bool closeFile(int file) {
    return _close(file) == 0;
}

long readOnce(int file, char* data, std::size_t size) {
    return _read(file, data, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

long writeOnce(int file, const char* data, std::size_t size) {
    return _write(file, data, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

// A file that another program holds open without letting others delete it
// cannot be replaced; a file marked read-only cannot be either, but that
// is no other program's doing. A file that another program is replacing at
// the same moment is busy for a moment only, so the rename is tried again
// for a second before the file counts as in use.
Moved renameFile(const char* from, const char* to) {
    const std::wstring source = wide(from);
    const std::wstring target = wide(to);
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return Moved::Yes;
        }
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(target.c_str());
        const bool writable =
            attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || !writable) {
            return Moved::Failed;
        }
        if (attempt == 20) {
            return Moved::InUse;
        }
        Sleep(50);
    }
}

Published publishFile(const char* from, const char* to) {
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), 0)) {
        return Published::Yes;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Published::Exists
                                                                       : Published::Failed;
}

void removeFile(const char* path) {
    DeleteFileW(wide(path).c_str());
}

// A rename on Windows is recorded with the file system's own journal; a
// folder cannot be opened to flush it.
bool flushFolder(const char* /*folder*/) {
    return true;
}

void hideFile(const char* path) {
    const std::wstring name = wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(name.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
    }
}

int openSmallFile(const char* path, std::size_t capacity, long long& age) {
    const std::wstring name = wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        return -1;
    }
    const int file = _wopen(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    struct _stat64 status;
    if (file >= 0 && _fstat64(file, &status) == 0 && (status.st_mode & _S_IFREG) != 0 &&
        static_cast<unsigned long long>(status.st_size) <= capacity) {
        age = static_cast<long long>(std::time(nullptr) - status.st_mtime);
        return file;
    }
    if (file >= 0) {
        _close(file);
    }
    return -1;
}

const char kProgramName[] = "roster.exe";

unsigned long processId() {
    return static_cast<unsigned long>(_getpid());
}

bool processGone(unsigned long id) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD status = 0;
    const bool ended = GetExitCodeProcess(process, &status) && status != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

long long clockMilliseconds() {
    return static_cast<long long>(GetTickCount64());
}

void pauseMilliseconds(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

// A character device need not be a console (NUL is one); a console has a
// console mode.
bool isTerminal(int file) {
    DWORD mode = 0;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(file));
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

std::string loginName() {
    wchar_t name[257];
    DWORD size = sizeof name / sizeof name[0];
    return GetUserNameW(name, &size) && size > 0 ? utf8(name, static_cast<int>(size - 1)) : "";
}

// Windows keeps a full name only for accounts of a domain.
std::string fullName() {
    return "";
}

std::string hostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name / sizeof name[0];
    return GetComputerNameW(name, &size) ? utf8(name, static_cast<int>(size)) : "";
}

}  // namespace roster
