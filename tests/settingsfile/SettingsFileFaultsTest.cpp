// The settings file through the engine's file interface: one failing file operation swept over
// every step of writing a window's section (read, create the new file, write, force to disk,
// close, rename, force the directory). Every failure is a value with a reason, the file holds
// either its old contents or its new ones, and no temporary file is left behind.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/files/FileSystem.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/WindowSectionWrite.h"
#include "testing/FaultInjectingFileSystem.h"
#include "testing/TempDirectory.h"

namespace trevo::settings {
namespace {

namespace fs = std::filesystem;
using trevo::testing::FaultInjectingFileSystem;
using trevo::testing::FileOperation;

const std::string kOld =
    "[SPISFIRM]\r\nFilenameEdit_FileName=spisfirm.dat\r\n\r\n"
    "[MAIN]\r\nFormVersion=0\r\n\r\n";
const std::string kNew =
    "[SPISFIRM]\r\nFilenameEdit_FileName=spisfirm.dat\r\n\r\n"
    "[MAIN]\r\nFormVersion=1\r\n\r\n";

SectionWriteResult WriteMain(FileSystem& fileSystem, const std::string& path) {
    return WriteWindowSection(fileSystem, path, SettingsFile::Parse("[MAIN]\r\nFormVersion=1\r\n"),
                              "MAIN");
}

struct Sweep {
    FileOperation operation;
    const char* name;
};

class SettingsFileFaultsTest : public ::testing::TestWithParam<Sweep> {};

TEST_P(SettingsFileFaultsTest, EveryFailureIsReportedAndLeavesAWholeFile) {
    const Sweep sweep = GetParam();
    for (const bool exists : {true, false}) {
        SCOPED_TRACE(exists ? "replacing a file" : "creating the file");
        int operations = 0;
        {
            trevo::testing::TempDirectory dir;
            const std::string path = dir.File("trevo2KPR.INI");
            if (exists) {
                trevo::testing::WriteFileBytes(path, kOld);
            }
            FaultInjectingFileSystem counting(LocalFileSystem());
            ASSERT_EQ(WriteMain(counting, path).outcome, SectionWriteOutcome::Written);
            operations = counting.Done(sweep.operation);
        }
        for (int k = 1; k <= operations; ++k) {
            SCOPED_TRACE(std::string("failing ") + sweep.name + " number " + std::to_string(k));
            trevo::testing::TempDirectory dir;
            const std::string path = dir.File("trevo2KPR.INI");
            if (exists) {
                trevo::testing::WriteFileBytes(path, kOld);
            }
            FaultInjectingFileSystem faults(LocalFileSystem());
            faults.FailAt(sweep.operation, k, 11);
            const SectionWriteResult result = WriteMain(faults, path);

            EXPECT_FALSE(fs::exists(path + ".new"));
            const std::string after =
                fs::exists(path) ? trevo::testing::ReadFileBytes(path) : std::string();
            if (result.outcome == SectionWriteOutcome::Written) {
                EXPECT_EQ(after, exists ? kNew : "[MAIN]\r\nFormVersion=1\r\n\r\n");
                continue;
            }
            ASSERT_EQ(result.outcome, SectionWriteOutcome::Failed);
            EXPECT_FALSE(result.reason.empty());
            // Forcing the directory fails only after the new contents took the name.
            const bool replaced = after != (exists ? kOld : "");
            EXPECT_EQ(replaced, sweep.operation == FileOperation::Sync && k == operations);
            // The next write, without faults, puts everything right.
            EXPECT_EQ(WriteMain(LocalFileSystem(), path).outcome, SectionWriteOutcome::Written);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachOperation, SettingsFileFaultsTest,
    ::testing::Values(Sweep{FileOperation::Read, "Read"}, Sweep{FileOperation::Open, "Open"},
                      Sweep{FileOperation::Write, "Write"}, Sweep{FileOperation::Sync, "Sync"},
                      Sweep{FileOperation::Close, "Close"}, Sweep{FileOperation::Rename, "Rename"}),
    [](const ::testing::TestParamInfo<Sweep>& info) { return std::string(info.param.name); });

// The C++ library for Windows makes no symbolic links; the Windows file layer's own test tries
// the system's call.
#define SKIP_WITHOUT_LINK(link)                                                       \
    if (!fs::is_symlink(link)) {                                                      \
        GTEST_SKIP() << "this system made no symbolic link: " << linkError.message(); \
    }

TEST(SettingsFileLinks, ALinkStaysALinkAndItsTargetIsReplaced) {
    trevo::testing::TempDirectory dir;
    fs::create_directory(dir.File("real"));
    const std::string target = dir.File("real/trevo2KPR.INI");
    trevo::testing::WriteFileBytes(target, kOld);
    const std::string link = dir.File("trevo2KPR.INI");
    std::error_code linkError;
    fs::create_symlink("real/trevo2KPR.INI", link, linkError);
    SKIP_WITHOUT_LINK(link);
    EXPECT_EQ(WriteMain(LocalFileSystem(), link).outcome, SectionWriteOutcome::Written);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(trevo::testing::ReadFileBytes(target), kNew);
    EXPECT_FALSE(fs::exists(target + ".new"));
}

TEST(SettingsFileLinks, AStaleTemporaryFileOrALinkInItsPlaceIsNoObstacle) {
    trevo::testing::TempDirectory dir;
    const std::string path = dir.File("trevo2KPR.INI");
    trevo::testing::WriteFileBytes(path, kOld);
    // Left by a write that was cut off, or planted: a link to a file elsewhere.
    trevo::testing::WriteFileBytes(dir.File("elsewhere"), "keep");
    std::error_code linkError;
    fs::create_symlink(dir.File("elsewhere"), path + ".new", linkError);
    SKIP_WITHOUT_LINK(path + ".new");
    EXPECT_EQ(WriteMain(LocalFileSystem(), path).outcome, SectionWriteOutcome::Written);
    EXPECT_EQ(trevo::testing::ReadFileBytes(path), kNew);
    EXPECT_EQ(trevo::testing::ReadFileBytes(dir.File("elsewhere")), "keep");
}

}  // namespace
}  // namespace trevo::settings
