// Memory does not grow with the input: a line of any length is skipped holding only its first
// 510 bytes, and a run's peak is the same for a thousand documents as for a hundred thousand.
// Each figure is the peak of a child process alone (ru_maxrss). bench/reliability measures the
// full sizes: a 1 GiB line on disk and a million documents.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "testing/ChildPeakMemory.h"
#include "testing/LongLineExport.h"
#include "testing/RefusingFileSystem.h"
#include "testing/SyntheticExport.h"
#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/LedgerRun.h"

#if defined(__SANITIZE_ADDRESS__)
#define TREVO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TREVO_ADDRESS_SANITIZER 1
#endif
#endif

namespace trevo::reliability {
namespace {

constexpr long kMiB = 1024;  // ru_maxrss counts KiB
#ifdef TREVO_ADDRESS_SANITIZER
// The sanitizer's shadow memory and freed-block quarantine add a few MiB to any run; a line
// held whole would still add a thousand times more.
constexpr long kAllowedGrowth = 16 * kMiB;
#else
constexpr long kAllowedGrowth = 4 * kMiB;
#endif

// An export made on the fly: a document, a line of `lineBytes` bytes that each look like a
// document, and another document. Nothing of it is on disk or held in memory.
class GeneratedLongLine final : public InputFile {
  public:
    explicit GeneratedLongLine(std::uint64_t lineBytes) {
        testing::SyntheticExportOptions options;
        options.documents = 2;
        head_ = testing::SyntheticDocumentLine(0, options) + "\r\n";
        pattern_ = testing::SyntheticDocumentLine(1, options);
        tail_ = "\r\n" + pattern_ + "\r\n";
        total_ = head_.size() + lineBytes + tail_.size();
        lineEnd_ = head_.size() + lineBytes;
    }

    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override {
        std::size_t n = 0;
        while (n < capacity && pos_ < total_) {
            if (pos_ < head_.size()) {
                buffer[n++] = head_[pos_++];
            } else if (pos_ < lineEnd_) {
                const std::uint64_t at = (pos_ - head_.size()) % pattern_.size();
                const std::size_t run = static_cast<std::size_t>(
                    std::min<std::uint64_t>({capacity - n, pattern_.size() - at, lineEnd_ - pos_}));
                std::memcpy(buffer + n, pattern_.data() + at, run);
                n += run;
                pos_ += run;
            } else {
                buffer[n++] = tail_[pos_ - lineEnd_];
                ++pos_;
            }
        }
        return n;
    }
    std::uint64_t SizeAtOpen() const override { return total_; }

  private:
    std::string head_, pattern_, tail_;
    std::uint64_t total_ = 0;
    std::uint64_t lineEnd_ = 0;
    std::uint64_t pos_ = 0;
};

class GeneratedExportFileSystem final : public testing::RefusingFileSystem {
  public:
    explicit GeneratedExportFileSystem(std::uint64_t lineBytes) : lineBytes_(lineBytes) {}
    bool FileExists(const std::string&) override { return true; }
    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string&) override {
        return std::unique_ptr<InputFile>(std::make_unique<GeneratedLongLine>(lineBytes_));
    }

  private:
    std::uint64_t lineBytes_;
};

long PeakKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(BoundedMemoryTest, GibibyteLineIsSkippedWithoutBeingHeld) {
    constexpr std::uint64_t kLine = std::uint64_t{1} << 30;
    const ChildResult child = RunInChild([&](std::string& out) {
        GeneratedExportFileSystem files(kLine);
        const long before = PeakKiB();
        const RunRecord run = RunOnce("generated", "", files, nullptr, true);
        const long growth = PeakKiB() - before;
        out = std::to_string(growth) + " " + std::to_string(run.result.documentCount);
        return 0;
    });
    ASSERT_EQ(child.exitCode, 0);
    long growth = 0;
    long documents = 0;
    ASSERT_EQ(std::sscanf(child.output.c_str(), "%ld %ld", &growth, &documents), 2);
    std::cout << "1 GiB line: peak grew by " << growth << " KiB\n";
    EXPECT_LT(growth, kAllowedGrowth);
    EXPECT_EQ(documents, 2);  // the documents on either side; the long line is none
}

class CliPeakMemoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef TREVO_ADDRESS_SANITIZER
        GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine";
#endif
    }
    long CheckPeak(const std::string& exportPath) const {
        const auto peak =
            testing::MeasureChildPeak(TREVO_CLI_PATH, {"convert", "--check", exportPath});
        EXPECT_EQ(peak.exitCode, 0);
        return peak.maxRssKiB;
    }
    // The peak of undoing a run of `documents`, booked into a ledger directory of its own.
    long UndoPeak(std::size_t documents) const {
        const std::string exportPath = dir_.File(std::to_string(documents) + ".kpm");
        const std::string ledger = dir_.File("ledger-" + std::to_string(documents));
        std::filesystem::create_directory(ledger);
        testing::SyntheticExportOptions options;
        options.documents = documents;
        EXPECT_TRUE(testing::WriteSyntheticExport(exportPath, options));
        EXPECT_EQ(
            testing::MeasureChildPeak(TREVO_CLI_PATH, {"convert", exportPath, ledger}).exitCode, 0);
        const auto peak = testing::MeasureChildPeak(TREVO_CLI_PATH, {"undo", ledger});
        EXPECT_EQ(peak.exitCode, 0);
        return peak.maxRssKiB;
    }
    testing::TempDirectory dir_;
};

