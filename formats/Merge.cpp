#include "formats/Merge.h"

#include <cstddef>
#include <cstring>

#include "formats/Formats.h"

namespace roster {

namespace {

// The stretch [begin, end) of the base that one side replaced with its
// persons [from, to).
struct Change {
    std::size_t begin;
    std::size_t end;
    std::size_t from;
    std::size_t to;
    bool addition() const { return begin == end; }
};

bool sameReal(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The changes that make `base` into `side`: the stretches between the
// persons of a longest common subsequence of the two.
std::vector<Change> changesTo(const std::vector<Person>& base, const std::vector<Person>& side) {
    const std::size_t n = base.size();
    const std::size_t m = side.size();
    // common[i][j]: the length of a longest common subsequence of the
    // persons from base[i] and from side[j] on.
    std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            common[i][j] = samePerson(base[i], side[j])
                               ? common[i + 1][j + 1] + 1
                               : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    std::vector<Change> changes;
    Change open{0, 0, 0, 0};
    const auto close = [&](std::size_t i, std::size_t j) {
        if (open.begin != i || open.from != j) {
            changes.push_back({open.begin, i, open.from, j});
        }
        open = {i + 1, i + 1, j + 1, j + 1};
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n && j < m) {
        if (samePerson(base[i], side[j]) && common[i][j] == common[i + 1][j + 1] + 1) {
            close(i++, j++);
        } else if (common[i + 1][j] >= common[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    close(n, m);
    return changes;
}

bool sameChange(const Change& a, const std::vector<Person>& aSide, const Change& b,
                const std::vector<Person>& bSide) {
    if (a.begin != b.begin || a.end != b.end || a.to - a.from != b.to - b.from) {
        return false;
    }
    for (std::size_t k = 0; k < a.to - a.from; ++k) {
        if (!samePerson(aSide[a.from + k], bSide[b.from + k])) {
            return false;
        }
    }
    return true;
}

// Whether two changes of different sides overlap more than by touching.
// Additions at one place do not: both are kept.
bool overlap(const Change& a, const Change& b) {
    if (a.addition() && b.addition()) {
        return false;
    }
    if (a.addition() || b.addition()) {
        const Change& added = a.addition() ? a : b;
        const Change& replaced = a.addition() ? b : a;
        return replaced.begin < added.begin && added.begin < replaced.end;
    }
    return a.begin < b.end && b.begin < a.end;
}

}  // namespace

bool samePerson(const Person& a, const Person& b) {
    return a.getName() == b.getName() && a.getMajor() == b.getMajor() && a.getAge() == b.getAge() &&
           a.getHeight() == b.getHeight() && a.getWeight() == b.getWeight() &&
           sameReal(a.getGPA(), b.getGPA()) && sameReal(a.getNetworth(), b.getNetworth());
}

std::optional<std::vector<Person>> mergeRosters(const std::vector<Person>& base,
                                                const std::vector<Person>& ours,
                                                const std::vector<Person>& theirs) {
    const std::vector<Change> mine = changesTo(base, ours);
    const std::vector<Change> other = changesTo(base, theirs);
    // A change made on both sides is taken once, from theirs.
    std::vector<bool> twice(mine.size(), false);
    for (std::size_t a = 0; a < mine.size(); ++a) {
        for (const Change& b : other) {
            if (sameChange(mine[a], ours, b, theirs)) {
                twice[a] = true;
            } else if (overlap(mine[a], b)) {
                return std::nullopt;
            }
        }
    }
    std::vector<Person> merged;
    const auto take = [&](const Change& change, const std::vector<Person>& side) {
        merged.insert(merged.end(), side.begin() + static_cast<std::ptrdiff_t>(change.from),
                      side.begin() + static_cast<std::ptrdiff_t>(change.to));
    };
    std::size_t a = 0;  // the next change of ours
    std::size_t b = 0;  // the next change of theirs
    for (std::size_t at = 0;;) {
        // Additions at this place, theirs first.
        for (; b < other.size() && other[b].addition() && other[b].begin == at; ++b) {
            take(other[b], theirs);
        }
        for (; a < mine.size() && mine[a].addition() && mine[a].begin == at; ++a) {
            if (!twice[a]) {
                take(mine[a], ours);
            }
        }
        if (at == base.size()) {
            break;
        }
        // A replacement that begins here, or the base's own person.
        if (b < other.size() && other[b].begin == at) {
            take(other[b], theirs);
            at = other[b++].end;
            a += a < mine.size() && twice[a] && mine[a].begin < at ? 1 : 0;
        } else if (a < mine.size() && mine[a].begin == at) {
            take(mine[a], ours);
            at = mine[a++].end;
        } else {
            merged.push_back(base[at++]);
        }
    }
    if (merged.size() > kCapacity) {
        return std::nullopt;
    }
    return merged;
}

}  // namespace roster
