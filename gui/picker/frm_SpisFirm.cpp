#include "gui/picker/frm_SpisFirm.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "companies/CompanyRows.h"
#include "desktop/FormSettings.h"
#include "desktop/PickerForm.h"
#include "engine/files/FileSystem.h"
#include "gui/picker/CompanyTableModel.h"
#include "gui/settings/FormStorage.h"
#include "gui/widgets/FileNameEdit.h"
#include "gui/widgets/FormScale.h"
#include "qtplatform/MessageBoxes.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace {

namespace form = desktop::picker_form;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QRect DesignRect(const FormScale& scale, const form::ControlSpec& control) {
    return scale.Rect(control.rect.x, control.rect.y, control.rect.width, control.rect.height);
}

// The open-file dialog's filters in the toolkit's form "text (pattern)"; a text that names
// its pattern already is the whole filter.
QStringList NameFilters() {
    QStringList filters;
    for (const form::FileFilter& filter : form::kFileFilters) {
        const QString pattern = " (" + Text(filter.pattern) + ")";
        const QString text = Text(filter.text);
        filters << (text.endsWith(pattern) ? text : text + pattern);
    }
    return filters;
}

// The binding of the picker's section, at the toolkit font's scale.
FormStorageConfig StorageConfig(const FormScale& scale) {
    const desktop::FormSettingsConfig plain = desktop::PickerSettingsConfig({});
    return StorageConfigOf(plain, scale.Width(plain.minTrack.width),
                           scale.Height(plain.minTrack.height));
}

}  // namespace

