#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "companies/CompanyList.h"
#include "testing/CompanyListBuilder.h"
#include "testing/RefusingFileSystem.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::CompanyListRecord;

std::vector<CompanyRecord> ReadAll(FileSystem& fileSystem, const std::string& path,
                                   PolishCharset code = PolishCharset::pcMazovia) {
    std::vector<CompanyRecord> records;
    const std::size_t delivered = ReadCompanyList(
        fileSystem, path, code, [&](const CompanyRecord& r) { records.push_back(r); });
    EXPECT_EQ(delivered, records.size());
    return records;
}

class CompanyListFileTest : public ::testing::Test {
  protected:
    std::vector<CompanyRecord> ReadBytes(const std::string& bytes,
                                         PolishCharset code = PolishCharset::pcMazovia) {
        const std::string path = dir_.File("spisfirm.dat");
        testing::WriteFileBytes(path, bytes);
        return ReadAll(LocalFileSystem(), path, code);
    }

    testing::TempDirectory dir_;
};

TEST_F(CompanyListFileTest, OnlyWholeRecordsAreRead) {
    const std::string three = CompanyListRecord("Alfa", "ALFA", "pierwsza") +
                              CompanyListRecord("Beta", "BETA") +
                              CompanyListRecord("Gamma", "GAMMA", "trzecia");
    EXPECT_TRUE(ReadBytes("").empty());
    EXPECT_TRUE(ReadBytes(three.substr(0, 102)).empty());

    const std::vector<CompanyRecord> expected = {
        {"Alfa", "ALFA", "pierwsza"}, {"Beta", "BETA", ""}, {"Gamma", "GAMMA", "trzecia"}};
    ASSERT_EQ(three.size(), 309u);
    EXPECT_EQ(ReadBytes(three), expected);
    // 41 bytes of a fourth record are ignored.
    EXPECT_EQ(ReadBytes(three + CompanyListRecord("Delta", "DELTA").substr(0, 41)), expected);
}

TEST_F(CompanyListFileTest, TextsAreTakenFromTheirOffsets) {
    std::string record(103, '#');
    record[0] = 3;
    record.replace(1, 3, "ABC");
    record[32] = 2;
    record.replace(33, 2, "DE");
    record[41] = 4;
    record.replace(42, 4, "FGHI");
    EXPECT_EQ(ReadBytes(record), (std::vector<CompanyRecord>{{"ABC", "DE", "FGHI"}}));

    // Length bytes of zero: three empty texts, whatever the other bytes hold.
    EXPECT_EQ(ReadBytes(std::string(103, '\0')), (std::vector<CompanyRecord>{{"", "", ""}}));
    record[0] = record[32] = record[41] = 0;
    EXPECT_EQ(ReadBytes(record), (std::vector<CompanyRecord>{{"", "", ""}}));
}

TEST_F(CompanyListFileTest, LengthsBeyondTheRoomAreClamped) {
    std::string record(103, '\0');
    for (std::size_t i = 0; i < record.size(); ++i) {
        record[i] = static_cast<char>('A' + i % 26);
    }
    record[0] = 32;
    record[32] = static_cast<char>(255);
    record[41] = 62;
    const auto records = ReadBytes(record);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].companyName, record.substr(1, 31));
    EXPECT_EQ(records[0].companyDir, record.substr(33, 8));
    EXPECT_EQ(records[0].companyInfo, record.substr(42, 61));
}

TEST_F(CompanyListFileTest, TextsAreConvertedFromTheLedgerCodeButTheDirectoryIsNot) {
    // Mazovia: 143 Ą, 134 ą, 156 Ł. The same bytes in code page 852: 143 Ć, 134 ć, 156 £.
    const std::string polish = "\x8F\x86\x9C";
    const std::string dir = "\x86\x8F\xE9";
    const std::string bytes = CompanyListRecord("Z" + polish, dir, polish);

    const auto mazovia = ReadBytes(bytes, PolishCharset::pcMazovia);
    ASSERT_EQ(mazovia.size(), 1u);
    EXPECT_EQ(mazovia[0].companyName, "Z\xA5\xB9\xA3");
    EXPECT_EQ(mazovia[0].companyInfo, "\xA5\xB9\xA3");
    EXPECT_EQ(mazovia[0].companyDir, dir);

    const auto cp852 = ReadBytes(bytes, PolishCharset::pcCp852);
    ASSERT_EQ(cp852.size(), 1u);
    EXPECT_EQ(cp852[0].companyName, "Z\xC6\xE6\x9C");
    EXPECT_EQ(cp852[0].companyInfo, "\xC6\xE6\x9C");
    EXPECT_EQ(cp852[0].companyDir, dir);
}

