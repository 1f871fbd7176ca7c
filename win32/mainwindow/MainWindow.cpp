#include "win32/mainwindow/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "desktop/MainWindowForm.h"
#include "desktop/PathQuotes.h"
#include "desktop/SettingsPlace.h"
#include "desktop/TextFit.h"
#include "desktop/WindowSizeRule.h"
#include "engine/files/FileSystem.h"
#include "win32/common/AccessibleName.h"
#include "win32/common/FileDialogs.h"
#include "win32/common/MessageBoxes.h"
#include "win32/common/WideText.h"
#include "win32/mainwindow/ControlIds.h"
#include "win32/picker/PickerDialog.h"

namespace trevo::win32 {

namespace form = desktop::form;

namespace {

HWND MakeControl(HWND parent, const wchar_t* className, std::string_view caption, DWORD style,
                 int id, DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, className, WideFromUtf8(caption).c_str(),
                             WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

void Move(HWND control, const RECT& rect) {
    ::MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 TRUE);
}

SIZE CaptionExtent(HWND control, HFONT font) {
    const std::wstring text = WindowText(control);
    return TextExtent(control, font, text.c_str(), static_cast<int>(text.size()));
}

// A label as large as its caption, at its design position.
RECT LabelRect(HWND label, HFONT font, const DpiScale& scale, const form::Control& control) {
    const SIZE size = CaptionExtent(label, font);
    const int left = scale.X(control.design.left);
    const int top = scale.Y(control.design.top);
    return {left, top, left + size.cx, top + size.cy};
}

// The width a check box or radio button needs for its box and its whole caption.
int ButtonWidth(HWND button, HFONT font, const DpiScale& scale) {
    const SIZE text = CaptionExtent(button, font);
    return scale.Metric(SM_CXMENUCHECK) + scale.Px(6) + text.cx;
}

}  // namespace

MainWindow::MainWindow(std::string settingsPath, MainWindowHooks hooks)
    : settingsPath_(settingsPath.empty() ? desktop::DefaultSettingsPath()
                                         : std::move(settingsPath)),
      hooks_(std::move(hooks)) {
    flow_ =
        std::make_unique<desktop::MainWindowFlow>(*this, desktop::FlowServices{LocalFileSystem()});
}

MainWindow::~MainWindow() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

bool MainWindow::Create() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    windowClass.hIcon = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    ::RegisterClassExW(&windowClass);  // fails harmlessly when already registered

