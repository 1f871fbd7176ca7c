#pragma once
// The main window as a native Win32 window: it builds the controls of desktop/MainWindowForm.h,
// lays them out at its monitor's DPI, draws and forwards every action to the window's behaviour
// (desktop::MainWindowFlow) and its lifecycle to the settings binding (desktop::FormSettings).

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "desktop/FormSettings.h"
#include "desktop/MainWindowFlow.h"
#include "desktop/MainWindowForm.h"
#include "desktop/MainWindowView.h"
#include "win32/common/BrowseBox.h"
#include "win32/common/DpiScale.h"
#include "win32/common/HintSwitch.h"
#include "win32/common/InputDrop.h"
#include "win32/mainwindow/MainFormHost.h"
#include "win32/mainwindow/MainToolbar.h"
#include "win32/mainwindow/MainWindowHooks.h"
#include "win32/mainwindow/TraceList.h"

namespace trevo::win32 {

class MainWindow final : public desktop::MainWindowView {
  public:
    // `settingsPath`: UTF-8 system path of the settings file; empty for desktop's default
    // place (beside the program, or under %APPDATA% for an installed one).
    explicit MainWindow(std::string settingsPath = {}, MainWindowHooks hooks = {});
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Creates the window and its controls, hidden; reads the settings. False when the system
    // refused.
    bool Create();
    // Restores the settings and shows the window: in the saved state, else as `showCommand`.
    void Show(int showCommand);
    HWND Handle() const { return window_; }
    // Accelerators and Tab navigation for a message of the loop; true when it was handled.
    bool PreTranslate(MSG& message);
    // Whether destroying the window ends the message loop (the program's window).
    void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

    desktop::MainWindowFlow& Flow() { return *flow_; }
    TraceList& Trace() { return trace_; }
    bool HintsOn() const { return hints_.IsOn(); }
    const DpiScale& Scale() const { return scale_; }

    // desktop::MainWindowView
    desktop::WindowInputs Inputs() const override;
    void SetExportPath(const std::string& path) override;
    void SetLedgerDir(const std::string& dir) override;
    void Beep() override;
    void Focus(desktop::InputBox box) override;
    void ShowStatus(const desktop::StatusText& status) override;
    bool AskYesNo(const std::string& caption, const std::string& text,
                  const std::string& details) override;
    std::optional<bool> AskYesNoCancel(const std::string& caption,
                                       const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void AppendTraceLines(std::string_view win1250Lines) override;
    void ClearTrace() override;
    void Repaint() override;
    void WorkStarts(const std::string& progress) override;
    void WorkProgress(const std::string& progress) override;
    void WorkEnds() override;
    void CloseLater() override;
    std::optional<std::string> PickCompanyDirectory(const std::string& ledgerDir,
                                                    PolishCharset ledgerCode) override;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void BuildControls();
    // Font, images and positions for the window's current DPI.
    void ApplyDpi();
    void Layout();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void RunAction(desktop::form::ActionId action);
    void SwitchHints();
    void BrowseLedgerDir();
    void BrowseExportFile();
    void SetStatusText(const std::string& utf8, std::size_t keptWhole);
    // A close the user asked for, now or once the flow's work has ended.
    void OnClose();

    std::string settingsPath_;
    MainWindowHooks hooks_;
    HWND window_ = nullptr;
    bool quitOnDestroy_ = false;
    DpiScale scale_;
    FontHandle font_;
    MainToolbar toolbar_;
    AcceleratorHandle accelerators_;
    HintSwitch hints_;
    HWND label1_ = nullptr;
    HWND label2_ = nullptr;
    HWND label3_ = nullptr;
    HWND label4_ = nullptr;
    BrowseBox ledgerDir_;   // de_KPR
    BrowseBox exportFile_;  // FE_EPP
    HWND checkOnly_ = nullptr;
    HWND rbMaz_ = nullptr;
    HWND rb852_ = nullptr;
    HWND attribute_ = nullptr;
    HWND register_ = nullptr;
    TraceList trace_;
    HWND statusBar_ = nullptr;
    desktop::StatusText status_;
    std::optional<InputDrop> busy_;

    std::unique_ptr<desktop::MainWindowFlow> flow_;
    std::unique_ptr<MainFormHost> host_;
    std::unique_ptr<desktop::FormSettings> settings_;
};

}  // namespace trevo::win32
