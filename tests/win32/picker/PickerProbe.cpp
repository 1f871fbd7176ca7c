// Opens the company picker as the main window does, for the picker's test under Wine and X:
//
//   picker_probe make-list FILE            writes a company list of Polish companies (Mazovia)
//   picker_probe pick LEDGER_DIR SETTINGS  shows the picker for LEDGER_DIR (Mazovia letters)
//
// While the picker is open a second thread reads what its controls show, as a screen reader
// would, once the first load has filled the status line: "row" lines with each row's cells,
// "current" with the marked row's number, "status" with the status line, then "shown". When
// the dialog has closed: "chosen" with the directory it gave, or "cancelled". UTF-8 on stdout.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "desktop/PickerForm.h"
#include "engine/text/zdTransPL.h"
#include "testing/CompanyListBuilder.h"
#include "win32/common/BrowseBox.h"
#include "win32/common/WideText.h"
#include "win32/picker/PickerDialog.h"

namespace {

using trevo::win32::Utf8FromWide;
using trevo::win32::WideFromUtf8;

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Name (UTF-8), directory, info; in a scrambled order.
constexpr const char* kCompanies[][3] = {
    {"Żabka Kraków Sp. z o.o.", "ZABKA", "sklep"},
    {"Łąka Sp. j.", "LAKA", "rolnictwo"},
    {"Zakład Stolarski Nowak", "STOLARZ", ""},
    {"Apteka Śródmieście", "APTEKA", "apteka nr 2"},
    {"Źródło Zakład Usług", "ZRODLO", "usługi"},
    {"Ćma Spółdzielnia Pracy", "CMA", ""},
    {"Lubelskie Młyny S.A.", "LUBMLYN", "młyn"},
    {"Cukiernia Ósemka", "CUKIER", "ciastka i torty"},
};

int MakeList(const wchar_t* path) {
    std::string bytes;
    for (const auto& company : kCompanies) {
        const auto ledger = [](const char* utf8) {
            return trevo::FromWin1250(*trevo::win32::Win1250FromWide(WideFromUtf8(utf8)),
                                      trevo::PolishCharset::pcMazovia);
        };
        bytes +=
            trevo::testing::CompanyListRecord(ledger(company[0]), company[1], ledger(company[2]));
    }
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return file.good() ? 0 : 1;
}

std::wstring Cell(HWND grid, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(grid, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return text;
}

// Waits for the picker and reports what it shows once the first load has said something.
void Watch() {
    const std::wstring caption = WideFromUtf8(trevo::desktop::picker_form::kCaption);
    HWND dialog = nullptr;
    HWND status = nullptr;
    for (int tries = 0; tries < 600; ++tries, ::Sleep(50)) {
        dialog = ::FindWindowW(L"#32770", caption.c_str());
        if (dialog == nullptr || !::IsWindowVisible(dialog)) {
            continue;
        }
        // The status line: the last static control.
        status = nullptr;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            ::GetClassNameW(child, name, 32);
            if (std::wstring(name) == L"Static") {
                status = child;
            }
        }
        if (status != nullptr && !trevo::win32::WindowText(status).empty()) {
            break;
        }
    }
    if (status == nullptr) {
        Print("no picker");
        return;
    }
    const HWND grid = ::FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
    const int rows = static_cast<int>(::SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::wstring line = L"row";
        for (int column = 1; column <= 3; ++column) {
            line += L"\t" + Cell(grid, row, column);
        }
        Print(Utf8FromWide(line));
    }
    const auto current =
        ::SendMessageW(grid, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0));
    Print("current\t" + std::to_string(current) + "\t" + Utf8FromWide(Cell(grid, current, 0)));
    Print("status\t" + Utf8FromWide(trevo::win32::WindowText(status)));
    // The middle of the Firma column's title, in the dialog's client coordinates.
    RECT title{};
    const HWND titles = reinterpret_cast<HWND>(::SendMessageW(grid, LVM_GETHEADER, 0, 0));
    ::SendMessageW(titles, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&title));
    ::MapWindowPoints(titles, dialog, reinterpret_cast<POINT*>(&title), 2);
    Print("titles\t" + std::to_string((title.left + title.right) / 2) + "\t" +
          std::to_string((title.top + title.bottom) / 2));
    // The focus of the dialog's thread, not this one's.
    GUITHREADINFO input{};
    input.cbSize = sizeof input;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &input);
    Print(input.hwndFocus == grid ? "focus\tgrid" : "focus\telsewhere");
    Print("shown");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Lines end in LF, as the script reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"make-list" && argc == 3) {
        return MakeList(argv[2]);
    }
    if (command != L"pick" || argc != 4) {
        std::fputs("usage: picker_probe make-list FILE | pick LEDGER_DIR SETTINGS\n", stderr);
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
    ::InitCommonControlsEx(&controls);

    std::thread watcher(Watch);
    const auto chosen = trevo::win32::PickLedgerDirectory(
        nullptr, argv[2], [] { return trevo::PolishCharset::pcMazovia; }, argv[3]);
    watcher.join();
    Print(chosen ? "chosen\t" + Utf8FromWide(*chosen) : "cancelled");
    ::CoUninitialize();
    return 0;
}
