#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/Merge.h"

namespace roster {
namespace {

// A roster written as letters, one person each; persons with different
// letters differ (a small letter is its capital edited).
std::vector<Person> roster(const std::string& letters) {
    std::vector<Person> persons;
    for (const char letter : letters) {
        persons.emplace_back(std::string(1, letter), 30, 70, 150, 3.0, "Math", 0.0);
    }
    return persons;
}

std::string letters(const std::vector<Person>& persons) {
    std::string text;
    for (const Person& person : persons) {
        text += person.getName();
    }
    return text;
}

TEST(MergeTest, TakesEachSidesChangesAsAThreeWayMergeOfLines) {
    struct Case {
        const char* base;
        const char* ours;
        const char* theirs;
        const char* merged;  // "!" for a conflict; "X|Y": either is right
    };
    const Case cases[] = {
        {"ABC", "AbC", "ABC", "AbC"},         // only ours changed
        {"ABC", "ABC", "ABc", "ABc"},         // only theirs changed
        {"ABC", "AbC", "AbC", "AbC"},         // the same change on both sides, once
        {"ABC", "AC", "AC", "AC"},            // the same removal
        {"ABCD", "aBCd", "aBCD", "aBCd"},     // the same change, then one of ours
        {"ABC", "aBC", "ABc", "aBc"},         // different persons
        {"ABC", "aBC", "AbC", "abC"},         // stretches that touch both apply
        {"ABC", "C", "AB", ""},               // removals that touch
        {"ABCD", "AD", "ABD", "!"},           // removals that overlap differ
        {"AB", "ABX", "ABY", "ABYX"},         // additions at one place: theirs first
        {"AB", "XAB", "YAB", "YXAB"},         // also at the start
        {"AB", "ABX", "ABX", "ABX"},          // the same addition, once
        {"ABC", "AXBC", "AbC", "AXbC"},       // an addition before a replacement there
        {"ABC", "AbC", "AXBC", "AXbC"},       // whichever side makes which
        {"ABC", "AbC", "ABXC", "AbXC"},       // an addition where a replacement ends
        {"ABC", "AC", "AXBC", "AXC"},         // an addition where a removal begins
        {"ABC", "AxC", "AyC", "!"},           // one person changed differently
        {"ABC", "AC", "AbC", "!"},            // one removed whom the other changed
        {"ABCD", "AbcD", "ABXCD", "!"},       // an addition inside a replaced stretch
        {"", "X", "Y", "YX"},                 // a file that appeared meanwhile
        {"AB", "AB", "", ""},                 // theirs removed everyone
        {"AAB", "AB", "AABX", "ABX"},         // equal persons: none lost or doubled
        {"ABC", "CBA", "ABCD", "CDBA|CBAD"},  // a sort, and an addition
        {"ABCDEFGHIJKLMNOPQR", "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRT",
         "ABCDEFGHIJKLMNOPQRTS"},                                                      // 20 persons
        {"ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRSU", "!"},  // 21
    };
    for (const Case& c : cases) {
        const auto merged = mergeRosters(roster(c.base), roster(c.ours), roster(c.theirs));
        const std::string got = merged ? letters(*merged) : "!";
        const std::string expected = c.merged;
        EXPECT_TRUE(("|" + expected + "|").find("|" + got + "|") != std::string::npos)
            << c.base << " + " << c.ours << " + " << c.theirs << " gave " << got << ", not "
            << expected;
    }
}

TEST(MergeTest, PersonsAreTheSameOnlyInAllSevenFieldsBitForBit) {
    // Smith with the field numbered `changed` changed; none for 7.
    const auto smith = [](int changed) {
        return Person(changed == 0 ? "Smith, Jon" : "Smith, John", changed == 1 ? 26 : 25,
                      changed == 2 ? 71 : 70, changed == 3 ? 0 : 180, changed == 4 ? 3.4 : 3.5,
                      changed == 5 ? "Art" : "Math", changed == 6 ? -0.0 : 0.0);
    };
    for (int changed = 0; changed <= 7; ++changed) {
        EXPECT_EQ(samePerson(smith(7), smith(changed)), changed == 7) << "field " << changed;
    }
}

}  // namespace
}  // namespace roster
