// Any bytes as three rosters made from one, base, ours and theirs, merged
// as a kept file's save merges them. Each byte is a person from a small
// pool, so that the sides share persons as real edits do; the byte 0xFF
// begins the next roster. What must hold whatever the rosters are: a side
// that is the base gives the other side, equal sides give that side, a
// merge never holds more than 20 persons, and where it merges, it keeps
// every person that ours added and every person of theirs that ours did not
// remove, and holds no person found on neither side.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "formats/Formats.h"
#include "formats/Merge.h"
#include "fuzz/Check.h"

namespace {

using Roster = std::vector<roster::Person>;

// Sixteen persons: eight names, each also edited (another GPA); the last
// differs from the eighth only in the sign of a zero net worth.
roster::Person pooled(std::uint8_t byte) {
    const int i = byte % 16;
    const std::string name(1, static_cast<char>('A' + i % 8));
    return roster::Person(name, 30, 70, 150, i < 8 || i == 15 ? 3.0 : 2.0, "Math",
                          i == 15 ? -0.0 : 0.0);
}

bool same(const Roster& a, const Roster& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), roster::samePerson);
}

std::size_t count(const Roster& persons, const roster::Person& person) {
    return static_cast<std::size_t>(
        std::count_if(persons.begin(), persons.end(),
                      [&](const roster::Person& p) { return roster::samePerson(p, person); }));
}

// A side that is the base, or both sides alike, leave nothing to merge.
void requireTaken(const std::optional<Roster>& merged, const Roster& side, const char* what) {
    fuzz::require(merged.has_value() == (side.size() <= roster::kCapacity), what);
    fuzz::require(!merged || same(*merged, side), what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A few more than a roster holds, so that a merge can outgrow it; more
    // would only make the diff slower.
    constexpr std::size_t kLongest = roster::kCapacity + 4;
    Roster sides[3];
    std::size_t side = 0;
    for (std::size_t i = 0; i < size && side < 3; ++i) {
        if (data[i] == 0xFF) {
            ++side;
        } else if (sides[side].size() < kLongest) {
            sides[side].push_back(pooled(data[i]));
        }
    }
    const Roster& base = sides[0];
    const Roster& ours = sides[1];
    const Roster& theirs = sides[2];
    const std::optional<Roster> merged = roster::mergeRosters(base, ours, theirs);

    fuzz::require(!merged || merged->size() <= roster::kCapacity, "a merge holds at most 20");
    if (same(ours, base)) {
        requireTaken(merged, theirs, "ours unchanged gives theirs");
    }
    if (same(theirs, base)) {
        requireTaken(merged, ours, "theirs unchanged gives ours");
    }
    if (same(ours, theirs)) {
        requireTaken(merged, ours, "the same on both sides gives that");
    }
    if (!merged) {
        return 0;
    }
    for (const Roster* persons : {&ours, &theirs, &*merged}) {
        for (const roster::Person& person : *persons) {
            const std::size_t inBase = count(base, person);
            const std::size_t inOurs = count(ours, person);
            const std::size_t inTheirs = count(theirs, person);
            const std::size_t inMerged = count(*merged, person);
            // Persons are told apart by what they hold, so a person moved
            // by one side and added by the other at the same place is one
            // change made twice, taken once: the counts hold as far as
            // whether a person is there at all.
            fuzz::require(inMerged > 0 || inOurs <= inBase, "every person that ours added is kept");
            fuzz::require(inMerged > 0 || inTheirs == 0 || inOurs < inBase,
                          "every person of theirs that ours did not remove is kept");
            fuzz::require(inMerged == 0 || inOurs + inTheirs > 0,
                          "no person is found on neither side");
        }
    }
    return 0;
}
