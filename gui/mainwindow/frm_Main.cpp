#include "gui/mainwindow/frm_Main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <exception>
#include <optional>
#include <utility>

#include "desktop/InputChecks.h"
#include "desktop/QuestionText.h"
#include "engine/files/FileSystem.h"
#include "engine/run/BookedScan.h"
#include "engine/run/ConversionSession.h"
#include "engine/summary/RunSummary.h"
#include "engine/summary/SummaryText.h"
#include "engine/text/CurrencyFormat.h"
#include "gui/mainwindow/BookedDocumentsQuestion.h"
#include "gui/mainwindow/BusyWork.h"
#include "gui/mainwindow/PaneTraceSink.h"
#include "gui/mainwindow/RunInputDiscard.h"
#include "gui/picker/PickLedgerDirectory.h"
#include "gui/settings/FormStorage.h"
#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/DirectoryEdit.h"
#include "gui/widgets/FileNameEdit.h"
#include "gui/widgets/FittedLabel.h"
#include "gui/widgets/HintSwitch.h"
#include "gui/widgets/PanelRadioButton.h"
#include "gui/widgets/PathQuotes.h"
#include "gui/widgets/TracePane.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace {

constexpr int kDesignWidth = 472;
constexpr int kDesignHeight = 466;
constexpr int kTopPanelHeight = 129;
constexpr int kStatusBarHeight = 19;
constexpr int kToolButtonWidth = 25;
constexpr int kToolButtonHeight = 22;
constexpr int kSeparatorWidth = 13;
// The trace pane keeps about three lines before the controls give way on a small screen.
constexpr int kTraceMinimumHeight = 48;

const QString kCaption = QStringLiteral("TREVO 2ORMEK  | w 2008.01.28");
const QString kOwnerLine =
    QStringLiteral("Program trevo2KPR · właściciel: licencjobiorca programu");
const QString kConfirmCaption = QStringLiteral("Start ...");
const QString kScanProgress =
    QStringLiteral("Sprawdzanie, które dokumenty eksportu są już w KPR - proszę czekać…");
const QString kBookedCaption = QStringLiteral("Dokumenty już w KPR");

void Place(QWidget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
}

// A label sizes itself to its text, as labels of the original layout do.
template <typename Label>
Label* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint position) {
    auto* label = new Label(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(position);
    label->adjustSize();
    return label;
}

// Every action has a key; its hint names it, so that hints teach the keys.
QAction* MakeAction(QObject* list, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& key, QStyle::StandardPixmap icon, QStyle* style) {
    auto* action = new QAction(style->standardIcon(icon), caption, list);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(hint, key.toString(QKeySequence::NativeText)));
    return action;
}

// The Windows-1250 byte of a one-letter box, checked before a run; 0 for an empty box.
char FirstLetter(const QString& text) {
    return desktop::LetterByte(text.toStdString()).value_or('\0');
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TFormMain::TFormMain(QString settingsPath, FormMainHooks hooks, QWidget* parent)
    : QWidget(parent),
      hooks_(std::move(hooks)),
      settingsPath_(settingsPath.isEmpty() ? DefaultSettingsPath() : std::move(settingsPath)),
      fileSystem_(LocalFileSystem()) {
    setObjectName("FormMain");
    setWindowTitle(kCaption);
    // The toolkit's font, with the design's positions scaled to it.
    scale_ = FormScale::ForFont(font());
    const QSize design = scale_.Size(kDesignWidth, kDesignHeight);
    design_ = {design.width(), design.height()};

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    BuildActions();
    BuildUndoAction();
    BuildTopPanel();
    BuildMainPanel();
    BuildStatusBar();

    // The controls keep their places; on a screen too small for them they scroll, every one
    // still within reach, and the focus brings each into view.
    topScroll_ = new QScrollArea(this);
    topScroll_->setObjectName("PanelTopScroll");
    topScroll_->setFrameShape(QFrame::NoFrame);
    topScroll_->setFocusPolicy(Qt::NoFocus);
    topScroll_->setWidgetResizable(true);
    topScroll_->setWidget(PanelTop);
    topScroll_->setFixedHeight(PanelTop->height());
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && PanelTop->isAncestorOf(now)) {
            topScroll_->ensureWidgetVisible(now, 0, 0);
        }
    });
    layout->addWidget(topScroll_);
    layout->addWidget(PanelMain, 1);
    layout->addWidget(StatusBar);
    SetTabOrder();
    NameControlsForAccessibility();

    // Last, so that it watches every control, toolbar buttons included.
    hints_ = new HintSwitch(this);
    hints_->Exempt(statusMessage_);

    const desktop::Extent size = desktop::FitToRoom(design_, Room());
    resize(size.width, size.height);
    formStorage_ = new FormStorage(this,
                                   {"MAIN",
                                    {"FE_EPP.Text", "Edit_Atrybut.Text", "Edit_REJ.Text",
                                     "de_KPR.Text", "RB_852.Checked", "RB_MAZ.Checked"},
                                    size.width,
                                    size.height},
                                   settingsPath_);
}

