#include <algorithm>
#include <array>
#include <ostream>
#include <utility>

#include "console/Commands.h"
#include "console/Menu.h"

namespace roster {

void sortRoster(std::vector<Person>& persons, ExchangeTest exchange) {
    std::array<Person, kCapacity> personsArray;
    // The roster never outgrows the scratch array; should it ever, the
    // persons past it keep their places rather than being lost.
    const std::size_t n = std::min(persons.size(), personsArray.size());
    std::copy_n(persons.begin(), n, personsArray.begin());
    for (std::size_t i = 0; i + 1 < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (exchange(personsArray[i], personsArray[j], persons[j])) {
                Person tempPerson = std::move(personsArray[i]);
                personsArray[i] = std::move(personsArray[j]);
                personsArray[j] = std::move(tempPerson);
            }
        }
    }
    std::move(personsArray.begin(), personsArray.begin() + static_cast<std::ptrdiff_t>(n),
              persons.begin());
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
