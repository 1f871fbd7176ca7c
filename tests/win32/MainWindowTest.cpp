// The main window in the test's own process, driven by messages: every caption whole at the
// DPI the Wine prefix gives (run at 96, 144 and 192 by captions-at-dpi.sh), the layout, the
// keyboard, the hints and the trace pane.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "testing/TempDirectory.h"
#include "tests/win32/WindowDriver.h"
#include "win32/common/WideText.h"
#include "win32/mainwindow/ControlIds.h"
#include "win32/mainwindow/MainWindow.h"

namespace trevo::win32_tests {

namespace {

using win32::CommandOf;
namespace form = desktop::form;

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

struct Child {
    HWND window;
    int id;
    std::wstring className;
    RECT rect;  // in the main window's client coordinates
};

std::vector<Child> Children(HWND window) {
    std::vector<Child> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64] = {};
        ::GetClassNameW(child, className, 64);
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        children.push_back({child, ::GetDlgCtrlID(child), className, rect});
    }
    return children;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        hooks_.beep = [this] { ++beeps_; };
        window_ = std::make_unique<win32::MainWindow>(temp_.File("trevo2KPR.INI"), hooks_);
        ASSERT_TRUE(window_->Create());
        window_->Show(SW_SHOWNORMAL);
        PumpMessages();
        handle_ = window_->Handle();
    }
    void TearDown() override {
        window_.reset();
        PumpMessages();
    }

    testing::TempDirectory temp_;
    win32::MainWindowHooks hooks_;
    int beeps_ = 0;
    std::unique_ptr<win32::MainWindow> window_;
    HWND handle_ = nullptr;
};

TEST_F(MainWindowTest, EveryCaptionIsWholeAndNoControlCoversAnother) {
    const UINT dpi = ::GetDpiForWindow(handle_);
    std::printf("window DPI %u\n", dpi);
    RECT client{};
    ::GetClientRect(handle_, &client);
    std::vector<Child> top;
    for (const Child& child : Children(handle_)) {
        if (child.className == L"Static" || child.className == L"Button") {
            RECT room{};
            ::GetClientRect(child.window, &room);
            const SIZE needed = NeededSize(child.window);
            wchar_t text[256] = {};
            ::GetWindowTextW(child.window, text, 256);
            EXPECT_LE(needed.cx, room.right) << "caption cut across, control " << child.id;
            EXPECT_LE(needed.cy, room.bottom) << "caption cut down, control " << child.id;
        }
        if (child.id != win32::kIdMemoTrace && child.id != win32::kIdStatusBar &&
            child.id != win32::kIdToolBar1) {
            EXPECT_LE(child.rect.right, client.right) << "beyond the window, control " << child.id;
            top.push_back(child);
        }
    }
    EXPECT_GE(top.size(), 13u);
    for (std::size_t i = 0; i < top.size(); ++i) {
        for (std::size_t j = i + 1; j < top.size(); ++j) {
            RECT both{};
            EXPECT_FALSE(::IntersectRect(&both, &top[i].rect, &top[j].rect))
                << "controls " << top[i].id << " and " << top[j].id << " overlap";
        }
    }
    // The trace pane starts below the controls and ends above the status bar.
    RECT trace{};
    ::GetWindowRect(::GetDlgItem(handle_, win32::kIdMemoTrace), &trace);
    ::MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&trace), 2);
    for (const Child& child : top) {
        EXPECT_LE(child.rect.bottom, trace.top) << "control " << child.id << " under the trace";
    }
    // Every toolbar button within the toolbar.
    const HWND toolbar = ::GetDlgItem(handle_, win32::kIdToolBar1);
    RECT bar{};
    ::GetClientRect(toolbar, &bar);
    for (const form::Action& action : form::kActions) {
        RECT button{};
        ::SendMessageW(toolbar, TB_GETRECT, CommandOf(action.id),
                       reinterpret_cast<LPARAM>(&button));
        EXPECT_LE(button.right, bar.right) << action.name;
        EXPECT_LE(button.bottom, bar.bottom) << action.name;
    }
}

