#include "win32/picker/PickerWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

#include "desktop/PickerForm.h"
#include "engine/files/FileSystem.h"
#include "win32/common/FileDialogs.h"
#include "win32/common/MessageBoxes.h"
#include "win32/common/WideText.h"

namespace trevo::win32 {

namespace form = desktop::picker_form;

namespace {

// Creation order is the Tab order of form::kTabOrder: the grid, the box (and its button), the
// load button.
enum ControlId : int {
    kIdGrid = 100,
    kIdFileBox,
    kIdBrowse,
    kIdLoad,
    kIdLabel1,
    kIdStatus,
};

// Posted on every activation (the flow loads on the first), so that the load runs after the
// dialog manager has put the focus where it keeps it, and the flow's own focus stays.
constexpr UINT kActivatedMessage = WM_APP + 1;

// Space around a cell's text and a button's caption, at design.
constexpr int kCellPadding = 16;
constexpr int kButtonPadding = 16;
// Firma never narrower than this, at design, when Katalog and Info take much.
constexpr int kFirmaMinimum = 60;

HWND MakeChild(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
               int id) {
    return ::CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

void Place(HWND control, int left, int top, int width, int height) {
    ::MoveWindow(control, left, top, std::max(width, 0), std::max(height, 0), TRUE);
}

SIZE TextSize(HWND control, HFONT font, const std::wstring& text) {
    return TextExtent(control, font, text.c_str(), static_cast<int>(text.size()));
}

// An empty dialog template: the controls are made at WM_INITDIALOG at the monitor's DPI. The
// header, no menu, the standard dialog class, the caption.
std::vector<WORD> DialogTemplate(const std::wstring& caption) {
    DLGTEMPLATE header{};
    header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                   WS_CLIPCHILDREN | DS_MODALFRAME;
    header.dwExtendedStyle = WS_EX_CONTROLPARENT;
    constexpr std::size_t kHeaderWords = sizeof header / sizeof(WORD);
    std::vector<WORD> words(kHeaderWords + 2 + caption.size() + 1, 0);
    std::memcpy(words.data(), &header, sizeof header);
    std::copy(caption.begin(), caption.end(), words.begin() + kHeaderWords + 2);
    return words;
}

std::wstring Wide(std::string_view utf8) {
    return WideFromUtf8(utf8);
}

}  // namespace

PickerWindow::PickerWindow(desktop::PickerFlow::LedgerCodeSource ledgerCode,
                           std::string settingsPath, std::string currentKatalog)
    : ledgerCode_(std::move(ledgerCode)),
      settingsPath_(std::move(settingsPath)),
      currentKatalog_(std::move(currentKatalog)) {
    flow_ =
        std::make_unique<desktop::PickerFlow>(*this, LocalFileSystem(), collation_, ledgerCode_);
    flow_->SetCurrentKatalog(currentKatalog_);
}

PickerWindow::~PickerWindow() = default;

std::optional<std::string> PickerWindow::Run(HWND owner) {
    const std::vector<WORD> dialog = DialogTemplate(Wide(form::kCaption));
    const INT_PTR result = ::DialogBoxIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
        Procedure, reinterpret_cast<LPARAM>(this));
    if (result != IDOK) {
        return std::nullopt;
    }
    return chosen_;
}

INT_PTR CALLBACK PickerWindow::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<PickerWindow*>(lParam);
        self->dialog_ = dialog;
    }
    auto* self = reinterpret_cast<PickerWindow*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    // Nothing may leave through the dialog manager: an error that escaped is shown, and the
    // dialog stays usable.
    try {
        return self->Handle(message, wParam, lParam) ? TRUE : FALSE;
    } catch (const std::exception& error) {
        self->ShowErrorBox(error.what());
    } catch (...) {
        self->ShowErrorBox("Nieznany błąd");
    }
    return TRUE;
}

bool PickerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Initialise();
            return false;  // the focus is the flow's to set
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                ::PostMessageW(dialog_, kActivatedMessage, 0, 0);
            }
            return false;
        case kActivatedMessage:
            flow_->Activated();
            return true;
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return true;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            LRESULT result = 0;
            if (!grid_.OnNotify(header, result)) {
                return false;
            }
            ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, result);
            if (header.code == NM_DBLCLK) {
                // Anywhere in the grid: on a row or on its empty part.
                Confirm();
            }
            return true;
        }
        case WM_SIZE:
            Layout();
            return true;
        case WM_GETMINMAXINFO:
            if (settings_) {
                // The binding's minimum, the design size, at the dialog's DPI and font.
                const desktop::MinTrackSize minimum = settings_->MinTrack();
                auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
                info.ptMinTrackSize = {scale_.X(minimum.width), scale_.Y(minimum.height)};
                return true;
            }
            return false;
        case WM_DPICHANGED:
            ApplyDpi();
            ApplySuggestedRect(dialog_, lParam);
            return true;
        case WM_DESTROY:
            closing_ = true;
            if (settings_) {
                settings_->Destroying();
            }
            return true;
        default:
            return false;
    }
}

