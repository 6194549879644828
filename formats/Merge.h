// Merging two rosters made from one, as a three-way merge merges the lines
// of a text: here persons are the lines.
#pragma once

#include <optional>
#include <vector>

#include "person/Person.h"

namespace roster {

// Whether two persons are the same in all seven fields, the reals bit for
// bit.
bool samePerson(const Person& a, const Person& b);

// The roster that holds the changes of both `ours` and `theirs`, each made
// from `base`; nothing when they conflict or the result would hold more
// than kCapacity persons.
//
// Each side's changes are the stretches of `base` it replaced, as a diff
// finds them: a stretch only one side changed takes that change, the same
// change on both sides is taken once, additions at one place are all kept
// (theirs first, and before a replacement that begins there), and
// stretches that only touch both apply. Any other overlap is a conflict.
std::optional<std::vector<Person>> mergeRosters(const std::vector<Person>& base,
                                                const std::vector<Person>& ours,
                                                const std::vector<Person>& theirs);

}  // namespace roster
