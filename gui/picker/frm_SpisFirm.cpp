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
#include <exception>
#include <optional>

#include "companies/CompanyPickerList.h"
#include "companies/CompanyRows.h"
#include "engine/files/FileSystem.h"
#include "gui/picker/CompanyTableModel.h"
#include "gui/settings/FormStorage.h"
#include "gui/widgets/FileNameEdit.h"
#include "gui/widgets/FormScale.h"
#include "qtplatform/MessageBoxes.h"
#include "qtplatform/UserLocaleCollation.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace {

constexpr int kDesignWidth = 360;
constexpr int kDesignHeight = 310;

#ifdef _WIN32
constexpr auto kInitialListDir = u"c:\\kpr_zd";
#else
// The ledger program's usual place has no counterpart here: the dialog opens in the current
// directory.
constexpr auto kInitialListDir = u"";
#endif

}  // namespace

TFormSpisFirm::TFormSpisFirm(LedgerCodeSource ledgerCode, QString settingsPath, QWidget* parent)
    : QDialog(parent),
      ledgerCode_(std::move(ledgerCode)),
      settingsPath_(std::move(settingsPath)),
      beep_(&Beep),
      PanelTop(new QFrame(this)),
      Label1(new QLabel(QStringLiteral("Lokalizacja pliku SpisFirm.Dat"), PanelTop)),
      FilenameEdit(new FileNameEdit(PanelTop)),
      bb_Zaladuj(new QPushButton(QStringLiteral("Załaduj ..."), PanelTop)),
      PanelMain(new QFrame(this)),
      DBGridLista(new QTableView(PanelMain)),
      LabelStatus(new QLabel(this)),
      RxMD_Spis(new CompanyTableModel(this)) {
    setObjectName(QStringLiteral("FormSpisFirm"));
    setWindowTitle(QStringLiteral("SpisFirm wg KPR"));
    // The toolkit's font, with the design's positions scaled to it.
    const FormScale scale = FormScale::ForFont(font());
    resize(scale.Size(kDesignWidth, kDesignHeight));
    setSizeGripEnabled(true);

    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->setFrameShape(QFrame::StyledPanel);
    PanelTop->setFixedHeight(scale.Height(57));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(scale.X(8), scale.Y(6));
    Label1->adjustSize();
    FilenameEdit->setObjectName(QStringLiteral("FilenameEdit"));
    FilenameEdit->setGeometry(scale.Rect(8, 24, 193, 21));
    FilenameEdit->setFileName(QStringLiteral("spisfirm.dat"));
    FilenameEdit->setNameFilters(
        {QStringLiteral("Plik firm (gw KPR) (spisfirm.dat)"), QStringLiteral("Wszystkie (*.*)")});
    FilenameEdit->setInitialDir(QString::fromUtf16(kInitialListDir));
    // A screen reader names the box by its label, and the button by what it does.
    Label1->setBuddy(FilenameEdit);
    FilenameEdit->setAccessibleName(Label1->text());
    FilenameEdit->lineEdit()->setAccessibleName(Label1->text());
    FilenameEdit->browseButton()->setAccessibleName(QStringLiteral("Wybierz plik listy firm"));
    FilenameEdit->browseButton()->setToolTip(QStringLiteral("Wybierz plik listy firm"));
    connect(FilenameEdit, &FileNameEdit::fileChosen, this, &TFormSpisFirm::LoadCompanyList);
    connect(FilenameEdit, &FileNameEdit::textChanged, this, &TFormSpisFirm::FilenameEditChange);
    connect(FilenameEdit, &FileNameEdit::exited, this, &TFormSpisFirm::FilenameEditExit);
    // Enter in the box loads the named list; the dialog has no default button to press.
    connect(FilenameEdit->lineEdit(), &QLineEdit::returnPressed, this,
            &TFormSpisFirm::LoadCompanyList);
    bb_Zaladuj->setObjectName(QStringLiteral("bb_Zaladuj"));
    bb_Zaladuj->setGeometry(scale.Rect(216, 22, 75, 25));
    // Enter in the grid must not reload the list.
    bb_Zaladuj->setAutoDefault(false);
    connect(bb_Zaladuj, &QPushButton::clicked, this, &TFormSpisFirm::bb_ZaladujClick);

    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    auto* mainLayout = new QVBoxLayout(PanelMain);
    mainLayout->setContentsMargins(5, 5, 5, 5);
    mainLayout->addWidget(DBGridLista);

    DBGridLista->setObjectName(QStringLiteral("DBGridLista"));
    DBGridLista->setAccessibleName(QStringLiteral("Lista firm"));
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
    LabelStatus->setObjectName(QStringLiteral("LabelStatus"));
    LabelStatus->setContentsMargins(scale.X(5), 0, scale.X(5), scale.Y(3));
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
    formStorage_ = new FormStorage(this,
                                   {"SPISFIRM",
                                    {"FilenameEdit.FileName"},
                                    scale.Width(kDesignWidth),
                                    scale.Height(kDesignHeight)},
                                   settingsPath_.isEmpty() ? DefaultSettingsPath() : settingsPath_);
    FormCreate();
}

