// What a person holds and the rules it obeys, in one table: the seven
// fields, the range of each field that has one, the exception for a roster
// kept in a file, and how many persons a roster holds. The setters, both
// file readers, the prompts and the messages all ask this table.
#pragma once

#include <cstddef>
#include <string>

namespace roster {

// A roster never holds more persons than this, in memory or in a file.
constexpr std::size_t kCapacity = 20;

// The fields of a person in the order a record holds them.
enum Field { kName, kMajor, kAge, kHeight, kWeight, kGPA, kNetworth, kFieldCount };

// Which rules a roster obeys: those of every roster, or those of one kept
// in a file, where a person added at the console has no weight yet (0).
enum class Rules { Plain, Kept };

struct FieldRule {
    const char* name;  // as files and messages give it
    bool ranged;       // whether the value must lie between `low` and `high`, both included
    double low;
    double high;
    bool blankWhenKept;  // whether 0 passes too in a kept roster
};

// Each field's rule; the ranged ones are tested in the order age, height,
// weight, GPA.
extern const FieldRule kFieldRules[kFieldCount];

inline const char* fieldName(Field field) {
    return kFieldRules[field].name;
}

// Whether `value` obeys the rule of `field` under `rules`. A value that is
// not a number obeys no range.
bool obeysRule(Field field, double value, Rules rules = Rules::Plain);

// The range of a ranged field with `between` between its ends, such as
// "21 - 120" or "21 and 120".
std::string rangeText(Field field, const char* between);

}  // namespace roster