TFormMain::~TFormMain() {
    formStorage_->WindowDestroying();
}

void TFormMain::BuildActions() {
    auto* list = new QObject(this);
    list->setObjectName("ActionList");
    QStyle* look = style();
    // Keys that the boxes do not take for themselves (Ctrl+K, Ctrl+A, Ctrl+Z, ... edit text).
    act_Konwert =
        MakeAction(list, "act_Konwert", QStringLiteral("Konwersja"),
                   QStringLiteral("Konwersja danych ze standardu VAT_R.TXT \"vrs\" 2 KPR"),
                   QKeySequence(Qt::CTRL | Qt::Key_R), QStyle::SP_MediaPlay, look);
    Act_FirmyKPR = MakeAction(list, "Act_FirmyKPR", QStringLiteral("Firmy KPR"),
                              QStringLiteral("Ułatwia wybranie katalogu firmy z KPR"),
                              QKeySequence(Qt::CTRL | Qt::Key_F), QStyle::SP_DirOpenIcon, look);
    act_Help = MakeAction(list, "act_Help", QStringLiteral("Włącza dymki podpowiedzi"),
                          QStringLiteral("Włącza dymki podpowiedzi"), QKeySequence(Qt::Key_F1),
                          QStyle::SP_MessageBoxQuestion, look);
    act_WyczyscTrace =
        MakeAction(list, "act_WyczyscTrace", QStringLiteral("Wyczyść"),
                   QStringLiteral("Czyści pole śledzenia"), QKeySequence(Qt::CTRL | Qt::Key_L),
                   QStyle::SP_DialogResetButton, look);
    act_Close = MakeAction(list, "act_Close", QStringLiteral("Koniec"),
                           QStringLiteral("Kończy pracę programu"),
                           QKeySequence(Qt::CTRL | Qt::Key_Q), QStyle::SP_DialogCloseButton, look);

    // Shown pressed while hints are on.
    act_Help->setCheckable(true);

    connect(act_Konwert, &QAction::triggered, this, &TFormMain::act_KonwertExecute);
    connect(Act_FirmyKPR, &QAction::triggered, this, &TFormMain::Act_FirmyKPRExecute);
    connect(act_Help, &QAction::triggered, this, &TFormMain::act_HelpExecute);
    connect(act_WyczyscTrace, &QAction::triggered, this, &TFormMain::act_WyczyscTraceExecute);
    connect(act_Close, &QAction::triggered, this, &TFormMain::act_CloseExecute);
    addActions({act_Konwert, Act_FirmyKPR, act_Help, act_WyczyscTrace, act_Close});
}

