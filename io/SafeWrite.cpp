#include "io/SafeWrite.h"

#include <cerrno>
#include <limits>
#include <string>
#include <vector>

#include "base/LineEnd.h"
#include "base/Path.h"
#include "io/FileIo.h"
#include "platform/System.h"

namespace roster {

namespace {

// What tells this program on this machine from others that share a folder,
// in the names of its temporary files: eight hexadecimal digits of a hash
// of "roster HOST". Made before the program starts, so that a signal
// handler can name a file too.
class MachineTag {
  public:
    MachineTag() {
        const std::string machine = std::string(kProgramName) + ' ' + os().hostName();
        Fingerprint print;
        print.add(machine.data(), machine.size());
        for (int i = 0; i < 8; ++i) {
            text[i] = "0123456789abcdef"[(print.hash >> (28 - 4 * i)) & 0xF];
        }
        text[8] = '\0';
    }
    const char* c_str() const { return text; }

  private:
    char text[9];
};

const MachineTag kMachine;

bool flushFolderOf(const Path& file) {
    Path folder;
    const std::size_t length = file.folderLength();
    folder.add(length == 0 ? "." : file.c_str(), length == 0 ? 1 : length);
    return folder.fitsIn() && os().flushFolder(folder.c_str());
}

bool writeDirectly(const char* path, const Content& content) {
    const int file = os().openForWriting(path);
    if (file < 0) {
        return false;
    }
    const bool written = content.writeTo(file);
    return os().closeFile(file) && written;
}

enum class Written { Yes, Exists, Refused, Failed };

// Creates `path` and writes the content into it, flushed to the disk when
// `flush` says so; on failure the new file is removed again.
Written writeNew(const char* path, const Content& content, int mode, bool flush) {
    const int file = os().createNew(path, mode);
    if (file < 0) {
        if (errno == EEXIST) {
            return Written::Exists;
        }
        return errno == EACCES || errno == EPERM ? Written::Refused : Written::Failed;
    }
    bool written = content.writeTo(file) && (!flush || os().flushToDisk(file));
    written = os().closeFile(file) && written;
    if (!written) {
        removeFile(path);
    }
    return written ? Written::Yes : Written::Failed;
}

// Writes the content into a new file in the folder of `target`, named
// after it, and leaves its name in `temporary`: ".NAME.PID-MACHINE-N.tmp".
Written writeTemporary(const Path& target, Path& temporary, const Content& content, int mode,
                       bool flush) {
    // The process number and the machine keep two running copies apart; an
    // old file left by a copy that was stopped half way is never reused.
    temporary.beside(target, ".", ".")
        .add(os().processId())
        .add("-")
        .add(kMachine.c_str())
        .add("-");
    const std::size_t stem = temporary.size();
    Written written = Written::Exists;
    for (unsigned long attempt = 0; written == Written::Exists && attempt < 100; ++attempt) {
        temporary.cut(stem);
        if (!temporary.add(attempt).add(".tmp").fitsIn()) {
            return Written::Failed;
        }
        written = writeNew(temporary.c_str(), content, mode, flush);
    }
    return written;
}

// Writes a new file beside `target` and renames it onto `target`; on any
// failure the new file is removed and `target` is untouched.
Saved replaceWhole(const Path& target, const Content& content, int mode, bool& folderRefused) {
    Path temporary;
    const Written written = writeTemporary(target, temporary, content, mode, true);
    folderRefused = written == Written::Refused;
    if (written != Written::Yes) {
        return Saved::Failed;
    }
    const Moved moved = renameFile(temporary.c_str(), target.c_str());
    if (moved != Moved::Yes) {
        removeFile(temporary.c_str());
        return moved == Moved::InUse ? Saved::InUse : Saved::Failed;
    }
    return flushFolderOf(target) ? Saved::Yes : Saved::Failed;
}

}  // namespace

bool Bytes::writeTo(int file) const {
    return writeAll(file, data, size);
}

Saved replaceFile(const char* path, const Content& content) {
    // The system follows the links to tell what is at the end of them; the
    // links are followed here only once that is known to be a file.
    int mode = -1;
    const Kind kind = os().kindOf(path, mode);
    if (kind == Kind::Other) {
        return writeDirectly(path, content) ? Saved::Yes : Saved::Failed;
    }
    Path target;
    if (!target.add(path).fitsIn() || !os().followLinks(target)) {
        return Saved::Failed;
    }
    bool folderRefused = false;
    const Saved saved = replaceWhole(target, content, mode, folderRefused);
    // A folder that takes no new file may still hold a file that can be
    // written: that is written as it always was.
    if (folderRefused) {
        return writeDirectly(path, content) ? Saved::Yes : Saved::Failed;
    }
    return saved;
}

Made createWhole(const char* path, const char* data, std::size_t size) {
    Path target;
    Path temporary;
    if (!target.add(path).fitsIn()) {
        return Made::Failed;
    }
    const Written written = writeTemporary(target, temporary, Bytes(data, size), -1, false);
    if (written != Written::Yes) {
        return Made::Failed;
    }
    os().hideFile(temporary.c_str());
    const Published published = os().publish(temporary.c_str(), path);
    if (published != Published::Failed) {
        if (published == Published::Exists) {
            removeFile(temporary.c_str());
        }
        return published == Published::Yes ? Made::Yes : Made::Exists;
    }
    // A file system without a second name for a file still creates a file
    // only where none is: it is empty for a moment.
    removeFile(temporary.c_str());
    const Written direct = writeNew(path, Bytes(data, size), -1, false);
    if (direct == Written::Yes) {
        os().hideFile(path);
    }
    return direct == Written::Yes      ? Made::Yes
           : direct == Written::Exists ? Made::Exists
                                       : Made::Failed;
}

namespace {

// What the open file `from` holds, copied as it is read.
class Copied final : public Content {
  public:
    explicit Copied(int file) : from(file) {}
    bool writeTo(int file) const override {
        char chunk[1 << 14];
        long got = 0;
        while ((got = readSome(from, chunk, sizeof chunk)) > 0) {
            if (!writeAll(file, chunk, static_cast<std::size_t>(got))) {
                return false;
            }
        }
        return got == 0;
    }

