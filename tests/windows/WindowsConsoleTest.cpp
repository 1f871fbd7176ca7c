// The Windows pieces of the command line in the test's own process: which stream is a console,
// the console's characters whatever its code page, the exit statuses of the console's events,
// and what a name given for the summary stands for.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "cli/ConsoleOutput.h"
#include "cli/ConsoleStopEvents.h"
#include "cli/RunSignals.h"
#include "cli/TerminalTraceSink.h"
#include "cli/WideText.h"
#include "engine/files/NamedFiles.h"
#include "engine/platform/SignalFlags.h"
#include "tests/windows/ConsoleScreen.h"

namespace trevo {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

class TempFolder {
  public:
    TempFolder() {
        path_ = fs::temp_directory_path() /
                (L"trevo-wincli-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(counter_++));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    fs::path Path(const std::wstring& name) const { return path_ / name; }
    // As the command line gives it to the file layer: UTF-8.
    std::string Utf8(const std::wstring& name) const {
        return cli::WideToUtf8(Path(name).wstring());
    }

  private:
    static inline int counter_ = 0;
    fs::path path_;
};

void WriteWhole(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ConsoleStopEventsTest, EachEventStopsWithItsDocumentedStatus) {
    EXPECT_EQ(cli::ExitStatusForSignal(cli::StopSignalForConsoleEvent(CTRL_C_EVENT)), 130);
    EXPECT_EQ(cli::ExitStatusForSignal(cli::StopSignalForConsoleEvent(CTRL_BREAK_EVENT)), 149);
    EXPECT_EQ(cli::ExitStatusForSignal(cli::StopSignalForConsoleEvent(CTRL_CLOSE_EVENT)), 129);
    // Only services get these; a console program is ended by the system.
    EXPECT_EQ(cli::StopSignalForConsoleEvent(CTRL_LOGOFF_EVENT), 0);
    EXPECT_EQ(cli::StopSignalForConsoleEvent(CTRL_SHUTDOWN_EVENT), 0);
}

BOOL WINAPI LetPass(DWORD) {
    return TRUE;
}

// The flag as the run loop reads it, once the system's handler thread has run (or not).
int StopAfterEvent(const std::atomic<int>& stop) {
    for (int i = 0; i < 200 && stop.load() == 0; ++i) {
        ::Sleep(10);
    }
    return stop.load();
}

TEST(ConsoleStopEventsTest, CtrlCReachesTheRunOnlyWhileItsHandlerIsInstalled) {
    if (!windows_tests::HasConsole()) {
        GTEST_SKIP() << "no console: Wine gives one only under a terminal (e.g. `script`)";
    }
    std::atomic<int>& stop = signal_flags::stopSignal;
    ::SetConsoleCtrlHandler(LetPass, TRUE);  // the test's own process stays
    stop.store(0);
    {
        const cli::RunSignals signals;
        ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
        EXPECT_EQ(StopAfterEvent(signals.Stop()), cli::kConsoleInterrupt);
    }
    // Taken out with the run: a later Ctrl+C asks nothing of a run that is over.
    stop.store(0);
    ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    EXPECT_EQ(StopAfterEvent(stop), 0);
    ::SetConsoleCtrlHandler(LetPass, FALSE);
}

TEST(ConsoleOutputTest, TheNulDeviceAndFilesAreNoConsole) {
    // The C runtime's isatty says yes for NUL; a trace there would be written as characters
    // to a console that is not there.
    const File nul(_wfopen(L"NUL", L"wb"));
    ASSERT_TRUE(nul);
    EXPECT_FALSE(cli::IsTerminal(nul.get()));
    EXPECT_TRUE(cli::WriteText(nul.get(), "Zażółć\n"));

    const TempFolder folder;
    const File file(_wfopen(folder.Path(L"ślad.txt").c_str(), L"wb"));
    ASSERT_TRUE(file);
    EXPECT_FALSE(cli::IsTerminal(file.get()));
    EXPECT_TRUE(cli::WriteText(file.get(), "Zażółć gęślą jaźń\n"));
    std::fflush(file.get());
    EXPECT_EQ(ReadWhole(folder.Path(L"ślad.txt")), "Zażółć gęślą jaźń\n");
}

TEST(ConsoleOutputTest, AConsoleShowsPolishLettersWhateverItsCodePage) {
    const File console(_wfopen(L"CONOUT$", L"r+b"));
    const HANDLE handle =
        console ? reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(console.get()))) : nullptr;
    DWORD mode = 0;
    if (!console || !::GetConsoleMode(handle, &mode)) {
        GTEST_SKIP() << "no console (Wine gives one only under a terminal, e.g. `script`)";
    }
    EXPECT_TRUE(cli::IsTerminal(console.get()));
    const UINT codePage = ::GetConsoleOutputCP();
    for (const UINT page : {852u, 437u, 1250u}) {
        SCOPED_TRACE(page);
        if (!::SetConsoleOutputCP(page)) {
            continue;  // not installed here
        }
        CONSOLE_SCREEN_BUFFER_INFO before{};
        ASSERT_TRUE(::GetConsoleScreenBufferInfo(handle, &before));
        if (before.dwCursorPosition.X != 0) {
            cli::WriteText(console.get(), "\n");
            ::GetConsoleScreenBufferInfo(handle, &before);
        }
        // The trace's own form for a terminal: an ESC from an export shows as "^[".
        const std::string line = cli::TerminalTraceSink::Visible("Z\xB9\xBF\xF3\xB3\xE6 \x1B[2J");
        EXPECT_TRUE(cli::WriteText(console.get(), line));
        EXPECT_EQ(windows_tests::ScreenText(handle, before.dwCursorPosition.Y),
                  L"Ząż\u00f3łć ^[[2J\n\n");
    }
    ::SetConsoleOutputCP(codePage);
}

TEST(WideTextTest, PolishLettersAndPairsSurviveTheRoundTrip) {
    const std::string utf8 = "Księgi Żółć \xF0\x9F\x93\x92";  // and a character beyond U+FFFF
    EXPECT_EQ(cli::Utf8ToWide(utf8), L"Księgi Żółć \U0001F4D2");
    EXPECT_EQ(cli::WideToUtf8(cli::Utf8ToWide(utf8)), utf8);
    EXPECT_EQ(cli::WideToUtf8(L"\xD800"), "\xEF\xBF\xBD");  // a lone half: U+FFFD
}

TEST(NamedFilesTest, KindsIdentitiesAndTheReadOnlyAttribute) {
    NamedFiles& files = LocalNamedFiles();
    const TempFolder folder;
    WriteWhole(folder.Path(L"2024ORMEK.11"), std::string(400, 'N'));
    fs::create_directory(folder.Path(L"Księgi"));

    const NameLookup file = files.Status(folder.Utf8(L"2024ORMEK.11"), false);
    ASSERT_FALSE(file.error);
    EXPECT_EQ(file.status.kind, NameKind::RegularFile);
    EXPECT_TRUE(file.status.identity.known);
    EXPECT_FALSE(file.status.readOnly);
    // Another spelling of the same name (case, a dot segment) is the same file.
    EXPECT_TRUE(SameFile(files.Status(folder.Utf8(L"2024ormek.11"), false).status.identity,
                         file.status.identity));
    EXPECT_TRUE(
        SameFile(files.Status(folder.Utf8(L"Księgi\\..\\2024ORMEK.11"), true).status.identity,
                 file.status.identity));
    EXPECT_EQ(files.Status(folder.Utf8(L"Księgi"), true).status.kind, NameKind::Directory);
    EXPECT_FALSE(
        SameFile(files.Status(folder.Utf8(L"Księgi"), true).status.identity, file.status.identity));
    const NameLookup missing = files.Status(folder.Utf8(L"brak\\nic.json"), false);
    EXPECT_FALSE(missing.error);
    EXPECT_EQ(missing.status.kind, NameKind::Missing);
    EXPECT_FALSE(missing.status.identity.known);
    // A stream of a file is that file's, never a name of its own.
    EXPECT_TRUE(files.Status(folder.Utf8(L"2024ORMEK.11::$DATA"), false).error);
    EXPECT_TRUE(files.Status(folder.Utf8(L"nowy.json:strumień"), false).error);
    for (const char* device : {"NUL", "nul.json", "CON", "C:\\x\\COM1", "\\\\.\\pipe\\json"}) {
        EXPECT_EQ(files.Status(device, false).status.kind, NameKind::Stream) << device;
    }

    ASSERT_TRUE(::CreateHardLinkW(folder.Path(L"inna-nazwa.json").c_str(),
                                  folder.Path(L"2024ORMEK.11").c_str(), nullptr));
    EXPECT_TRUE(SameFile(files.Status(folder.Utf8(L"inna-nazwa.json"), false).status.identity,
                         file.status.identity));

    ASSERT_TRUE(
        ::SetFileAttributesW(folder.Path(L"inna-nazwa.json").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(files.Status(folder.Utf8(L"2024ORMEK.11"), false).status.readOnly);
    ::SetFileAttributesW(folder.Path(L"inna-nazwa.json").c_str(), FILE_ATTRIBUTE_NORMAL);

    const auto names = files.Names(folder.Utf8(L""));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->size(), 3u);
    EXPECT_NE(std::find(names->begin(), names->end(), "Księgi"), names->end());
}

TEST(NamedFilesTest, AReparsePointIsALinkNeverFollowedUnlessAsked) {
    NamedFiles& files = LocalNamedFiles();
    const TempFolder folder;
    WriteWhole(folder.Path(L"2024ORMEK.11"), std::string(400, 'N'));
    // Wine's CreateSymbolicLinkW says it made a link and makes nothing.
    if (!::CreateSymbolicLinkW(folder.Path(L"link.json").c_str(),
                               folder.Path(L"2024ORMEK.11").c_str(), 0) ||
        ::GetFileAttributesW(folder.Path(L"link.json").c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no symbolic links can be made here";
    }
    EXPECT_EQ(files.Status(folder.Utf8(L"link.json"), false).status.kind, NameKind::Link);
    const NameLookup followed = files.Status(folder.Utf8(L"link.json"), true);
    EXPECT_EQ(followed.status.kind, NameKind::RegularFile);
    EXPECT_TRUE(SameFile(followed.status.identity,
                         files.Status(folder.Utf8(L"2024ORMEK.11"), false).status.identity));
}

TEST(NamedFilesTest, AFileIsReplacedInOneStepAndNothingIsLeftBeside) {
    NamedFiles& files = LocalNamedFiles();
    const TempFolder folder;
    WriteWhole(folder.Path(L"podsumowanie.json"), "stare");
    EXPECT_FALSE(files.ReplaceFile(folder.Utf8(L"podsumowanie.json"), "{\"nowe\": 1}\n"));
    EXPECT_EQ(ReadWhole(folder.Path(L"podsumowanie.json")), "{\"nowe\": 1}\n");
    EXPECT_FALSE(files.ReplaceFile(folder.Utf8(L"nowe ść.json"), "{}"));
    EXPECT_EQ(ReadWhole(folder.Path(L"nowe ść.json")), "{}");
    // A file another program holds without delete sharing cannot be replaced: reported, and
    // neither file changes nor a new one stays.
    const HANDLE held = ::CreateFileW(folder.Path(L"podsumowanie.json").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(files.ReplaceFile(folder.Utf8(L"podsumowanie.json"), "inne"));
    ::CloseHandle(held);
    EXPECT_EQ(ReadWhole(folder.Path(L"podsumowanie.json")), "{\"nowe\": 1}\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path(L"")), fs::directory_iterator()), 2);
}

TEST(NamedFilesTest, PathsSplitAtEitherSeparatorAndRootsStayRoots) {
    const NamedFiles& files = LocalNamedFiles();
    const auto split = [&files](const std::string& path) {
        const PathParts parts = files.Split(path);
        return parts.directory + "|" + parts.name;
    };
    EXPECT_EQ(split("C:\\KPR\\FIRMA1\\2024ORMEK.11"), "C:\\KPR\\FIRMA1|2024ORMEK.11");
    EXPECT_EQ(split("C:/KPR/p.json"), "C:/KPR|p.json");
    EXPECT_EQ(split("C:\\p.json"), "C:\\|p.json");
    EXPECT_EQ(split("C:p.json"), "C:|p.json");
    EXPECT_EQ(split("\\p.json"), "\\|p.json");
    EXPECT_EQ(split("p.json"), ".|p.json");
    // As the file system stores the name: the period file, not another name beside it.
    EXPECT_EQ(split("C:\\KPR\\2024ORMEK.12. . "), "C:\\KPR|2024ORMEK.12");
    EXPECT_EQ(split("2024ORMEK.12."), ".|2024ORMEK.12");
    EXPECT_EQ(files.Join("C:\\KPR", "x"), "C:\\KPR\\x");
    EXPECT_EQ(files.Join("C:\\", "x"), "C:\\x");
    EXPECT_EQ(files.Join("C:", "x"), "C:x");
}

}  // namespace
}  // namespace trevo
