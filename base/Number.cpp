#include "base/Number.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <streambuf>

namespace roster {

namespace {

using Traits = std::istream::traits_type;
constexpr Traits::int_type kEnd = Traits::eof();

bool isSpace(Traits::int_type c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(Traits::int_type c) {
    return c >= '0' && c <= '9';
}

int digitValue(Traits::int_type c) {
    return static_cast<int>(c - '0');
}

// What every formatted read does before the number itself: a stream that is
// not good fails at once; the tied stream is flushed, so that a prompt is
// seen before the program waits; whitespace is skipped. Returns the buffer
// with `c`, the first character of the number, or nullptr when the read has
// already failed.
std::streambuf* start(std::istream& in, Traits::int_type& c) {
    if (!in.good()) {
        in.setstate(std::ios_base::failbit);
        return nullptr;
    }
    if (in.tie() != nullptr) {
        in.tie()->flush();
    }
    std::streambuf* buffer = in.rdbuf();
    c = buffer->sgetc();
    while (c != kEnd && isSpace(c)) {
        c = buffer->snextc();
    }
    if (c == kEnd) {
        in.setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return nullptr;
    }
    return buffer;
}

// Ends a read with the state it found, end-of-file when it met the end.
std::istream& finish(std::istream& in, std::ios_base::iostate state) {
    if (state != std::ios_base::goodbit) {
        in.setstate(state);
    }
    return in;
}

// Reads an optional sign; true for a minus.
bool readSign(std::streambuf& buffer, Traits::int_type& c) {
    const bool negative = c == '-';
    if (negative || c == '+') {
        c = buffer.snextc();
    }
    return negative;
}

// Reads a run of decimal digits into `value`, which stops growing once it is
// past `cap` while the rest of the digits are still taken. False when there
// was no digit.
bool readDigits(std::streambuf& buffer, Traits::int_type& c, unsigned long long cap,
                unsigned long long& value) {
    bool digits = false;
    for (; isDigit(c); c = buffer.snextc()) {
        digits = true;
        if (value <= cap) {
            value = value * 10 + static_cast<unsigned long long>(digitValue(c));
        }
    }
    return digits;
}

// The significant digits of a real number and the power of ten that scales
// them. Past kMaxDigits digits only whether a dropped digit was nonzero is
// kept: a double's correct rounding never depends on more than 767 digits,
// and memory stays the same however long the number is.
class Decimal {
  public:
    void addDigit(int digit, bool fraction) {
        if (count == 0 && digit == 0) {
            scale -= fraction ? 1 : 0;
        } else if (count < kMaxDigits) {
            text[count++] = static_cast<char>('0' + digit);
            scale -= fraction ? 1 : 0;
        } else {
            scale += fraction ? 0 : 1;
            dropped = dropped || digit != 0;
        }
    }

    // The magnitude times 10 to the power `exponent`, correctly rounded;
    // `tooLarge` when it is beyond the largest double.
    double toDouble(long long exponent, bool& tooLarge) {
        tooLarge = false;
        if (count == 0) {
            return 0.0;
        }
        if (dropped) {
            // A final nonzero digit stands for everything dropped: it lies
            // strictly between the kept digits and the next value up.
            text[count++] = '1';
            --scale;
        }
        const long long power = scale + exponent;
        // The value lies in [10^(order - 1), 10^order).
        const long long order = static_cast<long long>(count) + power;
        if (order > 310) {
            tooLarge = true;
            return 0.0;
        }
        if (order < -324) {
            return 0.0;  // below half the smallest double
        }
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
        // Up to 15 digits and a power of ten up to 22 are both exact
        // doubles, so one multiplication or division rounds correctly.
        if (count <= 15 && -22 <= power && power <= 22) {
            double digits = 0.0;
            for (std::size_t i = 0; i < count; ++i) {
                digits = digits * 10.0 + (text[i] - '0');
            }
            return power >= 0 ? digits * kPowersOfTen[power] : digits / kPowersOfTen[-power];
        }
#endif
        // Digits and an exponent only: no decimal point, so the C library
        // reads this text alike in every locale.
        char* end = text.data() + count;
        *end++ = 'e';
        end = std::to_chars(end, text.data() + text.size() - 1, power).ptr;
        *end = '\0';
        const double value = std::strtod(text.data(), nullptr);
        tooLarge = value > std::numeric_limits<double>::max();
        return value;
    }

  private:
    static constexpr std::size_t kMaxDigits = 800;
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    // The digits, then room for one more digit, "e", the exponent and NUL;
    // only what has been written is read, so it is left uninitialised.
    std::array<char, kMaxDigits + 32> text;
    std::size_t count = 0;
    long long scale = 0;
    bool dropped = false;
};

// Exponents beyond this give infinity or zero whatever the digits.
constexpr unsigned long long kExponentCap = 1'000'000'000'000'000ULL;

}  // namespace

std::istream& readInt(std::istream& in, int& value) {
    Traits::int_type c = kEnd;
    std::streambuf* buffer = start(in, c);
    if (buffer == nullptr) {
        return in;
    }
    const bool negative = readSign(*buffer, c);
    const unsigned long long limit =
        static_cast<unsigned long long>(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    unsigned long long magnitude = 0;
    const bool digits = readDigits(*buffer, c, limit, magnitude);
    std::ios_base::iostate state = c == kEnd ? std::ios_base::eofbit : std::ios_base::goodbit;
    if (!digits) {
        value = 0;
        state |= std::ios_base::failbit;
    } else if (magnitude > limit) {
        value = negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
        state |= std::ios_base::failbit;
    } else {
        const long long signedValue = static_cast<long long>(magnitude);
        value = static_cast<int>(negative ? -signedValue : signedValue);
    }
    return finish(in, state);
}

std::istream& readDouble(std::istream& in, double& value) {
    Traits::int_type c = kEnd;
    std::streambuf* buffer = start(in, c);
    if (buffer == nullptr) {
        return in;
    }
    const bool negative = readSign(*buffer, c);
    Decimal decimal;
    bool digits = false;
    bool point = false;
    for (;; c = buffer->snextc()) {
        if (isDigit(c)) {
            digits = true;
            decimal.addDigit(digitValue(c), point);
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    long long exponent = 0;
    bool exponentDigits = true;
    if (digits && (c == 'e' || c == 'E')) {
        c = buffer->snextc();
        const bool exponentNegative = readSign(*buffer, c);
        unsigned long long exponentMagnitude = 0;
        exponentDigits = readDigits(*buffer, c, kExponentCap, exponentMagnitude);
        exponent = static_cast<long long>(exponentMagnitude);
        exponent = exponentNegative ? -exponent : exponent;
    }
    std::ios_base::iostate state = c == kEnd ? std::ios_base::eofbit : std::ios_base::goodbit;
    bool tooLarge = false;
    if (!digits || !exponentDigits) {
        value = 0.0;
        state |= std::ios_base::failbit;
    } else if (const double magnitude = decimal.toDouble(exponent, tooLarge); tooLarge) {
        value = negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
        state |= std::ios_base::failbit;
    } else {
        value = negative ? -magnitude : magnitude;
    }
    return finish(in, state);
}

}  // namespace roster
