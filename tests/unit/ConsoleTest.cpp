#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "console/Commands.h"
#include "console/Input.h"

namespace roster {
namespace {

Person named(const std::string& name) {
    return Person(name, 30, 70, 150, 3, "Math", 0);
}

TEST(ConsoleTest, FindPersonByNamePrefix) {
    const std::vector<Person> persons{named("Smithson, Ann"), named("Smith, John"),
                                      named("Smith, Anna")};
    const std::pair<const char*, int> cases[] = {{"Smith", 0},    {"Smith,", 1},
                                                 {"Smith, A", 2}, {"Sm", 0},
                                                 {"smith", -1},   {"Smithson, Annabel", -1},
                                                 {"", 0}};
    for (const auto& [word, found] : cases) {
        EXPECT_EQ(findPerson(persons, word), found) << word;
    }
    EXPECT_EQ(findPerson({}, ""), -1);
}

// What a number means as an answer; how numbers themselves read is the
// number reader's own test.
template <typename T>
void expectAnswer(const char* text, Answer answer, const char* rest) {
    std::istringstream in(text);
    T read{};
    EXPECT_EQ(readNumber(in, read), answer) << text;
    if (answer == Answer::Accepted) {
        EXPECT_EQ(read, 42) << text;
    }
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in.rdbuf()), {}), rest) << text;
}

TEST(ConsoleTest, ReadNumberTellsAcceptedRefusedOrEnded) {
    const std::tuple<const char*, Answer, const char*> cases[] = {
        {"42\n", Answer::Accepted, "\n"},
        // A refused answer takes the rest of its line with it.
        {"abc 5\n7\n", Answer::Refused, "7\n"},
        {"-\n7\n", Answer::Refused, "7\n"},
        {"", Answer::Ended, ""},
        {" \n ", Answer::Ended, ""},
        {"-", Answer::Ended, ""},
    };
    for (const auto& [text, answer, rest] : cases) {
        expectAnswer<int>(text, answer, rest);
        expectAnswer<double>(text, answer, rest);
    }
}

// Every roster the program can hold reads back from the file it is saved
// as: the same persons in the same order, every field bit for bit.
TEST(ConsoleTest, SavedRosterReadsBackBitForBit) {
    const std::string texts[] = {"Smith, John",      "",           " ",
                                 "Müller, Jürgen",   "王, 小明",   std::string(3000, 'x'),
                                 "\xEF\xBB\xBFMark", "a\tb\rc\x01"};
    constexpr double kMax = 1.7976931348623157e308;
    const double extremes[] = {-0.0, 1e-320, 4.9e-324, 1.7976931348623157e308, 0.1, 4.0};
    std::mt19937_64 random(15);
    const auto any = [&](const auto& from) { return from[random() % std::size(from)]; };
    // Extremes and any other value of the range, each half of the time.
    const auto anyReal = [&](double low, double high) {
        for (;;) {
            double value = any(extremes);
            if (random() % 2 != 0) {
                const std::uint64_t raw = random();
                std::memcpy(&value, &raw, sizeof value);
            }
            if (low <= value && value <= high) {
                return value;
            }
        }
    };
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (int round = 0; round < 300; ++round) {
        std::vector<Person> persons;
        for (auto n = random() % 21; n > 0; --n) {
            persons.emplace_back(any(texts), static_cast<int>(21 + random() % 100),
                                 static_cast<int>(50 + random() % 36),
                                 random() % 2 != 0 ? 0 : static_cast<int>(100 + random() % 401),
                                 anyReal(0.0, 4.0), any(texts),
                                 anyReal(-kMax, kMax) * (random() % 2 != 0 ? -1 : 1));
        }
        std::istringstream in(rosterBytes(persons));
        skipByteOrderMark(in);
        std::vector<Person> read;
        ASSERT_EQ(readRoster(in, read, true, true).stop, RosterRead::End) << in.str();
        ASSERT_EQ(read.size(), persons.size());
        for (std::size_t i = 0; i < read.size(); ++i) {
            const Person& a = read[i];
            const Person& b = persons[i];
            EXPECT_TRUE(a.getName() == b.getName() && a.getMajor() == b.getMajor() &&
                        a.getAge() == b.getAge() && a.getHeight() == b.getHeight() &&
                        a.getWeight() == b.getWeight() && same(a.getGPA(), b.getGPA()) &&
                        same(a.getNetworth(), b.getNetworth()))
                << i << " of\n"
                << in.str();
        }
    }
}

}  // namespace
}  // namespace roster