TFormSpisFirm::TFormSpisFirm(LedgerCodeSource ledgerCode, QString settingsPath, QWidget* parent)
    : QDialog(parent),
      settingsPath_(std::move(settingsPath)),
      beep_(&gui::Beep),
      PanelTop(new QFrame(this)),
      Label1(new QLabel(Text(form::kLabel1.caption), PanelTop)),
      FilenameEdit(new FileNameEdit(PanelTop)),
      bb_Zaladuj(new QPushButton(Text(form::kLoadButton.caption), PanelTop)),
      PanelMain(new QFrame(this)),
      DBGridLista(new QTableView(PanelMain)),
      LabelStatus(new QLabel(this)),
      RxMD_Spis(new CompanyTableModel(this)),
      flow_(*this, LocalFileSystem(), collation_, std::move(ledgerCode)) {
    setObjectName(Text(form::kFormName));
    setWindowTitle(Text(form::kCaption));
    // The toolkit's font, with the design's positions scaled to it.
    const FormScale scale = FormScale::ForFont(font());
    resize(scale.Size(form::kDesignWidth, form::kDesignHeight));
    setSizeGripEnabled(true);

    PanelTop->setObjectName(Text(form::kPanelTop.name));
    PanelTop->setFrameShape(QFrame::StyledPanel);
    PanelTop->setFixedHeight(scale.Height(form::kPanelTop.rect.height));
    Label1->setObjectName(Text(form::kLabel1.name));
    Label1->move(scale.X(form::kLabel1.rect.x), scale.Y(form::kLabel1.rect.y));
    Label1->adjustSize();
    FilenameEdit->setObjectName(Text(form::kFilenameEdit.name));
    FilenameEdit->setGeometry(DesignRect(scale, form::kFilenameEdit));
    FilenameEdit->setFileName(Text(form::kInitialFileName));
    FilenameEdit->setNameFilters(NameFilters());
    FilenameEdit->setStartDirectorySource(
        [this] { return QString::fromStdString(flow_.BrowseStartDirectory()); });
    // A screen reader names the box by its label, and the button by what it does.
    Label1->setBuddy(FilenameEdit);
    FilenameEdit->setAccessibleName(Text(form::kFilenameEdit.accessibleName));
    FilenameEdit->lineEdit()->setAccessibleName(Text(form::kFilenameEdit.accessibleName));
    FilenameEdit->browseButton()->setAccessibleName(Text(form::kBrowseButton.accessibleName));
    FilenameEdit->browseButton()->setToolTip(Text(form::kBrowseButton.accessibleName));
    connect(FilenameEdit, &FileNameEdit::fileChosen, this,
            [this] { flow_.FileChosen(FilenameEdit->fileName().toStdString()); });
    connect(FilenameEdit, &FileNameEdit::textChanged, this, [this] { flow_.FileBoxChanged(); });
    connect(FilenameEdit, &FileNameEdit::exited, this, [this] { flow_.FileBoxLeft(); });
    // Enter in the box loads the named list; the dialog has no default button to press.
    connect(FilenameEdit->lineEdit(), &QLineEdit::returnPressed, this,
            &TFormSpisFirm::LoadCompanyList);
    bb_Zaladuj->setObjectName(Text(form::kLoadButton.name));
    bb_Zaladuj->setGeometry(DesignRect(scale, form::kLoadButton));
    // Enter in the grid must not reload the list.
    bb_Zaladuj->setAutoDefault(false);
    connect(bb_Zaladuj, &QPushButton::clicked, this, &TFormSpisFirm::bb_ZaladujClick);

    PanelMain->setObjectName(Text(form::kPanelMain.name));
    auto* mainLayout = new QVBoxLayout(PanelMain);
    const int border = form::kPanelMainBorder;
    mainLayout->setContentsMargins(border, border, border, border);
    mainLayout->addWidget(DBGridLista);

    DBGridLista->setObjectName(Text(form::kGrid.name));
    DBGridLista->setAccessibleName(Text(form::kGrid.accessibleName));
    DBGridLista->setModel(RxMD_Spis);
    DBGridLista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGridLista->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridLista->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGridLista->setShowGrid(true);
    DBGridLista->setTabKeyNavigation(false);
    // One line per company: a long name is cut with an ellipsis, never wrapped.
    DBGridLista->setWordWrap(false);
    DBGridLista->setTextElideMode(Qt::ElideRight);
    DBGridLista->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Katalog and Info show their whole texts; Firma takes what the dialog's width leaves.
    QHeaderView* header = DBGridLista->horizontalHeader();
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(CompanyTableModel::RxMD_SpisFirma, QHeaderView::Stretch);
    header->setSectionResizeMode(CompanyTableModel::RxMD_SpisKatalog, QHeaderView::Interactive);
    header->setSectionResizeMode(CompanyTableModel::RxMD_SpisInfo, QHeaderView::Interactive);
    FitTextColumns();
    DBGridLista->installEventFilter(this);
    connect(DBGridLista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { RxMD_Spis->setMarkedRow(current.row()); });
    // A double-click anywhere in the grid confirms: cells, empty space, titles, the corner.
    DBGridLista->viewport()->installEventFilter(this);
    DBGridLista->horizontalHeader()->viewport()->installEventFilter(this);
    DBGridLista->verticalHeader()->viewport()->installEventFilter(this);
    if (auto* corner = DBGridLista->findChild<QAbstractButton*>()) {
        corner->installEventFilter(this);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelTop);
    layout->addWidget(PanelMain);
    // Where the rows came from, or why there are none: one line, a long path shortened in its
    // middle, the whole text as the tooltip.
    LabelStatus->setObjectName(Text(form::kStatusLine.name));
    const int inset = scale.X(form::kStatusLine.rect.x);
    LabelStatus->setContentsMargins(inset, 0, inset, scale.Y(3));
    LabelStatus->setTextFormat(Qt::PlainText);
    LabelStatus->setMinimumWidth(1);
    // One line's height from the start, so that the grid does not jump at the first message.
    LabelStatus->setMinimumHeight(LabelStatus->fontMetrics().height() + scale.Y(3));
    LabelStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    LabelStatus->installEventFilter(this);
    layout->addWidget(LabelStatus);
    setTabOrder(DBGridLista, FilenameEdit);
    setTabOrder(FilenameEdit, bb_Zaladuj);
    DBGridLista->setFocus();

    // Reads the file now and restores when the dialog is shown, before FormActivate loads.
    formStorage_ = new FormStorage(this, StorageConfig(scale),
                                   settingsPath_.isEmpty() ? DefaultSettingsPath() : settingsPath_);
}

TFormSpisFirm::~TFormSpisFirm() {
    formStorage_->WindowDestroying();
}

void TFormSpisFirm::FormActivate() {
    flow_.Activated();
}

bool TFormSpisFirm::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return handled;
}

bool TFormSpisFirm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LabelStatus) {
        if (event->type() == QEvent::Resize) {
            FitStatusText();
        }
        return QDialog::eventFilter(watched, event);
    }
    if (watched == DBGridLista) {
        // Enter in the grid confirms the selected company, like a double-click.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                DBGridListaDblClick();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        DBGridListaDblClick();
    }
    return QDialog::eventFilter(watched, event);
}

