// Keeping the roster in a file between runs: loaded at start, saved on
// leaving, and never saved over what another program wrote to that file.
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <system_error>

#include "console/Commands.h"
#include "platform/Hangup.h"
#include "platform/SafeWrite.h"
#include "platform/StandardIo.h"

namespace roster {

std::string rosterBytes(const std::vector<Person>& persons) {
    std::ostringstream text;
    // The reader skips one byte-order mark at the start of the file, so a
    // first name that begins with one keeps it behind a mark of its own.
    if (!persons.empty() && persons.front().getName().rfind(kByteOrderMark, 0) == 0) {
        text << kByteOrderMark;
    }
    for (const Person& person : persons) {
        person.writeRecord(text);
    }
    return textFileBytes(text.str());
}

namespace {

namespace fs = std::filesystem;

// Hands out a file's bytes and keeps a copy of each, so that the file is
// read once, no further than the load goes, and is later compared with just
// what was loaded. It can go back within the bytes it handed out last, as
// skipping a byte-order mark does.
class CopyingBuffer : public std::streambuf {
  public:
    CopyingBuffer(std::streambuf& from, std::string& to) : source(from), copy(to) {}

  protected:
    int_type underflow() override {
        const std::streamsize got = source.sgetn(chunk, sizeof chunk);
        if (got <= 0) {
            return traits_type::eof();
        }
        copy.append(chunk, static_cast<std::size_t>(got));
        setg(chunk, chunk, chunk + got);
        return traits_type::to_int_type(*gptr());
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        const off_type start = static_cast<off_type>(copy.size()) - (egptr() - eback());
        const off_type offset = position - pos_type(start);
        if (offset < 0 || offset > egptr() - eback()) {
            return pos_type(off_type(-1));
        }
        setg(eback(), eback() + offset, egptr());
        return position;
    }

  private:
    std::streambuf& source;
    std::string& copy;
    char chunk[4096];
};

const char* refusal(RosterRead::Stop stop) {
    switch (stop) {
        case RosterRead::BrokenRule:
            return "breaks a rule";
        case RosterRead::Unreadable:
            return "cannot be read";
        case RosterRead::ExtraText:
            return "has text after its net worth";
        default:
            return nullptr;
    }
}

// Where the roster went: 0 for its file, N for the file's name with ".N",
// -1 when it could not be saved. Makes no call that a signal handler may
// not make, and allocates nothing.
long saveNow(const KeptFile& kept) {
    const char* path = kept.path.c_str();
    const FileContent now = compareFile(path, kept.disk.data(), kept.disk.size());
    const bool changed = kept.onDisk ? now == FileContent::Different : now != FileContent::Missing;
    if (!changed) {
        return writeFileSafely(path, kept.pending.data(), kept.pending.size()) ? 0 : -1;
    }
    const unsigned long aside = writeNumberedFile(path, kept.pending.data(), kept.pending.size());
    return aside == 0 ? -1 : static_cast<long>(aside);
}

}  // namespace

bool keepRoster(Session& s, const std::string& path, std::ostream& err) {
    KeptFile kept;
    kept.path = path;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        const fs::path folder = fs::path(path).parent_path();
        if (path.empty() || !fs::is_directory(folder.empty() ? fs::path(".") : folder, error)) {
            err << "roster: cannot open " << path << '\n';
            return false;
        }
        s.out << path << " does not exist yet; the roster will be saved to it when you leave."
              << '\n';
    } else {
        std::ifstream file;
        if (fs::is_regular_file(status)) {
            file.open(path, std::ios_base::binary);
        }
        if (!file.is_open()) {
            err << "roster: cannot open " << path << '\n';
            return false;
        }
        kept.onDisk = true;
        CopyingBuffer buffer(*file.rdbuf(), kept.disk);
        std::istream copied(&buffer);
        skipByteOrderMark(copied);
        const RosterRead read = readRoster(copied, s.persons, true, true);
        if (read.stop != RosterRead::End) {
            s.persons.clear();
            err << "roster: cannot keep " << path << ": ";
            if (const char* why = refusal(read.stop)) {
                err << "record " << read.record << ' ' << why << '\n';
            } else {
                err << "it holds more than " << kCapacity << " persons" << '\n';
            }
            err << "Correct it, or open it with O, which leaves such records out." << '\n';
            return false;
        }
        s.out << "The file has been successfully loaded." << '\n';
    }
    kept.saved = rosterBytes(s.persons);
    kept.pending = kept.saved;
    s.kept = std::move(kept);
    return true;
}

void noteRoster(KeptFile& kept, const std::vector<Person>& persons) {
    std::string bytes = rosterBytes(persons);
    const HangupGuard guard;
    kept.pending.swap(bytes);
    markStandardOutput();
}

void saveChangedRoster(void* kept) {
    const KeptFile& file = *static_cast<const KeptFile*>(kept);
    if (file.pending != file.saved) {
        saveNow(file);
    }
}

bool saveKeptRoster(Session& s) {
    KeptFile& kept = *s.kept;
    noteRoster(kept, s.persons);
    const std::string& path = kept.path;
    if (kept.pending == kept.saved) {
        s.out << "The roster is unchanged; " << path << " was left as it is" << '\n';
        return true;
    }
    long where = -1;
    {
        // A hang-up meanwhile saves nothing twice: it waits, then finds the
        // roster saved.
        const HangupGuard guard;
        where = saveNow(kept);
        if (where >= 0) {
            kept.saved = kept.pending;
        }
        if (where == 0) {
            kept.onDisk = true;
            kept.disk = kept.pending;
        }
    }
    if (where < 0) {
        s.out << "The roster could not be saved to " << path << '\n';
        return false;
    }
    if (where == 0) {
        s.out << "The roster has been saved to " << path << '\n';
    } else {
        s.out << path << " was changed by another program; the roster has been saved to " << path
              << '.' << where << '\n';
    }
    return true;
}

}  // namespace roster
