#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "console/Commands.h"

namespace roster {
namespace {

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
