#include "frm_SpisFirm.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>
#include <optional>

#include "UserLocaleCollation.h"
#include "files/FileSystem.h"
#include "ledger/CompanyList.h"
#include "picker/CompanyRows.h"
#include "picker/CompanyTableModel.h"
#include "picker/FilenameEdit.h"
#include "platform/MessageBoxes.h"
#include "platform/Win1250Text.h"
#include "settings/FormStorage.h"

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
      PanelTop_(new QFrame(this)),
      Label1_(new QLabel(QStringLiteral("Lokalizacja pliku SpisFirm.Dat"), PanelTop_)),
      FilenameEdit_(new FilenameEdit(PanelTop_)),
      bb_Zaladuj_(new QPushButton(QStringLiteral("Załaduj ..."), PanelTop_)),
      PanelMain_(new QFrame(this)),
      DBGridLista_(new QTableView(PanelMain_)),
      RxMD_Spis_(new CompanyTableModel(this)) {
    setObjectName(QStringLiteral("FormSpisFirm"));
    setWindowTitle(QStringLiteral("SpisFirm wg KPR"));
    resize(kDesignWidth, kDesignHeight);
    setMinimumSize(kDesignWidth, kDesignHeight);
    setSizeGripEnabled(true);

    PanelTop_->setObjectName(QStringLiteral("PanelTop"));
    PanelTop_->setFrameShape(QFrame::StyledPanel);
    PanelTop_->setFixedHeight(57);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->move(8, 6);
    FilenameEdit_->setObjectName(QStringLiteral("FilenameEdit"));
    FilenameEdit_->setGeometry(8, 24, 193, 21);
    FilenameEdit_->setFileName(QStringLiteral("spisfirm.dat"));
    FilenameEdit_->setFilter(QStringLiteral("Plik firm (gw KPR)|spisfirm.dat|Wszystkie (*.*)|*.*"));
    FilenameEdit_->setInitialDir(QString::fromUtf16(kInitialListDir));
    bb_Zaladuj_->setObjectName(QStringLiteral("bb_Zaladuj"));
    bb_Zaladuj_->setGeometry(216, 22, 75, 25);
    // Enter in the grid must not reload the list.
    bb_Zaladuj_->setAutoDefault(false);
    connect(bb_Zaladuj_, &QPushButton::clicked, this, &TFormSpisFirm::bb_ZaladujClick);

    PanelMain_->setObjectName(QStringLiteral("PanelMain"));
    auto* mainLayout = new QVBoxLayout(PanelMain_);
    mainLayout->setContentsMargins(5, 5, 5, 5);
    mainLayout->addWidget(DBGridLista_);

    DBGridLista_->setObjectName(QStringLiteral("DBGridLista"));
    DBGridLista_->setModel(RxMD_Spis_);
    DBGridLista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGridLista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridLista_->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGridLista_->setShowGrid(true);
    DBGridLista_->setTabKeyNavigation(false);
    DBGridLista_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGridLista_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int charWidth = DBGridLista_->fontMetrics().averageCharWidth();
    const int widths[] = {static_cast<int>(kFirmaWidth), static_cast<int>(kKatalogWidth),
                          static_cast<int>(kInfoWidth)};
    for (int column = 0; column < CompanyTableModel::kFieldCount; ++column) {
        DBGridLista_->setColumnWidth(column, widths[column] * charWidth + 8);
    }
    connect(DBGridLista_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { RxMD_Spis_->setMarkedRow(current.row()); });
    // A double-click anywhere in the grid confirms: cells, empty space, titles, the corner.
    DBGridLista_->viewport()->installEventFilter(this);
    DBGridLista_->horizontalHeader()->viewport()->installEventFilter(this);
    DBGridLista_->verticalHeader()->viewport()->installEventFilter(this);
    if (auto* corner = DBGridLista_->findChild<QAbstractButton*>()) {
        corner->installEventFilter(this);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelTop_);
    layout->addWidget(PanelMain_);
    setTabOrder(DBGridLista_, FilenameEdit_);
    setTabOrder(FilenameEdit_, bb_Zaladuj_);
    DBGridLista_->setFocus();

    // Reads the file now and restores when the dialog is shown, before FormActivate loads.
    formStorage_ = new FormStorage(this, {"SPISFIRM", {"FilenameEdit.FileName"}, 360, 310},
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
    if (event->type() == QEvent::MouseButtonDblClick) {
        DBGridListaDblClick();
    }
    return QDialog::eventFilter(watched, event);
}

QString TFormSpisFirm::currentKatalog() const {
    return FromWin1250(currentKatalog_);
}

void TFormSpisFirm::setCurrentKatalog(const QString& katalog) {
    currentKatalog_ = ToWin1250(katalog).substr(0, kKatalogWidth);
}

QString TFormSpisFirm::currentRowKatalog() const {
    const int row = DBGridLista_->currentIndex().row();
    if (row < 0 || row >= RxMD_Spis_->rowCount()) {
        return {};
    }
    return FromWin1250(RxMD_Spis_->rows()[static_cast<std::size_t>(row)].katalog);
}

QString TFormSpisFirm::listFileName() const {
    return FilenameEdit_->fileName();
}

void TFormSpisFirm::setBeepHook(std::function<void()> beep) {
    beep_ = std::move(beep);
}

void TFormSpisFirm::bb_ZaladujClick() {
    LoadCompanyList();
}

void TFormSpisFirm::DBGridListaDblClick() {
    done(QDialog::Accepted);
}

void TFormSpisFirm::MakeCurrent(std::size_t row) {
    const QModelIndex index = RxMD_Spis_->index(static_cast<int>(row), 0);
    DBGridLista_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    DBGridLista_->scrollTo(index);
}

void TFormSpisFirm::LoadCompanyList() {
    const std::string path = ToWin1250(FilenameEdit_->fileName());
    FileSystem& fileSystem = LocalFileSystem();
    if (!fileSystem.FileExists(path)) {
        beep_();
        FilenameEdit_->setFocus();
        return;
    }

    RxMD_Spis_->clear();
    DBGridLista_->setUpdatesEnabled(false);
    std::optional<std::size_t> current;  // the last row read, as the table leaves it
    QString failure;
    try {
        ReadCompanyList(fileSystem, path, ledgerCode_(), [&](const CompanyRecord& record) {
            RxMD_Spis_->append(record);
            current = RxMD_Spis_->rows().size() - 1;
        });
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }

    // Whatever the reading did, the rows read so far are sorted and searched.
    const qt::UserLocaleCollation collation;
    current = RxMD_Spis_->sortByFirma(current, collation);
    current = SelectKatalogRow(RxMD_Spis_->rows(), current, currentKatalog_, collation);
    if (current) {
        MakeCurrent(*current);
    }
    DBGridLista_->setUpdatesEnabled(true);

    if (!failure.isNull()) {
        ShowErrorBox(this, failure);
        return;
    }
    DBGridLista_->setFocus();
}

}  // namespace trevo::gui
