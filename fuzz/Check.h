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
template <typename Persons>
void requireSoundRoster(const Persons& persons, roster::Rules rules) {
    require(persons.size() <= roster::kCapacity, "the roster holds at most 20 persons");
    for (const roster::Person& person : persons) {
        require(person.isValid(rules), "every person obeys the rules");
    }
}

}  // namespace fuzz
