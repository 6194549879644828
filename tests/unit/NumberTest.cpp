#include "person/Number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace roster {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr double kMax = std::numeric_limits<double>::max();

// How one read went: the stream state, the value (a double by its bits, so
// that -0 and 0 differ) and what is left of the input.
template <typename T>
std::string describe(bool ok, bool eof, T value, const std::string& rest) {
    std::ostringstream log;
    log << (ok ? "ok" : "fail") << (eof ? " eof " : " ") << value;
    if constexpr (std::is_same_v<T, double>) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        log << " (" << std::hex << bits << ")";
    }
    log << " rest '" << rest << "'";
    return log.str();
}

// Reads `text` with the program's reader, or with the library's `>>`.
template <typename T>
std::string outcome(std::istringstream& in, const std::string& text, bool ours) {
    in.clear();
    in.str(text);
    T value = 7;  // a read that fails before the number leaves this alone
    if (ours) {
        in >> number(value);
    } else {
        in >> value;
    }
    const auto position = in.rdbuf()->pubseekoff(0, std::ios_base::cur, std::ios_base::in);
    return describe(!in.fail(), in.eof(), value, text.substr(static_cast<std::size_t>(position)));
}

// A read that ends with `rest` left has met the end of the input exactly
// when nothing is left.
template <typename T>
std::string expected(bool ok, double value, const std::string& rest) {
    return describe(ok, rest.empty(), static_cast<T>(value), rest);
}

struct Expect {
    bool ok;
    double value;  // on failure: 0, or the largest value of the sign read
    std::string rest;
};

// The cases that tell standard libraries apart, and the edges of the rules.
TEST(NumberTest, ReadsEveryLibraryAlike) {
    const std::string longOne = "1" + std::string(900, '0') + "e-900";
    // More digits than are kept: the dropped ones still count.
    const std::string longFraction = "0." + std::string(300, '0') + "1" + std::string(900, '9');
    // Exactly halfway between 1 and the next double, which rounds to even;
    // a nonzero digit far past the kept ones tips it up.
    const std::string halfway = "1.00000000000000011102230246251565404236316680908203125";
    const std::string pastHalfway = halfway + std::string(800, '0') + "1";
    const struct {
        std::string text;
        Expect asInt;
        Expect asDouble;
    } cases[] = {
        {"12abc", {true, 12, "abc"}, {true, 12, "abc"}},
        {"3.9abc", {true, 3, ".9abc"}, {true, 3.9, "abc"}},
        {"12e3x", {true, 12, "e3x"}, {true, 12000, "x"}},
        {"nan", {false, 0, "nan"}, {false, 0, "nan"}},
        {"inf", {false, 0, "inf"}, {false, 0, "inf"}},
        {"-inf", {false, 0, "inf"}, {false, 0, "inf"}},
        {"0x1A", {true, 0, "x1A"}, {true, 0, "x1A"}},
        {"0x1p3", {true, 0, "x1p3"}, {true, 0, "x1p3"}},
        {"1e-400", {true, 1, "e-400"}, {true, 0, ""}},
        {"abc", {false, 0, "abc"}, {false, 0, "abc"}},
        {"e5", {false, 0, "e5"}, {false, 0, "e5"}},
        {"1ee5", {true, 1, "ee5"}, {false, 0, "e5"}},
        {"-", {false, 0, ""}, {false, 0, ""}},
        {".", {false, 0, "."}, {false, 0, ""}},
        {"1e+ 2", {true, 1, "e+ 2"}, {false, 0, " 2"}},
        {"+-5", {false, 0, "-5"}, {false, 0, "-5"}},
        {"+.5e-1", {false, 0, ".5e-1"}, {true, 0.05, ""}},
        {"-2147483648 x", {true, kIntMin, " x"}, {true, -2147483648.0, " x"}},
        {"2147483648", {false, kIntMax, ""}, {true, 2147483648.0, ""}},
        {"-99999999999", {false, kIntMin, ""}, {true, -99999999999.0, ""}},
        {"1e999", {true, 1, "e999"}, {false, kMax, ""}},
        {"-1e999", {true, -1, "e999"}, {false, -kMax, ""}},
        {"1.7976931348623157e308", {true, 1, ".7976931348623157e308"}, {true, kMax, ""}},
        {"4.9e-324", {true, 4, ".9e-324"}, {true, std::numeric_limits<double>::denorm_min(), ""}},
        {"-0", {true, 0, ""}, {true, -0.0, ""}},
        {" \n\t42\n", {true, 42, "\n"}, {true, 42, "\n"}},
        {"", {false, 0, ""}, {false, 0, ""}},
        {halfway, {true, 1, halfway.substr(1)}, {true, 1, ""}},
        {pastHalfway, {true, 1, pastHalfway.substr(1)}, {true, 1.0000000000000002, ""}},
        {longOne, {false, kIntMax, longOne.substr(901)}, {true, 1, ""}},
        {longFraction + "z", {true, 0, longFraction.substr(1) + "z"}, {true, 2e-301, "z"}},
    };
    std::istringstream in;
    for (const auto& c : cases) {
        // Nothing read before the number fails leaves the value alone.
        const bool untouched = c.text.find_first_not_of(" \n\t") == std::string::npos;
        const auto intValue = untouched ? 7 : c.asInt.value;
        const auto doubleValue = untouched ? 7 : c.asDouble.value;
        EXPECT_EQ(outcome<int>(in, c.text, true), expected<int>(c.asInt.ok, intValue, c.asInt.rest))
            << c.text;
        EXPECT_EQ(outcome<double>(in, c.text, true),
                  expected<double>(c.asDouble.ok, doubleValue, c.asDouble.rest))
            << c.text;
    }
}

