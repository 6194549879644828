// Any bytes, loaded as a roster file exactly as the open command loads one,
// and read strictly as a kept roster file and as a CSV file: whatever is
// accepted must read back the same once written.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "console/Commands.h"
#include "fuzz/Check.h"

namespace {

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    // A roster from an earlier open is always replaced.
    std::vector<roster::Person> persons(3);
    roster::loadRoster(persons, file, out);

    fuzz::requireSoundRoster(persons, roster::Rules::Plain);

    // The report: success first, then at most the two notes, in this order.
    std::string said = out.str();
    const std::string loaded = "The file has been successfully loaded.\n";
    fuzz::require(startsWith(said, loaded), "the load reports success first");
    said.erase(0, loaded.size());
    const std::string full = "The list is full; only the first 20 persons have been loaded.\n";
    if (startsWith(said, full)) {
        fuzz::require(persons.size() == roster::kCapacity, "a full list holds 20");
        said.erase(0, full.size());
    }
    const std::string stopped = "Loading stopped at record ";
    if (startsWith(said, stopped)) {
        const std::size_t end = said.find(", which could not be read.\n");
        fuzz::require(end != std::string::npos && end > stopped.size() &&
                          said.find_first_not_of("0123456789", stopped.size()) == end,
                      "an unreadable record is named by its number");
        said.erase(0, end + 27);
    }
    fuzz::require(said.empty(), "the load says nothing else");

    for (const roster::FileFormat format : {roster::FileFormat::Roster, roster::FileFormat::Csv}) {
        std::istringstream kept(file.str());
        roster::FileLayout layout;
        layout.format = format;
        std::vector<roster::Person> read;
        if (roster::readPersons(kept, layout, read)) {
            continue;
        }
        fuzz::requireSoundRoster(read, roster::Rules::Kept);
        const std::string bytes = roster::personsBytes(layout, read);
        std::istringstream again(bytes);
        std::vector<roster::Person> back;
        // The same bytes again means the same persons: every real is written
        // as the shortest text that reads back to it.
        fuzz::require(!roster::readPersons(again, layout, back) &&
                          roster::personsBytes(layout, back) == bytes,
                      "what is accepted reads back the same once written");
    }
    return 0;
}
