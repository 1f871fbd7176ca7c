#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "engine/ledger/PeriodFileReading.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/platform/TraceSink.h"
#include "testing/ExportLineBuilder.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::ReadFileBytes;
using testing::Win1250;
using testing::WriteFileBytes;
using Lines = std::vector<std::string>;

std::int32_t SeqNoAt(const std::string& bytes, std::size_t record) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + record * 400);
    return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                     static_cast<unsigned>(p[3]) << 24);
}

class PeriodFilesTest : public ::testing::Test {
  protected:
    std::string Dir() const { return dir_.Path().string(); }
    std::string FileOf(unsigned year, unsigned month) const {
        return PeriodFileName(Dir(), year, month);
    }

    // Books one entry of the given month and city.
    bool Book(PeriodFiles& periods, std::uint16_t year, std::uint16_t month,
              const char* city = "") {
        entry_.Clear();
        entry_.city.Assign(city);
        return periods.OpenPeriod(year, month) && periods.AppendEntry(entry_);
    }

    testing::TempDirectory dir_;
    testing::MemoryTraceSink trace_;
    LedgerEntry entry_;
};

TEST_F(PeriodFilesTest, NamesAreDirectoryYearOrmekMonthInPlainDecimal) {
    // One separator put between, whatever the directory ends with: "%s\\%dORMEK.%d" on Windows.
    const std::string s(1, kPathSeparator);
    EXPECT_EQ(PeriodFileName("/kpr/FIRMA1", 2024, 3), "/kpr/FIRMA1" + s + "2024ORMEK.3");
    EXPECT_EQ(PeriodFileName("/kpr/FIRMA1/", 2024, 12), "/kpr/FIRMA1/" + s + "2024ORMEK.12");
    EXPECT_EQ(PeriodFileName("", 7, 13), s + "7ORMEK.13");
    // Read back from a name within a directory: nothing else is taken for a period file.
    EXPECT_EQ(ParsePeriodFileName("2024ORMEK.3"), (std::pair{2024u, 3u}));
    EXPECT_EQ(ParsePeriodFileName("2024ORMEK.12"), (std::pair{2024u, 12u}));
    EXPECT_FALSE(ParsePeriodFileName("2024ORMEK.03"));
    EXPECT_FALSE(ParsePeriodFileName("2024ormek.3"));
    EXPECT_FALSE(ParsePeriodFileName("2024ORMEK."));
    EXPECT_FALSE(ParsePeriodFileName("x2024ORMEK.3"));
}

TEST_F(PeriodFilesTest, NewMonthFileIsCreatedAndTheEntryIsFirst) {
    PeriodFiles periods(LocalFileSystem(), Dir(), trace_);
    ASSERT_TRUE(Book(periods, 2024, 3));
    ASSERT_TRUE(periods.ClosePeriod());
    const std::string bytes = ReadFileBytes(FileOf(2024, 3));
    ASSERT_EQ(bytes.size(), 400u);
    EXPECT_EQ(SeqNoAt(bytes, 0), 1);
    EXPECT_TRUE(trace_.Lines().empty());
}

TEST_F(PeriodFilesTest, RecordsAreCountedAfreshAndStrayBytesAreOverwritten) {
    WriteFileBytes(FileOf(2024, 1), std::string(2800, '\x11'));
    WriteFileBytes(FileOf(2024, 2), std::string(2900, '\x22'));
    PeriodFiles periods(LocalFileSystem(), Dir(), trace_);
    ASSERT_TRUE(Book(periods, 2024, 1));
    ASSERT_TRUE(Book(periods, 2024, 2));
    ASSERT_TRUE(periods.ClosePeriod());
    for (const unsigned month : {1u, 2u}) {
        const std::string bytes = ReadFileBytes(FileOf(2024, month));
        ASSERT_EQ(bytes.size(), 3200u);
        EXPECT_EQ(SeqNoAt(bytes, 7), 8);
        EXPECT_EQ(bytes[2799], month == 1 ? '\x11' : '\x22');  // earlier records untouched
    }
}

TEST_F(PeriodFilesTest, MonthChangesCloseAndReopenAndEntriesFollowEachOther) {
    PeriodFiles periods(LocalFileSystem(), Dir(), trace_);
    ASSERT_TRUE(Book(periods, 2024, 1, "a"));
    ASSERT_TRUE(Book(periods, 2024, 1, "b"));
    ASSERT_TRUE(Book(periods, 2024, 2, "c"));
    ASSERT_TRUE(Book(periods, 2024, 1, "d"));
    ASSERT_TRUE(periods.ClosePeriod());
    const std::string january = ReadFileBytes(FileOf(2024, 1));
    ASSERT_EQ(january.size(), 1200u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SeqNoAt(january, i), i + 1);
        EXPECT_EQ(january[i * 400 + 149], "abd"[i]);
    }
    EXPECT_EQ(ReadFileBytes(FileOf(2024, 2)).size(), 400u);
}

TEST_F(PeriodFilesTest, PeriodKeyIsYearTimesTwelvePlusMonth) {
    PeriodFiles periods(LocalFileSystem(), Dir(), trace_);
    ASSERT_TRUE(periods.OpenPeriod(2023, 5));
    EXPECT_EQ(periods.periodKey(), 24281);
    ASSERT_TRUE(periods.OpenPeriod(2024, 5));
    EXPECT_EQ(periods.periodKey(), 24293);
    EXPECT_EQ(periods.periodFileName(), FileOf(2024, 5));
}

TEST_F(PeriodFilesTest, LongNamesAreNeverCut) {
    const std::string deep = Dir() + "/" + std::string(120, 'k');
    std::filesystem::create_directory(deep);
    PeriodFiles periods(LocalFileSystem(), deep, trace_);
    ASSERT_TRUE(Book(periods, 2024, 11));
    ASSERT_TRUE(periods.ClosePeriod());
    EXPECT_GT(periods.periodFileName().size(), 128u);
    EXPECT_EQ(ReadFileBytes(deep + "/2024ORMEK.11").size(), 400u);
}

TEST_F(PeriodFilesTest, DirectoryInThePlaceOfTheFileCannotBeOpened) {
    std::filesystem::create_directory(FileOf(2024, 2));
    PeriodFiles periods(LocalFileSystem(), Dir(), trace_);
    ASSERT_TRUE(Book(periods, 2024, 1));
    EXPECT_FALSE(periods.OpenPeriod(2024, 2));
    EXPECT_FALSE(periods.periodOpen());
    EXPECT_EQ(trace_.Lines(), (Lines{Win1250("Błąd otwarcia pliku " + FileOf(2024, 2) + " !")}));
    EXPECT_TRUE(periods.ClosePeriod());  // nothing open, nothing reported
    EXPECT_EQ(trace_.Lines().size(), 1u);
    EXPECT_EQ(ReadFileBytes(FileOf(2024, 1)).size(), 400u);
}

TEST_F(PeriodFilesTest, ReadOnlyFileIsNeverWritten) {
    WriteFileBytes(FileOf(2024, 4), std::string(400, '\x33'));
    ::chmod(FileOf(2024, 4).c_str(), 0444);
    PeriodFiles periods(LocalFileSystem(), Dir(), trace_);
    EXPECT_FALSE(Book(periods, 2024, 4));
    EXPECT_EQ(trace_.Lines(), (Lines{Win1250("Błąd otwarcia pliku " + FileOf(2024, 4) + " !")}));
    EXPECT_EQ(ReadFileBytes(FileOf(2024, 4)), std::string(400, '\x33'));
}

}  // namespace
}  // namespace trevo
