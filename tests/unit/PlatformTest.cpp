#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/Unicode.h"
#include "io/StandardIo.h"
#include "platform/Stop.h"
#include "platform/System.h"
#include "tests/unit/FakeSystem.h"

namespace roster {
namespace {

// Every byte put arrives, in order, however the pieces fall on the edge of
// the 64 KiB buffer. A piece of one character is put alone, as `out << '\n'`
// puts it, so that it may land in a full buffer.
TEST(OutputBufferTest, EveryBytePutArrivesWhereverItFallsOnTheBuffersEdge) {
    constexpr std::size_t kFull = 1 << 16;
    const std::vector<std::size_t> cases[] = {
        {kFull, 1},          // a full buffer, then one character
        {kFull - 1, 1, 1},   // the last place by itself, then one more
        {kFull - 1, 2, 1},   // a piece across the edge
        {3 * kFull + 5, 1},  // a piece larger than the buffer
    };
    const std::string path = testing::TempDir() + "roster-output";
    for (const std::vector<std::size_t>& pieces : cases) {
        const int file = os().openForWriting(path.c_str());
        ASSERT_GE(file, 0);
        std::string expected;
        {
            const auto buffer = std::make_unique<OutputBuffer>(file);
            for (const std::size_t size : pieces) {
                const std::size_t at = expected.size();
                while (expected.size() < at + size) {
                    expected += static_cast<char>('a' + expected.size() % 26);
                }
                if (size == 1) {
                    buffer->sputc(expected.back());
                } else {
                    buffer->sputn(expected.data() + at, static_cast<std::streamsize>(size));
                }
            }
            // What a request to stop writes of what was marked goes out once,
            // as what a flush writes does.
            buffer->mark();
            EXPECT_TRUE(pieces.size() == 2 ? buffer->writeMarked() : buffer->pubsync() == 0);
        }
        os().closeFile(file);
        std::ifstream written(path, std::ios_base::binary);
        const std::string got{std::istreambuf_iterator<char>(written), {}};
        EXPECT_TRUE(got == expected) << "pieces " << ::testing::PrintToString(pieces) << ": "
                                     << got.size() << " of " << expected.size() << " bytes arrived";
    }
    removeFile(path.c_str());
}

#ifndef _WIN32
// A request to stop comes while a write of standard output has taken part
// of its bytes and waits for the rest: the write returns cut short, the
// stop takes the output over, and the rest goes out once, no byte twice.
TEST(StopTest, AStopDuringAWriteThatWaitsWritesTheRestOnce) {
    const std::string path = testing::TempDir() + "roster-stopped";
    std::string said;
    for (int line = 0; said.size() < 10000; ++line) {
        said += "line " + std::to_string(line) + '\n';
    }
    EXPECT_EXIT(
        {
            FakeSystem fake;
            int writes = 0;
            fake.writes = [&](int file, const char* data, std::size_t size) -> long {
                if (++writes == 2) {  // waits for its reader until a stop comes
                    std::raise(SIGTERM);
                    errno = EINTR;
                    return -1;
                }
                return fake.System::writeOnce(file, data, writes == 1 ? 100 : size);
            };
            struct Nothing final : StopWork {
                void onStop(bool) override {}
            } work;
            OutputBuffer output(os().openForWriting(path.c_str()));
            const StopHandler stop(work, &output);
            output.sputn(said.data(), static_cast<std::streamsize>(said.size()));
            output.mark();
            output.pubsync();
        },
        testing::KilledBySignal(SIGTERM), "");
    std::ifstream written(path, std::ios_base::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(written), {}) == said);
    os().remove(path.c_str());
}
#endif

// Names go to Windows in UTF-16 and come back in UTF-8; text that is not
// well-formed UTF-8 names no file, and a half of a character that the
// system holds is kept as bytes that name none either.
TEST(UnicodeTest, NamesBetweenUtf8AndUtf16) {
    const struct {
        std::string utf8;
        std::u16string utf16;  // empty: no name
    } cases[] = {
        {u8"Łódź.csv", u"Łódź.csv"},
        {u8"王/😀", u"王/😀"},  // a pair of halves in UTF-16
        // The edges of the ranges: just outside the halves, the first and
        // the last character that takes two halves.
        {"\xED\x9F\xBF\xEE\x80\x80", u"\uD7FF\uE000"},
        {"\xF0\x90\x80\x80", u"\xD800\xDC00"},
        {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
        {"\xF4\x90\x80\x80", u""},  // past U+10FFFF
        {"\xF0\x8F\xBF\xBF", u""},  // too long a form
        {"\xED\xBF\xBF", u""},      // the last half
        {"a\xFF.csv", u""},
        {"\xC3", u""},                  // cut short
        {"\xED\xA0\x80", u""},          // a half of a character
        {std::string("a\0b", 3), u""},  // a NUL ends a name early
    };
    for (const auto& c : cases) {
        std::u16string wide;
        EXPECT_EQ(utf16FromUtf8(c.utf8, wide), !c.utf16.empty()) << c.utf8;
        EXPECT_TRUE(c.utf16.empty() || wide == c.utf16) << c.utf8;
        EXPECT_TRUE(c.utf16.empty() || utf8FromUtf16(wide) == c.utf8) << c.utf8;
    }
    // A half alone, whichever it is, is kept as its bytes.
    EXPECT_EQ(utf8FromUtf16(u"\xD800x\xDBFF\xDC00\xDFFF"),
              "\xED\xA0\x80x\xF4\x8F\xB0\x80\xED\xBF\xBF");
    EXPECT_EQ(utf8FromUtf16(u"\xDC00\xD800"), "\xED\xB0\x80\xED\xA0\x80");
#ifdef _WIN32
    const std::string name = testing::TempDir() + "roster-\xFF.txt";
    EXPECT_EQ(os().kindOf(name.c_str()), Kind::Other);
    EXPECT_LT(os().openForWriting(name.c_str()), 0);
    EXPECT_EQ(os().createNew(name.c_str(), -1), -1);
#endif
}

// A console hands over pieces of lines in UTF-16; the program gets what
// the same lines piped in give.
TEST(UnicodeTest, ConsoleLinesReadAsPipedLines) {
    const struct {
        std::vector<std::u16string> pieces;
        std::string lines;
        bool ended;
    } cases[] = {
        {{u"M\u00FCller, J\r\n"}, "M\xC3\xBCller, J\n", false},
        {{u"a\r", u"\nb\r\n"}, "a\nb\n", false},                    // CR LF in two reads
        {{u"\xD83D", u"\xDE00\r\n"}, "\xF0\x9F\x98\x80\n", false},  // the halves in two
        {{u"\xD800x\r\n"}, "\xED\xA0\x80x\n", false},               // a half alone is kept
        {{u"\x1A\r\n", u"more\r\n"}, "", true},                     // Ctrl-Z ends the input
        {{u"x\r\n\x1A\r\n"}, "x\n", true},
        {{u"a\x1A\r\n"}, "a\x1A\n", false},  // only at a line's start
    };
    for (const auto& c : cases) {
        ConsoleLines console;
        std::string got;
        bool going = true;
        for (const std::u16string& piece : c.pieces) {
            going = console.take(piece, got);
        }
        EXPECT_EQ(got, c.lines);
        EXPECT_EQ(going, !c.ended) << c.lines;
    }
}

// A write ends where a character does; what a console shows keeps every
// byte, one that is no part of UTF-8 as \xNN.
TEST(UnicodeTest, ConsoleOutputKeepsCharactersWhole) {
    const struct {
        std::string text;
        std::size_t cut;
        std::u16string shown;
    } cases[] = {
        {"a\nb", 0, u"a\r\nb"},
        {"\xE2\x82\xAC", 0, u"\u20AC"},
        {"ab\xC3", 1, u"ab\\xC3"},
        {"M\xC3\xBC", 0, u"M\u00FC"},
        {"\xF4\x8F", 2, u"\\xF4\\x8F"},
        {"\xE0\xA0", 2, u"\\xE0\\xA0"},
        {"\xF0\x9F\x98", 3, u"\\xF0\\x9F\\x98"},
        {"\x80\x80\x80", 0, u"\\x80\\x80\\x80"},
        {"\xFF", 0, u"\\xFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cutCharacter(c.text), c.cut) << c.text;
        EXPECT_TRUE(consoleText(c.text) == c.shown) << c.text;
    }
}

}  // namespace
}  // namespace roster
