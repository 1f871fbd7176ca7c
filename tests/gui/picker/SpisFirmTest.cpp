// The company picker: what it selects, how it confirms and cancels, and what it gives the main
// window.

#include <QAbstractItemModel>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "gui/picker/CompanyTableModel.h"
#include "gui/picker/PickLedgerDirectory.h"
#include "gui/picker/frm_SpisFirm.h"
#include "gui/widgets/FileNameEdit.h"
#include "gui/widgets/FormScale.h"
#include "testing/CompanyListBuilder.h"
#include "testing/TempDirectory.h"
#include "tests/gui/CaptionLayoutChecks.h"

using trevo::PolishCharset;
using trevo::gui::TFormSpisFirm;
using trevo::testing::CompanyListRecord;

class SpisFirmTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    PolishCharset code_ = PolishCharset::pcMazovia;
    int codeReads_ = 0;
    int beeps_ = 0;
    int settingsFiles_ = 0;

    // A settings file of its own for every dialog, so that no test restores another's name.
    QString freshSettings() {
        return dir_.filePath(QStringLiteral("trevo2KPR-%1.INI").arg(++settingsFiles_));
    }

    QString path(const QString& name = QStringLiteral("spisfirm.dat")) const {
        return dir_.filePath(name);
    }

    void writeList(const std::string& bytes) {
        trevo::testing::WriteFileBytes(path().toStdString(), bytes);
    }

    TFormSpisFirm::LedgerCodeSource codeSource() {
        return [this] {
            ++codeReads_;
            return code_;
        };
    }

    // A shown picker after its first load; nothing when it never became active.
    std::unique_ptr<TFormSpisFirm> open(const QString& katalog, const QString& fileName) {
        auto dialog = std::make_unique<TFormSpisFirm>(codeSource(), freshSettings());
        dialog->setBeepHook([this] { ++beeps_; });
        dialog->filenameEdit()->setFileName(fileName);
        dialog->setCurrentKatalog(katalog);
        dialog->show();
        if (!QTest::qWaitForWindowActive(dialog.get()) || dialog->loadOnActivate()) {
            return nullptr;
        }
        return dialog;
    }
    std::unique_ptr<TFormSpisFirm> open(const QString& katalog) { return open(katalog, path()); }

    static QStringList column(const TFormSpisFirm& dialog, int field) {
        QStringList values;
        const QAbstractItemModel* model = dialog.grid()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            values << model->index(row, field).data().toString();
        }
        return values;
    }

    static void doubleClickRow(TFormSpisFirm& dialog, int row) {
        QTableView* grid = dialog.grid();
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Runs `act` on the picker that PickLedgerDirectory opens, once it has loaded, and closes
    // the picker if `act` left it open.
    static void whenPickerLoaded(std::function<void(TFormSpisFirm&)> act) {
        QTimer::singleShot(0, [act] {
            TFormSpisFirm* dialog = nullptr;
            (void)QTest::qWaitFor([&] {
                dialog = qobject_cast<TFormSpisFirm*>(QApplication::activeModalWidget());
                return dialog != nullptr && !dialog->loadOnActivate();
            });
            if (dialog != nullptr) {
                act(*dialog);
                // A failed check inside `act` must not leave the dialog waiting.
                if (dialog->isVisible()) {
                    dialog->reject();
                }
            }
        });
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QLocale::setDefault(QLocale(QStringLiteral("pl_PL")));
    }

    void init() {
        code_ = PolishCharset::pcMazovia;
        codeReads_ = 0;
        beeps_ = 0;
    }

    void dialogHasItsControlsAndTable() {
        TFormSpisFirm dialog(codeSource(), freshSettings());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("SpisFirm wg KPR"));
        // The design's minimum, scaled to the font as the whole form is.
        const trevo::gui::FormScale scale = trevo::gui::FormScale::ForFont(dialog.font());
        QCOMPARE(dialog.minimumSize(), scale.Size(360, 310));
        for (const char* name : {"PanelTop", "Label1", "FilenameEdit", "bb_Zaladuj", "PanelMain",
                                 "DBGridLista", "RxMD_Spis"}) {
            QVERIFY2(dialog.findChild<QObject*>(QString::fromLatin1(name)) != nullptr, name);
        }
        // The settings layer stores "FilenameEdit.FileName" through this property.
        QCOMPARE(dialog.filenameEdit()->property("fileName").toString(),
                 QStringLiteral("spisfirm.dat"));
        QCOMPARE(dialog.filenameEdit()->nameFilters(),
                 QStringList({QStringLiteral("Plik firm (gw KPR) (spisfirm.dat)"),
                              QStringLiteral("Wszystkie (*.*)")}));
    }

    void fileNameIsTheTextWithoutQuotes() {
        trevo::gui::FileNameEdit edit;
        edit.setProperty("fileName", QStringLiteral("/kpr zd/spisfirm.dat"));
        QCOMPARE(edit.text(), QStringLiteral("\"/kpr zd/spisfirm.dat\""));
        QCOMPARE(edit.property("fileName").toString(), QStringLiteral("/kpr zd/spisfirm.dat"));
        edit.acceptChosenFile(path(QStringLiteral("a b.dat")));
        QCOMPARE(edit.fileName(), QDir::toNativeSeparators(path(QStringLiteral("a b.dat"))));
        QCOMPARE(edit.text().front(), QChar(u'"'));
        QCOMPARE(edit.startDirectory(), QDir::toNativeSeparators(dir_.path()));
    }

    void opensSortedWithTheCurrentCompanySelected() {
        writeList(CompanyListRecord("Beta", "FIRMA1", "druga") +
                  CompanyListRecord("Alfa", "FIRMA2", "pierwsza firma") +
                  CompanyListRecord("Gamma", "FIRMA3"));
        const auto dialog = open(trevo::gui::CurrentKatalogOfLedgerDir(path("FIRMA1")));
        QVERIFY(dialog);
        QCOMPARE(column(*dialog, 0), (QStringList{"Alfa", "Beta", "Gamma"}));
        // A cut Info tells so, and its tooltip has it whole.
        QCOMPARE(column(*dialog, 2), (QStringList{"pierwsza f…", "druga", ""}));
        QCOMPARE(dialog->grid()->model()->index(0, 2).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("pierwsza firma"));
        QCOMPARE(dialog->grid()->model()->index(1, 2).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("druga"));
        QCOMPARE(dialog->currentRowKatalog(), QStringLiteral("FIRMA1"));
        QVERIFY(dialog->grid()->hasFocus());
        QCOMPARE(codeReads_, 1);
    }

    void selection_data() {
        QTest::addColumn<QString>("ledgerDir");
        QTest::addColumn<int>("row");
        // Sorted: Aaa LAST, Bbb DUP, Ccc C, Ddd DUP, Eee LAST (read last), Mmm KATALOG1.
        QTest::newRow("no match keeps the last read") << "NONE" << 4;
        QTest::newRow("several matches: the first in sorted order") << "DUP" << 1;
        QTest::newRow("the last read matches: it stays") << "LAST" << 4;
        QTest::newRow("case counts") << "dup" << 4;
        QTest::newRow("8 characters of the last component") << "KATALOG123" << 5;
    }

    void selection() {
        QFETCH(QString, ledgerDir);
        QFETCH(int, row);
        writeList(CompanyListRecord("Mmm", "KATALOG1") + CompanyListRecord("Bbb", "DUP") +
                  CompanyListRecord("Aaa", "LAST") + CompanyListRecord("Ddd", "DUP") +
                  CompanyListRecord("Ccc", "C") + CompanyListRecord("Eee", "LAST"));
        const auto dialog = open(trevo::gui::CurrentKatalogOfLedgerDir(path(ledgerDir)));
        QVERIFY(dialog);
        QCOMPARE(dialog->grid()->currentIndex().row(), row);
    }

    void reloadSelectsTheCurrentCompanyAgain() {
        writeList(CompanyListRecord("Alfa", "FIRMA1") + CompanyListRecord("Beta", "FIRMA2") +
                  CompanyListRecord("Gamma", "FIRMA3"));
        const auto dialog = open(QStringLiteral("FIRMA1"));
        QVERIFY(dialog);
        QTableView* grid = dialog->grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(2, 0)).center());
        QCOMPARE(dialog->currentRowKatalog(), QStringLiteral("FIRMA3"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("bb_Zaladuj"), Qt::LeftButton);
        QCOMPARE(dialog->currentRowKatalog(), QStringLiteral("FIRMA1"));
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(codeReads_, 2);
    }

    void polishNamesSortThePolishWayInTheChosenCodePage() {
        // Mazovia: 156 Ł, 162 ó, 166 ź, 149 Ć.
        writeList(CompanyListRecord("\x9C\xA2"
                                    "d\xA6",
                                    "LODZ") +
                  CompanyListRecord("Lublin", "LUB") + CompanyListRecord("\x95ma", "CMA") +
                  CompanyListRecord("Czarny", "CZA"));
        const auto dialog = open(QStringLiteral("LUB"));
        QVERIFY(dialog);
        QCOMPARE(column(*dialog, 0), (QStringList{"Czarny", "Ćma", "Lublin", "Łódź"}));
        QCOMPARE(dialog->currentRowKatalog(), QStringLiteral("LUB"));

        // With code page 852 chosen in the main window the same bytes read differently.
        code_ = PolishCharset::pcCp852;
        dialog->LoadCompanyList();
        QVERIFY(column(*dialog, 0).contains(QStringLiteral("śód¦")));
        QVERIFY(!column(*dialog, 0).contains(QStringLiteral("Łódź")));
    }

    void aFailedLoadEmptiesTheGridAndSaysWhy() {
        const auto empty = open(QStringLiteral("X"), path(QStringLiteral("none.dat")));
        QVERIFY(empty);
        QCOMPARE(beeps_, 1);
        QVERIFY(empty->filenameEdit()->hasFocus());
        QCOMPARE(empty->grid()->model()->rowCount(), 0);
        QVERIFY2(empty->statusText().contains(QStringLiteral("nie ma takiego pliku")),
                 qPrintable(empty->statusText()));
        // No list, no company: a double-click does not confirm.
        QTest::mouseDClick(empty->grid()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(empty->isVisible());
        QCOMPARE(empty->chosenLedgerDir(), std::nullopt);
        empty->close();

        writeList(CompanyListRecord("A", "A") + CompanyListRecord("B", "B"));
        trevo::testing::WriteFileBytes(path(QStringLiteral("short.dat")).toStdString(),
                                       std::string(50, 'x'));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder/spisfirm.dat")));
        const auto dialog = open(QStringLiteral("B"));
        QVERIFY(dialog);
        for (const auto& [name, reason] :
             {std::pair{path(QStringLiteral("folder/spisfirm.dat")), "to jest katalog"},
              std::pair{path(QStringLiteral("short.dat")), "to nie jest lista firm"},
              std::pair{path(QStringLiteral("Жук.dat")), "znaki spoza"}}) {
            dialog->filenameEdit()->setFileName(path());
            dialog->LoadCompanyList();
            QCOMPARE(dialog->grid()->model()->rowCount(), 2);
            const int beeps = beeps_;
            dialog->filenameEdit()->setFileName(name);
            QTest::mouseClick(dialog->findChild<QPushButton*>("bb_Zaladuj"), Qt::LeftButton);
            QCOMPARE(beeps_, beeps + 1);
            QVERIFY(dialog->filenameEdit()->hasFocus());
            QCOMPARE(dialog->grid()->model()->rowCount(), 0);
            QCOMPARE(dialog->chosenLedgerDir(), std::nullopt);
            QVERIFY2(dialog->statusText().contains(QString::fromUtf8(reason)),
                     qPrintable(dialog->statusText()));
            // The reason shows in the dialog, not only in a tooltip.
            QVERIFY(dialog->statusLine()->isVisible());
            QVERIFY(!dialog->statusLine()->text().isEmpty());
        }
    }

    void anotherOfficesListNeverGivesTheFirstOfficesRows() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("biuro1")));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("biuro2")));
        const QString office1 = path(QStringLiteral("biuro1/spisfirm.dat"));
        const QString office2 = path(QStringLiteral("biuro2/spisfirm.dat"));
        trevo::testing::WriteFileBytes(office1.toStdString(),
                                       CompanyListRecord("Kowalski Jan", "FIRMA01") +
                                           CompanyListRecord("Zalewska Ewa", "FIRMA02"));
        trevo::testing::WriteFileBytes(office2.toStdString(),
                                       CompanyListRecord("Nowak Anna", "FIRMA01") +
                                           CompanyListRecord("Kowalski Jan", "FIRMA07"));
        const auto kowalski = [](const TFormSpisFirm& dialog) {
            return static_cast<int>(column(dialog, 0).indexOf(QStringLiteral("Kowalski Jan")));
        };

        // Typed without "Załaduj": the rows go at once; Enter loads and does not confirm.
        const auto dialog = open(QStringLiteral("FIRMA01"), office1);
        QVERIFY(dialog);
        QCOMPARE(dialog->chosenLedgerDir(),
                 std::optional<QString>(office1.chopped(12) + "FIRMA01"));
        QLineEdit* box = dialog->filenameEdit()->lineEdit();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, office2);
        QCOMPARE(dialog->grid()->model()->rowCount(), 0);
        QCOMPARE(dialog->chosenLedgerDir(), std::nullopt);
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(column(*dialog, 1), (QStringList{"FIRMA07", "FIRMA01"}));
        QVERIFY(dialog->statusText().contains(office2));
        doubleClickRow(*dialog, kowalski(*dialog));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->chosenLedgerDir(),
                 std::optional<QString>(office2.chopped(12) + "FIRMA07"));

        // Typed and left for the grid: loaded, quietly, without pulling the focus back.
        const auto left = open(QStringLiteral("FIRMA01"), office2);
        QVERIFY(left);
        const int beeps = beeps_;
        left->filenameEdit()->setFocus();
        left->filenameEdit()->setFileName(office1);
        QCOMPARE(left->grid()->model()->rowCount(), 0);
        left->grid()->setFocus(Qt::TabFocusReason);
        QCOMPARE(column(*left, 1), (QStringList{"FIRMA01", "FIRMA02"}));
        QCOMPARE(beeps_, beeps);
        // A name that fails when left says why and lets the focus go.
        left->filenameEdit()->setFocus();
        left->filenameEdit()->setFileName(path(QStringLiteral("none.dat")));
        left->grid()->setFocus(Qt::TabFocusReason);
        QVERIFY(left->grid()->hasFocus());
        QCOMPARE(beeps_, beeps);
        QVERIFY(left->statusText().contains(QStringLiteral("nie ma takiego pliku")));

        // Chosen with the box's own button: loaded, and the company is office 2's.
        whenPickerLoaded([&](TFormSpisFirm& picker) {
            picker.filenameEdit()->setFileName(office1);
            picker.LoadCompanyList();
            QCOMPARE(picker.currentRowKatalog(), QStringLiteral("FIRMA01"));
            QTimer::singleShot(0, [office2] {
                auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(files != nullptr);
                files->selectFile(office2);
                static_cast<QDialog*>(files)->accept();
            });
            QTest::mouseClick(picker.filenameEdit()->browseButton(), Qt::LeftButton);
            QCOMPARE(column(picker, 1), (QStringList{"FIRMA07", "FIRMA01"}));
            doubleClickRow(picker, kowalski(picker));
        });
        QCOMPARE(trevo::gui::PickLedgerDirectory(nullptr, office1.chopped(12) + "FIRMA01",
                                                 codeSource(), freshSettings()),
                 std::optional<QString>(office2.chopped(12) + "FIRMA07"));
    }

    void aNameWindows1250CannotSpellIsNoOtherFilesName() {
        // "Ж" would become '?': the rows of "a?b.dat" are not those of "aЖb.dat".
        const QString question = path(QStringLiteral("a?b.dat"));
        trevo::testing::WriteFileBytes(question.toStdString(), CompanyListRecord("Alfa", "A"));
        const auto dialog = open(QStringLiteral("A"), question);
        QVERIFY(dialog);
        QCOMPARE(dialog->grid()->model()->rowCount(), 1);
        dialog->filenameEdit()->setFileName(path(QStringLiteral("aЖb.dat")));
        QCOMPARE(dialog->grid()->model()->rowCount(), 0);
        dialog->LoadCompanyList();
        QCOMPARE(dialog->grid()->model()->rowCount(), 0);
        QCOMPARE(dialog->chosenLedgerDir(), std::nullopt);
    }

    void everyControlIsNamedForScreenReaders() {
        TFormSpisFirm dialog(codeSource(), freshSettings());
        dialog.setBeepHook([] {});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.filenameEdit()->setFileName(path(QStringLiteral("none.dat")));
        dialog.LoadCompanyList();
        const auto name = [](QObject* object) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
            return accessible ? accessible->text(QAccessible::Name) : QString();
        };
        QCOMPARE(name(dialog.filenameEdit()->lineEdit()),
                 QStringLiteral("Lokalizacja pliku SpisFirm.Dat"));
        QCOMPARE(name(dialog.filenameEdit()->browseButton()),
                 QStringLiteral("Wybierz plik listy firm"));
        QCOMPARE(name(dialog.grid()), QStringLiteral("Lista firm"));
        QCOMPARE(name(dialog.findChild<QPushButton*>("bb_Zaladuj")), QStringLiteral("Załaduj ..."));
        QVERIFY(name(dialog.statusLine()).contains(QStringLiteral("nie ma takiego pliku")));
        QCOMPARE(dialog.findChild<QLabel*>("Label1")->buddy(), dialog.filenameEdit());
    }

    void doubleClickOnACompanySetsItsDirectory() {
        writeList(CompanyListRecord("Alfa", "FIRMA1") + CompanyListRecord("Beta", "FIRMA2"));
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            dialog.filenameEdit()->setFileName(path());
            dialog.LoadCompanyList();
            QCOMPARE(dialog.currentRowKatalog(), QStringLiteral("FIRMA1"));
            doubleClickRow(dialog, 1);
        });
        const auto chosen =
            trevo::gui::PickLedgerDirectory(nullptr, path("FIRMA1"), codeSource(), freshSettings());
        QCOMPARE(chosen, std::optional<QString>(path("FIRMA2")));
    }

    void doubleClickOnTitlesOrAnEmptyGridConfirms() {
        writeList(CompanyListRecord("Alfa", "FIRMA1") + CompanyListRecord("Beta", "FIRMA2"));
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            dialog.filenameEdit()->setFileName(path());
            dialog.LoadCompanyList();
            QHeaderView* titles = dialog.grid()->horizontalHeader();
            QTest::mouseDClick(titles->viewport(), Qt::LeftButton, {},
                               QPoint(titles->sectionPosition(0) + 5, titles->height() / 2));
        });
        QCOMPARE(
            trevo::gui::PickLedgerDirectory(nullptr, path("FIRMA2"), codeSource(), freshSettings()),
            std::optional<QString>(path("FIRMA2")));

        writeList("");
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            dialog.filenameEdit()->setFileName(path());
            dialog.LoadCompanyList();
            QCOMPARE(dialog.grid()->model()->rowCount(), 0);
            QTest::mouseDClick(dialog.grid()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        });
        QCOMPARE(
            trevo::gui::PickLedgerDirectory(nullptr, path("FIRMA2"), codeSource(), freshSettings()),
            std::optional<QString>(dir_.path() + u'/'));
    }

    void aBareListNameGivesTheKatalogAlone() {
        writeList(CompanyListRecord("Alfa", "FIRMA1"));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_.path()));
        whenPickerLoaded([](TFormSpisFirm& dialog) {
            QCOMPARE(dialog.listFileName(), QStringLiteral("spisfirm.dat"));
            doubleClickRow(dialog, 0);
        });
        const auto chosen =
            trevo::gui::PickLedgerDirectory(nullptr, QString(), codeSource(), freshSettings());
        QDir::setCurrent(previous);
        QCOMPARE(chosen, std::optional<QString>(QStringLiteral("FIRMA1")));
    }

    void theListFileNameIsRememberedBesideTheMainWindowsSection() {
        writeList(CompanyListRecord("Alfa", "FIRMA1"));
        const QString settings = freshSettings();
        trevo::testing::WriteFileBytes(settings.toStdString(),
                                       "[MAIN]\r\nde_KPR_Text=/kpr/FIRMA1\r\n\r\n");
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            dialog.filenameEdit()->setFileName(path());
            dialog.reject();
        });
        QCOMPARE(trevo::gui::PickLedgerDirectory(nullptr, QString(), codeSource(), settings),
                 std::nullopt);
        const std::string written = trevo::testing::ReadFileBytes(settings.toStdString());
        QVERIFY(written.find("de_KPR_Text=/kpr/FIRMA1\r\n") != std::string::npos);
        QVERIFY(written.find("FilenameEdit_FileName=" + path().toStdString() + "\r\n") !=
                std::string::npos);

        // The next picker has the name before its first load, so the list is there at once.
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            QCOMPARE(dialog.listFileName(), path());
            QCOMPARE(column(dialog, 1), QStringList{QStringLiteral("FIRMA1")});
            doubleClickRow(dialog, 0);
        });
        QCOMPARE(trevo::gui::PickLedgerDirectory(nullptr, QString(), codeSource(), settings),
                 std::optional<QString>(path("FIRMA1")));
    }

    void columnsShowWholeTextsAndFollowTheDialogsWidth() {
        // Katalog and Info at their full 8 and 10 characters, in the widest letters, and a name
        // longer than the Firma column can show.
        writeList(CompanyListRecord("Przedsiębiorstwo Handlowo Usług", "WWWWWWWW", "MMMMMMMMMM") +
                  CompanyListRecord("Alfa", "FIRMA1", "i"));
        auto dialog = open(QString());
        QVERIFY(dialog);
        QTableView* grid = dialog->grid();
        QVERIFY(!grid->wordWrap());
        const QFontMetrics metrics = grid->fontMetrics();
        for (const auto& [field, longest] :
             {std::pair{int{trevo::gui::CompanyTableModel::RxMD_SpisKatalog}, "WWWWWWWW"},
              std::pair{int{trevo::gui::CompanyTableModel::RxMD_SpisInfo}, "MMMMMMMMMM"}}) {
            QVERIFY2(column(*dialog, field).contains(QString::fromLatin1(longest)), longest);
            // The text, the cell's margins and the grid line fit.
            QVERIFY2(grid->columnWidth(field) >= metrics.horizontalAdvance(longest) + 6, longest);
        }
        const auto filled = [grid] {
            int sum = 0;
            for (int field = 0; field < grid->model()->columnCount(); ++field) {
                sum += grid->columnWidth(field);
            }
            return sum;
        };
        QCOMPARE(filled(), grid->viewport()->width());
        dialog->resize(dialog->width() + 200, dialog->height());
        QTRY_COMPARE(filled(), grid->viewport()->width());
        // Each row keeps one line's height however long its name.
        QCOMPARE(grid->rowHeight(0), grid->verticalHeader()->defaultSectionSize());
    }

    void noCaptionIsClippedOrCovered_data() { trevo::gui::test::AddFontSizeRows(); }

    void noCaptionIsClippedOrCovered() {
        trevo::gui::test::WithEnlargedFont([this] {
            TFormSpisFirm dialog(codeSource(), freshSettings());
            dialog.setBeepHook([] {});
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            auto* top = dialog.findChild<QWidget*>(QStringLiteral("PanelTop"));
            auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
            auto* button = dialog.findChild<QPushButton*>(QStringLiteral("bb_Zaladuj"));
            auto* edit = dialog.findChild<QWidget*>(QStringLiteral("FilenameEdit"));
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
            const int margin =
                button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
            QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin <=
                    button->width());
            QList<QPair<QString, QRect>> controls;
            for (QWidget* control :
                 {static_cast<QWidget*>(label), edit, static_cast<QWidget*>(button)}) {
                QVERIFY2(top->rect().contains(control->geometry()),
                         qPrintable(control->objectName()));
                controls.append({control->objectName(), control->geometry()});
            }
            trevo::gui::test::CheckNoneOverlaps(controls);
        });
    }

    void enterInTheGridConfirmsTheSelectedCompany() {
        writeList(CompanyListRecord("Alfa", "FIRMA1") + CompanyListRecord("Beta", "FIRMA2"));
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            dialog.filenameEdit()->setFileName(path());
            dialog.LoadCompanyList();
            QTest::keyClick(dialog.grid(), Qt::Key_Down);
            QCOMPARE(dialog.currentRowKatalog(), QStringLiteral("FIRMA2"));
            QTest::keyClick(dialog.grid(), Qt::Key_Return);
        });
        QCOMPARE(
            trevo::gui::PickLedgerDirectory(nullptr, path("FIRMA1"), codeSource(), freshSettings()),
            std::optional<QString>(path("FIRMA2")));
        // The keypad's Enter as well.
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            dialog.filenameEdit()->setFileName(path());
            dialog.LoadCompanyList();
            QTest::keyClick(dialog.grid(), Qt::Key_Enter, Qt::KeypadModifier);
        });
        QCOMPARE(
            trevo::gui::PickLedgerDirectory(nullptr, path("FIRMA1"), codeSource(), freshSettings()),
            std::optional<QString>(path("FIRMA1")));
    }

    void closingWithTheCloseBoxChangesNothing() {
        writeList(CompanyListRecord("Alfa", "FIRMA1"));
        whenPickerLoaded([this](TFormSpisFirm& dialog) {
            dialog.filenameEdit()->setFileName(path());
            dialog.LoadCompanyList();
            dialog.close();
        });
        QCOMPARE(
            trevo::gui::PickLedgerDirectory(nullptr, path("FIRMA1"), codeSource(), freshSettings()),
            std::nullopt);
    }
};

QTEST_MAIN(SpisFirmTest)
#include "SpisFirmTest.moc"
