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
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <utility>

#include "desktop/FormSettings.h"
#include "engine/files/FileSystem.h"
#include "gui/picker/PickLedgerDirectory.h"
#include "gui/settings/FormStorage.h"
#include "gui/widgets/ButtonEdit.h"
#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/DirectoryEdit.h"
#include "gui/widgets/FileNameEdit.h"
#include "gui/widgets/FittedLabel.h"
#include "gui/widgets/HintSwitch.h"
#include "gui/widgets/PanelRadioButton.h"
#include "gui/widgets/TracePane.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace form = desktop::form;

namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// The control's name, design rectangle and hint.
void Place(QWidget* widget, const form::Control& control, const FormScale& scale) {
    widget->setObjectName(Text(control.name));
    const form::DesignRect& r = control.design;
    widget->setGeometry(scale.Rect(r.left, r.top, r.width, r.height));
    if (!control.hint.empty()) {
        widget->setToolTip(Text(control.hint));
    }
}

// A label sizes itself to its text, as labels of the original layout do.
template <typename Label>
Label* MakeLabel(QWidget* parent, const form::Control& control, const FormScale& scale) {
    auto* label = new Label(Text(control.caption), parent);
    label->setObjectName(Text(control.name));
    label->move(scale.X(control.design.left), scale.Y(control.design.top));
    label->adjustSize();
    if (!control.hint.empty()) {
        label->setToolTip(Text(control.hint));
    }
    return label;
}

QKeySequence KeyOf(const form::Key& key) {
    Qt::KeyboardModifiers modifiers;
    if (key.ctrl) {
        modifiers |= Qt::ControlModifier;
    }
    if (key.shift) {
        modifiers |= Qt::ShiftModifier;
    }
    const auto code =
        key.function > 0 ? Qt::Key_F1 + (key.function - 1) : Qt::Key_A + (key.letter - 'A');
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(code)));
}

QStyle::StandardPixmap PixmapOf(form::Icon icon) {
    switch (icon) {
        case form::Icon::Start:
            return QStyle::SP_MediaPlay;
        case form::Icon::OpenFolder:
            return QStyle::SP_DirOpenIcon;
        case form::Icon::Question:
            return QStyle::SP_MessageBoxQuestion;
        case form::Icon::Clear:
            return QStyle::SP_DialogResetButton;
        case form::Icon::Close:
            return QStyle::SP_DialogCloseButton;
        case form::Icon::Back:
            return QStyle::SP_ArrowBack;
    }
    return QStyle::SP_CustomBase;
}

// "Wszystkie pliki" takes every file: "*" for the toolkit, where "*.*" would leave out names
// without a dot.
QString NameFilter(const form::FileFilter& filter) {
    const QString pattern = filter.pattern == "*.*" ? QStringLiteral("*") : Text(filter.pattern);
    return Text(filter.text) + u'(' + pattern + u')';
}

}  // namespace

TFormMain::TFormMain(QString settingsPath, FormMainHooks hooks, QWidget* parent)
    : QWidget(parent),
      hooks_(std::move(hooks)),
      settingsPath_(settingsPath.isEmpty() ? DefaultSettingsPath() : std::move(settingsPath)),
      flow_(*this, {LocalFileSystem()}) {
    setObjectName(Text(form::kWindowName));
    setWindowTitle(Text(form::kCaption));
    // The toolkit's font, with the design's positions scaled to it.
    scale_ = FormScale::ForFont(font());
    const QSize design = scale_.Size(form::kDesignWidth, form::kDesignHeight);
    design_ = {design.width(), design.height()};

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    BuildActions();
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
    formStorage_ = new FormStorage(
        this, StorageConfigOf(desktop::MainWindowSettingsConfig({}), size.width, size.height),
        settingsPath_);
}

TFormMain::~TFormMain() {
    formStorage_->WindowDestroying();
}

void TFormMain::BuildActions() {
    auto* list = new QObject(this);
    list->setObjectName(Text(form::kActionListName));
    QStyle* look = style();
    for (const form::Action& each : form::kActions) {
        auto* action =
            new QAction(look->standardIcon(PixmapOf(each.icon)), Text(each.caption), list);
        action->setObjectName(Text(each.name));
        action->setShortcut(KeyOf(each.key));
        action->setToolTip(Text(form::ActionTooltip(each)));
        action->setCheckable(each.checkable);
        actions_[static_cast<std::size_t>(each.id)] = action;
        addAction(action);
    }
    const auto on = [this](form::ActionId id, void (TFormMain::*handler)()) {
        connect(Action(id), &QAction::triggered, this, handler);
    };
    on(form::ActionId::Convert, &TFormMain::act_KonwertExecute);
    on(form::ActionId::Companies, &TFormMain::Act_FirmyKPRExecute);
    on(form::ActionId::Help, &TFormMain::act_HelpExecute);
    on(form::ActionId::ClearTrace, &TFormMain::act_WyczyscTraceExecute);
    on(form::ActionId::Close, &TFormMain::act_CloseExecute);
    on(form::ActionId::Undo, &TFormMain::act_CofnijExecute);
}