// A prompt written to the tied stream is seen before the read waits.
TEST(NumberTest, FlushesTheTiedStreamFirst) {
    struct CountingBuffer : std::stringbuf {
        int syncs = 0;
        int sync() override { return ++syncs, 0; }
    } buffer;
    std::ostream prompt(&buffer);
    std::istringstream in("1 2");
    in.tie(&prompt);
    int value = 0;
    double real = 0;
    in >> number(value) >> number(real);
    EXPECT_EQ(buffer.syncs, 2);
}

#if defined(__GLIBCXX__)
// Short texts of every shape, then longer random ones, then well-formed reals
// with many digits and wide exponents, where rounding is hardest.
std::vector<std::string> generatedTexts() {
    std::vector<std::string> texts{""};
    const std::string alphabet = "019+-.eEx \n";
    for (std::size_t begin = 0, length = 1; length <= 5; ++length) {
        const std::size_t end = texts.size();
        for (std::size_t i = begin; i < end; ++i) {
            for (const char c : alphabet) {
                texts.push_back(texts[i] + c);
            }
        }
        begin = end;
    }
    std::mt19937_64 random(20261207);
    const auto pick = [&](const std::string& from) { return from[random() % from.size()]; };
    const std::string mostlyDigits = "0123456789012345678901234567890123456789+-..eE ab\n";
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        for (std::size_t length = 1 + random() % 40; text.size() < length;) {
            text += pick(mostlyDigits);
        }
        texts.push_back(text);
    }
    for (int i = 0; i < 50000; ++i) {
        std::string text = random() % 2 != 0 ? "-" : "";
        const std::size_t digits = 1 + random() % 30;
        const std::size_t point = random() % (digits + 1);
        for (std::size_t d = 0; d < digits; ++d) {
            text += d == point ? "." : "";
            text += pick("0123456789");
        }
        texts.push_back(text + "e" + std::to_string(static_cast<int>(random() % 700) - 350));
    }
    return texts;
}

// Where the GNU library builds the program, its own extraction is the
// reference that every read must match.
TEST(NumberTest, ReadsAsTheGnuLibraryDoes) {
    std::istringstream in;
    int mismatches = 0;
    for (const std::string& text : generatedTexts()) {
        const std::string pairs[][2] = {
            {outcome<int>(in, text, true), outcome<int>(in, text, false)},
            {outcome<double>(in, text, true), outcome<double>(in, text, false)},
        };
        for (const auto& [ours, theirs] : pairs) {
            if (ours != theirs && ++mismatches <= 20) {
                ADD_FAILURE() << "'" << text << "' reads " << ours << ", but >> " << theirs;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}
#endif

}  // namespace
}  // namespace roster
