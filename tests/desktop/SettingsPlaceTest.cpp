// Where the settings file lives: beside the program when the user can keep it there, otherwise
// under the user's configuration folder; the rule over a made-up disk, and the running program's
// own place as a whole process finds it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "desktop/SettingsPlace.h"
#include "testing/ProcessRunner.h"
#include "testing/TempDirectory.h"

#ifdef _WIN32
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#else
#include <unistd.h>
#endif

namespace trevo::desktop {
namespace {

namespace fs = std::filesystem;

struct FakeDisk {
    std::set<std::string> existing;
    std::set<std::string> writable;
    std::set<std::string> readOnly;
    std::set<std::string> owned;

    SettingsPlaceProbe Probe() const {
        return {[this](const std::string& p) { return existing.contains(p); },
                [this](const std::string& p) { return writable.contains(p); },
                [this](const std::string& p) { return readOnly.contains(p); },
                [this](const std::string& p) { return owned.contains(p); }};
    }
};

const std::string kProgramDir = "/home/ksiegowa/trevo";
const std::string kBeside = "/home/ksiegowa/trevo/trevo2KPR.INI";
const std::string kConfigHome = "/home/ksiegowa/.config";
const std::string kUser = "/home/ksiegowa/.config/trevo2KPR/trevo2KPR.INI";

TEST(SettingsPlaceTest, BesideTheProgramOnlyWhereTheUserCanKeepIt) {
    struct Case {
        const char* name;
        bool dirOwned, dirWritable, fileExists, fileWritable, fileReadOnly;
        const std::string& expected;
    };
    for (const Case& c : {
             Case{"portable program, first start", true, true, false, false, false, kBeside},
             Case{"portable program, its file", true, true, true, true, false, kBeside},
             Case{"own folder made read-only", true, false, false, false, false, kUser},
             Case{"an existing file the user can write", true, false, true, true, false, kBeside},
             Case{"an existing read-only file stays in charge", true, false, true, false, true,
                  kBeside},
             Case{"somebody else's file", true, false, true, false, false, kUser},
             // Installed: the folder is another user's, however open to this one.
             Case{"another user's folder", false, false, false, false, false, kUser},
             Case{"another user's folder open to all", false, true, false, false, false, kUser},
             Case{"another user's folder with a writable file", false, true, true, true, false,
                  kUser},
             Case{"another user's folder with a read-only file", false, false, true, false, true,
                  kUser},
         }) {
        SCOPED_TRACE(c.name);
        FakeDisk disk;
        if (c.dirOwned) {
            disk.owned.insert(kProgramDir);
        }
        if (c.dirWritable) {
            disk.writable.insert(kProgramDir);
        }
        if (c.fileExists) {
            disk.existing.insert(kBeside);
        }
        if (c.fileWritable) {
            disk.writable.insert(kBeside);
        }
        if (c.fileReadOnly) {
            disk.readOnly.insert(kBeside);
        }
        EXPECT_EQ(ChooseSettingsPath(kProgramDir, kConfigHome, disk.Probe(), PosixSystemFolders()),
                  c.expected);
    }
}

// The superuser owns and may write the system's program folders, and a file left there belongs
// to no package: the installed program keeps its settings in root's own folder. Folders that
// only look like system ones are the user's own.
TEST(SettingsPlaceTest, SystemFoldersOnPosix) {
    for (const std::string dir :
         {"/usr/bin", "/usr/local/bin", "/usr/games", "/bin", "/sbin", "/usr"}) {
        SCOPED_TRACE(dir);
        const std::string beside = dir + "/trevo2KPR.INI";
        FakeDisk disk;
        disk.owned = {dir};
        disk.writable = {dir, beside};
        disk.existing = {beside};  // a file an older version left there
        EXPECT_EQ(ChooseSettingsPath(dir, "/root/.config", disk.Probe(), PosixSystemFolders()),
                  "/root/.config/trevo2KPR/trevo2KPR.INI");
    }
    for (const std::string dir : {"/usrlocal", "/binaries", "/home/usr/bin", "/"}) {
        SCOPED_TRACE(dir);
        FakeDisk disk;
        disk.owned = {dir};
        disk.writable = {dir};
        EXPECT_EQ(ChooseSettingsPath(dir, kConfigHome, disk.Probe(), PosixSystemFolders()),
                  (dir == "/" ? "" : dir) + "/trevo2KPR.INI");
    }
}

// Windows: Program Files (both) and the Windows folder are system folders whatever their
// access rights (Wine lets anybody write them), in any letter case and with either slash; a
// folder that does not take files sends the file to %APPDATA% as well.
TEST(SettingsPlaceTest, SystemFoldersOnWindows) {
    const SystemFolders system =
        WindowsSystemFolders({"C:\\Program Files", "C:\\Program Files (x86)\\", "C:\\windows"});
    const std::string appData = "C:\\Users\\ksiegowa\\AppData\\Roaming";
    const std::string inAppData = appData + "\\trevo2KPR\\trevo2KPR.INI";
    const auto chosen = [&](const std::string& dir, bool writable) {
        FakeDisk disk;
        disk.owned = {dir};
        if (writable) {
            disk.writable = {dir};
        }
        return ChooseSettingsPath(dir, appData, disk.Probe(), system);
    };
    for (const std::string dir :
         {"C:\\Program Files\\trevo2KPR", "c:\\program files\\trevo2KPR",
          "C:/Program Files/trevo2KPR", "C:\\Program Files (x86)\\trevo2KPR", "C:\\Program Files",
          "C:\\Windows\\System32"}) {
        SCOPED_TRACE(dir);
        EXPECT_EQ(chosen(dir, true), inAppData);
    }
    for (const std::string dir : {"C:\\Program Files2\\trevo2KPR", "D:\\Program Files\\trevo2KPR",
                                  "C:\\trevo2kpr", "\\\\serwer\\programy\\trevo2KPR"}) {
        SCOPED_TRACE(dir);
        EXPECT_EQ(chosen(dir, true), dir + "\\trevo2KPR.INI");
        EXPECT_EQ(chosen(dir, false), inAppData);
    }
    EXPECT_EQ(chosen("C:\\", true), "C:\\trevo2KPR.INI");
}

// The running program's own place, found as a whole process: this test program, which stands
// in a build folder the user owns and can write, keeps the file beside it; a copy of it in a
// folder that is no place for the file keeps it in the configuration folder.
TEST(SettingsPlaceTest, PrintsTheRunningProgramsPlaceWhenAsked) {
    if (std::getenv("TREVO_PRINT_SETTINGS_PATH") == nullptr) {
        GTEST_SKIP() << "run as a child by the tests below";
    }
    std::fputs(DefaultSettingsPath().c_str(), stdout);
}

#ifdef _WIN32

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              static_cast<int>(wide.size()))));
    return wide;
}

