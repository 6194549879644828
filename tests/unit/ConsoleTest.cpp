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

std::string record(const std::string& name, int age = 25) {
    return name + "\nMath\n" + std::to_string(age) + " 70 180 3 0\n";
}

// The names, or with `byMajor` the majors, of the roster in its order.
std::string listed(const std::vector<Person>& persons, bool byMajor = false) {
    std::string list;
    for (const Person& p : persons) {
        list += byMajor ? p.getMajor() : p.getName() + ";";
    }
    return list;
}

Person tagged(const std::string& name, const char* tag, int height = 70, int weight = 150,
              double networth = 0) {
    return Person(name, 30, height, weight, 3, tag, networth);
}

TEST(ConsoleTest, LoadRoster) {
    const std::string loaded = "The file has been successfully loaded.\n";
    const std::string stopped = "Loading stopped at record ";
    std::string twenty, twentyNames;
    for (int i = 0; i < 20; ++i) {
        twenty += record("P" + std::to_string(i));
        twentyNames += "P" + std::to_string(i) + ";";
    }
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"", "", loaded},
        {record("A") + record("B") + "\n\n\n", "A;B;", loaded},
        {record("A") + "\n" + record("B") + record("C"), "A;",
         loaded + stopped + "2, which could not be read.\n"},
        {record("A") + "B\nMath\n2x 70 180 3 0\n" + record("C"), "A;",
         loaded + stopped + "2, which could not be read.\n"},
        {record("A") + record("B", 20) + "C\nMath\n25 70 180 abc 0\n" + record("D"), "A;",
         loaded + stopped + "3, which could not be read.\n"},
        {twenty, twentyNames, loaded},
        {twenty + record("Q") + record("R"), twentyNames,
         loaded + "The list is full; only the first 20 persons have been loaded.\n"},
        {twenty + record("Q", 20) + record("R", 121), twentyNames, loaded},
    };
    for (const auto& [text, names, output] : cases) {
        std::vector<Person> persons{tagged("Old, One", "A")};
        std::istringstream in(text);
        std::ostringstream out;
        loadRoster(persons, in, out);
        EXPECT_EQ(listed(persons), names) << text;
        EXPECT_EQ(out.str(), output) << text;
    }
}

TEST(ConsoleTest, FindPersonByNamePrefix) {
    const std::vector<Person> persons{tagged("Smithson, Ann", "A"), tagged("Smith, John", "B"),
                                      tagged("Smith, Anna", "C")};
    const std::pair<const char*, int> cases[] = {{"Smith", 0},    {"Smith,", 1},
                                                 {"Smith, A", 2}, {"Sm", 0},
                                                 {"smith", -1},   {"Smithson, Annabel", -1},
                                                 {"", 0}};
    for (const auto& [word, found] : cases) {
        EXPECT_EQ(findPerson(persons, word), found) << word;
    }
    EXPECT_EQ(findPerson({}, ""), -1);
}

// Sorts through the submenu and gives the persons' majors in the new order.
std::string sortBy(const char* input, std::vector<Person> persons) {
    std::istringstream in(input);
    std::ostringstream out;
    Session s(in, out);
    s.persons = std::move(persons);
    sortMenu(s);
    return listed(s.persons, true);
}

TEST(ConsoleTest, SortsKeepEqualKeysInRosterOrder) {
    const std::vector<Person> ties{tagged("Lee, Bo", "A", 70, 150, 500.25),
                                   tagged("Lee, Bo", "B", 70, 150, 1000),
                                   tagged("Kim, Al", "C", 72, 120, 500.25)};
    // The submenu drops one character before it reads: normally a line break.
    const std::pair<const char*, const char*> cases[] = {
        {"NC\n", "CAB"}, {"\ns\n", "CAB"}, {"\nB\n", "BAC"}, {"\nN\n", "CBA"}};
    for (const auto& [input, order] : cases) {
        EXPECT_EQ(sortBy(input, ties), order) << input;
    }
    EXPECT_EQ(sortBy("\nn\n", {tagged("Leeds, Al", "A"), tagged("de Vries, Jan", "B"),
                               tagged("Lee, Bo", "C"), tagged("Zimmer, Al", "D")}),
              "CADB");
    // Every key finds this full roster in exactly the reverse of its order.
    std::vector<Person> reversed;
    const std::string down = "TSRQPONMLKJIHGFEDCBA";
    for (int i = 0; i < 20; ++i) {
        reversed.push_back(tagged(down.substr(i), down.substr(i, 1).c_str(), 50 + i, 500 - i, i));
    }
    for (const char* input : {"\nN\n", "\nc\n", "\nS\n", "\nb\n"}) {
        EXPECT_EQ(sortBy(input, reversed), "ABCDEFGHIJKLMNOPQRST") << input;
    }
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
