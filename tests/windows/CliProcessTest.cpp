// trevo2kpr-cli.exe as whole processes on Windows (and under Wine): Polish letters in its
// arguments, the trace's bytes to a file, missing standard handles, a second converter on a
// held period file, and Ctrl+C, Ctrl+Break and the console.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/WideText.h"
#include "engine/exportfile/ExportColumns.h"
#include "testing/ExportLineBuilder.h"
#include "tests/windows/ConsoleScreen.h"
#include "tests/windows/WindowsChild.h"

namespace trevo::windows_tests {
namespace {

namespace fs = std::filesystem;
namespace col = export_columns;

constexpr std::uint64_t kRecordSize = 400;

std::string Document(const char* date, const std::string& number) {
    return testing::ExportLineBuilder()
               .Date(date)
               .Number(number)
               .Company(testing::Win1250("Zakład Usługowy Żółw"))
               .Amount(col::kNettoKpr, "1")
               .Amount(col::kNetto1, "1")
               .Line() +
           "\r\n";
}

std::string Documents(const char* date, int count) {
    std::string bytes;
    for (int i = 1; i <= count; ++i) {
        bytes += Document(date, "FV " + std::to_string(i));
    }
    return bytes;
}

std::string LastLine(const std::string& out) {
    std::string text = out;
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text.substr(text.find_last_of('\n') + 1);
}

// A ledger and an export under names with Polish letters, as the users' folders are.
class CliProcessTest : public ::testing::Test {
  protected:
    CliProcessTest() {
        root_ = fs::temp_directory_path() /
                (L"trevo-wincli Księgi " + std::to_wstring(::GetCurrentProcessId()));
        fs::create_directories(root_ / L"FIRMA Żółć");
    }
    ~CliProcessTest() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    fs::path ExportPath() const { return root_ / L"eksport źń.kpm"; }
    fs::path LedgerPath() const { return root_ / L"FIRMA Żółć"; }
    fs::path November() const { return LedgerPath() / L"2024ORMEK.11"; }
    std::string Utf8(const fs::path& path) const { return cli::WideToUtf8(path.wstring()); }
    void WriteExport(const std::string& bytes) const {
        std::ofstream(ExportPath(), std::ios::binary) << bytes;
    }
    std::uint64_t Records(const fs::path& period) const {
        std::error_code error;
        const auto size = fs::file_size(period, error);
        return error ? 0 : size / kRecordSize;
    }
    std::vector<std::string> Convert() const {
        return {"convert", Utf8(ExportPath()), Utf8(LedgerPath())};
    }