void TFormMain::BuildTopPanel() {
    PanelTop = new QWidget(this);
    PanelTop->setObjectName("PanelTop");
    PanelTop->setFixedHeight(scale_.Height(kTopPanelHeight));

    BuildToolBar();

    const auto at = [this](int left, int top) { return QPoint(scale_.X(left), scale_.Y(top)); };
    Label1 = MakeLabel<ClickableLabel>(PanelTop, "Label1", QStringLiteral("Katalog danych KPR"),
                                       at(8, 32));
    connect(Label1, &ClickableLabel::clicked, this, &TFormMain::Act_FirmyKPRExecute);

    de_KPR = new DirectoryEdit(PanelTop);
    Place(de_KPR, "de_KPR", scale_.Rect(8, 48, 209, 21));
    de_KPR->setDialogTitle(QStringLiteral("Gdzie te dane ?"));
    de_KPR->setToolTip(QStringLiteral("tj. katalog firmy do której importujemy dane"));

    Label2 = MakeLabel<QLabel>(PanelTop, "Label2", QStringLiteral("Plik Exp2Kap.kpm"), at(232, 32));

    FE_EPP = new FileNameEdit(PanelTop);
    Place(FE_EPP, "FE_EPP", scale_.Rect(232, 48, 209, 21));
    FE_EPP->setDialogTitle(QStringLiteral("Gdzież ten plik FVS ?"));
    FE_EPP->setDefaultSuffix(QStringLiteral("txt"));
    // Filter texts as the user sees them, each followed by its pattern. "Wszystkie pliki" takes
    // every file: "*" here, where "*.*" would leave out names without a dot.
    FE_EPP->setNameFilters({
        QStringLiteral("Plik \"Trevovrs\" (eksp2kap.kpm)"),
        QStringLiteral("Pliki  \"*.kpm\"(*.kpm)"),
        QStringLiteral("Wszystkie pliki(*)"),
    });
    FE_EPP->setToolTip(
        QStringLiteral("tj. wybranie/ wskazanie jego lokalizacji\n"
                       "Odczytywane są dane z wersji \"format danych:comma\""));
    connect(FE_EPP, &FileNameEdit::exited, this, &TFormMain::FE_EPPExit);

    ch_sprawdz = new QCheckBox(QStringLiteral("tylko sprawdź"), PanelTop);
    Place(ch_sprawdz, "ch_sprawdz", scale_.Rect(353, 29, 84, 17));
    ch_sprawdz->setLayoutDirection(Qt::RightToLeft);  // caption to the left of the box
    // Should the caption still not fit (a style's wider box), the box grows to the left, into
    // the empty end of the toolbar row, keeping its right edge.
    if (const int needed = ch_sprawdz->sizeHint().width(); needed > ch_sprawdz->width()) {
        const QRect design = ch_sprawdz->geometry();
        ch_sprawdz->setGeometry(design.right() + 1 - needed, design.top(), needed, design.height());
    }
    ch_sprawdz->setToolTip(QStringLiteral("Przeprowadza konwersję bez zapisu danych na dysk"));

    Panel_PL = new QWidget(PanelTop);
    Place(Panel_PL, "Panel_PL", scale_.Rect(8, 72, 137, 25));
    RB_MAZ = new PanelRadioButton(QStringLiteral("MAZovia"), Panel_PL);
    Place(RB_MAZ, "RB_MAZ", scale_.Rect(3, 4, 65, 17));
    RB_MAZ->setToolTip(QStringLiteral("Polskie litery w KPR_ZD PL=MAZ"));
    RB_852 = new PanelRadioButton(QStringLiteral("CP852"), Panel_PL);
    Place(RB_852, "RB_852", scale_.Rect(75, 4, 57, 17));
    RB_852->setToolTip(QStringLiteral("Polskie litery w KPR_ZD PL=852"));
    RB_MAZ->setChecked(true);

    Label3 = MakeLabel<QLabel>(PanelTop, "Label3", QStringLiteral("Atrybut KPR"), at(12, 98));
    Label3->setToolTip(QStringLiteral("atrybut dokumentu w kpr"));
    Edit_Atrybut = new QLineEdit(PanelTop);
    Place(Edit_Atrybut, "Edit_Atrybut", scale_.Rect(72, 96, 17, 21));
    Edit_Atrybut->setMaxLength(1);
    Edit_Atrybut->setToolTip(QStringLiteral("Litera grupująca Atr(x) w KPR"));

    Label4 = MakeLabel<QLabel>(PanelTop, "Label4", QStringLiteral("Rejestr( )"), at(110, 98));
    Label4->setToolTip(QStringLiteral("identyfikator rejestru"));
    Edit_REJ = new QLineEdit(PanelTop);
    Place(Edit_REJ, "Edit_REJ", scale_.Rect(168, 96, 17, 21));
    Edit_REJ->setMaxLength(1);
    Edit_REJ->setToolTip(QStringLiteral("Literka identyfikacyjna GrupaR(x) w KPR"));

    // As wide as its controls reach: narrower, the panel scrolls.
    PanelTop->setMinimumWidth(PanelTop->childrenRect().right() + 1 + scale_.X(4));
}

void TFormMain::NameControlsForAccessibility() {
    // The labels name their boxes, as their buddies; the boxes carry the names themselves too,
    // since a box inside a box with a button is no sibling of its label.
    const auto name = [](QLabel* label, QWidget* box) {
        label->setBuddy(box);
        box->setAccessibleName(label->text());
    };
    name(Label1, de_KPR->lineEdit());
    name(Label2, FE_EPP->lineEdit());
    name(Label3, Edit_Atrybut);
    name(Label4, Edit_REJ);
    de_KPR->setAccessibleName(Label1->text());
    FE_EPP->setAccessibleName(Label2->text());
    de_KPR->browseButton()->setAccessibleName(QStringLiteral("Wybierz katalog danych KPR"));
    FE_EPP->browseButton()->setAccessibleName(QStringLiteral("Wybierz plik Exp2Kap.kpm"));
    Panel_PL->setAccessibleName(QStringLiteral("Polskie litery w KPR"));
    StatusBar->setAccessibleName(QStringLiteral("Pasek stanu"));
}

