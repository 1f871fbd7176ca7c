// The Windows file layer against the real system (run under an emulator on the build
// machine): share modes, the lock between runs, reparse points, the read-only attribute,
// Polish letters and long names.

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/files/FileFailureReason.h"
#include "engine/files/FileSystem.h"
#include "engine/files/WindowsPath.h"
#include "engine/files/WindowsRecordFile.h"
#include "engine/text/Win1250.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {
namespace {

using namespace trevo::literals;

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::wstring Wide(const std::string& win1250) {
    return *windows::FromWin1250(win1250);
}

// Everything below `path`, read-only files and links included (a link itself, never what it
// names).
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                RemoveTree(child);
            } else if (!::DeleteFileW(child.c_str())) {
                ::RemoveDirectoryW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

// A fresh directory under the temporary directory, as Windows-1250 text for the engine.
class WindowsFileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1];
        ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
        root_ = *windows::Extended(std::wstring(temp) + L"trevo-" +
                                   std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(::GetTickCount64()));
        ASSERT_TRUE(::CreateDirectoryW(root_.c_str(), nullptr));
        dir_ = *windows::ToWin1250(root_);
    }
    void TearDown() override { RemoveTree(root_); }

    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    std::wstring WidePath(const std::string& name) const { return root_ + L"\\" + Wide(name); }

    HANDLE RawOpen(const std::string& name, DWORD access, DWORD share,
                   DWORD disposition = OPEN_EXISTING) const {
        return ::CreateFileW(WidePath(name).c_str(), access, share, nullptr, disposition, 0,
                             nullptr);
    }

    std::string Contents(const std::string& name) const {
        const HANDLE file = RawOpen(name, GENERIC_READ, kShareReadWrite | FILE_SHARE_DELETE);
        std::string bytes;
        char buffer[4096];
        DWORD got = 0;
        while (file != INVALID_HANDLE_VALUE &&
               ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            bytes.append(buffer, got);
        }
        ::CloseHandle(file);
        return bytes;
    }

    void Write(const std::string& name, const std::string& bytes) const {
        const HANDLE file = RawOpen(name, GENERIC_WRITE, 0, CREATE_ALWAYS);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD wrote = 0;
        ASSERT_TRUE(
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr));
        ::CloseHandle(file);
    }

    FileSystem& files_ = LocalFileSystem();
    std::wstring root_;
    std::string dir_;
};