void PickerWindow::Initialise() {
    BuildControls();
    ApplyDpi();
    // The design size at the dialog's DPI and font, over the middle of its owner.
    const int width = scale_.X(form::kDesignWidth);
    const int height = scale_.Y(form::kDesignHeight);
    RECT around{};
    const HWND owner = ::GetWindow(dialog_, GW_OWNER);
    if (owner == nullptr || !::GetWindowRect(owner, &around)) {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    }
    ::SetWindowPos(dialog_, nullptr, (around.left + around.right - width) / 2,
                   (around.top + around.bottom - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);

    // The program's icon, where the program has one.
    if (const HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                         IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED)) {
        ::SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }

    host_ = std::make_unique<PickerFormHost>(dialog_, fileBox_.Box());
    settings_ = std::make_unique<desktop::FormSettings>(
        *host_, desktop::PickerSettingsConfig(settingsPath_));
    settings_->Created();
    settings_->Shown();
    const int pending = host_->PendingShow();
    ::ShowWindow(dialog_, pending != 0 ? pending : SW_SHOWNORMAL);
    Focus(grid_.Handle());
}

void PickerWindow::BuildControls() {
    std::vector<std::wstring> titles;
    for (const form::ColumnSpec& column : form::kColumns) {
        titles.push_back(Wide(column.title));
    }
    grid_.Create(dialog_, kIdGrid, titles, Wide(form::kCurrentRowMarker));
    ::SetWindowTextW(grid_.Handle(), Wide(form::kGrid.accessibleName).c_str());
    // Just before the box it names: a screen reader names a box by the label before it.
    label1_ = MakeChild(dialog_, L"STATIC", Wide(form::kLabel1.caption), SS_NOPREFIX, kIdLabel1);
    fileBox_.Create(dialog_, kIdFileBox, kIdBrowse, [this] { Browse(); });
    ::SetWindowTextW(fileBox_.Box(), Wide(form::kInitialFileName).c_str());
    loadButton_ =
        MakeChild(dialog_, L"BUTTON", Wide(form::kLoadButton.caption), WS_TABSTOP, kIdLoad);
    status_ = MakeChild(dialog_, L"STATIC", L"", SS_NOPREFIX | SS_PATHELLIPSIS, kIdStatus);
}