fs::path ThisProgram() {
    std::wstring buffer(32768, L'\0');
    buffer.resize(::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())));
    return fs::path(buffer);
}

fs::path KnownFolderPath(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    fs::path folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path))) {
        folder = path;
    }
    ::CoTaskMemFree(path);
    return folder;
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

TEST(SettingsPlaceWindowsTest, APortableProgramKeepsItsFileBesideTheExe) {
    EXPECT_EQ(Wide(DefaultSettingsPath()),
              (ThisProgram().parent_path() / L"trevo2KPR.INI").wstring());
}

TEST(SettingsPlaceWindowsTest, AnInstalledProgramKeepsItsFileInAppData) {
    const fs::path programFiles = KnownFolderPath(FOLDERID_ProgramFiles);
    ASSERT_FALSE(programFiles.empty());
    const fs::path installed =
        programFiles / (L"trevo2KPR-test-" + std::to_wstring(::GetCurrentProcessId()));
    fs::create_directories(installed);
    const fs::path copy = installed / ThisProgram().filename();
    fs::copy_file(ThisProgram(), copy, fs::copy_options::overwrite_existing);

    const trevo::testing::ProcessResult result = trevo::testing::RunProcess(
        Utf8(copy), {"--gtest_filter=SettingsPlaceTest.PrintsTheRunningProgramsPlaceWhenAsked"},
        {"TREVO_PRINT_SETTINGS_PATH=1"});
    std::error_code ignored;
    fs::remove_all(installed, ignored);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const fs::path expected =
        KnownFolderPath(FOLDERID_RoamingAppData) / L"trevo2KPR" / L"trevo2KPR.INI";
    EXPECT_NE(result.out.find(Utf8(expected)), std::string::npos) << result.out;
}

#else

fs::path ThisProgram() {
    return fs::read_symlink("/proc/self/exe");
}

TEST(SettingsPlacePosixTest, APortableProgramKeepsItsFileBesideIt) {
    EXPECT_EQ(DefaultSettingsPath(), (ThisProgram().parent_path() / "trevo2KPR.INI").string());
}

TEST(SettingsPlacePosixTest, AProgramInAFolderNotItsUsersKeepsItsFileInTheConfigFolder) {
    trevo::testing::TempDirectory dir;
    const fs::path folder = dir.Path() / "zainstalowany";
    fs::create_directory(folder);
    const fs::path copy = folder / "desktop_tests";
    fs::copy_file(ThisProgram(), copy);
    // Somebody else's folder for the superuser, and a folder the user cannot write otherwise.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    } else {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const std::string config = (dir.Path() / "konfiguracja").string();
    // The child inherits the environment; an entry given to it would come after the inherited one.
    const auto run = [&](const char* xdg, const char* home) {
        const std::string oldXdg =
            std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
        const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        ::setenv("HOME", home, 1);
        const trevo::testing::ProcessResult result = trevo::testing::RunProcess(
            copy.string(),
            {"--gtest_filter=SettingsPlaceTest.PrintsTheRunningProgramsPlaceWhenAsked"},
            {"TREVO_PRINT_SETTINGS_PATH=1"});
        ::setenv("XDG_CONFIG_HOME", oldXdg.c_str(), 1);
        ::setenv("HOME", oldHome.c_str(), 1);
        return result.out;
    };
    const std::string xdg = run(config.c_str(), "/nonexistent");
    EXPECT_NE(xdg.find(config + "/trevo2KPR/trevo2KPR.INI"), std::string::npos) << xdg;
    // A relative $XDG_CONFIG_HOME is no configuration folder: $HOME/.config.
    const std::string home = run("relative", config.c_str());
    EXPECT_NE(home.find(config + "/.config/trevo2KPR/trevo2KPR.INI"), std::string::npos) << home;
    fs::permissions(folder, fs::perms::owner_all);
}

#endif

}  // namespace
}  // namespace trevo::desktop
