// The system calls of Windows, only their wide forms: names, the command
// line and consoles are UTF-16 at this border and UTF-8 inside. Here a
// request to stop is handled on a thread of its own, not in a signal
// handler, so these may allocate.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <shellapi.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/Unicode.h"
#include "platform/System.h"

namespace roster {

namespace fs = std::filesystem;

namespace {

// The name the system knows `path` by. A text that is not well-formed
// UTF-8 names no file: it gives an empty name, which every call refuses.
std::wstring wide(const char* path) {
    std::u16string name;
    if (!utf16FromUtf8(path, name)) {
        name.clear();
    }
    return {name.begin(), name.end()};
}

std::string utf8(const wchar_t* text, std::size_t length) {
    return utf8FromUtf16(std::u16string(text, text + length));
}

HANDLE handleOf(int file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(file));
}

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// Lines typed at the console, as far as the program has not taken them.
struct ConsoleInput {
    ConsoleLines lines;
    std::string ready;
    bool ended = false;
};

// Reads what the console has typed, in its line mode, so that its own
// editing keys and history work; the text is handed on as UTF-8 lines.
long readConsole(HANDLE console, char* data, std::size_t size) {
    static ConsoleInput input;
    int emptyReads = 0;
    while (input.ready.empty() && !input.ended) {
        wchar_t units[4096];
        DWORD got = 0;
        if (!ReadConsoleW(console, units, sizeof units / sizeof units[0], &got, nullptr)) {
            return -1;
        }
        if (got == 0) {
            // Ctrl-C cuts a read short while it ends the program; reads
            // that keep coming back empty end the input.
            input.ended = ++emptyReads == 100;
            Sleep(10);
            continue;
        }
        input.ended = !input.lines.take(std::u16string(units, units + got), input.ready);
    }
    const std::size_t count = input.ready.size() < size ? input.ready.size() : size;
    input.ready.copy(data, count);
    input.ready.erase(0, count);
    return static_cast<long>(count);
}

// Writes `size` bytes of UTF-8 to the console as the characters they are.
long writeConsole(HANDLE console, const char* data, std::size_t size) {
    const std::u16string text = consoleText({data, size});
    const std::wstring units(text.begin(), text.end());
    for (std::size_t done = 0; done < units.size();) {
        DWORD written = 0;
        const DWORD count =
            static_cast<DWORD>(units.size() - done < 8192 ? units.size() - done : 8192);
        if (!WriteConsoleW(console, units.data() + done, count, &written, nullptr) ||
            written == 0) {
            return -1;
        }
        done += written;
    }
    return static_cast<long>(size);
}

}  // namespace

Kind System::kindOf(const char* path, int& /*mode*/) {
    const std::wstring name = wide(path);
    if (name.empty()) {
        return Kind::Other;
    }
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(name), error);
    if (status.type() == fs::file_type::not_found) {
        return Kind::Missing;
    }
    return fs::is_regular_file(status) ? Kind::Regular : Kind::Other;
}

bool System::isFolder(const char* path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool System::followLinks(Path& path) {
    std::error_code error;
    fs::path followed(wide(path.c_str()));
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(followed, error)); ++hops) {
        const fs::path target = fs::read_symlink(followed, error);
        if (error) {
            break;
        }
        followed = target.is_absolute() ? target : followed.parent_path() / target;
    }
    const std::wstring name = followed.wstring();
    path.cut(0);
    return path.add(utf8(name.data(), name.size()).c_str()).fitsIn();
}

namespace {

// The volume and the number of the file or folder `name`, whichever name
// leads to it.
bool identityOf(const std::wstring& name, BY_HANDLE_FILE_INFORMATION& identity) {
    const HANDLE file =
        CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool known = GetFileInformationByHandle(file, &identity) != 0;
    CloseHandle(file);
    return known;
}

bool sameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

bool System::sameFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION first;
    BY_HANDLE_FILE_INFORMATION second;
    if (identityOf(wide(a), first) && identityOf(wide(b), second)) {
        return sameIdentity(first, second);
    }
    Path one;
    Path other;
    if (!one.add(a).fitsIn() || !followLinks(one) || !other.add(b).fitsIn() ||
        !followLinks(other)) {
        return false;
    }
    const fs::path left(wide(one.c_str()));
    const fs::path right(wide(other.c_str()));
    const std::wstring leftName = left.filename().wstring();
    const std::wstring rightName = right.filename().wstring();
    const auto folder = [](const fs::path& path) {
        return path.has_parent_path() ? path.parent_path().wstring() : std::wstring(L".");
    };
    return !leftName.empty() &&
           CompareStringOrdinal(leftName.c_str(), -1, rightName.c_str(), -1, TRUE) == CSTR_EQUAL &&
           identityOf(folder(left), first) && identityOf(folder(right), second) &&
           sameIdentity(first, second);
}