void PickerWindow::ApplyDpi() {
    const UINT dpi = DpiScale::DpiOf(dialog_);
    font_ = MessageFont(dpi);
    scale_ = DpiScale::ForFont(dpi, font_.get());
    const HFONT font = font_.get();
    for (HWND child = ::GetWindow(dialog_, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    fileBox_.SetFont(font);
    FitColumns();
    Layout();
    ::InvalidateRect(dialog_, nullptr, TRUE);
}

void PickerWindow::Layout() {
    if (status_ == nullptr) {
        return;
    }
    const HFONT font = font_.get();
    RECT client{};
    ::GetClientRect(dialog_, &client);

    const SIZE label = TextSize(label1_, font, WindowText(label1_));
    Place(label1_, scale_.X(form::kLabel1.rect.x), scale_.Y(form::kLabel1.rect.y), label.cx,
          label.cy);
    const form::DesignRect& box = form::kFilenameEdit.rect;
    fileBox_.Place(scale_, box.x, box.y, box.width, box.height);
    // As wide as the design, or as its caption needs in a wider font.
    const form::DesignRect& load = form::kLoadButton.rect;
    const RECT loadRect = scale_.Rect(load.x, load.y, load.width, load.height);
    const int loadWidth = std::max<int>(
        loadRect.right - loadRect.left,
        TextSize(loadButton_, font, WindowText(loadButton_)).cx + scale_.X(kButtonPadding));
    Place(loadButton_, loadRect.left, loadRect.top, loadWidth, loadRect.bottom - loadRect.top);

    // The status line along the bottom, the grid between the top panel and it.
    const int border = scale_.X(form::kPanelMainBorder);
    const int lineHeight = TextSize(status_, font, L"Ąg").cy + scale_.Y(4);
    const int statusTop = client.bottom - lineHeight;
    Place(status_, scale_.X(form::kStatusLine.rect.x), statusTop,
          client.right - 2 * scale_.X(form::kStatusLine.rect.x), lineHeight);
    const int gridTop = scale_.Y(form::kPanelMain.rect.y) + border;
    Place(grid_.Handle(), border, gridTop, client.right - 2 * border, statusTop - border - gridTop);

    // Firma takes what Katalog and Info leave.
    int rest = grid_.InnerWidth() - grid_.MarkerWidth();
    for (std::size_t column = 1; column < form::kColumns.size(); ++column) {
        rest -= grid_.ColumnWidth(static_cast<int>(column));
    }
    grid_.SetColumnWidth(0, std::max(rest, scale_.X(kFirmaMinimum)));
}

void PickerWindow::FitColumns() {
    const HFONT font = font_.get();
    const HWND list = grid_.Handle();
    grid_.SetMarkerWidth(TextSize(list, font, Wide(form::kCurrentRowMarker)).cx +
                         scale_.X(kCellPadding));
    for (std::size_t column = 1; column < form::kColumns.size(); ++column) {
        // The title, a full column of average letters, and every text shown whole.
        int width = std::max<int>(
            TextSize(list, font, Wide(form::kColumns[column].title)).cx,
            TextSize(list, font, std::wstring(form::kColumns[column].widthInCharacters, L'x')).cx);
        for (const CompanyGrid::Row& row : grid_.Rows()) {
            width = std::max(width, ListView_GetStringWidth(list, row[column].c_str()));
        }
        grid_.SetColumnWidth(static_cast<int>(column), width + scale_.X(kCellPadding));
    }
}

void PickerWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (fileBox_.OnCommand(wParam, lParam)) {
        return;
    }
    switch (id) {
        case IDOK:
            OnEnter();
            break;
        case IDCANCEL:
            Cancel();
            break;
        case kIdLoad:
            if (code == BN_CLICKED) {
                flow_->LoadAsked();
            }
            break;
        case kIdFileBox:
            if (code == EN_CHANGE) {
                flow_->FileBoxChanged();
            } else if (code == EN_KILLFOCUS && !closing_) {
                flow_->FileBoxLeft();
            }
            break;
        default:
            break;
    }
}

void PickerWindow::OnEnter() {
    const HWND focus = ::GetFocus();
    if (focus == grid_.Handle()) {
        Confirm();
    } else if (focus == fileBox_.Box() || focus == loadButton_) {
        flow_->LoadAsked();
    } else if (focus == fileBox_.Button()) {
        Browse();
    }
}

void PickerWindow::Browse() {
    OpenFileOptions options;
    for (const form::FileFilter& filter : form::kFileFilters) {
        options.filters.push_back({Wide(filter.text), Wide(filter.pattern)});
    }
    options.initialFolder = Wide(flow_->BrowseStartDirectory());
    if (const auto chosen = ChooseOpenFile(dialog_, options)) {
        flow_->FileChosen(Utf8FromWide(*chosen));
    }
}

void PickerWindow::Confirm() {
    if (closing_ || !flow_->ConfirmAsked()) {
        return;
    }
    chosen_ = flow_->ChosenLedgerDirectory();
    closing_ = true;
    settings_->Hidden();
    ::EndDialog(dialog_, IDOK);
}

void PickerWindow::Cancel() {
    if (closing_) {
        return;
    }
    closing_ = true;
    settings_->Hidden();
    ::EndDialog(dialog_, IDCANCEL);
}

void PickerWindow::Focus(HWND control) {
    ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

std::string PickerWindow::FileBoxText() {
    return Utf8FromWide(fileBox_.Text());
}

void PickerWindow::SetFileBoxText(std::string_view utf8) {
    fileBox_.SetText(Wide(utf8));
}

void PickerWindow::Beep() {
    win32::Beep();
}

void PickerWindow::FocusFileBox() {
    Focus(fileBox_.Box());
}

void PickerWindow::FocusGrid() {
    Focus(grid_.Handle());
}

void PickerWindow::ShowRows(const std::vector<CompanyRow>& rows,
                            std::optional<std::size_t> current) {
    std::vector<CompanyGrid::Row> texts;
    texts.reserve(rows.size());
    for (const CompanyRow& row : rows) {
        CompanyGrid::Row cells;
        for (const form::ColumnSpec& column : form::kColumns) {
            cells.push_back(Wide(form::CellText(row, column.column)));
        }
        texts.push_back(std::move(cells));
    }
    // Painted once, when the rows and the current one are in place.
    ::SendMessageW(grid_.Handle(), WM_SETREDRAW, FALSE, 0);
    grid_.SetRows(std::move(texts));
    FitColumns();
    Layout();
    grid_.SetCurrentRow(current);
    ::SendMessageW(grid_.Handle(), WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(dialog_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

std::optional<std::size_t> PickerWindow::CurrentRow() {
    return grid_.CurrentRow();
}

void PickerWindow::ShowStatus(std::string_view utf8) {
    ::SetWindowTextW(status_, Wide(utf8).c_str());
}

void PickerWindow::ShowErrorBox(std::string_view utf8) {
    win32::ShowErrorBox(::IsWindow(dialog_) ? dialog_ : nullptr, Wide(utf8));
}

}  // namespace trevo::win32