    window_ = ::CreateWindowExW(
        WS_EX_CONTROLPARENT, kMainWindowClass, WideFromUtf8(form::kCaption).c_str(),
        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, form::kDesignWidth,
        form::kDesignHeight, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    BuildControls();
    ApplyDpi();
    // The design size at the window's DPI and font.
    ::SetWindowPos(window_, nullptr, 0, 0, scale_.X(form::kDesignWidth),
                   scale_.Y(form::kDesignHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    accelerators_ = MakeAccelerators();

    host_ = std::make_unique<MainFormHost>(window_);
    settings_ = std::make_unique<desktop::FormSettings>(
        *host_, desktop::MainWindowSettingsConfig(settingsPath_));
    settings_->Created();
    return true;
}

void MainWindow::Show(int showCommand) {
    settings_->Shown();
    if (!::IsWindowVisible(window_)) {
        const int pending = host_->PendingShow();
        ::ShowWindow(window_, pending != 0 ? pending : showCommand);
    }
    ::UpdateWindow(window_);
}

void MainWindow::BuildControls() {
    // Creation order is Tab order: de_KPR, FE_EPP, ch_sprawdz, Edit_Atrybut, Edit_REJ, the
    // checked radio button, MemoTrace; each label just before its box names it.
    toolbar_.Create(window_);
    label1_ =
        MakeControl(window_, L"STATIC", form::kLabel1.caption, SS_NOTIFY | SS_NOPREFIX, kIdLabel1);
    ledgerDir_.Create(window_, kIdDeKpr, kIdDeKprBrowse, [this] { BrowseLedgerDir(); });
    label2_ =
        MakeControl(window_, L"STATIC", form::kLabel2.caption, SS_NOTIFY | SS_NOPREFIX, kIdLabel2);
    exportFile_.Create(window_, kIdFeEpp, kIdFeEppBrowse, [this] { BrowseExportFile(); });
    checkOnly_ = MakeControl(window_, L"BUTTON", form::kChSprawdz.caption,
                             WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT, kIdChSprawdz);
    label3_ =
        MakeControl(window_, L"STATIC", form::kLabel3.caption, SS_NOTIFY | SS_NOPREFIX, kIdLabel3);
    attribute_ = MakeControl(window_, L"EDIT", {}, WS_TABSTOP | ES_AUTOHSCROLL, kIdEditAtrybut,
                             WS_EX_CLIENTEDGE);
    label4_ =
        MakeControl(window_, L"STATIC", form::kLabel4.caption, SS_NOTIFY | SS_NOPREFIX, kIdLabel4);
    register_ = MakeControl(window_, L"EDIT", {}, WS_TABSTOP | ES_AUTOHSCROLL, kIdEditRej,
                            WS_EX_CLIENTEDGE);
    ::SendMessageW(attribute_, EM_LIMITTEXT, form::kLetterBoxLength, 0);
    ::SendMessageW(register_, EM_LIMITTEXT, form::kLetterBoxLength, 0);
    // One group: the dialog manager stops Tab at the checked one and moves with the arrows.
    rbMaz_ = MakeControl(window_, L"BUTTON", form::kRbMaz.caption,
                         WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, kIdRbMaz);
    rb852_ = MakeControl(window_, L"BUTTON", form::kRb852.caption, BS_AUTORADIOBUTTON, kIdRb852);
    ::SendMessageW(rbMaz_, BM_SETCHECK, BST_CHECKED, 0);
    trace_.Create(window_, kIdMemoTrace);
    statusBar_ = MakeControl(window_, STATUSCLASSNAMEW, {}, SBARS_SIZEGRIP, kIdStatusBar);
    ::SendMessageW(statusBar_, SB_SIMPLE, TRUE, 0);
    SetStatusText({}, 0);

    // The browse buttons show "…": screen readers get what they do.
    SetAccessibleName(ledgerDir_.Button(), WideFromUtf8(form::kDeKprBrowseName));
    SetAccessibleName(exportFile_.Button(), WideFromUtf8(form::kFeEppBrowseName));
    SetAccessibleName(statusBar_, WideFromUtf8(form::kStatusBar.accessibleName));

    hints_.Create(window_);
    hints_.Add(ledgerDir_.Box(), WideFromUtf8(form::kDeKpr.hint));
    hints_.Add(ledgerDir_.Button(), WideFromUtf8(form::kDeKpr.hint));
    hints_.Add(exportFile_.Box(), WideFromUtf8(form::kFeEpp.hint));
    hints_.Add(exportFile_.Button(), WideFromUtf8(form::kFeEpp.hint));
    hints_.Add(checkOnly_, WideFromUtf8(form::kChSprawdz.hint));
    hints_.Add(rbMaz_, WideFromUtf8(form::kRbMaz.hint));
    hints_.Add(rb852_, WideFromUtf8(form::kRb852.hint));
    hints_.Add(label3_, WideFromUtf8(form::kLabel3.hint));
    hints_.Add(attribute_, WideFromUtf8(form::kEditAtrybut.hint));
    hints_.Add(label4_, WideFromUtf8(form::kLabel4.hint));
    hints_.Add(register_, WideFromUtf8(form::kEditRej.hint));
    hints_.Add(trace_.Handle(), WideFromUtf8(form::kMemoTrace.hint));
}

void MainWindow::ApplyDpi() {
    const UINT dpi = DpiScale::DpiOf(window_);
    font_ = MessageFont(dpi);
    scale_ = DpiScale::ForFont(dpi, font_.get());
    const HFONT font = font_.get();
    for (HWND child = ::GetWindow(window_, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    trace_.SetFont(font);
    toolbar_.Place(scale_, hints_);
    Layout();
    ::InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::Layout() {
    const HFONT font = font_.get();
    RECT client{};
    ::GetClientRect(window_, &client);

    const RECT label1 = LabelRect(label1_, font, scale_, form::kLabel1);
    Move(label1_, label1);
    const auto& dir = form::kDeKpr.design;
    ledgerDir_.Place(scale_, dir.left, dir.top, dir.width, dir.height);
    Move(label2_, LabelRect(label2_, font, scale_, form::kLabel2));
    const auto& file = form::kFeEpp.design;
    exportFile_.Place(scale_, file.left, file.top, file.width, file.height);

    // The check box's caption is at its left: a wider caption grows it to the left.
    const auto& check = form::kChSprawdz.design;
    RECT checkRect = scale_.Rect(check.left, check.top, check.width, check.height);
    checkRect.left =
        std::min(checkRect.left, checkRect.right - ButtonWidth(checkOnly_, font, scale_));
    Move(checkOnly_, checkRect);

    // The radio buttons in Panel_PL: each as wide as its caption needs, never overlapping.
    const auto& panel = form::kPanelPl.design;
    const auto& maz = form::kRbMaz.design;
    RECT mazRect = scale_.Rect(panel.left + maz.left, panel.top + maz.top, maz.width, maz.height);
    mazRect.right = std::max(mazRect.right, mazRect.left + ButtonWidth(rbMaz_, font, scale_));
    Move(rbMaz_, mazRect);
    const auto& cp852 = form::kRb852.design;
    RECT rect852 =
        scale_.Rect(panel.left + cp852.left, panel.top + cp852.top, cp852.width, cp852.height);
    const int shift852 = std::max<LONG>(0, mazRect.right + scale_.X(4) - rect852.left);
    rect852.left += shift852;
    rect852.right =
        std::max(rect852.right + shift852, rect852.left + ButtonWidth(rb852_, font, scale_));
    Move(rb852_, rect852);

    // Labels and their one-letter boxes in a row; a wider label pushes what follows it.
    const int gap = scale_.X(4);
    RECT label3 = LabelRect(label3_, font, scale_, form::kLabel3);
    Move(label3_, label3);
    const auto& attr = form::kEditAtrybut.design;
    RECT attrRect = scale_.Rect(attr.left, attr.top, attr.width, attr.height);
    const int attrShift = std::max<LONG>(0, label3.right + gap - attrRect.left);
    ::OffsetRect(&attrRect, attrShift, 0);
    Move(attribute_, attrRect);
    RECT label4 = LabelRect(label4_, font, scale_, form::kLabel4);
    const int label4Shift = std::max<LONG>(0, attrRect.right + 2 * gap - label4.left);
    ::OffsetRect(&label4, label4Shift, 0);
    Move(label4_, label4);
    const auto& rej = form::kEditRej.design;
    RECT rejRect = scale_.Rect(rej.left, rej.top, rej.width, rej.height);
    ::OffsetRect(&rejRect, std::max<LONG>(0, label4.right + gap - rejRect.left), 0);
    Move(register_, rejRect);

    // The status bar places itself at the bottom; the trace fills what is between.
    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT status{};
    ::GetWindowRect(statusBar_, &status);
    const int statusHeight = status.bottom - status.top;
    const int border = scale_.Px(form::kTraceBorder);
    const int top = scale_.Y(form::kPanelTop.design.height) + border;
    const int bottom = std::max<LONG>(top, client.bottom - statusHeight - border);
    ::MoveWindow(trace_.Handle(), border, top, std::max<LONG>(0, client.right - 2 * border),
                 bottom - top, TRUE);
    SetStatusText(status_.text, status_.keptWhole);
}

bool MainWindow::PreTranslate(MSG& message) {
    if (window_ == nullptr) {
        return false;
    }
    if (accelerators_ && ::TranslateAcceleratorW(window_, accelerators_.get(), &message) != 0) {
        return true;
    }
    return ::IsDialogMessageW(window_, &message) != 0;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MainWindow*>(create->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (trace_.OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) {
                return result;
            }
            break;
        }
        case WM_SIZE:
            if (statusBar_ != nullptr) {
                Layout();
            }
            return 0;
        case WM_GETMINMAXINFO:
            if (settings_) {
                // The binding's minimum, the design size, at the window's DPI and font, and
                // within the monitor's free area (a small screen: the window still fits).
                const desktop::MinTrackSize minimum = settings_->MinTrack();
                MONITORINFO monitor{};
                monitor.cbSize = sizeof monitor;
                ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
                const desktop::Extent fitted =
                    desktop::FitToRoom({scale_.X(minimum.width), scale_.Y(minimum.height)},
                                       {monitor.rcWork.right - monitor.rcWork.left,
                                        monitor.rcWork.bottom - monitor.rcWork.top});
                auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
                info.ptMinTrackSize = {fitted.width, fitted.height};
                return 0;
            }
            break;
        case WM_DPICHANGED:
            ApplyDpi();
            ApplySuggestedRect(window_, lParam);
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            if (settings_) {
                settings_->Destroying();
            }
            if (quitOnDestroy_) {
                ::PostQuitMessage(0);
            }
            return 0;
        case WM_NCDESTROY: {
            // The last message: the window forgets this object, and this object the window.
            const HWND window = std::exchange(window_, nullptr);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id >= kCommandBase && id < kCommandBase + static_cast<int>(form::kActions.size())) {
        RunAction(static_cast<form::ActionId>(id - kCommandBase));
        return;
    }
    if (ledgerDir_.OnCommand(wParam, lParam) || exportFile_.OnCommand(wParam, lParam)) {
        return;
    }
    if (id == kIdLabel1 && code == STN_CLICKED) {
        flow_->PickCompany();
    } else if (id == kIdFeEpp && code == EN_KILLFOCUS) {
        flow_->ExportBoxLeft();
    }
}

void MainWindow::RunAction(form::ActionId action) {
    switch (action) {
        case form::ActionId::Convert:
            flow_->Convert();
            break;
        case form::ActionId::Companies:
            flow_->PickCompany();
            break;
        case form::ActionId::Help:
            SwitchHints();
            break;
        case form::ActionId::ClearTrace:
            flow_->ClearTrace();
            break;
        case form::ActionId::Close:
            OnClose();
            break;
        case form::ActionId::Undo:
            flow_->Undo();
            break;
    }
}

void MainWindow::SwitchHints() {
    hints_.SetOn(!hints_.IsOn());
    toolbar_.SetHelpPressed(hints_.IsOn());
}

void MainWindow::OnClose() {
    if (!flow_->CloseRequested()) {
        return;  // the flow closes the window once its work has ended
    }
    if (settings_) {
        settings_->Hidden();
    }
    ::DestroyWindow(window_);
}

void MainWindow::BrowseLedgerDir() {
    // At the directory in the box when it exists, otherwise at the current drive's root.
    std::wstring start = ledgerDir_.Text();
    const DWORD attributes = ::GetFileAttributesW(start.c_str());
    if (start.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        wchar_t current[MAX_PATH + 1] = {};
        ::GetCurrentDirectoryW(MAX_PATH, current);
        start = std::wstring(current).substr(0, 3);
    }
    if (const auto folder = ChooseFolder(window_, WideFromUtf8(form::kLedgerDirTitle), start)) {
        ledgerDir_.SetText(*folder);
    }
}

void MainWindow::BrowseExportFile() {
    OpenFileOptions options;
    options.title = WideFromUtf8(form::kExportFileTitle);
    options.defaultSuffix = WideFromUtf8(form::kExportDefaultSuffix);
    for (const form::FileFilter& filter : form::kExportFilters) {
        options.filters.push_back({WideFromUtf8(filter.text), WideFromUtf8(filter.pattern)});
    }
    const std::wstring current =
        WideFromUtf8(desktop::UnquotePath(Utf8FromWide(exportFile_.Text())));
    const std::size_t slash = current.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        options.initialFolder = current.substr(0, slash);
        options.initialName = current.substr(slash + 1);
    }
    if (const auto chosen = ChooseOpenFile(window_, options)) {
        exportFile_.SetText(WideFromUtf8(desktop::QuotePathWithSpaces(Utf8FromWide(*chosen))));
    }
}

desktop::WindowInputs MainWindow::Inputs() const {
    desktop::WindowInputs inputs;
    inputs.exportPath = Utf8FromWide(exportFile_.Text());
    inputs.ledgerDir = Utf8FromWide(ledgerDir_.Text());
    inputs.attributeLetter = Utf8FromWide(WindowText(attribute_));
    inputs.registerLetter = Utf8FromWide(WindowText(register_));
    inputs.checkOnly = ::SendMessageW(checkOnly_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    inputs.ledgerCode = ::SendMessageW(rbMaz_, BM_GETCHECK, 0, 0) == BST_CHECKED
                            ? PolishCharset::pcMazovia
                            : PolishCharset::pcCp852;
    return inputs;
}

void MainWindow::SetExportPath(const std::string& path) {
    exportFile_.SetText(WideFromUtf8(path));
}

void MainWindow::SetLedgerDir(const std::string& dir) {
    ledgerDir_.SetText(WideFromUtf8(dir));
}

void MainWindow::Beep() {
    if (hooks_.beep) {
        hooks_.beep();
    } else {
        win32::Beep();
    }
}

void MainWindow::Focus(desktop::InputBox box) {
    HWND target = exportFile_.Box();
    switch (box) {
        case desktop::InputBox::ExportFile:
            target = exportFile_.Box();
            break;
        case desktop::InputBox::LedgerDirectory:
            target = ledgerDir_.Box();
            break;
        case desktop::InputBox::AttributeLetter:
            target = attribute_;
            break;
        case desktop::InputBox::RegisterLetter:
            target = register_;
            break;
    }
    // As the dialog manager moves the focus: the box's text selected.
    ::SetFocus(target);
    ::SendMessageW(target, EM_SETSEL, 0, -1);
}

void MainWindow::ShowStatus(const desktop::StatusText& status) {
    status_ = status;
    SetStatusText(status.text, status.keptWhole);
}

void MainWindow::SetStatusText(const std::string& utf8, std::size_t keptWhole) {
    std::wstring shown;
    if (utf8.empty()) {
        shown = WideFromUtf8(form::kOwnerLine);
    } else {
        RECT bar{};
        ::GetClientRect(statusBar_, &bar);
        const int room = bar.right - bar.left - scale_.Metric(SM_CXVSCROLL) - scale_.Px(8);
        const HFONT font = font_.get();
        const HWND statusBar = statusBar_;
        shown = WideFromUtf8(desktop::FitToWidth(
            utf8, keptWhole, std::max(0, room), [font, statusBar](std::string_view text) {
                const std::wstring wide = WideFromUtf8(text);
                return static_cast<int>(
                    TextExtent(statusBar, font, wide.c_str(), static_cast<int>(wide.size())).cx);
            }));
    }
    ::SendMessageW(statusBar_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(shown.c_str()));
}

bool MainWindow::AskYesNo(const std::string& caption, const std::string& text,
                          const std::string& details) {
    if (hooks_.askYesNo) {
        return hooks_.askYesNo(caption, text);
    }
    // The system box has no details part: the shortened lines are what it shows.
    static_cast<void>(details);
    return win32::AskYesNo(window_, WideFromUtf8(caption), WideFromUtf8(text));
}

std::optional<bool> MainWindow::AskYesNoCancel(const std::string& caption,
                                               const std::string& text) {
    if (hooks_.askYesNoCancel) {
        return hooks_.askYesNoCancel(caption, text);
    }
    return win32::AskYesNoCancel(window_, WideFromUtf8(caption), WideFromUtf8(text));
}

void MainWindow::ShowMessage(const std::string& text) {
    if (hooks_.showMessage) {
        hooks_.showMessage(text);
    } else {
        ShowPlainMessage(window_, WideFromUtf8(text));
    }
}

void MainWindow::ShowError(const std::string& text) {
    if (hooks_.showError) {
        hooks_.showError(text);
    } else {
        ShowErrorBox(window_, WideFromUtf8(text));
    }
}

void MainWindow::AppendTraceLines(std::string_view win1250Lines) {
    trace_.AppendLines(win1250Lines);
}

void MainWindow::ClearTrace() {
    trace_.Clear();
}

void MainWindow::Repaint() {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MainWindow::WorkStarts(const std::string& progress) {
    busy_.emplace();
    if (!progress.empty()) {
        SetStatusText(progress, 0);
        Repaint();
    }
}

void MainWindow::WorkProgress(const std::string& progress) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    SetStatusText(progress, 0);
    // A close asked meanwhile reaches the flow, which closes once the work has ended.
    MSG close;
    if (::PeekMessageW(&close, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0) {
        flow_->CloseRequested();
    }
    InputDrop::Pump();
}

void MainWindow::WorkEnds() {
    busy_.reset();
    SetStatusText(status_.text, status_.keptWhole);
}

void MainWindow::CloseLater() {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
}

std::optional<std::string> MainWindow::PickCompanyDirectory(const std::string& ledgerDir,
                                                            PolishCharset ledgerCode) {
    if (hooks_.pickCompanyDirectory) {
        return hooks_.pickCompanyDirectory(ledgerDir, ledgerCode);
    }
    const auto chosen = PickLedgerDirectory(
        window_, WideFromUtf8(ledgerDir), [ledgerCode] { return ledgerCode; },
        WideFromUtf8(settingsPath_));
    if (!chosen) {
        return std::nullopt;
    }
    return Utf8FromWide(*chosen);
}

}  // namespace trevo::win32
