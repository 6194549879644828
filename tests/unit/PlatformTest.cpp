#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/StandardIo.h"
#include "platform/System.h"

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
        const int file = openForWriting(path.c_str());
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
            EXPECT_EQ(buffer->pubsync(), 0);
        }
        closeFile(file);
        std::ifstream written(path, std::ios_base::binary);
        const std::string got{std::istreambuf_iterator<char>(written), {}};
        EXPECT_TRUE(got == expected) << "pieces " << ::testing::PrintToString(pieces) << ": "
                                     << got.size() << " of " << expected.size() << " bytes arrived";
    }
    removeFile(path.c_str());
}

}  // namespace
}  // namespace roster
