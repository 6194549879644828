#include <cstring>
#include <istream>
#include <ostream>

#include "console/Commands.h"

namespace roster {

int findPerson(const std::vector<Person>& persons, const std::string& lastname) {
    for (std::size_t i = 0; i < persons.size(); ++i) {
        if (std::strncmp(persons[i].getName().c_str(), lastname.c_str(), lastname.size()) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<int> lookUpPerson(Session& s) {
    s.out << "Enter person's lastname: ";
    std::string lastname;
    if (!(s.in >> lastname)) {
        return std::nullopt;
    }
    return findPerson(s.persons, lastname);
}

void removePerson(Session& s) {
    const std::optional<int> found = lookUpPerson(s);
    if (!found) {
        return;
    }
    if (*found < 0) {
        s.out << "The person does not exist." << '\n';
        return;
    }
    s.persons.erase(s.persons.begin() + *found);
    s.out << "The person has been removed." << '\n';
}

void searchPerson(Session& s) {
    const std::optional<int> found = lookUpPerson(s);
    if (!found) {
        return;
    }
    if (*found < 0) {
        s.out << "Cannot find the person with the given last name." << '\n';
        return;
    }
    s.out << "Search successful, the index of the person is " << *found << '\n';
}

}  // namespace roster