void ExpectSharingViolation(BOOL succeeded) {
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST_F(WindowsFileSystemTest, PeriodFileIsSharedForReadWriteButCannotBeRenamedOrDeleted) {
    auto period = files_.OpenOrCreateRecordFile(Path("2024ORMEK.3"));
    ASSERT_TRUE(period.ok()) << period.error().message();
    ASSERT_TRUE((*period)->Seek(0).ok());
    ASSERT_EQ(*(*period)->Write(std::string(400, 'a').data(), 400), 400u);

    // The ledger program opens the same file for reading and writing and appends a record.
    const HANDLE ledger = RawOpen("2024ORMEK.3", GENERIC_READ | GENERIC_WRITE, kShareReadWrite);
    ASSERT_NE(ledger, INVALID_HANDLE_VALUE) << ::GetLastError();
    OVERLAPPED end{};
    end.Offset = 400;
    DWORD wrote = 0;
    EXPECT_TRUE(::WriteFile(ledger, std::string(400, 'b').data(), 400, &wrote, &end));
    ::CloseHandle(ledger);
    EXPECT_EQ(*(*period)->SizeInBytes(), 800u);

    ExpectSharingViolation(
        ::MoveFileExW(WidePath("2024ORMEK.3").c_str(), WidePath("2024ORMEK.4").c_str(), 0));
    ExpectSharingViolation(::DeleteFileW(WidePath("2024ORMEK.3").c_str()));
    // Nor may anything replace it.
    Write("other", "x");
    EXPECT_FALSE(::MoveFileExW(WidePath("other").c_str(), WidePath("2024ORMEK.3").c_str(),
                               MOVEFILE_REPLACE_EXISTING));

    ASSERT_TRUE((*period)->Close().ok());
    EXPECT_TRUE(::MoveFileExW(WidePath("2024ORMEK.3").c_str(), WidePath("2024ORMEK.4").c_str(), 0));
    EXPECT_EQ(Contents("2024ORMEK.4"), std::string(400, 'a') + std::string(400, 'b'));
}

TEST_F(WindowsFileSystemTest, ExportCannotBeWrittenByOthersWhileRead) {
    Write("eksp2kap.kpm", "line\r\n");
    auto exported = files_.OpenForReading(Path("eksp2kap.kpm"));
    ASSERT_TRUE(exported.ok()) << exported.error().message();

    const HANDLE writer = RawOpen("eksp2kap.kpm", GENERIC_WRITE, kShareReadWrite);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    const HANDLE reader = RawOpen("eksp2kap.kpm", GENERIC_READ, FILE_SHARE_READ);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    ::CloseHandle(reader);

    char buffer[16];
    EXPECT_EQ(*(*exported)->Read(buffer, sizeof buffer), 6u);
    EXPECT_EQ(*(*exported)->Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ((*exported)->SizeAtOpen(), 6u);
    EXPECT_FALSE((*exported)->ChangedSinceOpen());

    // A period file being written by the ledger program can still be read.
    const HANDLE ledger =
        RawOpen("2024ORMEK.1", GENERIC_READ | GENERIC_WRITE, kShareReadWrite, CREATE_NEW);
    ASSERT_NE(ledger, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(files_.OpenPeriodFileForReading(Path("2024ORMEK.1")).ok());
    EXPECT_TRUE(files_.OpenRecordFileForReading(Path("2024ORMEK.1")).ok());
    // But the export open refuses a file someone is writing, with a reason for the user.
    const auto busy = files_.OpenForReading(Path("2024ORMEK.1"));
    ASSERT_FALSE(busy.ok());
    EXPECT_EQ(FileFailureReason(busy.error()), "plik jest otwarty w innym programie"_w1250);
    ::CloseHandle(ledger);
}

TEST_F(WindowsFileSystemTest, LockBetweenRunsLeavesTheRecordsFree) {
    auto first = files_.OpenOrCreateRecordFile(Path("2024ORMEK.5"));
    auto second = files_.OpenOrCreateRecordFile(Path("2024ORMEK.5"));
    ASSERT_TRUE(first.ok() && second.ok());
    ASSERT_TRUE((*first)->LockAgainstOtherRuns().ok());
    EXPECT_TRUE((*first)->LockAgainstOtherRuns().ok());  // held already, as on Linux
    EXPECT_EQ((*second)->LockAgainstOtherRuns().error(), FileErrc::HeldByAnotherRun);
    const auto held = files_.LockRecordFile(Path("2024ORMEK.5"));
    ASSERT_FALSE(held.ok());
    EXPECT_EQ(held.error(), FileErrc::HeldByAnotherRun);
    EXPECT_EQ(FileFailureReason(held.error()), "plik jest zapisywany przez inną konwersję"_w1250);

    // The ledger program reads and writes records from a handle of its own meanwhile.
    const HANDLE ledger = RawOpen("2024ORMEK.5", GENERIC_READ | GENERIC_WRITE, kShareReadWrite);
    ASSERT_NE(ledger, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    EXPECT_TRUE(::WriteFile(ledger, std::string(800, 'r').data(), 800, &done, nullptr));
    EXPECT_EQ(done, 800u);
    OVERLAPPED start{};
    char record[400];
    EXPECT_TRUE(::ReadFile(ledger, record, sizeof record, &done, &start));
    EXPECT_EQ(done, 400u);
    ::CloseHandle(ledger);
    // And so does the run that lost the lock, which only reads (its records are not its own).
    EXPECT_EQ(*(*second)->ReadAt(400, record, sizeof record), 400u);

    // Closing the holder frees the lock.
    ASSERT_TRUE((*first)->Close().ok());
    auto lock = files_.LockRecordFile(Path("2024ORMEK.5"));
    ASSERT_TRUE(lock.ok()) << lock.error().message();
    EXPECT_EQ((*second)->LockAgainstOtherRuns().error(), FileErrc::HeldByAnotherRun);
    lock->reset();
    EXPECT_TRUE((*second)->LockAgainstOtherRuns().ok());
}

TEST_F(WindowsFileSystemTest, ReadOnlyAttributeIsNeverWritten) {
    Write("2024ORMEK.6", std::string(400, 'k'));
    ASSERT_TRUE(::SetFileAttributesW(WidePath("2024ORMEK.6").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(files_.OpenOrCreateRecordFile(Path("2024ORMEK.6")).error(), FileErrc::ReadOnly);
    EXPECT_EQ(files_.OpenExistingRecordFile(Path("2024ORMEK.6")).error(), FileErrc::ReadOnly);
    const SystemPath system{windows::ToUtf8(WidePath("2024ORMEK.6"))};
    EXPECT_TRUE(files_.IsReadOnlyFile(system));
    EXPECT_EQ(files_.Inspect(system).permissions, 0444u);
    EXPECT_EQ(Contents("2024ORMEK.6"), std::string(400, 'k'));
    EXPECT_EQ(files_.OpenForOverwrite(system).error(), FileErrc::ReadOnly);
    EXPECT_EQ(Contents("2024ORMEK.6"), std::string(400, 'k'));
    // Reading it is fine.
    EXPECT_TRUE(files_.OpenPeriodFileForReading(Path("2024ORMEK.6")).ok());

    ASSERT_TRUE(::SetFileAttributesW(WidePath("2024ORMEK.6").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_FALSE(files_.IsReadOnlyFile(system));
    EXPECT_EQ(files_.Inspect(system).permissions, 0666u);
    EXPECT_FALSE(files_.IsReadOnlyFile(SystemPath{windows::ToUtf8(WidePath("none"))}));
}

// The reparse point at `link`, if this system makes it; false (with the reason) when it does
// not. An emulator may say it made a symbolic link and make nothing.
bool IsReparsePoint(const std::wstring& link) {
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

TEST_F(WindowsFileSystemTest, SymbolicLinkAtAPeriodNameIsRefused) {
    Write("target", std::string(400, 't'));
    const std::wstring link = WidePath("2024ORMEK.7");
    ::CreateSymbolicLinkW(link.c_str(), WidePath("target").c_str(),
                          SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    if (!IsReparsePoint(link)) {
        GTEST_SKIP() << "this system makes no symbolic links (CreateSymbolicLinkW left none)";
    }
    EXPECT_EQ(files_.OpenOrCreateRecordFile(Path("2024ORMEK.7")).error(), FileErrc::IsLink);
    EXPECT_EQ(files_.OpenExistingRecordFile(Path("2024ORMEK.7")).error(), FileErrc::IsLink);
    EXPECT_EQ(files_.OpenPeriodFileForReading(Path("2024ORMEK.7")).error(), FileErrc::IsLink);
    EXPECT_EQ(files_.LockRecordFile(Path("2024ORMEK.7")).error(), FileErrc::IsLink);
    EXPECT_EQ(files_.CreateNewRecordFile(Path("2024ORMEK.7")).error(), FileErrc::Exists);
    // The company list may be a link: it is only read.
    EXPECT_TRUE(files_.OpenRecordFileForReading(Path("2024ORMEK.7")).ok());
    EXPECT_TRUE(files_.Inspect({windows::ToUtf8(link)}).isLink);
    EXPECT_EQ(Contents("target"), std::string(400, 't'));
}

// Makes `junction` a mount point for `target`; false when the system cannot.
bool MakeJunction(const std::wstring& junction, const std::wstring& target) {
    if (!::CreateDirectoryW(junction.c_str(), nullptr)) {
        return false;
    }
    const HANDLE directory =
        ::CreateFileW(junction.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (directory == INVALID_HANDLE_VALUE) {
        return false;
    }
    // The mount point layout: tag, data length, reserved, then four offsets and lengths of the
    // substitute and the printed name in the path buffer.
    const std::wstring substitute = L"\\??\\" + windows::WithoutPrefix(target);
    std::vector<unsigned char> buffer(8 + 8 + (substitute.size() + 2) * 2);
    const auto put16 = [&](std::size_t at, std::size_t value) {
        buffer[at] = static_cast<unsigned char>(value);
        buffer[at + 1] = static_cast<unsigned char>(value >> 8);
    };
    const std::uint32_t tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, sizeof tag);
    put16(4, buffer.size() - 8);
    put16(8, 0);
    put16(10, substitute.size() * 2);
    put16(12, substitute.size() * 2 + 2);
    put16(14, 0);
    std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * 2);
    DWORD returned = 0;
    const BOOL made =
        ::DeviceIoControl(directory, FSCTL_SET_REPARSE_POINT, buffer.data(),
                          static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    ::CloseHandle(directory);
    return made && IsReparsePoint(junction);
}

TEST_F(WindowsFileSystemTest, JunctionIsNoDirectoryWithinAHeldOne) {
    ASSERT_TRUE(::CreateDirectoryW(WidePath("elsewhere").c_str(), nullptr));
    if (!MakeJunction(WidePath(".trevo2kpr"), WidePath("elsewhere"))) {
        GTEST_SKIP() << "this system makes no junctions (FSCTL_SET_REPARSE_POINT refused)";
    }
    auto ledger = files_.OpenDirectory(dir_);
    ASSERT_TRUE(ledger.ok());
    EXPECT_EQ((*ledger)->OpenDirectory(".trevo2kpr", false).error(), FileErrc::IsLink);
    EXPECT_EQ((*ledger)->OpenDirectory(".trevo2kpr", true).error(), FileErrc::IsLink);
    // The ledger directory itself may be reached through one.
    EXPECT_TRUE(files_.OpenDirectory(Path(".trevo2kpr")).ok());
}

TEST_F(WindowsFileSystemTest, PolishLettersAndLongNamesReachTheSystemAsUtf16) {
    // Deeper than 260 characters, every level with Polish letters.
    std::string ledgerDir = dir_;
    for (int level = 0; level < 6; ++level) {
        ledgerDir += "\\Księgi żółte "_w1250;
        ledgerDir += std::string(40, static_cast<char>('a' + level));
        ASSERT_TRUE(files_.MakeDirectory(ledgerDir).ok());
    }
    ASSERT_GT(ledgerDir.size(), 300u);
    const std::string period = ledgerDir + "\\2024ORMEK.12";
    auto file = files_.OpenOrCreateRecordFile(period);
    ASSERT_TRUE(file.ok()) << file.error().message();
    ASSERT_TRUE((*file)->Seek(0).ok());
    ASSERT_EQ(*(*file)->Write(std::string(400, 'z').data(), 400), 400u);
    ASSERT_TRUE((*file)->Close().ok());
    EXPECT_TRUE(files_.FileExists(period));
    EXPECT_TRUE(files_.DirectoryExists(ledgerDir));
    EXPECT_FALSE(files_.FileExists(ledgerDir));

    // On the disk the letters are the UTF-16 ones.
    const std::wstring wide = root_ + L"\\Księgi żółte " + std::wstring(40, L'a');
    EXPECT_NE(::GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);

    const auto names = files_.ListDirectory(ledgerDir);
    ASSERT_TRUE(names.ok());
    EXPECT_EQ(*names, std::vector<std::string>{"2024ORMEK.12"});
    // The journal's folder, a held directory, works at that depth too.
    auto ledger = files_.OpenDirectory(ledgerDir);
    ASSERT_TRUE(ledger.ok());
    auto journal = (*ledger)->OpenDirectory(std::string("zażółć"_w1250), true);
    ASSERT_TRUE(journal.ok()) << journal.error().message();
    const std::string journalName("dziennik ąę"_w1250);
    auto created = (*journal)->CreateNewFile(journalName);
    ASSERT_TRUE(created.ok());
    ASSERT_TRUE((*created)->Close().ok());
    EXPECT_EQ(*(*journal)->List(), std::vector<std::string>{journalName});
}

TEST_F(WindowsFileSystemTest, PathsReachTheSystemAbsoluteAndExtended) {
    // A share, a forward slash and ".." resolved before the prefix turns normalising off.
    EXPECT_EQ(*windows::Extended(L"\\\\srv\\dział\\a/b\\..\\c"), L"\\\\?\\UNC\\srv\\dział\\a\\c");
    EXPECT_EQ(*windows::Extended(L"\\\\?\\C:\\as it stands"), L"\\\\?\\C:\\as it stands");
    // A ledger directory typed with a separator at its end gives a doubled one in the period
    // file's name, which must still name the file in that directory.
    EXPECT_EQ(*windows::Extended(L"C:\\KPR\\FIRMA1\\\\2024ORMEK.3"),
              L"\\\\?\\C:\\KPR\\FIRMA1\\2024ORMEK.3");
    auto doubled = files_.OpenOrCreateRecordFile(dir_ + "\\\\2024ORMEK.3");
    ASSERT_TRUE(doubled.ok()) << doubled.error().message();
    EXPECT_TRUE(files_.FileExists(Path("2024ORMEK.3")));
    // A directory typed with a separator at its end is the same directory.
    EXPECT_TRUE(files_.DirectoryExists(dir_ + "\\"));
    auto held = files_.OpenDirectory(dir_ + "\\");
    ASSERT_TRUE(held.ok());
    auto created = (*held)->CreateNewFile("dziennik");
    ASSERT_TRUE(created.ok());
    EXPECT_TRUE(files_.FileExists(Path("dziennik")));
    EXPECT_EQ(files_.ListDirectory(dir_ + "\\")->size(), 2u);
    // A relative path is made against the current directory.
    ASSERT_TRUE(::SetCurrentDirectoryW(root_.c_str()));
    EXPECT_TRUE(files_.OpenOrCreateRecordFile("2024ORMEK.4").ok());
    EXPECT_TRUE(files_.FileExists(Path("2024ORMEK.4")));
    wchar_t temp[MAX_PATH + 1];
    ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryW(temp));
}

TEST_F(WindowsFileSystemTest, EveryWin1250ByteBecomesTheSameLetterAsInTheEngine) {
    // A name is spelled by the system's code page table here and by the engine's own table in
    // the Linux build: both must agree, or one ledger directory would be two.
    for (int byte = 1; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const auto wide = windows::FromWin1250(one);
        ASSERT_TRUE(wide.ok()) << "byte " << byte;
        ASSERT_EQ(wide->size(), 1u);
        EXPECT_EQ(static_cast<char32_t>((*wide)[0]),
                  text::Win1250ToCodePoint(static_cast<unsigned char>(byte)))
            << "byte " << byte;
        EXPECT_EQ(windows::ToWin1250(*wide), one) << "byte " << byte;
    }
    // A NUL would cut the name short at the system's call.
    EXPECT_FALSE(windows::FromWin1250(std::string("a\0b", 3)).ok());
    EXPECT_FALSE(windows::ToWin1250(L"\u4e2d").has_value());
}

TEST_F(WindowsFileSystemTest, HeldDirectoryRefusesNamesThatLeaveItAndNeverReplaces) {
    auto ledger = files_.OpenDirectory(dir_);
    ASSERT_TRUE(ledger.ok());
    for (const char* name : {"..", ".", "", "a\\b", "a/b", "x:stream", "..\\escape"}) {
        EXPECT_FALSE((*ledger)->CreateNewFile(name).ok()) << name;
        EXPECT_FALSE((*ledger)->OpenDirectory(name, true).ok()) << name;
    }
    Write("a", "A");
    Write("b", "B");
    EXPECT_FALSE((*ledger)->Rename("a", "b").ok());
    EXPECT_EQ(Contents("b"), "B");
    EXPECT_EQ((*ledger)->CreateNewFile("a").error(), FileErrc::Exists);
    EXPECT_TRUE((*ledger)->Rename("a", "c").ok());
    EXPECT_EQ(Contents("c"), "A");

    // Held, it cannot be renamed away.
    ExpectSharingViolation(::MoveFileExW(root_.c_str(), (root_ + L"-moved").c_str(), 0));

    // A file the ledger program holds without delete sharing may not change name.
    EXPECT_TRUE((*ledger)->MayChangeName("c"));
    const HANDLE ledgerProgram = RawOpen("c", GENERIC_READ, kShareReadWrite);
    EXPECT_FALSE((*ledger)->MayChangeName("c"));
    ::CloseHandle(ledgerProgram);
    EXPECT_TRUE((*ledger)->Remove("c").ok());
    EXPECT_FALSE((*ledger)->Remove("c").ok());
    EXPECT_TRUE((*ledger)->Sync().ok());
}

TEST_F(WindowsFileSystemTest, UndoRemovesAFileItHoldsOnlyWhileTheNameIsStillItsFile) {
    Write("2024ORMEK.8", "");
    auto ledger = files_.OpenDirectory(dir_);
    auto held = files_.OpenExistingRecordFile(Path("2024ORMEK.8"));
    ASSERT_TRUE(ledger.ok() && held.ok());
    ASSERT_TRUE((*held)->LockAgainstOtherRuns().ok());
    EXPECT_TRUE((*ledger)->MayChangeName("2024ORMEK.8"));
    // Renamed aside while held, as undo does; the held file notices.
    ASSERT_TRUE((*ledger)->Rename("2024ORMEK.8", "2024ORMEK.8.aside").ok());
    EXPECT_EQ((*held)->SizeInBytes().error(), FileErrc::NameMoved);

    // Another file put in place of the aside name is not removed.
    ASSERT_TRUE((*ledger)->Rename("2024ORMEK.8.aside", "moved").ok());
    Write("2024ORMEK.8.aside", "other");
    EXPECT_EQ(files_.RemoveOpenFile(Path("2024ORMEK.8.aside"), **held).error(),
              FileErrc::NameMoved);
    EXPECT_EQ(Contents("2024ORMEK.8.aside"), "other");

    const FileDone removed = files_.RemoveOpenFile(Path("moved"), **held);
    EXPECT_TRUE(removed.ok()) << removed.error().message() << " " << removed.error().value();
    held->reset();
    EXPECT_EQ(::GetFileAttributesW(WidePath("moved").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WindowsFileSystemTest, PeriodFileWhoseDirectoryMovesIsNoLongerAppendedTo) {
    ASSERT_TRUE(files_.MakeDirectory(Path("firma")).ok());
    auto file = files_.OpenOrCreateRecordFile(Path("firma\\2024ORMEK.9"));
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE((*file)->SizeInBytes().ok());
    // Windows' own file systems refuse to rename a directory with an open file below it; an
    // emulator on another system may not.
    if (!::MoveFileExW(WidePath("firma").c_str(), WidePath("firma2").c_str(), 0)) {
        EXPECT_TRUE((*file)->SizeInBytes().ok());
        return;
    }
    // The name is looked up again within half a second.
    ::Sleep(600);
    EXPECT_EQ((*file)->SizeInBytes().error(), FileErrc::NameMoved);
}

TEST_F(WindowsFileSystemTest, WholeFileRenameReplacesInOneStepOrLeavesTheOldContents) {
    Write("trevo2KPR.INI", "old");
    const SystemPath settings{windows::ToUtf8(WidePath("trevo2KPR.INI"))};
    const SystemPath staged{settings.name + ".new"};
    auto file = files_.CreateNewFile(staged, std::nullopt);
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE((*file)->Write("new").ok());
    ASSERT_TRUE((*file)->Sync().ok());
    ASSERT_TRUE((*file)->Close().ok());
    EXPECT_FALSE(files_.CreateNewFile(staged, std::nullopt).ok());

    // Someone reading the old file without delete sharing: the replacement fails, nothing
    // mixed.
    const HANDLE reader = RawOpen("trevo2KPR.INI", GENERIC_READ, FILE_SHARE_READ);
    EXPECT_FALSE(files_.Rename(staged, settings).ok());
    ::CloseHandle(reader);
    EXPECT_EQ(*files_.ReadWholeFile(settings), "old");

    ASSERT_TRUE(files_.Rename(staged, settings).ok());
    EXPECT_EQ(*files_.ReadWholeFile(settings), "new");
    EXPECT_FALSE(files_.Inspect(staged).exists);
    EXPECT_EQ(files_.ReadWholeFile(staged).error(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(files_.ReadWholeFile({windows::ToUtf8(root_)}).error(), std::errc::is_a_directory);
}

TEST_F(WindowsFileSystemTest, FailuresCarryTheReasonsTheUserReads) {
    const auto missing = files_.OpenForReading(Path("brak.kpm"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(FileFailureReason(missing.error()), "nie ma takiego pliku ani katalogu"_w1250);
    const auto noDirectory = files_.OpenOrCreateRecordFile(Path("brak\\2024ORMEK.1"));
    ASSERT_FALSE(noDirectory.ok());
    EXPECT_EQ(FileFailureReason(noDirectory.error()), "nie ma takiego pliku ani katalogu"_w1250);
    EXPECT_EQ(files_.OpenOrCreateRecordFile(dir_).error(), FileErrc::NotRegularFile);
    EXPECT_EQ(files_.OpenForReading("NUL").error(), FileErrc::NotRegularFile);
}

}  // namespace
}  // namespace trevo