    fs::path root_;
};

TEST_F(CliProcessTest, PolishLettersInPathsAndTheAttributeArrive) {
    WriteExport(Documents("20241105", 2));
    const ChildResult run =
        RunCli({"convert", "--attribute", "Ż", Utf8(ExportPath()), Utf8(LedgerPath())});
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(LastLine(run.out), " *** Koniec przetwarzania ***");
    EXPECT_EQ(Records(November()), 2u);
    const ChildResult shown = RunCli({"show", "--format", "csv", Utf8(November())});
    ASSERT_EQ(shown.exitCode, 0u) << shown.err;
    EXPECT_NE(shown.out.find(",Ż,"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Zakład Usługowy Żółw"), std::string::npos);
    // A letter Windows-1250 lacks is refused, not stamped as '?'.
    const ChildResult refused =
        RunCli({"convert", "--attribute", "Ж", Utf8(ExportPath()), Utf8(LedgerPath())});
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_NE(refused.err.find("'Ж'"), std::string::npos) << refused.err;
    EXPECT_EQ(Records(November()), 2u);
}

TEST_F(CliProcessTest, TheTraceToAFileOrAPipeIsTheLinuxBytes) {
    WriteExport(Documents("20241105", 3));
    const fs::path traceFile = root_ / L"ślad.txt";
    const ChildResult toFile = RunCli({"convert", "--check", Utf8(ExportPath())},
                                      {Output::File, traceFile.wstring(), false});
    ASSERT_EQ(toFile.exitCode, 0u) << toFile.err;
    std::ifstream in(traceFile, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(bytes.find('\r'), std::string::npos);  // LF only, as on Linux
    EXPECT_NE(bytes.find("| Firma:Zakład Usługowy Żółw  |"), std::string::npos) << bytes;
    const ChildResult toPipe = RunCli({"convert", "--check", Utf8(ExportPath())});
    EXPECT_EQ(toPipe.out, bytes);
    // NUL is no console: the trace goes there as bytes, and the run is whole.
    const ChildResult toNul = RunCli(Convert(), {Output::Nul, {}, false});
    EXPECT_EQ(toNul.exitCode, 0u);
    EXPECT_EQ(Records(November()), 3u);
}

TEST_F(CliProcessTest, TheSummaryNeverTakesTheBooksPlaceOnWindowsEither) {
    WriteExport(Documents("20241105", 1) + Documents("20241201", 1));
    std::ofstream(November(), std::ios::binary) << std::string(400, 'N');
    const auto refused = [this](const std::wstring& name) {
        SCOPED_TRACE(cli::WideToUtf8(name));
        const ChildResult run = RunCli({"convert", "--summary-json", cli::WideToUtf8(name),
                                        Utf8(ExportPath()), Utf8(LedgerPath())});
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_NE(run.err.find("--summary-json"), std::string::npos) << run.err;
        EXPECT_EQ(Records(November()), 1u);
        EXPECT_FALSE(fs::exists(LedgerPath() / L"2024ORMEK.12"));
    };
    refused(November().wstring());
    refused((LedgerPath() / L"2024ormek.12").wstring());
    refused((LedgerPath() / L"2024ORMEK.12. ").wstring());  // the name Windows stores
    refused((LedgerPath() / L"2024ORMEK.11::$DATA").wstring());
    refused((LedgerPath() / L"TREVO2KPR.DZIENNIK").wstring());
    refused(ExportPath().wstring());
    ASSERT_TRUE(::CreateHardLinkW((root_ / L"inna.json").c_str(), November().c_str(), nullptr));
    refused((root_ / L"inna.json").wstring());
    std::ofstream(root_ / L"tylko-odczyt.json", std::ios::binary) << "stare";
    ::SetFileAttributesW((root_ / L"tylko-odczyt.json").c_str(), FILE_ATTRIBUTE_READONLY);
    refused((root_ / L"tylko-odczyt.json").wstring());
    ::SetFileAttributesW((root_ / L"tylko-odczyt.json").c_str(), FILE_ATTRIBUTE_NORMAL);

    // A file of its own is replaced; NUL is written, not replaced.
    const fs::path json = root_ / L"podsumowanie ść.json";
    std::ofstream(json, std::ios::binary) << "stare";
    const ChildResult written =
        RunCli({"convert", "--summary-json", Utf8(json), Utf8(ExportPath()), Utf8(LedgerPath())});
    EXPECT_EQ(written.exitCode, 0u) << written.err;
    std::ifstream in(json, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(bytes.find("\"outcome\":\"completed\""), std::string::npos) << bytes;
    EXPECT_EQ(RunCli({"convert", "--check", "--summary-json", "NUL", Utf8(ExportPath())}).exitCode,
              0u);
}

TEST_F(CliProcessTest, MissingStandardHandlesBookEverythingAndFailTheTrace) {
    WriteExport(Documents("20241105", 3));
    const ChildResult run = RunCli(Convert(), {Output::Missing, {}, false});
    // As on Linux with descriptors 0-2 closed: every record booked, the trace reported lost.
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(Records(November()), 3u);
    EXPECT_TRUE(fs::exists(LedgerPath() / L"trevo2KPR.dziennik"));
}

TEST_F(CliProcessTest, ASecondConverterRefusesThePeriodFileTheFirstHolds) {
    WriteExport(Documents("20241105", 20000));
    WindowsChild first(Convert(), {});
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(first.WaitUntilOutputBlocks());
    const ChildResult second = RunCli(Convert());
    EXPECT_EQ(second.exitCode, 1u) << second.err;
    EXPECT_NE(second.out.find("2024ORMEK.11 jest zapisywany przez inną konwersję !"),
              std::string::npos)
        << second.out;
    const ChildResult done = first.Finish();
    EXPECT_EQ(done.exitCode, 0u) << done.err;
    EXPECT_EQ(Records(November()), 20000u);
}

// The test's own process lets the console's events pass by.
BOOL WINAPI LetPass(DWORD) {
    return TRUE;
}

class ConsoleEventTest : public CliProcessTest {
  protected:
    void SetUp() override {
        if (!HasConsole()) {
            GTEST_SKIP() << "no console: Wine gives one only under a terminal (e.g. `script`)";
        }
        ::SetConsoleCtrlHandler(LetPass, TRUE);
        WriteExport(Documents("20241105", 20000));
    }
    void TearDown() override { ::SetConsoleCtrlHandler(LetPass, FALSE); }

    // The run stopped after the document in hand: the last line counts the records booked.
    void ExpectStopped(const ChildResult& run, DWORD status) const {
        EXPECT_EQ(run.exitCode, status) << run.err;
        const std::uint64_t booked = Records(November());
        EXPECT_GT(booked, 0u);
        EXPECT_LT(booked, 20000u);
        EXPECT_EQ(LastLine(run.out),
                  " *** Konwersja przerwana, zapisano dokumentów: " + std::to_string(booked));
    }
};

TEST_F(ConsoleEventTest, CtrlCStopsAfterTheDocumentInHandWith130) {
    WindowsChild child(Convert(), {});
    ASSERT_TRUE(child.WaitUntilOutputBlocks());
    ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    ExpectStopped(child.Finish(), 130);
}

TEST_F(ConsoleEventTest, CtrlBreakStopsAfterTheDocumentInHandWith149) {
    WindowsChild child(Convert(), {Output::Pipe, {}, true});
    ASSERT_TRUE(child.WaitUntilOutputBlocks());
    if (!::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, child.Id())) {
        GTEST_SKIP() << "Ctrl+Break cannot be sent here (Wine 8 sends only Ctrl+C), error "
                     << ::GetLastError();
    }
    ExpectStopped(child.Finish(), 149);
}

TEST_F(ConsoleEventTest, CtrlCIgnoredWhenTheProgramStartsStaysIgnored) {
    // A process group of its own starts with Ctrl+C ignored, as `start /b` leaves it.
    WindowsChild child(Convert(), {Output::Pipe, {}, true});
    ASSERT_TRUE(child.WaitUntilOutputBlocks());
    ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    const ChildResult run = child.Finish();
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(Records(November()), 20000u);
}

TEST_F(ConsoleEventTest, ClosingTheConsoleWindow) {
    GTEST_SKIP() << "no program can close another's console window: CTRL_CLOSE_EVENT comes "
                    "only from the console itself";
}

// What a run of the command line on the test's console, set to code page 852, leaves on the
// screen; its exit status in `status`.
std::wstring OnConsole(const std::vector<std::string>& args, DWORD& status) {
    const HANDLE console =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    const UINT codePage = ::GetConsoleOutputCP();
    ::SetConsoleOutputCP(852);
    DWORD wrote = 0;
    ::WriteConsoleW(console, L"\n", 1, &wrote, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO before{};
    ::GetConsoleScreenBufferInfo(console, &before);
    status = RunCli(args, {Output::Console, {}, false}).exitCode;
    const std::wstring screen = ScreenText(console, before.dwCursorPosition.Y);
    ::SetConsoleOutputCP(codePage);
    ::CloseHandle(console);
    return screen;
}

TEST_F(CliProcessTest, AConsoleShowsTheTraceInItsOwnCodePage) {
    if (!HasConsole()) {
        GTEST_SKIP() << "no console: Wine gives one only under a terminal (e.g. `script`)";
    }
    WriteExport(Document("20241105", "FV\x1B[2J"));
    DWORD status = 0;
    const std::wstring screen = OnConsole({"convert", "--check", Utf8(ExportPath())}, status);
    EXPECT_EQ(status, 0u);
    EXPECT_NE(screen.find(L"* Dokument nr:FV^[[2J  | Firma:Zakład Usługowy Żółw  |"),
              std::wstring::npos)
        << cli::WideToUtf8(screen);
    EXPECT_NE(screen.find(L" *** Procedura sprawdzająca (BEZ ZAPISU ) ***"), std::wstring::npos);
}

TEST_F(CliProcessTest, AConsoleShowsUsageErrorsInItsOwnCodePage) {
    if (!HasConsole()) {
        GTEST_SKIP() << "no console: Wine gives one only under a terminal (e.g. `script`)";
    }
    DWORD status = 0;
    const std::wstring screen =
        OnConsole({"convert", "--attribute", "Ж", Utf8(ExportPath())}, status);
    EXPECT_EQ(status, 2u);
    // The console wraps the line at its width: each piece is looked for on its own.
    for (const wchar_t* piece : {L"który mieści", L"nie 'Ж'", L"Więcej: trevo2kpr-cli convert"}) {
        EXPECT_NE(screen.find(piece), std::wstring::npos) << cli::WideToUtf8(screen);
    }
}

}  // namespace
}  // namespace trevo::windows_tests
