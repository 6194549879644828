#include <istream>
#include <ostream>
#include <string>
#include <utility>

#include "console/Commands.h"
#include "console/Input.h"
#include "console/Menu.h"

namespace roster {

namespace {

struct EditTexts {
    const char* prompt;
    const char* stored;
    const char* refused;
};

// Reads one number and offers it to the person; a refused answer or a value
// outside the rule leaves the person as it was. Silent when input ended.
template <typename T, typename Apply>
void editNumber(Session& s, const EditTexts& texts, Apply apply) {
    s.out << texts.prompt;
    T value{};
    const Answer answer = readNumber(s.in, value);
    if (answer == Answer::Ended) {
        return;
    }
    s.out << (answer == Answer::Accepted && apply(value) ? texts.stored : texts.refused) << '\n';
}

void editHeight(Session& s, Person& person) {
    editNumber<int>(s,
                    {"Enter a new height (50 - 85): ", "The height of the person has been update.",
                     "The height you have provided is invalid."},
                    [&](int height) { return person.setHeight(height); });
}

void editWeight(Session& s, Person& person) {
    editNumber<int>(
        s,
        {"Enter a new weight (100 - 500): ", "The weight of the person has been update.",
         "The weight you have provided is invalid."},
        [&](int weight) { return person.setWeight(weight); });
}

void editAge(Session& s, Person& person) {
    editNumber<int>(s,
                    {"Enter a new age (21 - 120): ", "The age of the person has been updated.",
                     "The age you have provided is invalid."},
                    [&](int age) { return person.setAge(age); });
}

void editGPA(Session& s, Person& person) {
    editNumber<double>(s,
                       {"Enter a new GPA (0 - 4)", "The GPA of the person has been updated.",
                        "The GPA you have provided is invalid."},
                       [&](double GPA) { return person.setGPA(GPA); });
}

void editMajor(Session& s, Person& person) {
    discardOne(s.in);
    s.out << "Enter a new major: ";
    std::string major;
    if (!std::getline(s.in, major)) {
        return;
    }
    s.out << (person.setMajor(std::move(major)) ? "The major of the person has been updated."
                                                : "The major you have provided is invalid.")
          << '\n';
}

void editNetworth(Session& s, Person& person) {
    editNumber<double>(s,
                       {"Enter a new networth: ", "The networth of the person has been updated.",
                        "The networth you have provided is invalid."},
                       [&](double netWorth) {
                           person.setNetworth(netWorth);
                           return true;
                       });
}

struct EditRow {
    char letter;
    const char* text;
    void (*run)(Session&, Person&);
};

const EditRow kEditMenu[] = {
    {'1', "Update Height", editHeight}, {'2', "Update Weight", editWeight},
    {'3', "Update Age", editAge},       {'4', "Update GPA", editGPA},
    {'5', "Update Major", editMajor},   {'6', "Update Networth", editNetworth},
};

}  // namespace

void editPerson(Session& s) {
    const std::optional<int> found = lookUpPerson(s);
    if (!found) {
        return;
    }
    if (*found < 0) {
        s.out << "The person with the last name you have provided cannot be found." << '\n';
        return;
    }
    Person& person = s.persons[static_cast<std::size_t>(*found)];
    if (const EditRow* row = askSubmenu(s, kEditMenu)) {
        row->run(s, person);
    }
}

}  // namespace roster
