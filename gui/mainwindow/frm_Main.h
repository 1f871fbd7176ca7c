#pragma once
// The main window: the inputs of a conversion, the trace pane in which runs report, the toolbar
// of five actions and the status bar. Its Convert action checks the inputs, asks and runs the
// conversion on the GUI thread.

#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "desktop/StatusLine.h"
#include "desktop/WindowSizeRule.h"
#include "engine/ledger/PeriodFileState.h"
#include "engine/text/zdTransPL.h"
#include "gui/mainwindow/FormMainHooks.h"
#include "gui/mainwindow/RunFeedback.h"
#include "gui/widgets/FormScale.h"

namespace trevo {
class FileSystem;
struct UndoReport;
struct ConversionReport;
struct CurrencyFormat;
struct RunInputs;
}  // namespace trevo

namespace trevo::desktop {
struct InputRefusal;
}  // namespace trevo::desktop

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

class TFormMain : public QWidget {
    Q_OBJECT

  public:
    // `settingsPath`: the settings file of both windows; empty for the file beside the program.
    explicit TFormMain(QString settingsPath = {}, FormMainHooks hooks = {},
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    // One conversion run over the export file with the current inputs, without the checks and
    // the question of act_KonwertExecute.
    void RunConversion();

    // Documents the last run accepted; unchanged by a run whose export file did not open.
    std::int64_t DocumentCount() const { return documentCount; }
    // 1 (Mazovia) when RB_MAZ is checked, otherwise 2 (CP852).
    PolishCharset LedgerCode() const;
    bool HintsOn() const;
    bool IsRunning() const { return running_; }
    // The design's positions and sizes scaled to the window's font.
    const FormScale& Scale() const { return scale_; }
    const QString& SettingsPath() const { return settingsPath_; }

    // When the window starts showing a run's progress; tests shorten it.
    void SetRunFeedbackTiming(RunFeedbackTiming timing) { runFeedbackTiming_ = timing; }

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
    // The run's inputs as the window's controls give them.
    RunInputs CurrentInputs() const;
    // The undo action and its toolbar button, after the other five.
    void BuildUndoAction();
    // What the run just done leaves after its last trace line and in the status bar.
    void ShowRunSummary(const ConversionReport& report);
    // Runs a handler; an error escaping it is shown in the general error box.
    void Guarded(const std::function<void()>& handler);
    // Names, for screen readers, the controls whose captions are separate labels.
    void NameControlsForAccessibility();

    // An action starts: a refusal shown from before goes.
    void ActionStarted();
    // Beeps, moves the focus to the box refused and says why in the status bar.
    void Refuse(const desktop::InputRefusal& refusal);
    // What undo did, in the status bar.
    void ShowUndoStatus(const UndoReport& report);
    // The status bar's text as statusLine_ has it, or the owner line.
    void ShowStatusLine();

    // The screen's free area without the window's frame; nothing known yet: 0 x 0.
    desktop::Extent Room() const;
    // Minimum and size within the screen's free area.
    void FitToScreen();
    // The controls' panel and the trace pane share the window's height.
    void ShareHeight();

    FormMainHooks hooks_;
    QString settingsPath_;
    FileSystem& fileSystem_;
    RunFeedbackTiming runFeedbackTiming_;
    FormScale scale_;
    bool running_ = false;
    bool closeRequested_ = false;
    std::int64_t documentCount = 0;
    // The answer to the already-booked question, for the run that follows it.
    bool skipBookedNext_ = false;
    // The period files as the question saw them, for the run that follows it.
    std::optional<PeriodFileStates> bookedAsAskedNext_;

    desktop::Extent design_;
    QSize fittedFrame_;  // the window frame FitToScreen last saw
    desktop::StatusLine statusLine_;

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
    FittedLabel* statusMessage_ = nullptr;  // statusLine_, instead of the owner line

    QAction* act_Konwert = nullptr;
    QAction* Act_FirmyKPR = nullptr;
    QAction* act_Help = nullptr;
    QAction* act_WyczyscTrace = nullptr;
    QAction* act_Close = nullptr;
    QAction* act_Cofnij = nullptr;

    HintSwitch* hints_ = nullptr;
    FormStorage* formStorage_ = nullptr;  // child of the window
};

}  // namespace trevo::gui
