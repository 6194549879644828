#include "person/Person.h"

#include <string>
#include <utility>

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

bool Person::isValid(bool blankWeight) const {
    return isValidAge() && isValidHeight() && (isValidWeight() || (blankWeight && weight == 0)) &&
           isValidGPA();
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

}  // namespace roster
