#include "cli/Utf8TraceSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/text/Win1250.h"

namespace trevo::cli {
namespace {

// The trace as it reaches a file: each line in UTF-8, a CR LF inside it as the LF alone, an LF
// after it.
std::string Expected(const std::string& line) {
    std::string shown;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') {
            continue;
        }
        text::AppendUtf8(shown, text::Win1250ToCodePoint(static_cast<unsigned char>(line[i])));
    }
    return shown + '\n';
}

// Every byte in every place of the eight-byte blocks, CR and LF next to letters and at the ends,
// in lines enough for several blocks of output.
TEST(Utf8TraceSinkTest, EveryByteInEveryPlaceComesOutAsItsUtf8Form) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::string expected;
    {
        Utf8TraceSink sink(file);
        unsigned state = 1250;
        const auto next = [&state] {
            state = state * 1103515245u + 12345u;
            return state >> 16;
        };
        for (int round = 0; round < 40'000; ++round) {
            std::string line;
            const unsigned length = next() % 40;
            for (unsigned i = 0; i < length; ++i) {
                const unsigned pick = next() % 8;
                line += pick == 0 ? '\r' : pick == 1 ? '\n' : pick < 5 ? 'a' : char(next() % 256);
            }
            sink.AppendLine(line);
            expected += Expected(line);
        }
        ASSERT_TRUE(sink.Flush());
    }
    std::string written(expected.size() + 1, '\0');
    std::rewind(file);
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}

}  // namespace
}  // namespace trevo::cli
