#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "engine/files/FileFailureReason.h"
#include "engine/files/FileSystem.h"
#include "engine/text/Win1250.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

constexpr FileErrc kEveryFileErrc[] = {FileErrc::IsLink,           FileErrc::ReadOnly,
                                       FileErrc::HeldByAnotherRun, FileErrc::NameMoved,
                                       FileErrc::NotRegularFile,   FileErrc::Exists};

// The user reads these reasons: each is Polish and its own, never the category's English words,
// and never the reason of the system error that happens to share its number.
TEST(FileFailureReasonTest, EveryFileErrcHasItsOwnPolishReason) {
    std::set<std::string> seen;
    const std::string unknown = FileFailureReason(std::error_code());
    for (const FileErrc errc : kEveryFileErrc) {
        const std::error_code error = errc;
        const std::string reason = FileFailureReason(error);
        SCOPED_TRACE(error.message());
        EXPECT_NE(reason, unknown);
        EXPECT_NE(text::Win1250ToUtf8(reason), error.message());
        EXPECT_NE(reason,
                  FileFailureReason(std::error_code(error.value(), std::generic_category())));
        EXPECT_TRUE(seen.insert(reason).second);
    }
    EXPECT_EQ(text::Win1250ToUtf8(FileFailureReason(FileErrc::HeldByAnotherRun)),
              "plik jest zapisywany przez inną konwersję");
    // A system error is still told by its own number.
    EXPECT_EQ(text::Win1250ToUtf8(FileFailureReason(std::make_error_code(std::errc::io_error))),
              "błąd wejścia/wyjścia");
    EXPECT_NE(std::error_code(FileErrc::IsLink), std::error_code(1, std::generic_category()));
}

class LocalFileSystemTest : public ::testing::Test {
  protected:
    std::string File(const std::string& name) const { return dir_.File(name); }

    FileSystem& files_ = LocalFileSystem();
    testing::TempDirectory dir_;
};

// What a refused open says decides the user's message and the run's course: a link, a read-only
// file and a name that exists are told apart from a plain system error.
TEST_F(LocalFileSystemTest, RefusedOpensSayWhy) {
    WriteFileBytes(File("target"), "keep");
    std::filesystem::create_symlink(File("target"), File("link"));
    std::filesystem::create_symlink(File("nowhere"), File("dangling"));
    WriteFileBytes(File("readonly"), "r");
    ASSERT_EQ(::chmod(File("readonly").c_str(), 0444), 0);

    EXPECT_EQ(files_.OpenOrCreateRecordFile(File("link")).error(), FileErrc::IsLink);
    EXPECT_EQ(files_.OpenOrCreateRecordFile(File("dangling")).error(), FileErrc::IsLink);
    EXPECT_FALSE(std::filesystem::exists(File("nowhere")));
    EXPECT_EQ(files_.OpenExistingRecordFile(File("link")).error(), FileErrc::IsLink);
    EXPECT_EQ(files_.OpenPeriodFileForReading(File("link")).error(), FileErrc::IsLink);
    EXPECT_EQ(files_.LockRecordFile(File("link")).error(), FileErrc::IsLink);
    EXPECT_EQ(ReadFileBytes(File("target")), "keep");

    EXPECT_EQ(files_.OpenOrCreateRecordFile(File("readonly")).error(), FileErrc::ReadOnly);
    EXPECT_EQ(files_.OpenExistingRecordFile(File("readonly")).error(), FileErrc::ReadOnly);

    EXPECT_EQ(files_.CreateNewRecordFile(File("target")).error(), FileErrc::Exists);
    EXPECT_EQ(files_.CreateNewRecordFile(File("dangling")).error(), FileErrc::Exists);
    EXPECT_FALSE(std::filesystem::exists(File("nowhere")));

    ::mkfifo(File("fifo").c_str(), 0666);
    EXPECT_EQ(files_.OpenForReading(File("fifo")).error(), FileErrc::NotRegularFile);
    EXPECT_EQ(files_.OpenExistingRecordFile(File("missing")).error(),
              std::errc::no_such_file_or_directory);

    auto directory = files_.OpenDirectory(dir_.Path().string());
    ASSERT_TRUE(directory);
    EXPECT_EQ((*directory)->CreateNewFile("target").error(), FileErrc::Exists);
    EXPECT_EQ((*directory)->OpenDirectory("link", false).error(), FileErrc::IsLink);
    EXPECT_EQ((*directory)->Rename("readonly", "target").error(), FileErrc::Exists);
    EXPECT_EQ(ReadFileBytes(File("target")), "keep");
    std::filesystem::create_directory(File("real"));
    std::filesystem::create_directory_symlink(File("real"), File("linked"));
    EXPECT_EQ((*directory)->OpenDirectory("linked", true).error(), FileErrc::IsLink);
    EXPECT_EQ((*directory)->OpenDirectory("target", false).error(), std::errc::not_a_directory);
    EXPECT_EQ(files_.MakeDirectory(File("linked")).error(), FileErrc::IsLink);
    EXPECT_TRUE(files_.MakeDirectory(File("real")));
}

// The lock between runs: a second taker hears that another run holds it, until the first
// lets go.
TEST_F(LocalFileSystemTest, ALockHeldElsewhereIsHeldByAnotherRun) {
    WriteFileBytes(File("2024ORMEK.1"), "");
    auto held = files_.LockRecordFile(File("2024ORMEK.1"));
    ASSERT_TRUE(held);
    auto file = files_.OpenOrCreateRecordFile(File("2024ORMEK.1"));
    ASSERT_TRUE(file);
    EXPECT_EQ((*file)->LockAgainstOtherRuns().error(), FileErrc::HeldByAnotherRun);
    EXPECT_EQ(files_.LockRecordFile(File("2024ORMEK.1")).error(), FileErrc::HeldByAnotherRun);
    (*held).reset();
    EXPECT_TRUE((*file)->LockAgainstOtherRuns());
    EXPECT_EQ(files_.LockRecordFile(File("2024ORMEK.1")).error(), FileErrc::HeldByAnotherRun);
}

// A file whose name now stands for another is never appended to, nor removed by that name.
TEST_F(LocalFileSystemTest, AFileRenamedAwayIsNameMoved) {
    auto file = files_.OpenOrCreateRecordFile(File("2024ORMEK.2"));
    ASSERT_TRUE(file);
    ASSERT_TRUE((*file)->SizeInBytes());
    std::filesystem::rename(File("2024ORMEK.2"), File("elsewhere"));
    WriteFileBytes(File("2024ORMEK.2"), "new");
    EXPECT_EQ((*file)->SizeInBytes().error(), FileErrc::NameMoved);
    EXPECT_EQ(files_.RemoveOpenFile(File("2024ORMEK.2"), **file).error(), FileErrc::NameMoved);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.2")), "new");
    EXPECT_TRUE((*file)->Close());
    EXPECT_EQ((*file)->Write("x", 1).error(), std::errc::bad_file_descriptor);
}

}  // namespace
}  // namespace trevo
