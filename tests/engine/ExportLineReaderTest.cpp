#include <gtest/gtest.h>

#include "exportfile/ExportLineReader.h"
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

INSTANTIATE_TEST_SUITE_P(BufferSizes, ExportLineReaderTest,
                         ::testing::Values(1, 2, 3, 7, 64 * 1024));

TEST(ExportLineReaderFailure, ReadFailureEndsWithAnError) {
    const ReadResult result = ReadAll("one\ntwo\nthree\n", 4, 6);
    EXPECT_EQ(result.lines, (Lines{"one"}));
    EXPECT_EQ(result.end, Status::ReadError);
}

}  // namespace
}  // namespace trevo
