// A conversion driven through the window as a user does it (boxes typed, Convert, Yes): the
// bundled sample export booked into a ledger folder must give the same period files, byte for
// byte, as trevo2kpr-cli.exe booking it into another, and the same trace lines; undo through the
// window takes them back.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "testing/ProcessRunner.h"
#include "testing/TempDirectory.h"
#include "tests/win32/WindowDriver.h"
#include "win32/common/WideText.h"
#include "win32/mainwindow/ControlIds.h"
#include "win32/mainwindow/MainWindow.h"

namespace trevo::win32_tests {

namespace {

namespace form = desktop::form;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TEST(MainWindowConversionTest, BooksTheSampleAsTheCommandLineDoes) {
    testing::TempDirectory temp;
    const std::filesystem::path exportFile = temp.Path() / "eksp2kap.kpm";
    std::filesystem::copy_file(TREVO_SAMPLE_EXPORT, exportFile);
    const std::filesystem::path byWindow = temp.Path() / "okno";
    const std::filesystem::path byCli = temp.Path() / "cli";
    std::filesystem::create_directory(byWindow);
    std::filesystem::create_directory(byCli);

    std::vector<std::string> questions;
    std::vector<std::string> messages;
    win32::MainWindowHooks hooks;
    hooks.askYesNo = [&](const std::string& caption, const std::string&) {
        questions.push_back(caption);
        return true;
    };
    hooks.askYesNoCancel = [&](const std::string& caption, const std::string&) {
        questions.push_back(caption);
        return std::optional<bool>();
    };
    hooks.showMessage = [&](const std::string& text) { messages.push_back(text); };
    hooks.showError = [&](const std::string& text) { messages.push_back(text); };
    hooks.beep = [&] { messages.push_back("beep"); };
    win32::MainWindow window(temp.File("trevo2KPR.INI"), hooks);
    ASSERT_TRUE(window.Create());
    window.Show(SW_SHOWNORMAL);
    const HWND handle = window.Handle();

    SetControlText(handle, win32::kIdFeEpp, exportFile.wstring());
    SetControlText(handle, win32::kIdDeKpr, byWindow.wstring());
    Command(handle, win32::CommandOf(form::ActionId::Convert));
    ASSERT_EQ(questions, std::vector<std::string>{std::string(form::kConfirmCaption)});
    EXPECT_TRUE(messages.empty()) << messages.front();

    const testing::ProcessResult cli =
        testing::RunProcess(TREVO_CLI_PATH, {"convert", exportFile.string(), byCli.string()});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;

    const auto windowFiles = PeriodFiles(byWindow.wstring());
    ASSERT_FALSE(windowFiles.empty());
    EXPECT_EQ(windowFiles, PeriodFiles(byCli.wstring()));

    // The window's trace begins with the command line's trace; the summary follows it.
    const std::vector<std::string> cliLines = Lines(cli.out);
    ASSERT_GE(window.Trace().LineCount(), cliLines.size());
    for (std::size_t i = 0; i < cliLines.size(); ++i) {
        const std::string shown =
            win32::Utf8FromWide(win32::WideFromWin1250(window.Trace().Line(i)));
        ASSERT_EQ(shown, cliLines[i]) << "trace line " << i;
    }

    // A second Convert finds the documents booked and asks; Cancel books nothing more.
    Command(handle, win32::CommandOf(form::ActionId::Convert));
    EXPECT_EQ(questions.back(), form::kBookedCaption);
    EXPECT_EQ(PeriodFiles(byWindow.wstring()), windowFiles);

    // Ctrl+Shift+C: undo asks, then takes the run's records back out of the period files.
    Command(handle, win32::CommandOf(form::ActionId::Undo));
    EXPECT_EQ(questions.back(), form::kUndoQuestionCaption);
    for (const auto& [name, bytes] : PeriodFiles(byWindow.wstring())) {
        EXPECT_TRUE(bytes.empty()) << name;
    }
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST(MainWindowConversionTest, InputGivenWhileARunWorksIsDroppedNotCarriedOutAfterwards) {
    testing::TempDirectory temp;
    const std::filesystem::path exportFile = temp.Path() / "eksp2kap.kpm";
    std::filesystem::copy_file(TREVO_SAMPLE_EXPORT, exportFile);
    win32::MainWindowHooks hooks;
    hooks.askYesNo = [](const std::string&, const std::string&) { return true; };
    win32::MainWindow window(temp.File("trevo2KPR.INI"), hooks);
    ASSERT_TRUE(window.Create());
    window.Show(SW_SHOWNORMAL);
    // Progress shown at every line: the window pumps paint messages all through the run.
    window.Flow().SetProgressTiming({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    const HWND handle = window.Handle();
    SetControlText(handle, win32::kIdFeEpp, exportFile.wstring());
    Click(handle, win32::kIdChSprawdz);

    // Typed into Edit_REJ and a click on the check box, waiting in the queue while the run works.
    const HWND letter = ::GetDlgItem(handle, win32::kIdEditRej);
    const HWND check = ::GetDlgItem(handle, win32::kIdChSprawdz);
    ::PostMessageW(letter, WM_CHAR, L'x', 0);
    ::PostMessageW(check, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(check, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Command(handle, win32::CommandOf(form::ActionId::Convert));
    EXPECT_GT(window.Trace().LineCount(), 100u);

    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        ::DispatchMessageW(&message);
    }
    EXPECT_EQ(ControlText(handle, win32::kIdEditRej), L"");
    EXPECT_TRUE(IsChecked(handle, win32::kIdChSprawdz));
}

}  // namespace

}  // namespace trevo::win32_tests
