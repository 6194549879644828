#include "person/Rules.h"

#include <charconv>

namespace roster {

const FieldRule kFieldRules[kFieldCount] = {
    {"Name", false, 0, 0, false},      {"Major", false, 0, 0, false},
    {"Age", true, 21, 120, false},     {"Height", true, 50, 85, false},
    {"Weight", true, 100, 500, true},  {"GPA", true, 0, 4, false},
    {"Net worth", false, 0, 0, false},
};

bool obeysRule(Field field, double value, Rules rules) {
    const FieldRule& rule = kFieldRules[field];
    return !rule.ranged || (rule.low <= value && value <= rule.high) ||
           (rules == Rules::Kept && rule.blankWhenKept && value == 0);
}

std::string rangeText(Field field, const char* between) {
    const auto shown = [](double value) {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    };
    return shown(kFieldRules[field].low) + between + shown(kFieldRules[field].high);
}

}  // namespace roster
