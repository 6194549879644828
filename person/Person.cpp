#include "person/Person.h"

#include <iomanip>
#include <iostream>
#include <istream>
#include <limits>
#include <utility>

#include "person/Number.h"

namespace roster {

Person::Person(std::string nameValue, int ageValue, int heightValue, int weightValue,
               double GPAValue, std::string majorValue, double networthValue)
    : name(std::move(nameValue)),
      age(ageValue),
      height(heightValue),
      weight(weightValue),
      GPA(GPAValue),
      major(std::move(majorValue)),
      networth(networthValue) {}

bool Person::isValidAge() const {
    return 21 <= age && age <= 120;
}
bool Person::isValidHeight() const {
    return 50 <= height && height <= 85;
}
bool Person::isValidWeight() const {
    return 100 <= weight && weight <= 500;
}
bool Person::isValidGPA() const {
    return 0.0 <= GPA && GPA <= 4.0;
}

bool Person::isValid() const {
    return isValidAge() && isValidHeight() && isValidWeight() && isValidGPA();
}

// Stores the value, then puts the old one back if the rule refuses it.
template <typename T>
bool Person::storeIf(T& field, T value, bool (Person::*rule)() const) {
    const T previous = field;
    field = value;
    if ((this->*rule)()) {
        return true;
    }
    field = previous;
    return false;
}

bool Person::setAge(int value) {
    return storeIf(age, value, &Person::isValidAge);
}
bool Person::setHeight(int value) {
    return storeIf(height, value, &Person::isValidHeight);
}
bool Person::setWeight(int value) {
    return storeIf(weight, value, &Person::isValidWeight);
}
bool Person::setGPA(double value) {
    return storeIf(GPA, value, &Person::isValidGPA);
}

bool Person::setName(std::string value) {
    if (value.empty()) {
        return false;
    }
    name = std::move(value);
    return true;
}

bool Person::setMajor(std::string value) {
    if (value.empty()) {
        return false;
    }
    major = std::move(value);
    return true;
}

void Person::setNetworth(double value) {
    networth = value;
}

char Person::letterGrade() const {
    // Each band reaches up to the next one, so a GPA between two bands gets
    // the lower letter; a negative or undefined GPA gets "F".
    if (!(GPA >= 0.7)) {
        return 'F';
    }
    if (GPA < 1.4) {
        return 'D';
    }
    if (GPA < 2.4) {
        return 'C';
    }
    if (GPA <= 3.3) {
        return 'B';
    }
    return 'A';
}

std::string Person::heightText() const {
    const int feet = height / 12;
    const int inches = height - 12 * feet;
    return std::to_string(feet) + '\'' + std::to_string(inches) + '"';
}

namespace {

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\n\v\f\r") == std::string::npos;
}

// A whole line; a carriage return before the line feed belongs to the line end.
void readLine(std::istream& in, std::string& field) {
    if (std::getline(in, field) && !field.empty() && field.back() == '\r') {
        field.pop_back();
    }
}

// A number is stored only when it was read whole; a failed read keeps the field.
template <typename T>
void readNumber(std::istream& in, T& field) {
    T value{};
    if (in >> number(value)) {
        field = value;
    }
}

}  // namespace

RecordRead readRecordFrom(std::istream& in, Person& person) {
    readLine(in, person.name);
    readLine(in, person.major);
    // Whitespace alone up to the end of the file is no record at all.
    bool nothing = false;
    if (isBlank(person.name) && isBlank(person.major)) {
        if (in.good()) {
            in >> std::ws;
        }
        nothing = in.eof();
    }
    readNumber(in, person.age);
    readNumber(in, person.height);
    readNumber(in, person.weight);
    readNumber(in, person.GPA);
    readNumber(in, person.networth);
    // The rest of the net worth line is not part of the record. At the end
    // of the file there is no rest, and reading it would fail the stream.
    if (in.good()) {
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    if (!in.fail()) {
        return RecordRead::Complete;
    }
    return nothing ? RecordRead::Nothing : RecordRead::Unreadable;
}

bool Person::readRecord(std::istream& in) {
    readRecordFrom(in, *this);
    return isValid();
}

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
