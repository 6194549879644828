// One entry of the roster: seven facts about a person, the rules that four of
// them obey, and the two ways a person is shown.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "person/Rules.h"

namespace roster {

class Person {
  public:
    // A blank person: empty texts, every number 0.
    Person() = default;
    // Stores the seven values as given; no rule is tested.
    Person(std::string name, int age, int height, int weight, double GPA, std::string major,
           double networth);

    // The first of age, height, weight and GPA that breaks its rule under
    // `rules`, or kFieldCount when none does.
    Field brokenRule(Rules rules = Rules::Plain) const;
    bool isValid(Rules rules = Rules::Plain) const { return brokenRule(rules) == kFieldCount; }

    // Each guarded setter stores the value and returns true when it obeys the
    // field's rule (see kFieldRules); otherwise it returns false and the
    // person is unchanged. A name or a major must not be empty.
    bool setName(std::string name);
    bool setAge(int age);
    bool setHeight(int height);
    bool setWeight(int weight);
    bool setGPA(double GPA);
    bool setMajor(std::string major);
    void setNetworth(double networth);

    const std::string& getName() const { return name; }
    const std::string& getMajor() const { return major; }
    int getAge() const { return age; }
    int getHeight() const { return height; }
    int getWeight() const { return weight; }
    double getGPA() const { return GPA; }
    double getNetworth() const { return networth; }

    // "A", "B", "C", "D" or "F"; a GPA between two bands takes the lower letter.
    char letterGrade() const;
    // Feet and inches, such as 5'10".
    std::string heightText() const;

    // The value of a numeric field.
    double valueOf(Field field) const;

    // The table row: name, major, letter grade, height, age, "$" and net worth,
    // without a line end. Sets left alignment and fixed notation on `out`.
    std::ostream& printRow(std::ostream& out) const;
    // The three labelled lines: name, net worth and GPA.
    void printDetails(std::ostream& out) const;

  private:
    template <typename T>
    bool storeIf(T& field, T value, Field rule);

    std::string name;
    int age = 0;
    int height = 0;
    int weight = 0;
    double GPA = 0.0;
    std::string major;
    double networth = 0.0;
};

// The table's header line, without a line end. Sets left alignment on `out`.
std::ostream& printHeader(std::ostream& out);

// Marks `out` as writing to a terminal, which would obey control
// characters: the names and majors written to it are shown as appendShown
// shows them, and their widths count what is shown.
void markTerminal(std::ostream& out);
bool writesToTerminal(std::ostream& out);

}  // namespace roster
