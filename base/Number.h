// Reading whole and real numbers from a stream, the same way whichever
// standard library builds the program.
//
// The libraries' own formatted extraction differs in what it takes ("12abc",
// "nan", "0x1A"); these readers follow one set of rules everywhere:
// - leading whitespace is skipped; when the input ends first, the read fails
//   with end-of-file set;
// - a whole number is an optional sign and decimal digits; a real number is
//   an optional sign, digits with at most one point, then optionally "e" or
//   "E" (only after a digit), an optional sign and digits;
// - reading stops at the first character that cannot continue the number,
//   and that character stays in the input; what was taken must form a
//   number ("-", ".", "1e+" do not), or the read fails;
// - a value beyond the type's range fails; a real too small to represent
//   reads as zero; "nan", "inf" and hexadecimal forms are never numbers;
// - reals are correctly rounded and the locale plays no part.
// On failure the value becomes 0, or the type's largest value of the sign
// read when the number was too large. End-of-file is set whenever reading
// met the end of the input.
#pragma once

#include <istream>

namespace roster {

std::istream& readInt(std::istream& in, int& value);
std::istream& readDouble(std::istream& in, double& value);

// Lets a number be read with `>>`: `in >> number(age) >> number(GPA)`.
template <typename T>
struct NumberField {
    T& value;
};

template <typename T>
NumberField<T> number(T& value) {
    return NumberField<T>{value};
}

inline std::istream& operator>>(std::istream& in, NumberField<int> field) {
    return readInt(in, field.value);
}

inline std::istream& operator>>(std::istream& in, NumberField<double> field) {
    return readDouble(in, field.value);
}

}  // namespace roster
