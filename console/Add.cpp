#include <ostream>
#include <string>
#include <utility>

#include "console/Commands.h"
#include "console/Input.h"

namespace roster {

// Builds a person from the answers and appends it. Input that ends part way
// adds nobody.
void addPerson(Session& s) {
    if (s.persons.size() >= kCapacity) {
        s.out << "There is no space left for the new person." << '\n';
        return;
    }
    discardOne(s.in);
    Person person;
    if (!askLine(s, "Enter name (lastname, firstname): ", "Provide a name.",
                 [&](std::string name) { return person.setName(std::move(name)); })) {
        return;
    }
    if (!askNumber<int>(s, rangePrompt("Enter age ", kAge, ": "), "Provide a valid age range.",
                        [&](int age) { return person.setAge(age); })) {
        return;
    }
    if (!askNumber<int>(s, rangePrompt("Enter height ", kHeight, ": "),
                        "Provide a valid height range.",
                        [&](int height) { return person.setHeight(height); })) {
        return;
    }
    if (!askNumber<double>(s, rangePrompt("Enter GPA ", kGPA, ": "), "Provide a valid GPA range.",
                           [&](double GPA) { return person.setGPA(GPA); })) {
        return;
    }
    discardOne(s.in);
    if (!askLine(s, "Enter Major: ", "Provide a valid major.",
                 [&](std::string major) { return person.setMajor(std::move(major)); })) {
        return;
    }
    if (!askNumber<double>(s, "Enter networth: ", "Provide a valid networth.",
                           [&](double networth) {
                               person.setNetworth(networth);
                               return true;
                           })) {
        return;
    }
    s.persons.push_back(std::move(person));
    s.out << "The new person has been successfully added." << '\n';
}

}  // namespace roster
