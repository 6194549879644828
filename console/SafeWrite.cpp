#include "console/SafeWrite.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace roster {

namespace fs = std::filesystem;

namespace {

// The few calls the standard library has no counterpart for: creating a
// file only if nothing by its name exists, and flushing to the disk.
#ifdef _WIN32

int processId() {
    return _getpid();
}

// A text file, so the C library ends each line with CR LF. Windows keeps no
// permission bits beyond read-only, so there are none to carry over.
int createNew(const fs::path& path, fs::perms /*keep*/) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

long writeSome(int file, const char* data, std::size_t size) {
    return _write(file, data, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

bool flushToDisk(int file) {
    return _commit(file) == 0;
}

bool closeFile(int file) {
    return _close(file) == 0;
}

// A rename on Windows is recorded with the file system's own journal; a
// folder cannot be opened to flush it.
bool flushFolder(const fs::path& /*folder*/) {
    return true;
}

#else

int processId() {
    return static_cast<int>(getpid());
}

// Never follows a link and never opens a file that is already there. The
// umask applies to a new file; `keep`, unless unknown, replaces its bits.
int createNew(const fs::path& path, fs::perms keep) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file >= 0 && keep != fs::perms::unknown &&
        fchmod(file, static_cast<mode_t>(keep & fs::perms::mask)) != 0) {
        const int error = errno;
        close(file);
        unlink(path.c_str());
        errno = error;
        return -1;
    }
    return file;
}

long writeSome(int file, const char* data, std::size_t size) {
    return static_cast<long>(write(file, data, size));
}

bool flushToDisk(int file) {
    return fsync(file) == 0;
}

bool closeFile(int file) {
    return close(file) == 0;
}

// Makes the rename itself last. Some file systems cannot flush a folder
// (EINVAL); the rename is then as safe as they make it.
bool flushFolder(const fs::path& folder) {
    const int file = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    const bool flushed = fsync(file) == 0 || errno == EINVAL;
    return close(file) == 0 && flushed;
}

#endif

bool writeAll(int file, const std::string& content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const long written = writeSome(file, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// The file that a chain of symbolic links starting at `path` ends at, or
// `path` itself when it is no link. A chain that does not end is left to
// fail when the file is opened.
fs::path followLinks(fs::path path) {
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

bool writeDirectly(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios_base::out);
    file << content;
    file.close();
    return !file.fail();
}

enum class Replaced { Yes, No, FolderRefused };

// Writes a new file beside `target` and renames it onto `target`; on any
// failure the new file is removed and `target` is untouched.
Replaced replaceWhole(const fs::path& target, const std::string& content, fs::perms keep) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // The process number keeps two running copies apart; an old file left
    // by a copy that was stopped half way is never reused.
    const std::string stem =
        "." + target.filename().string() + "." + std::to_string(processId()) + "-";
    fs::path temporary;
    int file = -1;
    for (int attempt = 0; file < 0 && attempt < 100; ++attempt) {
        temporary = folder / (stem + std::to_string(attempt) + ".tmp");
        file = createNew(temporary, keep);
        if (file < 0 && errno != EEXIST) {
            break;
        }
    }
    if (file < 0) {
        return errno == EACCES || errno == EPERM ? Replaced::FolderRefused : Replaced::No;
    }
    bool written = writeAll(file, content) && flushToDisk(file);
    written = closeFile(file) && written;
    std::error_code error;
    if (written) {
        fs::rename(temporary, target, error);
    }
    if (!written || error) {
        fs::remove(temporary, error);
        return Replaced::No;
    }
    return flushFolder(folder) ? Replaced::Yes : Replaced::No;
}

}  // namespace

bool writeFileSafely(const std::string& path, const std::string& content) {
    // The system follows the links to tell what is at the end of them; the
    // links are followed here only once that is known to be a file.
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    const bool regular = fs::is_regular_file(status);
    if (!regular && status.type() != fs::file_type::not_found) {
        return writeDirectly(path, content);
    }
    const fs::path target = followLinks(path);
    const fs::perms keep = regular ? status.permissions() : fs::perms::unknown;
    const Replaced replaced = replaceWhole(target, content, keep);
    // A folder that takes no new file may still hold a report that can be
    // written: that is written as it always was.
    if (replaced == Replaced::FolderRefused) {
        return writeDirectly(path, content);
    }
    return replaced == Replaced::Yes;
}

}  // namespace roster
