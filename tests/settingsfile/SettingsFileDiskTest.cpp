#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/files/FileSystem.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/WindowSectionWrite.h"
#include "testing/TempDirectory.h"

namespace trevo::settings {
namespace {

namespace fs = std::filesystem;

class SettingsFileDisk : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = temp_.Path(); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    testing::TempDirectory temp_;
    fs::path dir_;
};

TEST_F(SettingsFileDisk, AMissingFileReadsAsAnEmptyDocument) {
    const SettingsFileRead read = SettingsFile::Read(PathOf("trevo2KPR.INI"));
    EXPECT_TRUE(read.status.ok);
    EXPECT_EQ(read.document.SectionCount(), 0u);
    EXPECT_FALSE(SettingsFile::Read(dir_.string()).status.ok);
}

TEST_F(SettingsFileDisk, WritesTheDocumentCreatingTheDirectory) {
    const std::string path = PathOf("program/dir/trevo2KPR.INI");
    SettingsFile file;
    file.Set("MAIN", "FE_EPP_Text", "\xA3\xF3\x64\x9F");
    ASSERT_TRUE(file.Write(path).ok);
    EXPECT_EQ(Contents(path), "[MAIN]\r\nFE_EPP_Text=\xA3\xF3\x64\x9F\r\n\r\n");
    EXPECT_EQ(SettingsFile::Read(path).document.Get("main", "fe_epp_text"), "\xA3\xF3\x64\x9F");
    EXPECT_FALSE(fs::exists(path + ".new"));
}

TEST_F(SettingsFileDisk, ReplacingKeepsTheFilesPermissions) {
    const std::string path = PathOf("trevo2KPR.INI");
    Put(path, "[A]\r\n");
#ifdef _WIN32
    // Windows keeps one permission: the read-only attribute, which a file written here lacks.
    const fs::perms kept = fs::status(path).permissions();
#else
    const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(path, kept);
#endif
    ASSERT_TRUE(SettingsFile::Parse("[B]\r\n").Write(path).ok);
    EXPECT_EQ(fs::status(path).permissions(), kept);
    EXPECT_EQ(Contents(path), "[B]\r\n\r\n");
}

TEST_F(SettingsFileDisk, AWriteFailureIsAValueWithAReason) {
    Put(PathOf("plain"), "x");
    const SettingsFileStatus status = SettingsFile().Write(PathOf("plain/trevo2KPR.INI"));
    EXPECT_FALSE(status.ok);
    EXPECT_FALSE(status.reason.empty());
    fs::create_directory(PathOf("trevo2KPR.INI"));
    EXPECT_FALSE(SettingsFile().Write(PathOf("trevo2KPR.INI")).ok);
}

TEST_F(SettingsFileDisk, AWindowSectionLeavesTheOtherSectionsAsOnDisk) {
    const std::string path = PathOf("trevo2KPR.INI");
    // The main window read the file before the picker wrote its section.
    SettingsFile mainCopy = SettingsFile::Parse("[SPISFIRM]\r\nFilenameEdit_FileName=old\r\n");
    mainCopy.Set("MAIN", "FormVersion", "0");
    Put(path, "[SPISFIRM]\r\nFilenameEdit_FileName=new\r\n[MAIN]\r\nFormVersion=5\r\nx=1\r\n");

    EXPECT_EQ(WriteWindowSection(path, mainCopy, "main").outcome, SectionWriteOutcome::Written);
    EXPECT_EQ(Contents(path),
              "[SPISFIRM]\r\nFilenameEdit_FileName=new\r\n\r\n[MAIN]\r\nFormVersion=0\r\n\r\n");

    const std::string fresh = PathOf("sub/trevo2KPR.INI");
    EXPECT_EQ(WriteWindowSection(fresh, mainCopy, "MAIN").outcome, SectionWriteOutcome::Written);
    EXPECT_EQ(Contents(fresh), "[MAIN]\r\nFormVersion=0\r\n\r\n");
}

TEST_F(SettingsFileDisk, AReadOnlyFileIsNeverWritten) {
    const std::string path = PathOf("trevo2KPR.INI");
    Put(path, "[MAIN]\r\nFormVersion=0\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(LocalFileSystem().IsReadOnlyFile({path}));
    const SettingsFile copy = SettingsFile::Parse("[MAIN]\r\nFormVersion=1\r\n");
    EXPECT_EQ(WriteWindowSection(path, copy, "MAIN").outcome, SectionWriteOutcome::LeftReadOnly);
    EXPECT_EQ(Contents(path), "[MAIN]\r\nFormVersion=0\r\n");

    // One write bit, anyone's, makes it writable (on Windows the read-only attribute, which
    // the library maps to the owner's bit alone).
#ifdef _WIN32
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
#else
    fs::permissions(path, fs::perms::others_write, fs::perm_options::add);
#endif
    EXPECT_FALSE(LocalFileSystem().IsReadOnlyFile({path}));
    EXPECT_FALSE(LocalFileSystem().IsReadOnlyFile({PathOf("missing")}));
}

TEST_F(SettingsFileDisk, AFileThatCannotBeReadIsNotOverwritten) {
    // A directory in the file's place cannot be read; the write must not go ahead blindly.
    const std::string path = PathOf("trevo2KPR.INI");
    fs::create_directory(path);
    const SectionWriteResult result =
        WriteWindowSection(path, SettingsFile::Parse("[MAIN]\r\nk=1\r\n"), "MAIN");
    EXPECT_EQ(result.outcome, SectionWriteOutcome::Failed);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_TRUE(fs::is_directory(path));
}

}  // namespace
}  // namespace trevo::settings
