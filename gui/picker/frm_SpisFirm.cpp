#include "gui/picker/frm_SpisFirm.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>

#include "companies/CompanyList.h"
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
    done(QDialog::Accepted);
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
    const std::string path = Win1250FromQString(FilenameEdit->fileName());
    FileSystem& fileSystem = LocalFileSystem();
    if (!fileSystem.FileExists(path)) {
        beep_();
        FilenameEdit->setFocus();
        return;
    }

    RxMD_Spis->clear();
    DBGridLista->setUpdatesEnabled(false);
    std::optional<std::size_t> current;  // the last row read, as the table leaves it
    QString failure;
    try {
        ReadCompanyList(fileSystem, path, ledgerCode_(), [&](const CompanyRecord& record) {
            RxMD_Spis->append(record);
            current = RxMD_Spis->rows().size() - 1;
        });
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }

    // Whatever the reading did, the rows read so far are sorted and searched.
    const qt::UserLocaleCollation collation;
    current = RxMD_Spis->sortByFirma(current, collation);
    current = SelectKatalogRow(RxMD_Spis->rows(), current, currentKatalog_, collation);
    if (current) {
        MakeCurrent(*current);
    }
    FitTextColumns();
    DBGridLista->setUpdatesEnabled(true);

    if (!failure.isNull()) {
        ShowErrorBox(this, failure);
        return;
    }
    DBGridLista->setFocus();
}

}  // namespace trevo::gui
