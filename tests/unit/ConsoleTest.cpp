#include <gtest/gtest.h>

#include <iterator>
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

}  // namespace
}  // namespace roster