// Undo reads the run's records in blocks to check them, and keeps none of them.
TEST_F(CliPeakMemoryTest, UndoOfAHundredTimesTheDocumentsCostsNoMoreMemory) {
    const long fewPeak = UndoPeak(1'000);
    const long manyPeak = UndoPeak(100'000);
    std::cout << "undo peak KiB: 1,000 documents " << fewPeak << ", 100,000 documents " << manyPeak
              << '\n';
    EXPECT_LT(manyPeak - fewPeak, kAllowedGrowth);
}

TEST_F(CliPeakMemoryTest, LongLineOnDiskCostsNoMoreThanAShortExport) {
    const std::string small = dir_.File("small.kpm");
    const std::string large = dir_.File("long-line.kpm");
    ASSERT_TRUE(testing::WriteLongLineExport(small, 510));
    ASSERT_TRUE(testing::WriteLongLineExport(large, 64u << 20));
    const long smallPeak = CheckPeak(small);
    const long largePeak = CheckPeak(large);
    std::cout << "peak KiB: 510-byte line " << smallPeak << ", 64 MiB line " << largePeak << '\n';
    EXPECT_LT(largePeak - smallPeak, kAllowedGrowth);
}

TEST_F(CliPeakMemoryTest, HundredTimesTheDocumentsCostNoMoreMemory) {
    const std::string few = dir_.File("1000.kpm");
    const std::string many = dir_.File("100000.kpm");
    testing::SyntheticExportOptions options;
    options.documents = 1'000;
    ASSERT_TRUE(testing::WriteSyntheticExport(few, options));
    options.documents = 100'000;
    ASSERT_TRUE(testing::WriteSyntheticExport(many, options));
    const long fewPeak = CheckPeak(few);
    const long manyPeak = CheckPeak(many);
    std::cout << "peak KiB: 1,000 documents " << fewPeak << ", 100,000 documents " << manyPeak
              << '\n';
    EXPECT_LT(manyPeak - fewPeak, kAllowedGrowth);
}

// A period file of zeros as large as a year of a big firm's books and more: every record is
// read, every one has six problems, and the table has a row for each. Memory must not follow
// the file. bench/reliability measures 2 GB.
TEST_F(CliPeakMemoryTest, ShowAndVerifyOfAHugePeriodFileStayFlat) {
    const std::string ledger = dir_.File("FIRMA1");
    std::filesystem::create_directory(ledger);
    const std::string period = ledger + "/2024ORMEK.1";
    std::ofstream(period).close();
    constexpr std::uint64_t kRecords = (std::uint64_t{256} << 20) / 400;
    std::filesystem::resize_file(period, kRecords * 400);
    struct stat status {};
    ASSERT_EQ(::stat(period.c_str(), &status), 0);
    if (status.st_blocks > 2048) {
        GTEST_SKIP() << "this file system fills a file's holes";
    }
    const auto verify = testing::MeasureChildPeak(TREVO_CLI_PATH, {"verify", ledger});
    const auto show = testing::MeasureChildPeak(TREVO_CLI_PATH, {"show", period});
    std::cout << "peak KiB of a 256 MiB period file: verify " << verify.maxRssKiB << ", show "
              << show.maxRssKiB << '\n';
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_LT(verify.maxRssKiB, 64 * kMiB);
    EXPECT_LT(show.maxRssKiB, 64 * kMiB);
}

}  // namespace
}  // namespace trevo::reliability