void TFormMain::BuildToolBar() {
    ToolBar1 = new QToolBar(PanelTop);
    Place(ToolBar1, "ToolBar1", scale_.Rect(1, 1, 462, 29));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(16, 16));

    const auto addButton = [this](QAction* action, const char* name) {
        ToolBar1->addAction(action);
        QWidget* button = ToolBar1->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(name));
        button->setFixedSize(scale_.Size(kToolButtonWidth, kToolButtonHeight));
    };
    int separators = 0;
    const auto addSeparator = [this, &separators] {
        QWidget* separator = ToolBar1->widgetForAction(ToolBar1->addSeparator());
        separator->setObjectName(QStringLiteral("ToolSeparator%1").arg(++separators));
        separator->setFixedWidth(scale_.Width(kSeparatorWidth));
    };
    addButton(act_Konwert, "tk_KOnwersja");
    addSeparator();
    addButton(Act_FirmyKPR, "ToolButton3");
    addSeparator();
    addButton(act_Help, "tb_Help");
    addButton(act_WyczyscTrace, "tb_ClearTrace");
    addSeparator();
    addButton(act_Close, "tb_koniec");
    addSeparator();
    addButton(act_Cofnij, "tb_Cofnij");
}

void TFormMain::BuildMainPanel() {
    PanelMain = new QWidget(this);
    PanelMain->setObjectName("PanelMain");
    auto* mainLayout = new QVBoxLayout(PanelMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);

    Panel_Main_LEft = new QWidget(PanelMain);
    Panel_Main_LEft->setObjectName("Panel_Main_LEft");
    mainLayout->addWidget(Panel_Main_LEft);
    auto* leftLayout = new QVBoxLayout(Panel_Main_LEft);
    leftLayout->setContentsMargins(3, 3, 3, 3);

    MemoTrace = new TracePane(Panel_Main_LEft);
    MemoTrace->setObjectName("MemoTrace");
    // The window's height decides; the trace takes what the controls leave (ShareHeight).
    MemoTrace->setMinimumHeight(1);
    Panel_Main_LEft->setMinimumHeight(1);
    PanelMain->setMinimumHeight(1);
    MemoTrace->setToolTip(QStringLiteral("Okienko wyników pracy i przebiegu operacji"));
    leftLayout->addWidget(MemoTrace);
}

void TFormMain::BuildStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setFixedHeight(scale_.Height(kStatusBarHeight));
    ownerLine_ = new QLabel(kOwnerLine, StatusBar);
    ownerLine_->setObjectName("OwnerLine");
    // Normal items: a progress message covers them, and they return when it is cleared.
    StatusBar->addWidget(ownerLine_, 1);
    statusMessage_ = new FittedLabel(StatusBar);
    statusMessage_->setObjectName("StatusMessage");
    StatusBar->addWidget(statusMessage_, 1);
    statusMessage_->hide();
}

void TFormMain::ShowStatusLine() {
    const desktop::StatusText& shown = statusLine_.Shown();
    statusMessage_->SetFullText(FromUtf8(shown.text), shown.keptWhole);
    const bool any = !shown.text.empty();
    ownerLine_->setVisible(!any);
    statusMessage_->setVisible(any);
}

void TFormMain::ActionStarted() {
    statusLine_.ActionStarted();
    ShowStatusLine();
}

void TFormMain::Refuse(const desktop::InputRefusal& refusal) {
    hooks_.beep();
    QWidget* box = nullptr;
    switch (refusal.box) {
        case desktop::InputBox::ExportFile:
            box = FE_EPP;
            break;
        case desktop::InputBox::LedgerDirectory:
            box = de_KPR;
            break;
        case desktop::InputBox::AttributeLetter:
            box = Edit_Atrybut;
            break;
        case desktop::InputBox::RegisterLetter:
            box = Edit_REJ;
            break;
    }
    box->setFocus(Qt::OtherFocusReason);
    statusLine_.ShowRefusal({refusal.message, refusal.keptWhole});
    ShowStatusLine();
}

