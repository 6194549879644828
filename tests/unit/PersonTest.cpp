#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "base/Text.h"
#include "formats/Merge.h"
#include "person/Person.h"

namespace roster {
namespace {

const Person kSmith("Smith, John", 25, 70, 180, 3.5, "Computer Science", 15000);

TEST(PersonTest, SettersTakeBothBoundsAndRefuseJustOutsideWithoutChange) {
    using Setter = bool (*)(Person&, double);
    const std::tuple<Setter, double, double, double> rules[] = {
        {[](Person& p, double v) { return p.setAge(static_cast<int>(v)); }, 21, 120, 1},
        {[](Person& p, double v) { return p.setHeight(static_cast<int>(v)); }, 50, 85, 1},
        {[](Person& p, double v) { return p.setWeight(static_cast<int>(v)); }, 100, 500, 1},
        {[](Person& p, double v) { return p.setGPA(v); }, 0, 4, 0.01},
    };
    for (const auto& [set, low, high, step] : rules) {
        for (double v : {low, high, low - step, high + step}) {
            Person p = kSmith;
            const bool valid = low <= v && v <= high;
            EXPECT_EQ(set(p, v), valid) << v;
            EXPECT_EQ(samePerson(p, kSmith), !valid) << v;
        }
    }
    Person nanGPA = kSmith;
    EXPECT_FALSE(nanGPA.setGPA(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(samePerson(nanGPA, kSmith));
    for (auto set : {&Person::setName, &Person::setMajor}) {
        Person p = kSmith;
        EXPECT_FALSE((p.*set)(""));
        EXPECT_TRUE(samePerson(p, kSmith));
        EXPECT_TRUE((p.*set)(" "));
        EXPECT_TRUE(p.getName() == " " || p.getMajor() == " ");
    }
}

TEST(PersonTest, LetterGradeAndHeightText) {
    const std::pair<double, char> grades[] = {
        {0.0, 'F'}, {0.6, 'F'},  {0.65, 'F'}, {0.7, 'D'}, {1.3, 'D'},  {1.35, 'D'}, {1.4, 'C'},
        {2.3, 'C'}, {2.35, 'C'}, {2.4, 'B'},  {3.3, 'B'}, {3.31, 'A'}, {4.0, 'A'},  {-0.5, 'F'}};
    for (const auto& [gpa, letter] : grades) {
        EXPECT_EQ(Person("", 0, 0, 0, gpa, "", 0).letterGrade(), letter) << gpa;
    }
    const std::pair<int, const char*> heights[] = {{70, "5'10\""}, {72, "6'0\""}, {50, "4'2\""},
                                                   {85, "7'1\""},  {0, "0'0\""},  {-13, "-1'-1\""}};
    for (const auto& [height, text] : heights) {
        EXPECT_EQ(Person("", 0, height, 0, 0, "", 0).heightText(), text);
    }
}

TEST(PersonTest, DisplayWidthCountsColumnsOnTheScreen) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"Smith, John", 11},
        {"M\u00fcller, J\u00fcrgen \u00a9", 16},  // accents and a sign, two bytes each
        {"Zoe\u0301 \u200d\ufe0f", 4},            // a combining accent, a joiner, a selector
        {"\u738b, \u5c0f\u660e", 8},              // CJK, two columns each
        {"\U0001F642\U0001F9D1\U00020000\U0010FFFD", 7},  // emoji, far CJK, the last plane
        {"\u1100\u115f\u1160\uffe6\uffe7", 8},            // the edges of wide ranges
        {"M\xfcller", 6},                                 // Latin-1
        {"\xe4\xb8 \xc0\xaf \xe0\x80\xaf \xf0\x80\x80\xaf \xed\xa0\x80 \xf4\x90\x80\x80 \xff",
         25},  // cut off, overlong, a surrogate, past U+10FFFF
        {"Abcdefghijklmnopqr\u738b", 20},
    };
    for (const auto& [text, columns] : cases) {
        EXPECT_EQ(displayWidth(text), columns) << text;
    }
}

}  // namespace
}  // namespace roster
