#pragma once
// The main window: the inputs of a conversion, the trace pane in which runs report, the toolbar
// and the status bar. It builds and draws the controls and hands every action to the window's
// behaviour (desktop::MainWindowFlow), whose view it is.

#include <QSize>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "desktop/MainWindowFlow.h"
#include "desktop/MainWindowForm.h"
#include "desktop/MainWindowView.h"
#include "desktop/WindowSizeRule.h"
#include "engine/text/zdTransPL.h"
#include "gui/mainwindow/FormMainHooks.h"
#include "gui/mainwindow/RunInputDiscard.h"
#include "gui/widgets/FormScale.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace trevo::gui {

class ClickableLabel;
class FormStorage;
class DirectoryEdit;
class FileNameEdit;
class FittedLabel;
class HintSwitch;
class PanelRadioButton;
class TracePane;

// When a run starts showing its progress.
using RunFeedbackTiming = desktop::ProgressTiming;

class TFormMain : public QWidget, private desktop::MainWindowView {
    Q_OBJECT

  public:
    // `settingsPath`: the settings file of both windows; empty for the file beside the program.
    explicit TFormMain(QString settingsPath = {}, FormMainHooks hooks = {},
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    // One conversion run over the export file with the current inputs, without the checks and
    // the question of act_KonwertExecute.
    void RunConversion() { flow_.RunUnchecked(); }

    // Documents the last run accepted; unchanged by a run whose export file did not open.
    std::int64_t DocumentCount() const { return flow_.DocumentCount(); }
    // 1 (Mazovia) when RB_MAZ is checked, otherwise 2 (CP852).
    PolishCharset LedgerCode() const;
    bool HintsOn() const;
    // A run, the already-booked scan or undo works.
    bool IsRunning() const { return flow_.IsWorking(); }
    // The design's positions and sizes scaled to the window's font.
    const FormScale& Scale() const { return scale_; }
    const QString& SettingsPath() const { return settingsPath_; }

    // When the window starts showing a run's progress; tests shorten it.
    void SetRunFeedbackTiming(RunFeedbackTiming timing) { flow_.SetProgressTiming(timing); }

  public slots:
    void act_KonwertExecute();
    void Act_FirmyKPRExecute();
    void act_HelpExecute();
    void act_WyczyscTraceExecute();
    void act_CloseExecute();
    void FE_EPPExit();
    // Undoes the last writing run into the ledger directory, after a question.
    void act_CofnijExecute();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildTopPanel();
    void BuildActions();
    void BuildToolBar();
    void BuildMainPanel();
    void BuildStatusBar();
    void SetTabOrder();
    // Names, for screen readers, the controls whose captions are separate labels.
    void NameControlsForAccessibility();
    QAction* Action(desktop::form::ActionId id) const {
        return actions_[static_cast<std::size_t>(id)];
    }

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

    // The screen's free area without the window's frame; nothing known yet: 0 x 0.
    desktop::Extent Room() const;
    // Minimum and size within the screen's free area.
    void FitToScreen();
    // The controls' panel and the trace pane share the window's height.
    void ShareHeight();

    FormMainHooks hooks_;
    QString settingsPath_;
    desktop::MainWindowFlow flow_;
    FormScale scale_;
    // While the flow works: input dropped, and the busy cursor once progress shows.
    std::optional<RunInputDiscard> discardInput_;
    bool busyCursor_ = false;

    desktop::Extent design_;
    QSize fittedFrame_;  // the window frame FitToScreen last saw

    QScrollArea* topScroll_ = nullptr;  // holds PanelTop; scrolls on a screen too small for it
    QWidget* PanelTop = nullptr;
    QToolBar* ToolBar1 = nullptr;
    ClickableLabel* Label1 = nullptr;
    DirectoryEdit* de_KPR = nullptr;
    QLabel* Label2 = nullptr;
    FileNameEdit* FE_EPP = nullptr;
    QCheckBox* ch_sprawdz = nullptr;
    QWidget* Panel_PL = nullptr;
    PanelRadioButton* RB_MAZ = nullptr;
    PanelRadioButton* RB_852 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit_Atrybut = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit_REJ = nullptr;
    QWidget* PanelMain = nullptr;
    QWidget* Panel_Main_LEft = nullptr;
    TracePane* MemoTrace = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* ownerLine_ = nullptr;
    FittedLabel* statusMessage_ = nullptr;  // the flow's status text, instead of the owner line

    std::array<QAction*, desktop::form::kActions.size()> actions_{};

    HintSwitch* hints_ = nullptr;
    FormStorage* formStorage_ = nullptr;  // child of the window
};

}  // namespace trevo::gui