TFormSpisFirm::~TFormSpisFirm() {
    formStorage_->WindowDestroying();
}

void TFormSpisFirm::FormCreate() {
    loadOnActivate_ = true;
}

void TFormSpisFirm::FormActivate() {
    if (loadOnActivate_) {
        loadOnActivate_ = false;
        LoadCompanyList();
    }
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
    return QStringFromWin1250(currentKatalog_);
}

void TFormSpisFirm::setCurrentKatalog(const QString& katalog) {
    currentKatalog_ = Win1250FromQString(katalog).substr(0, kKatalogWidth);
}

QString TFormSpisFirm::currentRowKatalog() const {
    const int row = DBGridLista->currentIndex().row();
    if (row < 0 || row >= RxMD_Spis->rowCount()) {
        return {};
    }
    return QStringFromWin1250(RxMD_Spis->rows()[static_cast<std::size_t>(row)].katalog);
}

QString TFormSpisFirm::listFileName() const {
    return FilenameEdit->fileName();
}

void TFormSpisFirm::setBeepHook(std::function<void()> beep) {
    beep_ = std::move(beep);
}

void TFormSpisFirm::bb_ZaladujClick() {
    LoadCompanyList();
}

void TFormSpisFirm::DBGridListaDblClick() {
    // Without a list there is no company, and no directory to give.
    if (!chosenLedgerDir()) {
        beep_();
        return;
    }
    done(QDialog::Accepted);
}

std::optional<QString> TFormSpisFirm::chosenLedgerDir() const {
    std::optional<std::size_t> row;
    if (const int current = DBGridLista->currentIndex().row(); current >= 0) {
        row = static_cast<std::size_t>(current);
    }
    const auto directory = RxMD_Spis->list().LedgerDirectoryFor(row);
    if (!directory) {
        return std::nullopt;
    }
    return QStringFromWin1250(*directory);
}

void TFormSpisFirm::FilenameEditChange() {
    lastTried_.clear();
    if (RxMD_Spis->dropUnlessFrom(FilenameEdit->fileName())) {
        ShowStatus(QStringLiteral("Nowa nazwa pliku: Enter wczyta z niego listę firm."));
    }
}

void TFormSpisFirm::FilenameEditExit() {
    const QString name = FilenameEdit->fileName();
    if (RxMD_Spis->sourceName() != name && name != lastTried_) {
        Load(LoadTrigger::LeavingTheBox);
    }
}

void TFormSpisFirm::ShowStatus(const QString& text) {
    statusText_ = text;
    LabelStatus->setToolTip(text);
    LabelStatus->setAccessibleName(text);
    FitStatusText();
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

void TFormSpisFirm::LoadCompanyList() {
    Load(LoadTrigger::Asked);
}

void TFormSpisFirm::Load(LoadTrigger trigger) {
    const QString name = FilenameEdit->fileName();
    lastTried_ = name;
    const std::string path = Win1250FromQString(name);
    const auto refuse = [&](const QString& reason) {
        ShowStatus(QStringLiteral("Nie wczytano listy firm: %1.").arg(reason));
        if (trigger == LoadTrigger::Asked) {
            beep_();
            FilenameEdit->setFocus();
        }
    };
    // A letter the file layer cannot spell would become '?' and could name another file.
    if (QStringFromWin1250(path) != name) {
        RxMD_Spis->clear();
        refuse(QStringLiteral("nazwa ma znaki spoza Windows-1250"));
        return;
    }

    DBGridLista->setUpdatesEnabled(false);
    CompanyListFailure failure = CompanyListFailure::None;
    QString error;
    try {
        const qt::UserLocaleCollation collation;
        failure =
            RxMD_Spis->load(LocalFileSystem(), path, ledgerCode_(), currentKatalog_, collation);
    } catch (const std::exception& caught) {
        error = QString::fromLocal8Bit(caught.what());
    }
    if (const auto row = RxMD_Spis->list().LoadedRow()) {
        MakeCurrent(*row);
    }
    FitTextColumns();
    DBGridLista->setUpdatesEnabled(true);

    if (!error.isNull()) {
        ShowStatus(QStringLiteral("Nie wczytano listy firm: %1.").arg(error));
        ShowErrorBox(this, error);
        return;
    }
    if (failure != CompanyListFailure::None) {
        refuse(QStringFromWin1250(CompanyListFailureReason(failure)));
        return;
    }
    ShowStatus(
        QStringLiteral("Lista firm z pliku %1 (firm: %2).").arg(name).arg(RxMD_Spis->rowCount()));
    if (trigger == LoadTrigger::Asked) {
        DBGridLista->setFocus();
    }
}

}  // namespace trevo::gui