TEST_F(CompanyListFileTest, AFileThatCannotBeOpenedYieldsNothing) {
    EXPECT_TRUE(ReadAll(LocalFileSystem(), dir_.Path().string()).empty());
    EXPECT_TRUE(ReadAll(LocalFileSystem(), dir_.File("missing.dat")).empty());
}

// A file whose contents the test controls: its size at opening, the bytes it still has, how
// many bytes one read gives, and whether it is still open.
struct FakeListState {
    std::uint64_t sizeAtOpen = 0;
    std::string bytes;
    std::size_t readChunk = 1000;
    int openFiles = 0;
    int recordOpens = 0;
};

class FakeListFile final : public InputFile {
  public:
    explicit FakeListFile(FakeListState& state) : state_(state) { ++state_.openFiles; }
    ~FakeListFile() override { --state_.openFiles; }
    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override {
        const std::size_t n =
            std::min({capacity, state_.readChunk, state_.bytes.size() - position_});
        std::memcpy(buffer, state_.bytes.data() + position_, n);
        position_ += n;
        return n;
    }
    std::uint64_t SizeAtOpen() const override { return state_.sizeAtOpen; }

  private:
    FakeListState& state_;
    std::size_t position_ = 0;
};

class FakeFileSystem final : public testing::RefusingFileSystem {
  public:
    explicit FakeFileSystem(FakeListState& state) : state_(state) {}
    bool FileExists(const std::string&) override { return true; }
    FileResult<std::unique_ptr<InputFile>> OpenRecordFileForReading(const std::string&) override {
        ++state_.recordOpens;
        return std::unique_ptr<InputFile>(std::make_unique<FakeListFile>(state_));
    }

  private:
    FakeListState& state_;
};

TEST(CompanyListReading, OpensTheListAsASharedRecordFileAndClosesIt) {
    FakeListState state;
    state.bytes = CompanyListRecord("A", "A") + CompanyListRecord("B", "B");
    state.sizeAtOpen = state.bytes.size();
    state.readChunk = 7;  // records arrive in pieces
    FakeFileSystem fileSystem(state);
    EXPECT_EQ(ReadAll(fileSystem, "spisfirm.dat").size(), 2u);
    EXPECT_EQ(state.recordOpens, 1);
    EXPECT_EQ(state.openFiles, 0);

    EXPECT_THROW(ReadCompanyList(fileSystem, "spisfirm.dat", PolishCharset::pcMazovia,
                                 [](const CompanyRecord&) { throw std::runtime_error("full"); }),
                 std::runtime_error);
    EXPECT_EQ(state.openFiles, 0);
}

TEST(CompanyListReading, AFileThatShrinksEndsTheReadingAfterItsWholeRecords) {
    FakeListState state;
    state.sizeAtOpen = 3 * 103;
    state.bytes = CompanyListRecord("A", "A") + CompanyListRecord("B", "B").substr(0, 50);
    FakeFileSystem fileSystem(state);
    const auto records = ReadAll(fileSystem, "spisfirm.dat");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].companyName, "A");
    EXPECT_EQ(state.openFiles, 0);
}

TEST(CompanyListReading, AnInvalidCodeYieldsNothingInsteadOfThrowing) {
    FakeListState state;
    state.bytes = CompanyListRecord("\x86", "A");
    state.sizeAtOpen = state.bytes.size();
    FakeFileSystem fileSystem(state);
    EXPECT_TRUE(ReadAll(fileSystem, "x", static_cast<PolishCharset>(6)).empty());
}

}  // namespace
}  // namespace trevo