void TFormMain::BuildTopPanel() {
    PanelTop = new QWidget(this);
    PanelTop->setObjectName(Text(form::kPanelTop.name));
    PanelTop->setFixedHeight(scale_.Height(form::kPanelTop.design.height));

    BuildToolBar();

    Label1 = MakeLabel<ClickableLabel>(PanelTop, form::kLabel1, scale_);
    connect(Label1, &ClickableLabel::clicked, this, &TFormMain::Act_FirmyKPRExecute);

    de_KPR = new DirectoryEdit(PanelTop);
    Place(de_KPR, form::kDeKpr, scale_);
    de_KPR->setDialogTitle(Text(form::kLedgerDirTitle));

    Label2 = MakeLabel<QLabel>(PanelTop, form::kLabel2, scale_);

    FE_EPP = new FileNameEdit(PanelTop);
    Place(FE_EPP, form::kFeEpp, scale_);
    FE_EPP->setDialogTitle(Text(form::kExportFileTitle));
    FE_EPP->setDefaultSuffix(Text(form::kExportDefaultSuffix));
    QStringList filters;
    for (const form::FileFilter& filter : form::kExportFilters) {
        filters << NameFilter(filter);
    }
    FE_EPP->setNameFilters(filters);
    connect(FE_EPP, &FileNameEdit::exited, this, &TFormMain::FE_EPPExit);

    ch_sprawdz = new QCheckBox(Text(form::kChSprawdz.caption), PanelTop);
    Place(ch_sprawdz, form::kChSprawdz, scale_);
    ch_sprawdz->setLayoutDirection(Qt::RightToLeft);  // caption to the left of the box
    // Should the caption still not fit (a style's wider box), the box grows to the left, into
    // the empty end of the toolbar row, keeping its right edge.
    if (const int needed = ch_sprawdz->sizeHint().width(); needed > ch_sprawdz->width()) {
        const QRect design = ch_sprawdz->geometry();
        ch_sprawdz->setGeometry(design.right() + 1 - needed, design.top(), needed, design.height());
    }

    Panel_PL = new QWidget(PanelTop);
    Place(Panel_PL, form::kPanelPl, scale_);
    RB_MAZ = new PanelRadioButton(Text(form::kRbMaz.caption), Panel_PL);
    Place(RB_MAZ, form::kRbMaz, scale_);
    RB_852 = new PanelRadioButton(Text(form::kRb852.caption), Panel_PL);
    Place(RB_852, form::kRb852, scale_);
    RB_MAZ->setChecked(true);

    Label3 = MakeLabel<QLabel>(PanelTop, form::kLabel3, scale_);
    Edit_Atrybut = new QLineEdit(PanelTop);
    Place(Edit_Atrybut, form::kEditAtrybut, scale_);
    Edit_Atrybut->setMaxLength(static_cast<int>(form::kLetterBoxLength));

    Label4 = MakeLabel<QLabel>(PanelTop, form::kLabel4, scale_);
    Edit_REJ = new QLineEdit(PanelTop);
    Place(Edit_REJ, form::kEditRej, scale_);
    Edit_REJ->setMaxLength(static_cast<int>(form::kLetterBoxLength));

    // As wide as its controls reach: narrower, the panel scrolls.
    PanelTop->setMinimumWidth(PanelTop->childrenRect().right() + 1 + scale_.X(4));
}

