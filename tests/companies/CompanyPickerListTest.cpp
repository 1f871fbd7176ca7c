#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <stdexcept>

#include "companies/CompanyPickerList.h"
#include "testing/CompanyListBuilder.h"
#include "testing/FaultInjectingFileSystem.h"
#include "testing/RefusingFileSystem.h"
#include "testing/TempDirectory.h"
#include "testing/TestCollations.h"

namespace trevo {
namespace {

using testing::CompanyListRecord;

using testing::ByteCollation;
using testing::ThrowingCollation;

// A list that exists but does not open, as a file without read permission for the user (the
// tests may run as the superuser, whom permissions let through).
class UnopenableFileSystem final : public testing::RefusingFileSystem {
  public:
    bool FileExists(const std::string&) override { return true; }
};

class CompanyPickerListTest : public ::testing::Test {
  protected:
    // Two offices whose lists both name FIRMA01, for different people.
    void SetUp() override {
        std::filesystem::create_directory(dir_.Path() / "biuro1");
        std::filesystem::create_directory(dir_.Path() / "biuro2");
        testing::WriteFileBytes(office1_, CompanyListRecord("Kowalski Jan", "FIRMA01") +
                                              CompanyListRecord("Zielinski Piotr", "FIRMA02"));
        testing::WriteFileBytes(office2_, CompanyListRecord("Nowak Anna", "FIRMA01") +
                                              CompanyListRecord("Kowalski Jan", "FIRMA07"));
    }

    CompanyListFailure Load(CompanyPickerList& list, const std::string& path,
                            FileSystem& fileSystem = LocalFileSystem()) {
        return list.Load(fileSystem, path, PolishCharset::pcMazovia, "FIRMA01", collation_);
    }

    testing::TempDirectory dir_;
    const std::string office1_ = dir_.File("biuro1/spisfirm.dat");
    const std::string office2_ = dir_.File("biuro2/spisfirm.dat");
    const ByteCollation collation_{};
};

TEST_F(CompanyPickerListTest, TheDirectoryComesFromTheFileTheRowsCameFrom) {
    CompanyPickerList list;
    ASSERT_EQ(Load(list, office1_), CompanyListFailure::None);
    EXPECT_EQ(list.Source(), office1_);
    ASSERT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.Rows()[0].firma, "Kowalski Jan");
    EXPECT_EQ(list.LoadedRow(), 0u);
    EXPECT_EQ(list.LedgerDirectoryFor(0), dir_.File("biuro1/FIRMA01"));

    // The same name again keeps the rows; another name drops them, and nothing can be chosen.
    EXPECT_FALSE(list.DropUnlessFrom(office1_));
    EXPECT_EQ(list.Rows().size(), 2u);
    EXPECT_TRUE(list.DropUnlessFrom(office2_));
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.Source(), std::nullopt);
    EXPECT_EQ(list.LedgerDirectoryFor(0), std::nullopt);
    EXPECT_EQ(list.LedgerDirectoryFor(std::nullopt), std::nullopt);
    EXPECT_FALSE(list.DropUnlessFrom(office1_));

    // Kowalski Jan of office 2 is its FIRMA07, never office 2's FIRMA01.
    ASSERT_EQ(Load(list, office2_), CompanyListFailure::None);
    EXPECT_EQ(list.Rows()[0].firma, "Kowalski Jan");
    EXPECT_EQ(list.LedgerDirectoryFor(0), dir_.File("biuro2/FIRMA07"));
    EXPECT_EQ(list.LedgerDirectoryFor(1), dir_.File("biuro2/FIRMA01"));
    EXPECT_EQ(list.LedgerDirectoryFor(2), std::nullopt);
}

TEST_F(CompanyPickerListTest, AFailedLoadLeavesNoRowsAndSaysWhy) {
    const std::string shortFile = dir_.File("short.dat");
    testing::WriteFileBytes(shortFile, CompanyListRecord("A", "A").substr(0, 102));
    std::filesystem::create_directory(dir_.Path() / "spisfirm.dat");
    UnopenableFileSystem unopenable;

    struct Case {
        std::string path;
        FileSystem* fileSystem;
        CompanyListFailure failure;
    };
    for (const Case& c :
         {Case{dir_.File("none.dat"), &LocalFileSystem(), CompanyListFailure::Missing},
          Case{dir_.File("spisfirm.dat"), &LocalFileSystem(), CompanyListFailure::Folder},
          Case{shortFile, &LocalFileSystem(), CompanyListFailure::NotAList},
          Case{office2_, &unopenable, CompanyListFailure::NoAccess}}) {
        CompanyPickerList list;
        ASSERT_EQ(Load(list, office1_), CompanyListFailure::None);
        EXPECT_EQ(Load(list, c.path, *c.fileSystem), c.failure) << c.path;
        EXPECT_TRUE(list.Rows().empty()) << c.path;
        EXPECT_EQ(list.Source(), std::nullopt) << c.path;
        EXPECT_EQ(list.LoadedRow(), std::nullopt) << c.path;
        EXPECT_EQ(list.LedgerDirectoryFor(std::nullopt), std::nullopt) << c.path;
    }
}

TEST_F(CompanyPickerListTest, AReadingCutShortIsNoList) {
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.LimitReadSize(103);
    faults.FailAt(testing::FileOperation::Read, 2);
    CompanyPickerList list;
    EXPECT_EQ(Load(list, office1_, faults), CompanyListFailure::ReadFailed);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.Source(), std::nullopt);
}

TEST_F(CompanyPickerListTest, AnEmptyListGivesItsOwnDirectory) {
    const std::string empty = dir_.File("biuro1/pusta.dat");
    testing::WriteFileBytes(empty, "");
    CompanyPickerList list;
    ASSERT_EQ(Load(list, empty), CompanyListFailure::None);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.LoadedRow(), std::nullopt);
    EXPECT_EQ(list.LedgerDirectoryFor(std::nullopt), dir_.File("biuro1/"));
}

TEST_F(CompanyPickerListTest, AThrowingLoadLeavesNoOldRows) {
    CompanyPickerList list;
    ASSERT_EQ(Load(list, office1_), CompanyListFailure::None);
    const ThrowingCollation throwing;
    EXPECT_THROW(
        list.Load(LocalFileSystem(), office2_, PolishCharset::pcMazovia, "FIRMA01", throwing),
        std::runtime_error);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.LedgerDirectoryFor(std::nullopt), std::nullopt);
}

TEST(CompanyListFailureReason, EachFailureHasItsOwnWords) {
    EXPECT_EQ(CompanyListFailureReason(CompanyListFailure::None), "");
    std::set<std::string> reasons;
    for (const auto failure :
         {CompanyListFailure::Missing, CompanyListFailure::Folder, CompanyListFailure::NoAccess,
          CompanyListFailure::NotAList, CompanyListFailure::ReadFailed}) {
        reasons.insert(CompanyListFailureReason(failure));
    }
    EXPECT_EQ(reasons.size(), 5u);
    EXPECT_EQ(reasons.count(""), 0u);
}

}  // namespace
}  // namespace trevo