desktop::Extent TFormMain::Room() const {
    const QScreen* where = screen();
    if (where == nullptr) {
        return {};
    }
    const QRect free = where->availableGeometry();
    // The frame the window manager adds is known once it has framed the window; before, the
    // title bar is taken as the style draws one.
    QSize frame = frameGeometry().size() - size();
    if (frame.height() <= 0) {
        frame = QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    }
    return {free.width() - frame.width(), free.height() - frame.height()};
}

void TFormMain::FitToScreen() {
    const desktop::Extent room = Room();
    const desktop::Extent minimum = desktop::FitToRoom(design_, room);
    setMinimumSize(minimum.width, minimum.height);
    const desktop::Extent fitted = desktop::FitToRoom({width(), height()}, room);
    if (fitted != desktop::Extent{width(), height()}) {
        resize(fitted.width, fitted.height);
    }
}

void TFormMain::ShareHeight() {
    if (topScroll_ == nullptr) {
        return;
    }
    // Narrower than the controls reach, the panel's own scroll bar takes height too.
    int needed = PanelTop->minimumHeight();
    if (width() < PanelTop->minimumWidth()) {
        needed += topScroll_->horizontalScrollBar()->sizeHint().height();
    }
    const desktop::HeightShare share = desktop::ShareHeight(height(), needed, StatusBar->height(),
                                                            scale_.Height(kTraceMinimumHeight));
    if (topScroll_->height() != share.controls || topScroll_->minimumHeight() != share.controls) {
        topScroll_->setFixedHeight(share.controls);
        layout()->activate();
    }
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ShareHeight();
}

void TFormMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager has framed the window: fitted again with the real frame.
    const QSize frame = frameGeometry().size() - size();
    if (isVisible() && frame != fittedFrame_) {
        fittedFrame_ = frame;
        FitToScreen();
    }
}

void TFormMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The restored placement, and any later screen, within the screen's free area.
    FitToScreen();
    if (QWindow* handle = windowHandle()) {
        connect(handle, &QWindow::screenChanged, this, &TFormMain::FitToScreen,
                Qt::UniqueConnection);
    }
}

void TFormMain::SetTabOrder() {
    // Only the checked radio button is a Tab stop (PanelRadioButton), so the chain passes
    // through both and stops at the checked one.
    QWidget* const chain[] = {
        de_KPR->lineEdit(), FE_EPP->lineEdit(), ch_sprawdz, Edit_Atrybut, Edit_REJ, RB_MAZ, RB_852,
        MemoTrace};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

RunInputs TFormMain::CurrentInputs() const {
    RunInputs inputs;
    inputs.exportPath = Win1250FromQString(FE_EPP->text());
    inputs.ledgerDir = Win1250FromQString(de_KPR->text());
    inputs.ledgerCode = LedgerCode();
    inputs.checkOnly = ch_sprawdz->isChecked();
    inputs.attributeLetter = FirstLetter(Edit_Atrybut->text());
    inputs.registerLetter = FirstLetter(Edit_REJ->text());
    return inputs;
}

PolishCharset TFormMain::LedgerCode() const {
    return RB_MAZ->isChecked() ? PolishCharset::pcMazovia : PolishCharset::pcCp852;
}

bool TFormMain::HintsOn() const {
    return hints_->isOn();
}

void TFormMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        hooks_.showError(this, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        hooks_.showError(this, QStringLiteral("Nieznany błąd"));
    }
}

void TFormMain::act_KonwertExecute() {
    if (running_) {
        return;
    }
    Guarded([this] {
        ActionStarted();
        desktop::ConversionInputTexts texts;
        texts.exportPath = FE_EPP->text().toStdString();
        texts.ledgerDir = de_KPR->text().toStdString();
        texts.attributeLetter = Edit_Atrybut->text().toStdString();
        texts.registerLetter = Edit_REJ->text().toStdString();
        texts.checkOnly = ch_sprawdz->isChecked();
        if (const auto refusal = desktop::CheckConversionInputs(texts, fileSystem_)) {
            Refuse(*refusal);
            return;
        }
        skipBookedNext_ = false;
        bookedAsAskedNext_.reset();
        if (!ch_sprawdz->isChecked()) {
            BookedScan scan;
            {
                // The scan reads the whole export as a run does: input given meanwhile is
                // dropped, not handed to the questions or the run that follow.
                const BusyWork busy(*this, *StatusBar, kScanProgress);
                scan = ScanForBookedDocuments(CurrentInputs(), fileSystem_);
            }
            bookedAsAskedNext_ = std::move(scan.files);
            if (!scan.booked.empty()) {
                const auto skip =
                    hooks_.askYesNoCancel(this, kBookedCaption, BookedQuestionText(scan));
                if (!skip) {
                    return;
                }
                skipBookedNext_ = *skip;
            }
        }
        const desktop::QuestionText question =
            desktop::ConfirmationQuestion(texts.checkOnly, texts.ledgerDir);
        if (!hooks_.askYesNo(this, kConfirmCaption, FromUtf8(question.text),
                             FromUtf8(question.details))) {
            return;
        }
        // The run holds the GUI thread: the window takes the box's place on the screen now, so
        // that no image of the box stays while the run works.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        repaint();
        RunConversion();
    });
}