TEST_F(MainWindowTest, TabVisitsTheBoxesInTheDesignOrderAndTheCheckedRadioButtonOnly) {
    const int expected[] = {win32::kIdDeKpr,       win32::kIdDeKprBrowse, win32::kIdFeEpp,
                            win32::kIdFeEppBrowse, win32::kIdChSprawdz,   win32::kIdEditAtrybut,
                            win32::kIdEditRej,     win32::kIdRbMaz,       win32::kIdMemoTrace};
    HWND at = ::GetDlgItem(handle_, expected[0]);
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        at = ::GetNextDlgTabItem(handle_, at, FALSE);
        EXPECT_EQ(::GetDlgCtrlID(at), expected[i]) << "step " << i;
    }
    // RB_852 checked: the stop moves to it.
    Click(handle_, win32::kIdRb852);
    EXPECT_FALSE(IsChecked(handle_, win32::kIdRbMaz));
    at = ::GetNextDlgTabItem(handle_, ::GetDlgItem(handle_, win32::kIdEditRej), FALSE);
    EXPECT_EQ(::GetDlgCtrlID(at), win32::kIdRb852);
}

// The browse buttons' names are annotations (IAccPropServices), which Wine's accessibility layer
// does not read back: only the boxes' names, taken from their labels, are checked here.
TEST_F(MainWindowTest, ScreenReadersNameTheBoxesByTheirLabels) {
    const auto name = [](HWND control) {
        IAccessible* object = nullptr;
        std::wstring text;
        if (SUCCEEDED(::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&object)))) {
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR value = nullptr;
            if (SUCCEEDED(object->get_accName(self, &value)) && value != nullptr) {
                text = value;
                ::SysFreeString(value);
            }
            object->Release();
        }
        return text;
    };
    EXPECT_EQ(name(::GetDlgItem(handle_, win32::kIdDeKpr)), L"Katalog danych KPR");
    EXPECT_EQ(name(::GetDlgItem(handle_, win32::kIdFeEpp)), L"Plik Exp2Kap.kpm");
    EXPECT_EQ(name(::GetDlgItem(handle_, win32::kIdEditAtrybut)), L"Atrybut KPR");
}

TEST_F(MainWindowTest, F1SwitchesHintsAndShowsTheHelpButtonPressedWhileOn) {
    const HWND toolbar = ::GetDlgItem(handle_, win32::kIdToolBar1);
    const int help = CommandOf(form::ActionId::Help);
    EXPECT_FALSE(window_->HintsOn());
    Command(handle_, help);
    EXPECT_TRUE(window_->HintsOn());
    EXPECT_TRUE(::SendMessageW(toolbar, TB_ISBUTTONCHECKED, help, 0));
    Command(handle_, help);
    EXPECT_FALSE(window_->HintsOn());
    EXPECT_FALSE(::SendMessageW(toolbar, TB_ISBUTTONCHECKED, help, 0));
}

TEST_F(MainWindowTest, ConvertWithoutAnExportBeepsAndFocusesItsBox) {
    ::SetFocus(::GetDlgItem(handle_, win32::kIdEditRej));
    Command(handle_, CommandOf(form::ActionId::Convert));
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), win32::kIdFeEpp);
    // The refusal in the status bar, in place of the owner line.
    wchar_t status[512] = {};
    // Part 0: the simple text while the bar is simple (Wine refuses SB_SIMPLEID here).
    ::SendDlgItemMessageW(handle_, win32::kIdStatusBar, SB_GETTEXTW, 0,
                          reinterpret_cast<LPARAM>(status));
    EXPECT_NE(std::wstring(status).find(L"Exp2Kap"), std::wstring::npos)
        << win32::Utf8FromWide(status);
}

TEST_F(MainWindowTest, TraceHoldsManyLinesSelectsAllAndCopiesThemAsText) {
    std::string lines;
    constexpr int kLines = 200'000;
    for (int i = 0; i < kLines; ++i) {
        lines += "linia \xB9\xE6\xEA " + std::to_string(i) + '\n';  // ąćę in Windows-1250
    }
    lines += std::string(2000, 'x');  // one line far wider than the pane
    window_->AppendTraceLines(lines);
    EXPECT_EQ(window_->Trace().LineCount(), static_cast<std::size_t>(kLines) + 1);
    const HWND list = ::GetDlgItem(handle_, win32::kIdMemoTrace);
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), kLines + 1);
    // Long lines scroll sideways: the column is wider than the pane.
    RECT pane{};
    ::GetClientRect(list, &pane);
    EXPECT_GT(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), pane.right);

    window_->ClearTrace();
    window_->AppendTraceLines("pierwsza\ndruga \xB3\xF3\x64\x9F");  // łódź
    window_->Trace().SelectAll();
    EXPECT_EQ(window_->Trace().SelectedText(), L"pierwsza\r\ndruga łódź");
    window_->Trace().CopySelection();
    ASSERT_TRUE(::OpenClipboard(handle_));
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(::GlobalLock(data))),
              L"pierwsza\r\ndruga łódź");
    ::GlobalUnlock(data);
    ::CloseClipboard();
}

}  // namespace

}  // namespace trevo::win32_tests