void TFormMain::NameControlsForAccessibility() {
    // The labels name their boxes, as their buddies; the boxes carry the names themselves too,
    // since a box inside a box with a button is no sibling of its label.
    const auto name = [](QLabel* label, QWidget* box, const form::Control& control) {
        label->setBuddy(box);
        box->setAccessibleName(Text(control.accessibleName));
    };
    name(Label1, de_KPR->lineEdit(), form::kDeKpr);
    name(Label2, FE_EPP->lineEdit(), form::kFeEpp);
    name(Label3, Edit_Atrybut, form::kEditAtrybut);
    name(Label4, Edit_REJ, form::kEditRej);
    de_KPR->setAccessibleName(Text(form::kDeKpr.accessibleName));
    FE_EPP->setAccessibleName(Text(form::kFeEpp.accessibleName));
    de_KPR->browseButton()->setAccessibleName(Text(form::kDeKprBrowseName));
    FE_EPP->browseButton()->setAccessibleName(Text(form::kFeEppBrowseName));
    Panel_PL->setAccessibleName(Text(form::kPanelPl.accessibleName));
    StatusBar->setAccessibleName(Text(form::kStatusBar.accessibleName));
}

void TFormMain::BuildToolBar() {
    ToolBar1 = new QToolBar(PanelTop);
    Place(ToolBar1, form::kToolBar1, scale_);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(form::kToolIconSize, form::kToolIconSize));

    int separators = 0;
    for (const form::ToolbarItem& item : form::kToolbar) {
        if (item.separator) {
            QWidget* separator = ToolBar1->widgetForAction(ToolBar1->addSeparator());
            separator->setObjectName(Text(form::kSeparatorNamePrefix) +
                                     QString::number(++separators));
            separator->setFixedWidth(scale_.Width(form::kSeparatorWidth));
            continue;
        }
        QAction* action = Action(item.action);
        ToolBar1->addAction(action);
        QWidget* button = ToolBar1->widgetForAction(action);
        button->setObjectName(Text(form::ActionOf(item.action).button));
        button->setFixedSize(scale_.Size(form::kToolButtonWidth, form::kToolButtonHeight));
    }
}

void TFormMain::BuildMainPanel() {
    PanelMain = new QWidget(this);
    PanelMain->setObjectName(Text(form::kPanelMain.name));
    auto* mainLayout = new QVBoxLayout(PanelMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);

    Panel_Main_LEft = new QWidget(PanelMain);
    Panel_Main_LEft->setObjectName(Text(form::kPanelMainLeft.name));
    mainLayout->addWidget(Panel_Main_LEft);
    auto* leftLayout = new QVBoxLayout(Panel_Main_LEft);
    leftLayout->setContentsMargins(form::kTraceBorder, form::kTraceBorder, form::kTraceBorder,
                                   form::kTraceBorder);

    MemoTrace = new TracePane(Panel_Main_LEft);
    MemoTrace->setObjectName(Text(form::kMemoTrace.name));
    // The window's height decides; the trace takes what the controls leave (ShareHeight).
    MemoTrace->setMinimumHeight(1);
    Panel_Main_LEft->setMinimumHeight(1);
    PanelMain->setMinimumHeight(1);
    MemoTrace->setToolTip(Text(form::kMemoTrace.hint));
    leftLayout->addWidget(MemoTrace);
}

void TFormMain::BuildStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(Text(form::kStatusBar.name));
    StatusBar->setFixedHeight(scale_.Height(form::kStatusBar.design.height));
    ownerLine_ = new QLabel(Text(form::kOwnerLine), StatusBar);
    ownerLine_->setObjectName(Text(form::kOwnerLineName));
    // Normal items: a progress message covers them, and they return when it is cleared.
    StatusBar->addWidget(ownerLine_, 1);
    statusMessage_ = new FittedLabel(StatusBar);
    statusMessage_->setObjectName(Text(form::kStatusMessageName));
    StatusBar->addWidget(statusMessage_, 1);
    statusMessage_->hide();
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
    const desktop::HeightShare share = desktop::ShareHeight(
        height(), needed, StatusBar->height(), scale_.Height(form::kTraceMinimumHeight));
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
    QWidget* previous = nullptr;
    for (const std::string_view name : form::kTabOrder) {
        auto* control = findChild<QWidget*>(Text(name));
        // A box with a browse button takes the focus in its line.
        if (auto* box = qobject_cast<ButtonEdit*>(control)) {
            control = box->lineEdit();
        }
        if (previous != nullptr) {
            setTabOrder(previous, control);
        }
        previous = control;
    }
}

PolishCharset TFormMain::LedgerCode() const {
    return RB_MAZ->isChecked() ? PolishCharset::pcMazovia : PolishCharset::pcCp852;
}

bool TFormMain::HintsOn() const {
    return hints_->isOn();
}

void TFormMain::act_KonwertExecute() {
    flow_.Convert();
}

void TFormMain::Act_FirmyKPRExecute() {
    flow_.PickCompany();
}

