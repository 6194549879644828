#include "base/Number.h"

#include <gtest/gtest.h>

#include <charconv>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace roster {
namespace {

// How reading `text` went, as "VALUE|REST" for a good read and
// "fail VALUE|REST" otherwise, where REST is what is left of the input. A
// real is written as its shortest round-trip text, so -0 and 0, or two
// neighbouring doubles, differ. Reads with the program's reader, or with
// the library's `>>`.
template <typename T>
std::string outcome(const std::string& text, bool ours = true) {
    std::istringstream in(text);
    T value = 7;  // a read that fails before the number leaves this alone
    if (ours) {
        in >> number(value);
    } else {
        in >> value;
    }
    const bool failed = in.fail();
    const bool ended = in.eof();
    in.clear();
    const std::string rest = text.substr(static_cast<std::size_t>(in.tellg()));
    char shortest[64];
    const std::string read(shortest, std::to_chars(shortest, shortest + 64, value).ptr);
    // The end of the input was met exactly when nothing is left.
    return (failed ? "fail " : "") + read + (ended != rest.empty() ? "|eof? " : "|") + rest;
}

// The cases that tell standard libraries apart, and the edges of the rules.
TEST(NumberTest, ReadsEveryLibraryAlike) {
    const std::string longOne = "1" + std::string(900, '0') + "e-900";
    // More digits than are kept: the dropped ones still count.
    const std::string longFraction = "0." + std::string(300, '0') + "1" + std::string(900, '9');
    // Exactly halfway between 1 and the next double, which rounds to even;
    // a nonzero digit far past the kept ones tips it up.
    const std::string halfway = "1.00000000000000011102230246251565404236316680908203125";
    const std::string pastHalfway = halfway + std::string(800, '0') + "1";
    const std::string cases[][3] = {
        // text, read as an int, read as a double
        {"12abc", "12|abc", "12|abc"},
        {"3.9abc", "3|.9abc", "3.9|abc"},
        {"12e3x", "12|e3x", "12000|x"},
        {"nan", "fail 0|nan", "fail 0|nan"},
        {"-inf", "fail 0|inf", "fail 0|inf"},
        {"0x1p3", "0|x1p3", "0|x1p3"},
        {"1e-400", "1|e-400", "0|"},
        {"e5", "fail 0|e5", "fail 0|e5"},
        {"1ee5", "1|ee5", "fail 0|e5"},
        {"-", "fail 0|", "fail 0|"},
        {".", "fail 0|.", "fail 0|"},
        {"1e+ 2", "1|e+ 2", "fail 0| 2"},
        {"+-5", "fail 0|-5", "fail 0|-5"},
        {"+.5e-1", "fail 0|.5e-1", "0.05|"},
        {"-2147483648 x", "-2147483648| x", "-2147483648| x"},
        {"2147483648", "fail 2147483647|", "2147483648|"},
        {"21474836470", "fail 2147483647|", "21474836470|"},
        {"-99999999999", "fail -2147483648|", "-99999999999|"},
        {"1e999", "1|e999", "fail 1.7976931348623157e+308|"},
        {"-1e999", "-1|e999", "fail -1.7976931348623157e+308|"},
        {"4.9e-324", "4|.9e-324", "5e-324|"},
        {"1.7976931348623157e308", "1|.7976931348623157e308", "1.7976931348623157e+308|"},
        {"-0", "0|", "-0|"},
        {" \n\t42\n", "42|\n", "42|\n"},
        {"", "fail 7|", "fail 7|"},
        {" \n", "fail 7|", "fail 7|"},
        {halfway, "1|" + halfway.substr(1), "1|"},
        {halfway + std::string(800, '0'), "1|" + halfway.substr(1) + std::string(800, '0'), "1|"},
        {pastHalfway, "1|" + pastHalfway.substr(1), "1.0000000000000002|"},
        {longOne, "fail 2147483647|" + longOne.substr(901), "1|"},
        {longFraction + "z", "0|" + longFraction.substr(1) + "z", "2e-301|z"},
    };
    for (const auto& [text, asInt, asDouble] : cases) {
        EXPECT_EQ(outcome<int>(text), asInt) << text;
        EXPECT_EQ(outcome<double>(text), asDouble) << text;
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
// Where the GNU library builds the program, its own extraction is the
// reference that every read must match: on every text of up to five
// characters of an alphabet of number parts, on longer random ones, and on
// random well-formed reals with many digits and wide exponents, where
// rounding is hardest.
TEST(NumberTest, ReadsAsTheGnuLibraryDoes) {
    std::vector<std::string> texts;
    const std::string alphabet = "019+-.eEx \n";
    for (std::size_t n = 0; n < 177156; ++n) {  // 11^0 + 11^1 + ... + 11^5
        texts.emplace_back();
        for (std::size_t rest = n; rest != 0; rest = (rest - 1) / alphabet.size()) {
            texts.back() += alphabet[(rest - 1) % alphabet.size()];
        }
    }
    std::mt19937_64 random(20261207);
    const std::string mostlyDigits = "0123456789012345678901234567890123456789+-..eE ab\n";
    for (int i = 0; i < 100000; ++i) {
        texts.emplace_back();
        for (auto length = 1 + random() % 40; texts.back().size() < length;) {
            texts.back() += mostlyDigits[random() % mostlyDigits.size()];
        }
    }
    for (int i = 0; i < 100000; ++i) {
        std::string text = random() % 2 != 0 ? "-" : "";
        for (auto digits = 1 + random() % 30, point = random() % 30; digits > 0; --digits) {
            text += std::string(digits == point ? "." : "") + "0123456789"[random() % 10];
        }
        texts.push_back(text + "e" + std::to_string(static_cast<int>(random() % 700) - 350));
    }
    int mismatches = 0;
    for (const std::string& text : texts) {
        for (const auto& [ours, theirs] :
             {std::pair(outcome<int>(text), outcome<int>(text, false)),
              std::pair(outcome<double>(text), outcome<double>(text, false))}) {
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
