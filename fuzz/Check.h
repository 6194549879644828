// What every fuzz target insists on, whatever the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "console/Session.h"
#include "person/Person.h"

namespace fuzz {

// Stops the run so the fuzzer keeps the input that broke `what`.
inline void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The roster's size limit and the rules that no way into it may bypass.
// A person added at the console has no weight yet, so a weight of 0 passes
// when `blankWeight` is set.
template <typename Persons>
void requireSoundRoster(const Persons& persons, bool blankWeight) {
    require(persons.size() <= roster::kCapacity, "the roster holds at most 20 persons");
    for (const roster::Person& person : persons) {
        require(person.isValidAge(), "every age obeys its rule");
        require(person.isValidHeight(), "every height obeys its rule");
        require(person.isValidGPA(), "every GPA obeys its rule");
        require(person.isValidWeight() || (blankWeight && person.getWeight() == 0),
                "every weight obeys its rule");
    }
}

}  // namespace fuzz
