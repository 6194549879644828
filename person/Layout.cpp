#include <iomanip>
#include <iostream>

#include "person/Person.h"

namespace roster {

std::ostream& printHeader(std::ostream& out) {
    return out << std::left << std::setw(20) << "Name" << std::setw(20) << "Major" << std::setw(10)
               << "Average" << std::setw(10) << "Height" << std::setw(10) << "Age" << std::setw(10)
               << "Net Worth";
}

std::ostream& Person::printRow(std::ostream& out) const {
    return out << std::fixed << std::left << std::setw(20) << name << std::setw(20) << major
               << std::setw(10) << letterGrade() << std::setw(10) << heightText() << std::setw(10)
               << age << '$' << std::setw(10) << networth;
}

std::ostream& Person::printRow() const {
    return printRow(std::cout);
}

void Person::printDetails(std::ostream& out) const {
    out << std::fixed << std::left << "Name:" << std::setw(15) << name << '\n'
        << "Net worth:" << std::setw(15) << networth << '\n'
        << "GPA:" << std::setw(15) << GPA << '\n';
}

void Person::printDetails() const {
    printDetails(std::cout);
}

}  // namespace roster
