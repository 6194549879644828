// One entry of the roster: seven facts about a person, the rules that four of
// them obey, and the two ways a person is shown.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace roster {

// What reading one record from a roster file found.
struct RecordRead {
    enum Outcome {
        Complete,    // every field was read; the rules may still fail
        ExtraText,   // complete, but more than blanks followed the net worth
        Unreadable,  // a field could not be read; the stream is failed
        Nothing,     // only whitespace was left before the end of the file
    };
    Outcome outcome = Complete;
    int field = 0;          // the field that could not be read: 0 the name, 6 the net worth
    std::size_t lines = 0;  // the line ends the record took up, when counted
    // When counted, the line each field's value stands on, the record's
    // first line being 0; for a field that the file ends before, the
    // file's last line.
    std::size_t fieldLines[7] = {};
    bool lineEnded = false;  // the last character read ended a line, when counted
};

class Person {
  public:
    // A blank person: empty texts, every number 0.
    Person() = default;
    // Stores the seven values as given; no rule is tested.
    Person(std::string name, int age, int height, int weight, double GPA, std::string major,
           double networth);

    bool isValidAge() const;
    bool isValidHeight() const;
    bool isValidWeight() const;
    bool isValidGPA() const;
    // The four rules above, tested in that order. A person added at the
    // console has no weight yet: `blankWeight` lets its weight 0 pass.
    bool isValid(bool blankWeight = false) const;

    // Each guarded setter stores the value and returns true when it obeys the
    // field's rule; otherwise it returns false and the person is unchanged.
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

    // Reads one roster-file record (name line, major line, then age, height,
    // weight, GPA and net worth) straight into the fields, and returns whether
    // age, height, weight and GPA obey their rules. A read that fails leaves
    // the stream failed and the fields it did not reach as they were.
    bool readRecord(std::istream& in);

    // The table row: name, major, letter grade, height, age, "$" and net worth,
    // without a line end. Sets left alignment and fixed notation on `out`.
    std::ostream& printRow(std::ostream& out) const;
    std::ostream& printRow() const;
    // The three labelled lines: name, net worth and GPA.
    void printDetails(std::ostream& out) const;
    void printDetails() const;

  private:
    friend RecordRead readRecordFrom(std::istream& in, Person& person, bool countLines);
    template <typename T>
    bool storeIf(T& field, T value, bool (Person::*rule)() const);

    std::string name;
    int age = 0;
    int height = 0;
    int weight = 0;
    double GPA = 0.0;
    std::string major;
    double networth = 0.0;
};

// Reads one record into `person` exactly as Person::readRecord does, and tells
// the loader whether the record could be read at all; the line ends it took
// up are counted only when asked.
RecordRead readRecordFrom(std::istream& in, Person& person, bool countLines = false);

// The table's header line, without a line end. Sets left alignment on `out`.
std::ostream& printHeader(std::ostream& out);

}  // namespace roster
