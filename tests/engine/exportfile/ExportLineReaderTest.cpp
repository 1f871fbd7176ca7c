#include <gtest/gtest.h>

#include "engine/exportfile/ExportLineReader.h"
#include "testing/MemoryInputFile.h"

namespace trevo {
namespace {

using Status = ExportLineReader::Status;

struct ReadResult {
    std::vector<std::string> lines;
    Status end;
};

ReadResult ReadAll(const std::string& bytes, std::size_t bufferSize,
                   std::size_t failAfter = std::string::npos) {
    testing::MemoryInputFile file(bytes, failAfter);
    ExportLineReader reader(file, bufferSize);
    ReadResult result;
    for (;;) {
        const Status status = reader.ReadExportLine();
        if (status != Status::Line) {
            result.end = status;
            return result;
        }
        result.lines.emplace_back(reader.Line());
    }
}

using Lines = std::vector<std::string>;

// Every rule must hold wherever the buffer boundaries fall.
class ExportLineReaderTest : public ::testing::TestWithParam<std::size_t> {
  protected:
    Lines Read(const std::string& bytes) {
        ReadResult result = ReadAll(bytes, GetParam());
        EXPECT_EQ(result.end, Status::EndOfInput);
        return result.lines;
    }
};

TEST_P(ExportLineReaderTest, LineFeedAndCrLfEndLines) {
    EXPECT_EQ(Read("a\nbb\r\nccc\n"), (Lines{"a", "bb", "ccc"}));
    EXPECT_EQ(Read("\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(Read(""), Lines{});
}

TEST_P(ExportLineReaderTest, LastLineWithoutTerminatorIsALine) {
    EXPECT_EQ(Read("a\r\nlast"), (Lines{"a", "last"}));
}

TEST_P(ExportLineReaderTest, LoneCarriageReturnsAreDropped) {
    EXPECT_EQ(Read("a\rb\r\nc\r\r\nd\r"), (Lines{"ab", "c", "d"}));
}

TEST_P(ExportLineReaderTest, EndOfTextByteEndsTheInputOrTheLineText) {
    EXPECT_EQ(Read("a\r\n\x1A"
                   "b\r\n"),
              (Lines{"a"}));
    EXPECT_EQ(Read("ab\x1A"
                   "cd\r\ne\n"),
              (Lines{"ab", "e"}));
    EXPECT_EQ(Read("ab\x1A"
                   "c\rd\x1A\ne"),
              (Lines{"ab", "e"}));
    EXPECT_EQ(Read("\x1A"), Lines{});
}

TEST_P(ExportLineReaderTest, LongLinesAreMeasuredWholeButKeptOnlyTo510Bytes) {
    const std::string longLine(100'000, 'x');
    testing::MemoryInputFile file(std::string(510, 'd') + "\r\n" + longLine + "\n" +
                                  std::string(509, 'e') + "\n");
    ExportLineReader reader(file, GetParam());
    ASSERT_EQ(reader.ReadExportLine(), Status::Line);
    EXPECT_TRUE(reader.IsDocumentLength());
    EXPECT_EQ(reader.Line(), std::string(510, 'd'));
    ASSERT_EQ(reader.ReadExportLine(), Status::Line);
    EXPECT_EQ(reader.LineLength(), 100'000u);
    EXPECT_FALSE(reader.IsDocumentLength());
    EXPECT_EQ(reader.Line().size(), 510u);
    ASSERT_EQ(reader.ReadExportLine(), Status::Line);
    EXPECT_EQ(reader.LineLength(), 509u);
    EXPECT_EQ(reader.ReadExportLine(), Status::EndOfInput);
    EXPECT_EQ(reader.BytesConsumed(), 510u + 2 + 100'000 + 1 + 509 + 1);
}

// The rules applied one byte at a time, to check the reader's bulk scanning against.
Lines ReadByteByByte(const std::string& bytes) {
    Lines lines;
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != '\x1A') {
        std::string line;
        bool textEnded = false;
        while (i < bytes.size()) {
            const char c = bytes[i++];
            if (c == '\n') {
                break;
            }
            if (c == '\r') {
                if (i < bytes.size() && bytes[i] == '\n') {
                    ++i;
                    break;
                }
            } else if (c == '\x1A') {
                textEnded = true;
            } else if (!textEnded) {
                line += c;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

TEST_P(ExportLineReaderTest, MixedLineEndsReadAsTheRulesSayByteByByte) {
    // Lines of plain bytes with LF, CR LF, lone CRs and byte 26 scattered among them, the 26
    // never where a line would begin so that the whole text is read.
    std::string bytes;
    unsigned state = 12345;
    for (int i = 0; i < 20'000; ++i) {
        state = state * 1103515245u + 12345u;
        const unsigned pick = (state >> 16) % 16;
        const bool lineStart = bytes.empty() || bytes.back() == '\n';
        if (pick < 9 || (pick == 12 && lineStart)) {
            bytes += static_cast<char>('a' + pick);
        } else if (pick < 11) {
            bytes += '\r';
        } else if (pick == 11) {
            bytes += '\n';
        } else if (pick == 12) {
            bytes += '\x1A';
        } else {
            bytes += "\r\n";
        }
    }
    const Lines expected = ReadByteByByte(bytes);
    ASSERT_GT(expected.size(), 1000u);
    EXPECT_EQ(Read(bytes), expected);
}

INSTANTIATE_TEST_SUITE_P(BufferSizes, ExportLineReaderTest,
                         ::testing::Values(1, 2, 3, 7, 64 * 1024));

TEST(ExportLineReaderFailure, ReadFailureEndsWithAnError) {
    const ReadResult result = ReadAll("one\ntwo\nthree\n", 4, 6);
    EXPECT_EQ(result.lines, (Lines{"one"}));
    EXPECT_EQ(result.end, Status::ReadError);
}

}  // namespace
}  // namespace trevo