  private:
    int from;
};

// Tries the names of `path` with ".1", ".2", ... put in at byte `numberAt`
// in turn, until `make` makes one or fails: its number, or 0.
template <typename Make>
unsigned long firstFreeNumber(const char* path, std::size_t numberAt, Make make) {
    Path numbered;
    const std::size_t stem = numbered.add(path, numberAt).add(".").size();
    for (unsigned long number = 1; number < 1000000; ++number) {
        numbered.cut(stem);
        if (!numbered.add(number).add(path + numberAt).fitsIn()) {
            return 0;
        }
        const Written written = make(numbered.c_str());
        if (written != Written::Exists) {
            return written == Written::Yes && flushFolderOf(numbered) ? number : 0;
        }
    }
    return 0;
}

}  // namespace

unsigned long moveToNumbered(const char* from, const char* path, std::size_t numberAt) {
    bool linked = true;  // the file system gives a file a second name
    const unsigned long number = firstFreeNumber(path, numberAt, [&](const char* name) {
        if (linked) {
            const Published published = os().publish(from, name);
            if (published != Published::Failed) {
                return published == Published::Yes ? Written::Yes : Written::Exists;
            }
            linked = false;
        }
        const int file = os().openRegularFile(from);
        if (file < 0) {
            return Written::Failed;
        }
        const Written written = writeNew(name, Copied(file), -1, true);
        os().closeFile(file);
        return written;
    });
    if (number != 0 && !linked) {
        removeFile(from);
    }
    return number;
}

unsigned long writeNumberedFile(const char* path, std::size_t numberAt, const char* data,
                                std::size_t size) {
    // Made whole beside it first, so that it is never seen cut short where
    // the file system gives a file a second name.
    Path file;
    Path temporary;
    if (!file.add(path).fitsIn() ||
        writeTemporary(file, temporary, Bytes(data, size), -1, true) != Written::Yes) {
        return 0;
    }
    const unsigned long number = moveToNumbered(temporary.c_str(), path, numberAt);
    if (number == 0) {
        removeFile(temporary.c_str());
    }
    return number;
}

std::vector<std::string> leftOverTemporaries(const char* path) {
    std::vector<std::string> found;
    Path file;
    if (!file.add(path).fitsIn()) {
        return found;
    }
    const std::size_t folderLength = file.folderLength();
    const std::string folder(path, folderLength);
    const std::string prefix = '.' + std::string(path + folderLength) + '.';
    const std::string suffix = ".tmp";
    std::vector<std::string> names;
    os().listFolder(folder.empty() ? "." : folder.c_str(), names);
    const long long started = os().secondsSinceBoot();
    for (const std::string& name : names) {
        // The rest is PID-MACHINE-N, written by this program on this machine.
        if (name.size() <= prefix.size() + suffix.size() ||
            name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
            continue;
        }
        const std::string rest =
            name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        const std::size_t dash = rest.find('-');
        const std::size_t last = rest.rfind('-');
        const std::string id = rest.substr(0, dash);
        if (dash == std::string::npos || last != dash + 9 || id.empty() || id.size() > 10 ||
            id.find_first_not_of("0123456789") != std::string::npos ||
            rest.compare(dash + 1, 8, kMachine.c_str()) != 0 || last + 1 == rest.size() ||
            rest.find_first_not_of("0123456789", last + 1) != std::string::npos) {
            continue;
        }
        const std::string left = folder + name;
        unsigned long long number = 0;
        for (const char digit : id) {
            number = number * 10 + static_cast<unsigned long long>(digit - '0');
        }
        if (number > std::numeric_limits<unsigned long>::max()) {
            continue;
        }
        const auto process = static_cast<unsigned long>(number);
        const long long age = os().secondsSinceWritten(left.c_str());
        if (process == os().processId() || os().processGone(process) ||
            (started >= 0 && age > started)) {
            found.push_back(left);
        }
    }
    return found;
}

void removeLeftOverTemporaries(const char* path) {
    Path target;
    if (target.add(path).fitsIn() && os().followLinks(target)) {
        for (const std::string& left : leftOverTemporaries(target.c_str())) {
            removeFile(left.c_str());
        }
    }
}

FileContent compareFile(const char* path, const Fingerprint& print) {
    int mode = -1;
    const Kind kind = os().kindOf(path, mode);
    if (kind != Kind::Regular) {
        return kind == Kind::Missing ? FileContent::Missing : FileContent::Different;
    }
    const int file = os().openForReading(path);
    if (file < 0) {
        return FileContent::Different;
    }
    char chunk[4096];
    Fingerprint now;
    long got = 0;
    while ((got = readSome(file, chunk, sizeof chunk)) > 0 && now.size <= print.size) {
        now.add(chunk, static_cast<std::size_t>(got));
    }
    os().closeFile(file);
    return got == 0 && now == print ? FileContent::Same : FileContent::Different;
}

void TextWriter::put(char c) {
    if (c == '\n') {
        const char* end = lineEndAfter(last);
        if (end[1] != '\0') {
            put(end[0]);
        }
    }
    if (used == sizeof buffer) {
        failed = !writeAll(file, buffer, used) || failed;
        used = 0;
    }
    buffer[used++] = c;
    last = c;
}

TextWriter::int_type TextWriter::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        put(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
}

std::streamsize TextWriter::xsputn(const char* data, std::streamsize count) {
    for (std::streamsize i = 0; i < count; ++i) {
        put(data[i]);
    }
    return count;
}

bool TextWriter::finish() {
    failed = !writeAll(file, buffer, used) || failed;
    used = 0;
    return !failed;
}

}  // namespace roster
