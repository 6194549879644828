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

Field Person::brokenRule(Rules rules) const {
    return firstBrokenRule(*this, rules);
}

double Person::valueOf(Field field) const {
    switch (field) {
        case kAge:
            return age;
        case kHeight:
            return height;
        case kWeight:
            return weight;
        case kGPA:
            return GPA;
        default:
            return networth;
    }
}

// Stores the value when the field's rule takes it.
template <typename T>
bool Person::storeIf(T& field, T value, Field rule) {
    if (!obeysRule(rule, static_cast<double>(value))) {
        return false;
    }
    field = value;
    return true;
}

bool Person::setAge(int value) {
    return storeIf(age, value, kAge);
}
bool Person::setHeight(int value) {
    return storeIf(height, value, kHeight);
}
bool Person::setWeight(int value) {
    return storeIf(weight, value, kWeight);
}
bool Person::setGPA(double value) {
    return storeIf(GPA, value, kGPA);
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
