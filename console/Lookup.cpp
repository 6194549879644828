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

std::optional<std::size_t> lookUpPerson(Session& s, const char* notFound) {
    s.out << "Enter person's lastname: ";
    std::string lastname;
    if (!(s.in >> lastname)) {
        return std::nullopt;
    }
    const int found = findPerson(s.persons, lastname);
    if (found < 0) {
        s.out << notFound << '\n';
        return std::nullopt;
    }
    return static_cast<std::size_t>(found);
}

void removePerson(Session& s) {
    if (const auto found = lookUpPerson(s, "The person does not exist.")) {
        s.persons.erase(s.persons.begin() + static_cast<std::ptrdiff_t>(*found));
        s.out << "The person has been removed." << '\n';
    }
}

void searchPerson(Session& s) {
    if (const auto found = lookUpPerson(s, "Cannot find the person with the given last name.")) {
        s.out << "Search successful, the index of the person is " << *found << '\n';
    }
}

}  // namespace roster