void TFormMain::act_HelpExecute() {
    hints_->setOn(!hints_->isOn());
    Action(form::ActionId::Help)->setChecked(hints_->isOn());
}

void TFormMain::act_WyczyscTraceExecute() {
    flow_.ClearTrace();
}

void TFormMain::act_CloseExecute() {
    close();
}

void TFormMain::FE_EPPExit() {
    flow_.ExportBoxLeft();
}

void TFormMain::act_CofnijExecute() {
    flow_.Undo();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // A close request that reaches the window while the flow works waits: the work owns open
    // files.
    if (!flow_.CloseRequested()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

desktop::WindowInputs TFormMain::Inputs() const {
    desktop::WindowInputs inputs;
    inputs.exportPath = Utf8(FE_EPP->text());
    inputs.ledgerDir = Utf8(de_KPR->text());
    inputs.attributeLetter = Utf8(Edit_Atrybut->text());
    inputs.registerLetter = Utf8(Edit_REJ->text());
    inputs.checkOnly = ch_sprawdz->isChecked();
    inputs.ledgerCode = LedgerCode();
    return inputs;
}

void TFormMain::SetExportPath(const std::string& path) {
    FE_EPP->setText(Text(path));
}

void TFormMain::SetLedgerDir(const std::string& dir) {
    de_KPR->setText(Text(dir));
}

void TFormMain::Beep() {
    hooks_.beep();
}

void TFormMain::Focus(desktop::InputBox box) {
    QWidget* control = nullptr;
    switch (box) {
        case desktop::InputBox::ExportFile:
            control = FE_EPP;
            break;
        case desktop::InputBox::LedgerDirectory:
            control = de_KPR;
            break;
        case desktop::InputBox::AttributeLetter:
            control = Edit_Atrybut;
            break;
        case desktop::InputBox::RegisterLetter:
            control = Edit_REJ;
            break;
    }
    control->setFocus(Qt::OtherFocusReason);
}

void TFormMain::ShowStatus(const desktop::StatusText& status) {
    statusMessage_->SetFullText(Text(status.text), status.keptWhole);
    const bool any = !status.text.empty();
    ownerLine_->setVisible(!any);
    statusMessage_->setVisible(any);
}

bool TFormMain::AskYesNo(const std::string& caption, const std::string& text,
                         const std::string& details) {
    return hooks_.askYesNo(this, Text(caption), Text(text), Text(details));
}

std::optional<bool> TFormMain::AskYesNoCancel(const std::string& caption, const std::string& text) {
    return hooks_.askYesNoCancel(this, Text(caption), Text(text));
}

void TFormMain::ShowMessage(const std::string& text) {
    hooks_.showPlainMessage(this, Text(text));
}

void TFormMain::ShowError(const std::string& text) {
    hooks_.showError(this, Text(text));
}

void TFormMain::AppendTraceLines(std::string_view win1250Lines) {
    MemoTrace->AppendLines(QStringFromWin1250(win1250Lines));
}

void TFormMain::ClearTrace() {
    MemoTrace->ClearLines();
}

void TFormMain::Repaint() {
    // The work holds the GUI thread: the window takes the box's place on the screen now, so
    // that no image of the box stays while it works.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TFormMain::WorkStarts(const std::string& progress) {
    discardInput_.emplace();
    if (progress.empty()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busyCursor_ = true;
    StatusBar->showMessage(Text(progress));
    // Paint only: input that reaches the window now is dropped by the discard.
    Repaint();
}

void TFormMain::WorkProgress(const std::string& progress) {
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    StatusBar->showMessage(Text(progress));
    // Paint and timers only: keys, clicks and close requests wait until the work has ended.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormMain::WorkEnds() {
    StatusBar->clearMessage();
    if (std::exchange(busyCursor_, false)) {
        QApplication::restoreOverrideCursor();
    }
    discardInput_.reset();
}

void TFormMain::CloseLater() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

std::optional<std::string> TFormMain::PickCompanyDirectory(const std::string& ledgerDir,
                                                           PolishCharset ledgerCode) {
    std::optional<QString> directory;
    if (hooks_.pickCompanyDirectory) {
        directory = hooks_.pickCompanyDirectory(this, Text(ledgerDir), ledgerCode);
    } else {
        // The picker shares the window's settings file, in a section of its own.
        directory = PickLedgerDirectory(
            this, Text(ledgerDir), [this] { return LedgerCode(); }, settingsPath_);
    }
    if (!directory) {
        return std::nullopt;
    }
    return Utf8(*directory);
}

}  // namespace trevo::gui
