// Any bytes as one whole session: what the user types, and the roster file
// "r" that the typed input may open. The two parts are split at the first
// line "=====". Typed input that begins with the line "FILE" starts the
// session as `roster r`, keeping its roster in that file. The target
// changes its working folder, so give the fuzzer absolute paths.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

#include "console/Commands.h"
#include "fuzz/Check.h"

namespace {

const char kSeparator[] = "\n=====\n";
const char kKeep[] = "FILE\n";

// Throws the console output away, but checks the roster each time the
// program writes: every command writes as it goes, so this sees the roster
// between all its steps, not only at the end.
class WatchingBuffer : public std::streambuf {
  public:
    void watch(const roster::Session* watched) { session = watched; }

  protected:
    int_type overflow(int_type c) override {
        check();
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize count) override {
        check();
        return count;
    }

  private:
    void check() const {
        if (session != nullptr) {
            fuzz::requireSoundRoster(session->persons, roster::Rules::Kept);
        }
    }
    const roster::Session* session = nullptr;
};

std::filesystem::path scratch;

void removeScratch() {
    std::error_code error;
    std::filesystem::remove_all(scratch, error);
}

// One scratch folder per process, made the working folder at the first run,
// so that typed file names find the roster file and nothing else is touched.
void enterScratch() {
    if (!scratch.empty()) {
        return;
    }
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "roster-fuzz-XXXXXX").string();
    fuzz::require(mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
    scratch = pattern;
    fuzz::require(chdir(scratch.c_str()) == 0, "the scratch folder can be entered");
    std::atexit(removeScratch);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::size_t countLines(const std::filesystem::path& path) {
    const std::string text = readFile(path);
    fuzz::require(text.empty() || text.back() == '\n', "the report ends with a line break");
    std::size_t lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1U : 0U;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterScratch();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find(kSeparator);
    const bool keep = bytes.compare(0, sizeof kKeep - 1, kKeep) == 0;
    const std::size_t start = keep ? sizeof kKeep - 1 : 0;
    const std::string typed = bytes.substr(start, split < start ? 0 : split - start);
    const std::string file =
        split == std::string::npos ? std::string() : bytes.substr(split + sizeof kSeparator - 1);
    {
        std::ofstream roster(scratch / "r", std::ios::binary | std::ios::trunc);
        roster << file;
    }
    const std::filesystem::path report = scratch / "outputdata.txt";
    std::error_code error;
    std::filesystem::remove(report, error);

    std::istringstream in(typed);
    WatchingBuffer buffer;
    std::ostream out(&buffer);
    roster::Session session(in, out);
    session.reportPath = report.string();
    const std::filesystem::path kept = scratch / "r";
    std::ostringstream refusal;
    if (keep && !roster::keepRoster(session, kept.string(), refusal)) {
        fuzz::require(!refusal.str().empty() && session.persons.empty(), "a refusal says why");
        return 0;
    }
    buffer.watch(&session);
    const int status = roster::runMenu(session);
    buffer.watch(nullptr);

    fuzz::requireSoundRoster(session.persons, roster::Rules::Kept);
    // The report is always writable here, so every run ends with it saved:
    // a header line and one row per person.
    fuzz::require(status == 0, "the session ends with status 0");
    fuzz::require(countLines(report) == session.persons.size() + 1,
                  "the report holds the header and one row per person");
    if (keep) {
        // Saved or left as it was, the file reads back to the roster.
        std::istringstream saved(readFile(kept));
        roster::skipByteOrderMark(saved);
        std::vector<roster::Person> persons;
        fuzz::require(
            roster::readRoster(saved, persons, {roster::Rules::Kept, roster::Reading::Strict})
                        .stop == roster::RosterRead::End &&
                roster::rosterBytes(persons) == roster::rosterBytes(session.persons),
            "the kept file holds the roster the session left");
        fuzz::require(!std::filesystem::exists(kept.string() + ".1", error),
                      "nothing is saved beside a file that nobody else changed");
    }
    return 0;
}
