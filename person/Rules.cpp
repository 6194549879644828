#include "person/Rules.h"

#include <string>

namespace roster {

// The ends of every range are whole numbers, and are shown so: the
// shortest form of a real would need tables that a start-up which writes
// no real would not touch otherwise.
std::string rangeText(Field field, const char* between) {
    const auto shown = [](double value) { return std::to_string(static_cast<long>(value)); };
    return shown(kFieldRules[field].low) + between + shown(kFieldRules[field].high);
}

}  // namespace roster
