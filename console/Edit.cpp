#include <istream>
#include <ostream>
#include <string>
#include <utility>

#include "console/Commands.h"
#include "console/Input.h"
#include "console/Menu.h"

namespace roster {

namespace {

enum class Outcome { Stored, Refused, Ended };

// Asks for a number and offers it to the setter; an answer that is no number
// is refused like a value outside the rule.
template <typename T, bool (Person::*set)(T)>
Outcome editNumber(Session& s, Person& person, const std::string& prompt) {
    s.out << prompt;
    T value{};
    const Answer answer = readNumber(s.in, value);
    if (answer == Answer::Ended) {
        return Outcome::Ended;
    }
    return answer == Answer::Accepted && (person.*set)(value) ? Outcome::Stored : Outcome::Refused;
}

Outcome editNetworth(Session& s, Person& person, const std::string& prompt) {
    s.out << prompt;
    double netWorth = 0.0;
    const Answer answer = readNumber(s.in, netWorth);
    if (answer == Answer::Accepted) {
        person.setNetworth(netWorth);
        return Outcome::Stored;
    }
    return answer == Answer::Ended ? Outcome::Ended : Outcome::Refused;
}

Outcome editMajor(Session& s, Person& person, const std::string& prompt) {
    discardOne(s.in);
    s.out << prompt;
    std::string major;
    if (!std::getline(s.in, major)) {
        return Outcome::Ended;
    }
    return person.setMajor(std::move(major)) ? Outcome::Stored : Outcome::Refused;
}

struct EditRow {
    char letter;
    const char* text;
    Outcome (*edit)(Session&, Person&, const std::string& prompt);
    std::string prompt;
    const char* stored;
    const char* refused;
};

const EditRow kEditMenu[] = {
    {'1', "Update Height", editNumber<int, &Person::setHeight>,
     rangePrompt("Enter a new height ", kHeight, ": "), "The height of the person has been update.",
     "The height you have provided is invalid."},
    {'2', "Update Weight", editNumber<int, &Person::setWeight>,
     rangePrompt("Enter a new weight ", kWeight, ": "), "The weight of the person has been update.",
     "The weight you have provided is invalid."},
    {'3', "Update Age", editNumber<int, &Person::setAge>,
     rangePrompt("Enter a new age ", kAge, ": "), "The age of the person has been updated.",
     "The age you have provided is invalid."},
    {'4', "Update GPA", editNumber<double, &Person::setGPA>,
     rangePrompt("Enter a new GPA ", kGPA, ""), "The GPA of the person has been updated.",
     "The GPA you have provided is invalid."},
    {'5', "Update Major", editMajor, "Enter a new major: ",
     "The major of the person has been updated.", "The major you have provided is invalid."},
    {'6', "Update Networth", editNetworth, "Enter a new networth: ",
     "The networth of the person has been updated.", "The networth you have provided is invalid."},
};

}  // namespace

// Changes one field of the first person whose name begins with the typed
// word, in place; one attempt, then back to the menu.
void editPerson(Session& s) {
    const auto found =
        lookUpPerson(s, "The person with the last name you have provided cannot be found.");
    if (!found) {
        return;
    }
    Person& person = s.persons[*found];
    const EditRow* row = askSubmenu(s, kEditMenu);
    if (row == nullptr) {
        return;
    }
    const Outcome outcome = row->edit(s, person, row->prompt);
    if (outcome != Outcome::Ended) {
        s.out << (outcome == Outcome::Stored ? row->stored : row->refused) << '\n';
    }
}

}  // namespace roster