void TFormMain::RunConversion() {
    if (running_) {
        return;
    }
    const QScopedValueRollback<bool> running(running_, true);

    ConversionRequest request;
    request.inputs = CurrentInputs();
    request.inputs.skipBooked = std::exchange(skipBookedNext_, false);
    const std::optional<PeriodFileStates> bookedAsAsked = std::exchange(bookedAsAskedNext_, {});
    request.bookedAsAsked = bookedAsAsked ? &*bookedAsAsked : nullptr;

    PaneTraceSink trace(*MemoTrace);
    ConversionReport report;
    {
        const RunInputDiscard discardInput;
        RunFeedback feedback(trace, *StatusBar, runFeedbackTiming_);
        SessionPlatform platform{trace, fileSystem_};
        platform.progress = &feedback;
        try {
            report = RunConversionSession(request, platform);
        } catch (...) {
            trace.Flush();  // what the run reported before the error stays visible
            throw;
        }
    }
    if (closeRequested_) {
        // Asked to close during the run: now that the run has returned.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    if (!report.exportOpenFailed.empty()) {
        // Nothing was read: no digest of this run, and the last one's no longer stands.
        statusLine_.ReplaceDigest({});
        ShowStatusLine();
        hooks_.showPlainMessage(this, QStringFromWin1250(report.exportOpenFailed));
        return;
    }
    documentCount = report.run.documentCount;
    ShowRunSummary(report);
    if (!report.changedSinceAsked.empty()) {
        hooks_.showPlainMessage(this, QStringFromWin1250(report.changedSinceAsked));
    }
}

void TFormMain::ShowRunSummary(const ConversionReport& report) {
    PaneTraceSink trace(*MemoTrace);
    for (const std::string& line : SummaryLines(report.summary, report.money)) {
        trace.AppendLine(line);
    }
    if (!report.journalLost.empty()) {
        trace.AppendLine(report.journalLost);
    }
    trace.Flush();
    // Until the next run or undo.
    statusLine_.ReplaceDigest(
        desktop::RunDigest(QStringFromWin1250(SummaryDigest(report.summary)).toStdString()));
    ShowStatusLine();
}

void TFormMain::Act_FirmyKPRExecute() {
    ActionStarted();
    // Whatever goes wrong around the picker leaves the directory as it was, without a message.
    try {
        std::optional<QString> directory;
        if (hooks_.pickCompanyDirectory) {
            directory = hooks_.pickCompanyDirectory(this, de_KPR->text(), LedgerCode());
        } else {
            // The picker shares the window's settings file, in a section of its own.
            directory = PickLedgerDirectory(
                this, de_KPR->text(), [this] { return LedgerCode(); }, settingsPath_);
        }
        if (directory) {
            de_KPR->setText(*directory);
        }
    } catch (...) {
    }
}

void TFormMain::act_HelpExecute() {
    hints_->setOn(!hints_->isOn());
    act_Help->setChecked(hints_->isOn());
}

void TFormMain::act_WyczyscTraceExecute() {
    Guarded([this] {
        ActionStarted();
        MemoTrace->ClearLines();
    });
}

void TFormMain::act_CloseExecute() {
    close();
}

void TFormMain::FE_EPPExit() {
    Guarded([this] {
        const QString text = FE_EPP->text();
        const QString unquoted = UnquotePath(text);
        if (unquoted != text) {
            FE_EPP->setText(unquoted);
        }
    });
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // A close request that reaches the window during a run waits: the run owns open files.
    if (running_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    closeRequested_ = false;
    QWidget::closeEvent(event);
}

}  // namespace trevo::gui