QString TFormSpisFirm::currentKatalog() const {
    return QStringFromWin1250(flow_.CurrentKatalog());
}

void TFormSpisFirm::setCurrentKatalog(const QString& katalog) {
    flow_.SetCurrentKatalog(Win1250FromQString(katalog));
}

QString TFormSpisFirm::currentRowKatalog() const {
    return QStringFromWin1250(flow_.CurrentRowKatalog());
}

QString TFormSpisFirm::listFileName() const {
    return QString::fromStdString(flow_.ListFileName());
}

void TFormSpisFirm::setBeepHook(std::function<void()> beep) {
    beep_ = std::move(beep);
}

void TFormSpisFirm::bb_ZaladujClick() {
    LoadCompanyList();
}

void TFormSpisFirm::LoadCompanyList() {
    flow_.LoadAsked();
}

void TFormSpisFirm::DBGridListaDblClick() {
    if (flow_.ConfirmAsked()) {
        done(QDialog::Accepted);
    }
}

std::optional<QString> TFormSpisFirm::chosenLedgerDir() const {
    const auto directory = flow_.ChosenLedgerDirectory();
    if (!directory) {
        return std::nullopt;
    }
    return QString::fromStdString(*directory);
}

std::string TFormSpisFirm::FileBoxText() {
    return FilenameEdit->text().toStdString();
}

void TFormSpisFirm::SetFileBoxText(std::string_view utf8) {
    FilenameEdit->setText(Text(utf8));
}

void TFormSpisFirm::Beep() {
    beep_();
}

void TFormSpisFirm::FocusFileBox() {
    FilenameEdit->setFocus();
}

void TFormSpisFirm::FocusGrid() {
    DBGridLista->setFocus();
}

void TFormSpisFirm::ShowRows(const std::vector<CompanyRow>& rows,
                             std::optional<std::size_t> current) {
    DBGridLista->setUpdatesEnabled(false);
    RxMD_Spis->setRows(rows);
    if (current) {
        MakeCurrent(*current);
    }
    FitTextColumns();
    DBGridLista->setUpdatesEnabled(true);
}

std::optional<std::size_t> TFormSpisFirm::CurrentRow() {
    const int row = DBGridLista->currentIndex().row();
    if (row < 0 || row >= RxMD_Spis->rowCount()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row);
}

void TFormSpisFirm::ShowStatus(std::string_view utf8) {
    statusText_ = Text(utf8);
    LabelStatus->setToolTip(statusText_);
    LabelStatus->setAccessibleName(statusText_);
    FitStatusText();
}

void TFormSpisFirm::ShowErrorBox(std::string_view utf8) {
    gui::ShowErrorBox(this, Text(utf8));
}

void TFormSpisFirm::FitStatusText() {
    const QMargins margins = LabelStatus->contentsMargins();
    const int room = LabelStatus->width() - margins.left() - margins.right();
    LabelStatus->setText(
        LabelStatus->fontMetrics().elidedText(statusText_, Qt::ElideMiddle, std::max(room, 1)));
}

void TFormSpisFirm::FitTextColumns() {
    // Room for as many of the font's widest letters as the column holds, so that every text
    // shows whole, also in rows not yet in view; wider still for wider texts or the title.
    const QFontMetrics metrics = DBGridLista->fontMetrics();
    const auto fit = [&](int column, std::size_t characters) {
        DBGridLista->resizeColumnToContents(column);
        const int design =
            metrics.horizontalAdvance(QString(static_cast<qsizetype>(characters), u'W')) + 8;
        const int title = DBGridLista->horizontalHeader()->sectionSizeHint(column);
        DBGridLista->setColumnWidth(column,
                                    std::max({design, title, DBGridLista->columnWidth(column)}));
    };
    fit(CompanyTableModel::RxMD_SpisKatalog, kKatalogWidth);
    fit(CompanyTableModel::RxMD_SpisInfo, kInfoWidth);
}

void TFormSpisFirm::MakeCurrent(std::size_t row) {
    const QModelIndex index = RxMD_Spis->index(static_cast<int>(row), 0);
    DBGridLista->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    DBGridLista->scrollTo(index);
}

}  // namespace trevo::gui
