#pragma once
// The picker "SpisFirm wg KPR" as a modal Win32 dialog: builds the controls of
// desktop/PickerForm.h at the monitor's DPI, draws the flow's rows and status, and forwards
// every event to desktop::PickerFlow and the settings binding. It holds no rules of its own.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/FormSettings.h"
#include "desktop/PickerFlow.h"
#include "engine/platform/UserLocaleCollation.h"
#include "win32/common/BrowseBox.h"
#include "win32/common/DpiScale.h"
#include "win32/picker/CompanyGrid.h"
#include "win32/picker/PickerFormHost.h"

namespace trevo::win32 {

class PickerWindow final : public desktop::PickerView {
  public:
    PickerWindow(desktop::PickerFlow::LedgerCodeSource ledgerCode, std::string settingsPath,
                 std::string currentKatalog);
    PickerWindow(const PickerWindow&) = delete;
    PickerWindow& operator=(const PickerWindow&) = delete;
    ~PickerWindow() override;

    // Shows the dialog modally over `owner` until it closes. The ledger directory of the
    // company the user confirmed (UTF-8); nothing when the dialog was closed otherwise.
    std::optional<std::string> Run(HWND owner);

    // desktop::PickerView
    std::string FileBoxText() override;
    void SetFileBoxText(std::string_view utf8) override;
    void Beep() override;
    void FocusFileBox() override;
    void FocusGrid() override;
    void ShowRows(const std::vector<CompanyRow>& rows, std::optional<std::size_t> current) override;
    std::optional<std::size_t> CurrentRow() override;
    void ShowStatus(std::string_view utf8) override;
    void ShowErrorBox(std::string_view utf8) override;

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // True when the message was handled.
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Initialise();
    void BuildControls();
    void ApplyDpi();
    void Layout();
    void FitColumns();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    // Enter: loads in the box, confirms in the grid, presses a focused button.
    void OnEnter();
    void Browse();
    void Confirm();
    void Cancel();
    void Focus(HWND control);

    desktop::PickerFlow::LedgerCodeSource ledgerCode_;
    std::string settingsPath_;
    std::string currentKatalog_;
    UserLocaleCollation collation_;
    std::unique_ptr<desktop::PickerFlow> flow_;
    std::unique_ptr<PickerFormHost> host_;
    std::unique_ptr<desktop::FormSettings> settings_;

    HWND dialog_ = nullptr;
    HWND label1_ = nullptr;
    BrowseBox fileBox_;
    HWND loadButton_ = nullptr;
    CompanyGrid grid_;
    HWND status_ = nullptr;
    FontHandle font_;
    DpiScale scale_;
    // The flow's result, taken when the user confirmed (the grid is gone after the dialog).
    std::optional<std::string> chosen_;
    bool closing_ = false;
};

}  // namespace trevo::win32
