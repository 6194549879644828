#include <algorithm>
#include <array>
#include <numeric>
#include <ostream>
#include <utility>

#include "console/Commands.h"
#include "console/Menu.h"

namespace roster {

void sortRoster(std::vector<Person>& persons, ExchangeTest exchange) {
    // The exchanges move positions, not persons: personsArray[k] is the
    // roster position of the person who stands at place k, and each person
    // is moved to its place once, at the end. The roster never outgrows the
    // array; should it ever, the persons past it keep their places rather
    // than being lost.
    std::array<std::size_t, kCapacity> personsArray;
    const std::size_t n = std::min(persons.size(), personsArray.size());
    std::iota(personsArray.begin(), personsArray.begin() + static_cast<std::ptrdiff_t>(n), 0);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (exchange(persons[personsArray[i]], persons[personsArray[j]], persons[j])) {
                std::swap(personsArray[i], personsArray[j]);
            }
        }
    }
    std::array<Person, kCapacity> placed;
    for (std::size_t k = 0; k < n; ++k) {
        placed[k] = std::move(persons[personsArray[k]]);
    }
    std::move(placed.begin(), placed.begin() + static_cast<std::ptrdiff_t>(n), persons.begin());
}

namespace {

// Names compare the scratch array's own entry j. The other keys compare the
// roster's entry j, which the exchanges never move: that keeps equal keys
// in roster order.
bool byName(const Person& arrayI, const Person& arrayJ, const Person&) {
    return arrayI.getName().compare(arrayJ.getName()) > 0;
}
bool byHeight(const Person& arrayI, const Person&, const Person& rosterJ) {
    return arrayI.getHeight() < rosterJ.getHeight();
}
bool byWeight(const Person& arrayI, const Person&, const Person& rosterJ) {
    return arrayI.getWeight() > rosterJ.getWeight();
}
bool byNetworth(const Person& arrayI, const Person&, const Person& rosterJ) {
    return arrayI.getNetworth() < rosterJ.getNetworth();
}

struct SortKey {
    char letter;
    const char* text;
    ExchangeTest exchange;
    const char* message;
};

const SortKey kSortMenu[] = {
    {'N', "Sort by names (alphabetical)", byName, "The list of persons are now sorted by name."},
    {'C', "Sort by height (high to low descending)", byHeight,
     "The list of persons are now sorted by height."},
    {'S', "Sort by weight (low to high ascending)", byWeight,
     "The list of persons are now sorted by weight."},
    {'B', "Sort by networth (descending)", byNetworth,
     "The list of persons are now sorted by networth."},
};

}  // namespace

void sortMenu(Session& s) {
    if (const SortKey* key = askSubmenu(s, kSortMenu)) {
        sortRoster(s.persons, key->exchange);
        s.out << key->message << '\n';
    }
}

}  // namespace roster
