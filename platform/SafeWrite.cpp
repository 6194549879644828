#include "platform/SafeWrite.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#endif

#include "platform/FileIo.h"

namespace roster {

namespace {

bool isSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

// A path built in place, without allocating. Once it has outgrown its
// buffer it no longer fits and stays so, so that a chain of additions
// needs one check at its end.
class Path {
  public:
    Path() { text[0] = '\0'; }
    Path& add(const char* part, std::size_t size) {
        fits = fits && length + size < sizeof text;
        if (fits) {
            std::memcpy(text + length, part, size);
            length += size;
            text[length] = '\0';
        }
        return *this;
    }
    Path& add(const char* part) { return add(part, std::strlen(part)); }
    Path& add(unsigned long number) {
        char digits[24];
        std::size_t count = 0;
        do {
            digits[sizeof digits - ++count] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        return add(digits + sizeof digits - count, count);
    }
    void cut(std::size_t size) {
        length = size;
        text[length] = '\0';
    }
    // The length of the folder part with its final separator; 0 for none.
    std::size_t folderLength() const {
        std::size_t end = length;
        while (end > 0 && !isSeparator(text[end - 1])) {
            --end;
        }
        return end;
    }
    const char* c_str() const { return text; }
    std::size_t size() const { return length; }
    bool fitsIn() const { return fits; }

  private:
    char text[kMaxPath];
    std::size_t length = 0;
    bool fits = true;
};

enum class Kind { Missing, Regular, Other };

// The few calls the standard library has no counterpart for, or none that
// works without allocating: what a path leads to, creating a file only if
// nothing by its name exists, and flushing to the disk. `mode` is a file's
// permission bits, or -1 where there are none to keep.
#ifdef _WIN32

namespace fs = std::filesystem;

unsigned long processId() {
    return static_cast<unsigned long>(_getpid());
}

// Windows keeps no permission bits beyond read-only, so there are none to
// carry over.
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
    return _wopen(fs::path(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int openForWriting(const char* path) {
    return _wopen(fs::path(path).c_str(),
                  _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int openForReading(const char* path) {
    return _wopen(fs::path(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool flushToDisk(int file) {
    return _commit(file) == 0;
}

bool closeFile(int file) {
    return _close(file) == 0;
}

bool renameFile(const char* from, const char* to) {
    std::error_code error;
    fs::rename(from, to, error);
    return !error;
}

void removeFile(const char* path) {
    std::error_code error;
    fs::remove(path, error);
}

// A rename on Windows is recorded with the file system's own journal; a
// folder cannot be opened to flush it.
bool flushFolder(const char* /*folder*/) {
    return true;
}

#else

unsigned long processId() {
    return static_cast<unsigned long>(getpid());
}

Kind kindOf(const char* path, int& mode) {
    struct stat status;
    if (stat(path, &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Kind::Missing : Kind::Other;
    }
    if (!S_ISREG(status.st_mode)) {
        return Kind::Other;
    }
    mode = static_cast<int>(status.st_mode & 07777);
    return Kind::Regular;
}

// A chain that does not end is left to fail when the file is opened.
bool followLinks(Path& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status;
        char target[kMaxPath];
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            break;
        }
        const ssize_t size = readlink(path.c_str(), target, sizeof target);
        if (size <= 0) {
            break;
        }
        path.cut(target[0] == '/' ? 0 : path.folderLength());
        path.add(target, static_cast<std::size_t>(size));
    }
    return path.fitsIn();
}

// Never follows a link and never opens a file that is already there. The
// umask applies to a new file; `mode`, when known, replaces its bits.
int createNew(const char* path, int mode) {
    const int file = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file >= 0 && mode >= 0 && fchmod(file, static_cast<mode_t>(mode)) != 0) {
        const int error = errno;
        close(file);
        unlink(path);
        errno = error;
        return -1;
    }
    return file;
}

int openForWriting(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

// Never waits for a writer, should a named pipe have taken the file's place.
int openForReading(const char* path) {
    return open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool flushToDisk(int file) {
    return fsync(file) == 0;
}

bool closeFile(int file) {
    return close(file) == 0;
}

bool renameFile(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

void removeFile(const char* path) {
    unlink(path);
}

// Makes a rename or a new file itself last. Some file systems cannot flush
// a folder (EINVAL); the change is then as safe as they make it.
bool flushFolder(const char* folder) {
    const int file = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    const bool flushed = fsync(file) == 0 || errno == EINVAL;
    return close(file) == 0 && flushed;
}

#endif

bool flushFolderOf(const Path& file) {
    Path folder;
    const std::size_t length = file.folderLength();
    folder.add(length == 0 ? "." : file.c_str(), length == 0 ? 1 : length);
    return folder.fitsIn() && flushFolder(folder.c_str());
}

bool writeDirectly(const char* path, const char* data, std::size_t size) {
    const int file = openForWriting(path);
    if (file < 0) {
        return false;
    }
    const bool written = writeAll(file, data, size);
    return closeFile(file) && written;
}

enum class Written { Yes, Exists, Refused, Failed };

// Creates `path` and writes the bytes into it, flushed to the disk; on
// failure the new file is removed again.
Written writeNew(const char* path, const char* data, std::size_t size, int mode) {
    const int file = createNew(path, mode);
    if (file < 0) {
        if (errno == EEXIST) {
            return Written::Exists;
        }
        return errno == EACCES || errno == EPERM ? Written::Refused : Written::Failed;
    }
    bool written = writeAll(file, data, size) && flushToDisk(file);
    written = closeFile(file) && written;
    if (!written) {
        removeFile(path);
    }
    return written ? Written::Yes : Written::Failed;
}

enum class Replaced { Yes, No, FolderRefused };

// Writes a new file beside `target` and renames it onto `target`; on any
// failure the new file is removed and `target` is untouched.
Replaced replaceWhole(const Path& target, const char* data, std::size_t size, int mode) {
    // The process number keeps two running copies apart; an old file left
    // by a copy that was stopped half way is never reused.
    const std::size_t folder = target.folderLength();
    Path temporary;
    temporary.add(target.c_str(), folder).add(".").add(target.c_str() + folder);
    temporary.add(".").add(processId()).add("-");
    const std::size_t stem = temporary.size();
    Written written = Written::Exists;
    for (unsigned long attempt = 0; written == Written::Exists && attempt < 100; ++attempt) {
        temporary.cut(stem);
        if (!temporary.add(attempt).add(".tmp").fitsIn()) {
            return Replaced::No;
        }
        written = writeNew(temporary.c_str(), data, size, mode);
    }
    if (written != Written::Yes) {
        return written == Written::Refused ? Replaced::FolderRefused : Replaced::No;
    }
    if (!renameFile(temporary.c_str(), target.c_str())) {
        removeFile(temporary.c_str());
        return Replaced::No;
    }
    return flushFolderOf(target) ? Replaced::Yes : Replaced::No;
}

}  // namespace

bool writeFileSafely(const char* path, const char* data, std::size_t size) {
    // The system follows the links to tell what is at the end of them; the
    // links are followed here only once that is known to be a file.
    int mode = -1;
    const Kind kind = kindOf(path, mode);
    if (kind == Kind::Other) {
        return writeDirectly(path, data, size);
    }
    Path target;
    if (!target.add(path).fitsIn() || !followLinks(target)) {
        return false;
    }
    const Replaced replaced = replaceWhole(target, data, size, mode);
    // A folder that takes no new file may still hold a file that can be
    // written: that is written as it always was.
    if (replaced == Replaced::FolderRefused) {
        return writeDirectly(path, data, size);
    }
    return replaced == Replaced::Yes;
}

unsigned long writeNumberedFile(const char* path, std::size_t numberAt, const char* data,
                                std::size_t size) {
    Path numbered;
    const std::size_t stem = numbered.add(path, numberAt).add(".").size();
    const char* rest = path + numberAt;
    Written written = Written::Exists;
    unsigned long number = 0;
    while (written == Written::Exists && number < 1000000) {
        numbered.cut(stem);
        if (!numbered.add(++number).add(rest).fitsIn()) {
            return 0;
        }
        written = writeNew(numbered.c_str(), data, size, -1);
    }
    return written == Written::Yes && flushFolderOf(numbered) ? number : 0;
}

FileContent compareFile(const char* path, const Fingerprint& print) {
    int mode = -1;
    const Kind kind = kindOf(path, mode);
    if (kind != Kind::Regular) {
        return kind == Kind::Missing ? FileContent::Missing : FileContent::Different;
    }
    const int file = openForReading(path);
    if (file < 0) {
        return FileContent::Different;
    }
    char chunk[4096];
    Fingerprint now;
    long got = 0;
    while ((got = readSome(file, chunk, sizeof chunk)) > 0 && now.size <= print.size) {
        now.add(chunk, static_cast<std::size_t>(got));
    }
    closeFile(file);
    return got == 0 && now == print ? FileContent::Same : FileContent::Different;
}

std::string textFileBytes(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
#ifdef _WIN32
        const bool crlf = text[i] == '\n';
#else
        const bool crlf = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
#endif
        if (crlf) {
            bytes += '\r';
        }
        bytes += text[i];
    }
    return bytes;
}

}  // namespace roster