int System::createNew(const char* path, int /*mode*/) {
    return _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int System::openForWriting(const char* path) {
    return _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int System::openForReading(const char* path) {
    return _wopen(wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int System::openRegularFile(const char* path) {
    const int file = openForReading(path);
    struct _stat64 status;
    if (file >= 0 && (_fstat64(file, &status) != 0 || (status.st_mode & _S_IFREG) == 0)) {
        _close(file);
        return -1;
    }
    return file;
}

bool System::flushToDisk(int file) {
    return _commit(file) == 0;
}

bool System::closeFile(int file) {
    return _close(file) == 0;
}

long System::readOnce(int file, char* data, std::size_t size) {
    const HANDLE handle = handleOf(file);
    if (isConsole(handle)) {
        return readConsole(handle, data, size);
    }
    return _read(file, data, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

long System::writeOnce(int file, const char* data, std::size_t size) {
    const HANDLE handle = handleOf(file);
    if (isConsole(handle)) {
        return writeConsole(handle, data, size);
    }
    return _write(file, data, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

namespace {

struct LastWrite {
    int file;
    const char* data;
    std::size_t size;
};

DWORD WINAPI writeLast(void* write) {
    const LastWrite& last = *static_cast<const LastWrite*>(write);
    for (std::size_t done = 0; done < last.size;) {
        const long written = os().writeOnce(last.file, last.data + done, last.size - done);
        if (written <= 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

}  // namespace

// The write is made on a thread of its own, and waited for a quarter of a
// second; a write still waiting then ends with the program.
long System::writeWithoutWaiting(int file, const char* data, std::size_t size) {
    static LastWrite last;
    last = {file, data, size};
    const HANDLE writer = CreateThread(nullptr, 0, writeLast, &last, 0, nullptr);
    if (writer == nullptr) {
        return -1;
    }
    const bool done = WaitForSingleObject(writer, 250) == WAIT_OBJECT_0;
    if (done) {
        CloseHandle(writer);
    }
    return done ? static_cast<long>(size) : -1;
}

// A file that another program holds open without letting others delete it
// cannot be replaced now (Excel holds a workbook so, and another session
// that replaces the same file holds it for a moment); a file marked
// read-only cannot be either, but that is no other program's doing.
Done System::rename(const char* from, const char* to) {
    const std::wstring target = wide(to);
    if (MoveFileExW(wide(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return Done::Yes;
    }
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool writable = attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
    return (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) && writable
               ? Done::Held
               : Done::Failed;
}

Published System::publish(const char* from, const char* to) {
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), 0)) {
        return Published::Yes;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Published::Exists
                                                                       : Published::Failed;
}

// A file that another program has open for a moment (another session
// reading a lock) cannot be removed meanwhile.
Done System::remove(const char* path) {
    if (DeleteFileW(wide(path).c_str())) {
        return Done::Yes;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION ? Done::Held : Done::Failed;
}

bool System::listFolder(const char* folder, std::vector<std::string>& names) {
    WIN32_FIND_DATAW found;
    const HANDLE entries = FindFirstFileW((wide(folder) + L"\\*").c_str(), &found);
    if (entries == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        const std::string name = utf8(found.cFileName, wcslen(found.cFileName));
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileW(entries, &found));
    FindClose(entries);
    return true;
}

long long System::secondsSinceWritten(const char* path) {
    struct _stat64 status;
    return _wstat64(wide(path).c_str(), &status) == 0
               ? static_cast<long long>(std::time(nullptr) - status.st_mtime)
               : -1;
}

// A rename on Windows is recorded with the file system's own journal; a
// folder cannot be opened to flush it.
bool System::flushFolder(const char* /*folder*/) {
    return true;
}

void System::hideFile(const char* path) {
    const std::wstring name = wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(name.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
    }
}

int System::openSmallFile(const char* path, std::size_t capacity, long long& age) {
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

unsigned long System::processId() {
    return static_cast<unsigned long>(_getpid());
}

bool System::processGone(unsigned long id) {
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

long long System::clockMilliseconds() {
    return static_cast<long long>(GetTickCount64());
}

long long System::secondsSinceBoot() {
    return static_cast<long long>(GetTickCount64() / 1000);
}

void System::pauseMilliseconds(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

// A character device need not be a console (NUL is one); a console has a
// console mode.
bool System::isTerminal(int file) {
    return isConsole(handleOf(file));
}

void System::failWritesToClosedPipes() {}

std::vector<std::string> System::commandLine(int argc, char** argv) {
    int count = 0;
    wchar_t** wideArgs = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wideArgs == nullptr) {
        return {argv + 1, argv + argc};
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(utf8(wideArgs[i], wcslen(wideArgs[i])));
    }
    LocalFree(wideArgs);
    return args;
}

std::string System::loginName() {
    wchar_t name[257];
    DWORD size = sizeof name / sizeof name[0];
    return GetUserNameW(name, &size) && size > 0 ? utf8(name, size - 1) : "";
}

// Windows keeps a full name only for accounts of a domain.
std::string System::fullName() {
    return "";
}

std::string System::hostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name / sizeof name[0];
    return GetComputerNameW(name, &size) ? utf8(name, size) : "";
}

}  // namespace roster
