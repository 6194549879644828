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
    double low;        // whole numbers both
    double high;
    bool blankWhenKept;  // whether 0 passes too in a kept roster
};

// Each field's rule; the ranged ones are tested in the order age, height,
// weight, GPA.
inline constexpr FieldRule kFieldRules[kFieldCount] = {
    {"Name", false, 0, 0, false},      {"Major", false, 0, 0, false},
    {"Age", true, 21, 120, false},     {"Height", true, 50, 85, false},
    {"Weight", true, 100, 500, true},  {"GPA", true, 0, 4, false},
    {"Net worth", false, 0, 0, false},
};

inline const char* fieldName(Field field) {
    return kFieldRules[field].name;
}

// Whether `value` obeys the rule of `field` under `rules`. A value that is
// not a number obeys no range.
inline bool obeysRule(Field field, double value, Rules rules = Rules::Plain) {
    const FieldRule& rule = kFieldRules[field];
    return !rule.ranged || (rule.low <= value && value <= rule.high) ||
           (rules == Rules::Kept && rule.blankWhenKept && value == 0);
}

// The first of age, height, weight and GPA whose value, as
// `values.valueOf(field)` gives it, breaks its rule under `rules`; or
// kFieldCount when none does.
template <typename Values>
Field firstBrokenRule(const Values& values, Rules rules) {
    for (const Field field : {kAge, kHeight, kWeight, kGPA}) {
        if (!obeysRule(field, values.valueOf(field), rules)) {
            return field;
        }
    }
    return kFieldCount;
}

// The range of a ranged field with `between` between its ends, such as
// "21 - 120" or "21 and 120".
std::string rangeText(Field field, const char* between);

}  // namespace roster
