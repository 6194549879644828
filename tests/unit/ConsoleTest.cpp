#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
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

template <typename T>
void expectRead(const char* text, Answer answer, T value, const char* rest) {
    std::istringstream in(text);
    T read{};
    EXPECT_EQ(readNumber(in, read), answer) << text;
    if (answer == Answer::Accepted) {
        EXPECT_EQ(read, value) << text;
    }
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in.rdbuf()), {}), rest) << text;
}

TEST(ConsoleTest, ReadNumber) {
    for (const char* text : {"", "-", " \n "}) {
        expectRead<int>(text, Answer::Ended, 0, "");
        expectRead<double>(text, Answer::Ended, 0, "");
    }
    expectRead<int>("42\n", Answer::Accepted, 42, "\n");
    expectRead<int>("abc 5\n7\n", Answer::Refused, 0, "7\n");
    expectRead<int>("99999999999\n7\n", Answer::Refused, 0, "7\n");
    expectRead<int>("12abc", Answer::Accepted, 12, "abc");
    expectRead<double>("-1500.25\n", Answer::Accepted, -1500.25, "\n");
    expectRead<double>("abc 5\n7\n", Answer::Refused, 0.0, "7\n");
    expectRead<double>("1e999\n7\n", Answer::Refused, 0.0, "7\n");
    expectRead<double>("12abc", Answer::Accepted, 12.0, "abc");
}

}  // namespace
}  // namespace roster
