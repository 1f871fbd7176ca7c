// trevo2KPR.exe as the user starts it, from a folder of its own: on close it writes
// trevo2KPR.INI beside itself, and the next start shows the boxes and the placement of the
// last close.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/TempDirectory.h"
#include "tests/win32/WindowDriver.h"
#include "win32/mainwindow/ControlIds.h"

namespace trevo::win32_tests {

namespace {

// The value of `key` in the INI text; empty when absent.
std::string IniValue(const std::string& ini, const std::string& key) {
    const std::size_t at = ini.find("\r\n" + key + "=");
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = at + 2 + key.size() + 1;
    return ini.substr(start, ini.find("\r\n", start) - start);
}

TEST(MainWindowSettingsTest, WrittenBesideTheProgramOnCloseAndRestoredOnRestart) {
    testing::TempDirectory temp;
    const std::filesystem::path program = temp.Path() / "trevo2KPR.exe";
    std::filesystem::copy_file(TREVO_PROGRAM_PATH, program);
    const std::filesystem::path ini = temp.Path() / "trevo2KPR.INI";
    const std::wstring ledger = (temp.Path() / L"Księgi firmy").wstring();
    const std::wstring exportPath = L"C:\\eksport\\eksp2kap.kpm";
    const RECT normal{60, 50, 60 + 700, 50 + 560};

    {
        ProgramChild first(program.wstring());
        const HWND window = first.WaitForWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(IsChecked(window, win32::kIdRbMaz));  // the design's choice
        SetControlText(window, win32::kIdFeEpp, exportPath);
        SetControlText(window, win32::kIdDeKpr, ledger);
        SetControlText(window, win32::kIdEditAtrybut, L"Ż");
        Click(window, win32::kIdRb852);
        // Where a user would drag it to.
        ::MoveWindow(window, normal.left, normal.top, normal.right - normal.left,
                     normal.bottom - normal.top, TRUE);
        DWORD status = 99;
        ASSERT_TRUE(first.CloseAndWait(status));
        EXPECT_EQ(status, 0u);
    }

    const std::string text = testing::ReadFileBytes(ini.string());
    ASSERT_FALSE(text.empty()) << "no settings file beside the program";
    EXPECT_EQ(text.rfind("[MAIN]\r\n", 0), 0u);
    EXPECT_EQ(IniValue(text, "FE_EPP_Text"), "C:\\eksport\\eksp2kap.kpm");
    EXPECT_EQ(IniValue(text, "Edit_Atrybut_Text"), "\xAF");  // Ż in Windows-1250
    EXPECT_EQ(IniValue(text, "RB_852_Checked"), "TRUE");
    EXPECT_EQ(IniValue(text, "RB_MAZ_Checked"), "FALSE");
    EXPECT_EQ(IniValue(text, "NormPos"), "60,50,760,610");

    ProgramChild second(program.wstring());
    const HWND window = second.WaitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, win32::kIdFeEpp), exportPath);
    EXPECT_EQ(ControlText(window, win32::kIdDeKpr), ledger);
    EXPECT_EQ(ControlText(window, win32::kIdEditAtrybut), L"Ż");
    EXPECT_TRUE(IsChecked(window, win32::kIdRb852));
    EXPECT_FALSE(IsChecked(window, win32::kIdRbMaz));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, normal.left);
    EXPECT_EQ(placement.rcNormalPosition.top, normal.top);
    EXPECT_EQ(placement.rcNormalPosition.right, normal.right);
    EXPECT_EQ(placement.rcNormalPosition.bottom, normal.bottom);
    DWORD status = 99;
    EXPECT_TRUE(second.CloseAndWait(status));
}

}  // namespace

}  // namespace trevo::win32_tests
