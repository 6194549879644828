// Keeping the roster in a file between runs, a roster file or a CSV file:
// loaded at start, saved on leaving, and never saved over what another
// program wrote to that file.
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <streambuf>
#include <system_error>

#include "console/Commands.h"
#include "platform/Hangup.h"
#include "platform/SafeWrite.h"
#include "platform/StandardIo.h"

namespace roster {

namespace {

namespace fs = std::filesystem;

// Hands out a file's bytes and fingerprints them, so that the file is read
// once, and later compared with what was read without being held. It can
// go back within the bytes it handed out last, as skipping a byte-order
// mark does.
class FingerprintingBuffer : public std::streambuf {
  public:
    FingerprintingBuffer(std::streambuf& from, Fingerprint& to) : source(from), print(to) {}

  protected:
    int_type underflow() override {
        const std::streamsize got = source.sgetn(chunk, sizeof chunk);
        if (got <= 0) {
            return traits_type::eof();
        }
        print.add(chunk, static_cast<std::size_t>(got));
        setg(chunk, chunk, chunk + got);
        return traits_type::to_int_type(*gptr());
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        const off_type start = static_cast<off_type>(print.size) - (egptr() - eback());
        const off_type offset = position - pos_type(start);
        if (offset < 0 || offset > egptr() - eback()) {
            return pos_type(off_type(-1));
        }
        setg(eback(), eback() + offset, egptr());
        return position;
    }

  private:
    std::streambuf& source;
    Fingerprint& print;
    char chunk[4096];
};

// Where the roster went: 0 for its file, N for the file numbered N beside it,
// -1 when it could not be saved. Makes no call that a signal handler may
// not make, and allocates nothing.
long saveNow(const KeptFile& kept) {
    const char* path = kept.path.c_str();
    const FileContent now = compareFile(path, kept.disk);
    const bool changed = kept.onDisk ? now == FileContent::Different : now != FileContent::Missing;
    if (!changed) {
        return replaceFile(path, kept.pending.data(), kept.pending.size()) == Saved::Yes ? 0 : -1;
    }
    const unsigned long aside =
        writeNumberedFile(path, numberAt(kept.path), kept.pending.data(), kept.pending.size());
    return aside == 0 ? -1 : static_cast<long>(aside);
}

}  // namespace

bool keepRoster(Session& s, const std::string& path, std::ostream& err) {
    KeptFile kept;
    kept.path = path;
    kept.layout.format = formatOf(path);
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
        FingerprintingBuffer buffer(*file.rdbuf(), kept.disk);
        std::istream in(&buffer);
        if (const std::optional<Problem> problem = readPersons(in, kept.layout, s.persons)) {
            s.persons.clear();
            err << "roster: cannot keep " << path << ": " << *problem << '\n'
                << refusalAdvice(kept.layout.format) << '\n';
            return false;
        }
        s.out << "The file has been successfully loaded." << '\n';
    }
    kept.saved = personsBytes(kept.layout, s.persons);
    kept.pending = kept.saved;
    s.kept = std::move(kept);
    return true;
}

void noteRoster(KeptFile& kept, const std::vector<Person>& persons) {
    std::string bytes = personsBytes(kept.layout, persons);
    const HangupGuard guard;
    kept.pending.swap(bytes);
    markStandardOutput();
}

void saveChangedRoster(void* kept, bool save) {
    const KeptFile& file = *static_cast<const KeptFile*>(kept);
    if (save && file.pending != file.saved) {
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
            kept.disk = fingerprintOf(kept.pending);
        }
    }
    if (where < 0) {
        s.out << "The roster could not be saved to " << path << '\n';
        return false;
    }
    if (where == 0) {
        s.out << "The roster has been saved to " << path << '\n';
    } else {
        s.out << path << " was changed by another program; the roster has been saved to "
              << numberedName(path, static_cast<unsigned long>(where)) << '\n';
    }
    return true;
}

}  // namespace roster
