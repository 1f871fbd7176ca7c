// The Convert action: the checks before a run, the question, real runs into a ledger directory,
// an export file that does not open, and the window during a long run.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "engine/ledger/LedgerEntryLayout.h"
#include "gui/mainwindow/frm_Main.h"
#include "gui/widgets/ButtonEdit.h"
#include "tests/gui/mainwindow/FormMainTestSupport.h"

using namespace trevo::gui;
using namespace trevo::gui::test;
namespace layout = trevo::ledger_layout;

namespace {

const QString kStart = " *** Rozpoczynam konwersję ...";
const QString kEnd = "Osiągnięto fizyczny koniec pliku ";

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `act` once, at the first moment the window lets timers fire during a run.
void WhenRunning(TFormMain& window, std::function<void()> act) {
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &window, act = std::move(act)] {
        if (window.IsRunning()) {
            timer->stop();
            timer->deleteLater();
            act();
        }
    });
    timer->start(0);
}

// A shown window with recorded user contacts, an export file and a ledger directory.
class Fixture {
  public:
    explicit Fixture(const std::string& exportBytes = {})
        : window(dir.path() + "/trevo2KPR.INI", user.Hooks()) {
        exportPath = dir.filePath("eksp2kap.kpm");
        ledgerDir = dir.filePath("FIRMA1");
        QDir().mkpath(ledgerDir);
        WriteFile(exportPath, exportBytes);
        Box("FE_EPP")->setText(exportPath);
        Box("de_KPR")->setText(ledgerDir);
        window.show();
    }

    ButtonEdit* Box(const char* name) { return window.findChild<ButtonEdit*>(name); }
    template <typename T = QWidget>
    T* Control(const char* name) {
        return window.findChild<T*>(name);
    }
    QString FocusedControl() {
        for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
            if (w->parentWidget() != nullptr && w->parentWidget()->objectName() == "PanelTop") {
                return w->objectName();
            }
        }
        return {};
    }
    void Convert() { Control<QAction>("act_Konwert")->trigger(); }

    QTemporaryDir dir;
    UserContacts user;
    TFormMain window;
    QString exportPath;
    QString ledgerDir;
};

}  // namespace

class FormMainConvertTest : public QObject {
    Q_OBJECT

  private slots:
    void missingInputsBeepFocusAndSayWhyWithoutATrace() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.Box("de_KPR")->setFocus();
        auto* owner = f.Control<QStatusBar>("StatusBar")->findChild<QLabel*>("OwnerLine");
        QVERIFY(owner->isVisible());

        // The export box: a missing file, a directory, a path with trailing blank, a path the
        // engine cannot name (its Windows-1250 twin with "?" exists and must not be taken).
        WriteFile(f.dir.filePath("?.kpm"), ExportDocument("FV 1", "Firma"));
        const QString cyrillic = f.dir.filePath("Ж.kpm");
        const QString box = "Plik Exp2Kap.kpm: ";
        for (const auto& [text, said] :
             {std::pair{f.dir.filePath("missing.kpm"),
                        box + "nie ma takiego pliku: " + f.dir.filePath("missing.kpm")},
              std::pair{f.dir.path(), box + "to katalog, nie plik: " + f.dir.path()},
              std::pair{f.exportPath + " ", box + "nie ma takiego pliku: " + f.exportPath + " "},
              std::pair{QString(), box + "nie wskazano pliku eksportu"},
              std::pair{cyrillic, box + "ścieżka ma znaki spoza Windows-1250: " + cyrillic}}) {
            f.Box("FE_EPP")->setText(text);
            f.Convert();
            QCOMPARE(f.FocusedControl(), QString("FE_EPP"));
            QCOMPARE(StatusText(f.window), said);
            QVERIFY(!owner->isVisible());
            f.Box("de_KPR")->setFocus();
        }
        QCOMPARE(f.user.beeps, 5);

        // The ledger directory: missing, a file, nothing, a name the engine cannot make.
        f.Box("FE_EPP")->setText(f.exportPath);
        const QString dirBox = "Katalog danych KPR: ";
        for (const auto& [text, said] :
             {std::pair{f.dir.filePath("NOPE"),
                        dirBox + "nie ma takiego katalogu: " + f.dir.filePath("NOPE")},
              std::pair{f.exportPath, dirBox + "to plik, nie katalog: " + f.exportPath},
              std::pair{QString(), dirBox + "nie wskazano katalogu"},
              std::pair{f.dir.filePath("Ж"),
                        dirBox + "ścieżka ma znaki spoza Windows-1250: " + f.dir.filePath("Ж")}}) {
            f.Box("de_KPR")->setText(text);
            f.Box("FE_EPP")->setFocus();
            f.Convert();
            QCOMPARE(f.FocusedControl(), QString("de_KPR"));
            QCOMPARE(StatusText(f.window), said);
        }
        QCOMPARE(f.user.beeps, 9);
        QCOMPARE(f.user.questions, 0);
        QVERIFY(TraceLines(f.window).isEmpty());

        // Said until the next action.
        f.Control<QAction>("act_WyczyscTrace")->trigger();
        QCOMPARE(StatusText(f.window), QString());
        QVERIFY(owner->isVisible());

        // Check-only does not look at the directory.
        f.Box("de_KPR")->setText(QString());
        f.Control<QCheckBox>("ch_sprawdz")->setChecked(true);
        f.Convert();
        QCOMPARE(f.user.beeps, 9);
        QCOMPARE(f.user.questions, 1);
    }

    void lettersOutsideWindows1250AreRefusedBeforeTheQuestion() {
        Fixture f(ExportDocument("FV 1", "Firma") + "\r\n");
        f.user.answer = true;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        for (const char* name : {"Edit_Atrybut", "Edit_REJ"}) {
            f.Control<QLineEdit>("Edit_Atrybut")->setText(QString());
            f.Control<QLineEdit>("Edit_REJ")->setText(QString());
            f.Control<QLineEdit>(name)->setText("Ж");
            f.Box("de_KPR")->setFocus();
            f.Convert();
            QCOMPARE(f.FocusedControl(), QString(name));
            QCOMPARE(StatusText(f.window),
                     QString(name == QString("Edit_REJ") ? "Rejestr( )" : "Atrybut KPR") +
                         ": to nie jest znak Windows-1250: \"Ж\"");
        }
        QCOMPARE(f.user.beeps, 2);
        QCOMPARE(f.user.questions, 0);
        QVERIFY(QDir(f.ledgerDir).isEmpty());  // no "?" stamped into any entry

        // A Polish letter is the code page's own.
        f.Control<QLineEdit>("Edit_REJ")->setText("Ż");
        f.Convert();
        QCOMPARE(f.user.questions, 1);
        QCOMPARE(ReadFile(f.ledgerDir + "/2024ORMEK.3")[layout::kRegisterLetter], '\xAF');
    }

    void quotedPathLeftInTheBoxIsNoFile() {
        // The toolbar button takes no focus, so the box is not left and keeps its quotes.
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        const QString spaced = f.dir.filePath("with space.kpm");
        WriteFile(spaced, {});
        f.Box("FE_EPP")->setText('"' + spaced + '"');
        f.Box("FE_EPP")->setFocus();
        QTest::mouseClick(f.Control<QToolButton>("tk_KOnwersja"), Qt::LeftButton);
        QCOMPARE(f.user.beeps, 1);
        QCOMPARE(f.FocusedControl(), QString("FE_EPP"));
        QCOMPARE(f.Box("FE_EPP")->text(), '"' + spaced + '"');
    }

    void answerNoRunsNothing() {
        Fixture f(ExportDocument("FV 1", "Firma") + "\r\n");
        f.user.answer = false;
        f.Convert();
        QCOMPARE(f.user.questions, 1);
        QCOMPARE(f.user.questionCaption, QString("Start ..."));
        // The fixed question, and what the run would do.
        QCOMPARE(f.user.questionText,
                 "Rozpocząć żmudny proces konwersji danych ?\n"
                 "zapis do katalogu danych KPR: " +
                     f.ledgerDir);
        QCOMPARE(f.user.questionDetails, QString());
        f.Control<QCheckBox>("ch_sprawdz")->setChecked(true);
        f.Convert();
        QCOMPARE(f.user.questionText, QString("Rozpocząć żmudny proces konwersji danych ?\n"
                                              "tylko sprawdzenie, nic nie zostanie zapisane"));
        QVERIFY(TraceLines(f.window).isEmpty());
        QVERIFY(QDir(f.ledgerDir).isEmpty());
    }

    void enterInTheRealQuestionAnswersNo() {
        QTemporaryDir dir;
        const QString exportPath = dir.filePath("e.kpm");
        WriteFile(exportPath, {});
        FormMainHooks hooks;  // the real question box
        hooks.beep = [] {};
        TFormMain window(FreshSettingsPath(), hooks);
        window.findChild<ButtonEdit*>("FE_EPP")->setText(exportPath);
        window.findChild<QCheckBox*>("ch_sprawdz")->setChecked(true);
        window.show();
        QString caption, text;
        QMessageBox::Icon icon{};
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            QTest::keyClick(box, Qt::Key_Return);
        });
        window.findChild<QAction*>("act_Konwert")->trigger();
        QCOMPARE(caption, QString("Start ..."));
        QCOMPARE(text, QString("Rozpocząć żmudny proces konwersji danych ?\n"
                               "tylko sprawdzenie, nic nie zostanie zapisane"));
        QCOMPARE(icon, QMessageBox::Information);
        QVERIFY(TraceLines(window).isEmpty());
    }

    void longLedgerPathIsShortenedInTheQuestionAndWholeInItsDetails() {
        QTemporaryDir dir;
        const QString exportPath = dir.filePath("e.kpm");
        WriteFile(exportPath, {});
        QString ledgerDir = dir.path();
        while (ledgerDir.size() < 4000) {
            ledgerDir += "/" + QString(200, u'k');
        }
        QVERIFY(QDir().mkpath(ledgerDir));
        FormMainHooks hooks;  // the real question box
        hooks.beep = [] {};
        TFormMain window(FreshSettingsPath(), hooks);
        window.findChild<ButtonEdit*>("FE_EPP")->setText(exportPath);
        window.findChild<ButtonEdit*>("de_KPR")->setText(ledgerDir);
        window.show();
        QString text, details;
        int width = 0;
        // The question comes after the look for booked documents, which lets timers run.
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            poll->stop();
            text = box->text();
            details = box->detailedText();
            width = box->frameGeometry().width();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        poll->start(10);
        window.findChild<QAction*>("act_Konwert")->trigger();
        QVERIFY2(text.size() < 200, qPrintable(text));
        QVERIFY(text.contains("…"));
        QVERIFY(details.endsWith("zapis do katalogu danych KPR: " + ledgerDir));
        QVERIFY(width <= window.screen()->availableGeometry().width());
    }

    void runWritesTheLedgerAndTracesInPolish_data() {
        QTest::addColumn<bool>("mazovia");
        QTest::addColumn<int>("letterL");  // "ł" in the ledger's code page
        QTest::newRow("Mazovia") << true << 146;
        QTest::newRow("CP852") << false << 136;
    }

    void runWritesTheLedgerAndTracesInPolish() {
        QFETCH(bool, mazovia);
        QFETCH(int, letterL);
        const QString company = "Zakład Usług Żółć Ś.C.";
        Fixture f(ExportDocument("FV 1/2024", company) + "\r\n" + std::string(509, ' ') + "\r\n");
        f.user.answer = true;
        f.Control<QRadioButton>(mazovia ? "RB_MAZ" : "RB_852")->setChecked(true);
        f.Control<QLineEdit>("Edit_Atrybut")->setText("A");
        f.Convert();

        const QStringList trace = RunTraceLines(f.window);
        QCOMPARE(trace.size(), 10);
        QCOMPARE(trace[0], kStart);
        QCOMPARE(trace[1], QString());
        QCOMPARE(trace[2], "* Dokument nr:FV 1/2024  | Firma:" + company + "  | NIP:1234567890");
        QVERIFY2(trace[3].startsWith(" z dnia 15-3-2024 na kwotę netto:"), qPrintable(trace[3]));
        QCOMPARE(trace.mid(4), QStringList({"", "", "", kEnd, " *** Ilość dokumentów 1",
                                            " *** Koniec przetwarzania ***"}));
        QCOMPARE(f.window.DocumentCount(), 1);

        const QByteArray record = ReadFile(f.ledgerDir + "/2024ORMEK.3");
        QCOMPARE(record.size(), 400);
        QCOMPARE(record[layout::kAttributeLetter], 'A');
        QCOMPARE(record[layout::kRegisterLetter], '\0');
        QCOMPARE(static_cast<unsigned char>(record[layout::kFirmName + 1 + 3]), letterL);

        // A second run appends and the trace grows below the first.
        f.Convert();
        QCOMPARE(ReadFile(f.ledgerDir + "/2024ORMEK.3").size(), 800);
        QCOMPARE(RunTraceLines(f.window).size(), 20);
        QCOMPARE(RunTraceLines(f.window)[10], kStart);

        f.Control<QAction>("act_WyczyscTrace")->trigger();
        QVERIFY(TraceLines(f.window).isEmpty());
    }

    void checkOnlyRunTouchesNoLedgerFile() {
        Fixture f(ExportDocument("FV 1", "Firma"));
        f.user.answer = true;
        f.Control<QCheckBox>("ch_sprawdz")->setChecked(true);
        f.Box("de_KPR")->setText(f.dir.filePath("absent"));
        f.Convert();
        const QStringList trace = RunTraceLines(f.window);
        QCOMPARE(trace.first(), QString(" *** Procedura sprawdzająca (BEZ ZAPISU ) ***"));
        QCOMPARE(trace.last(), QString(" *** Koniec procedury sprawdzającej (BEZ ZAPISU ) ***"));
        QVERIFY(trace.contains(" *** Ilość dokumentów 1"));
        QVERIFY(!QDir(f.dir.filePath("absent")).exists());
        QVERIFY(QDir(f.ledgerDir).isEmpty());
    }

    void pathsWithPolishLettersAreFound() {
        Fixture f(ExportDocument("FV 1", "Firma"));
        const QString exportPath = f.dir.filePath("źródło.kpm");
        const QString ledgerDir = f.dir.filePath("KSIĘGA");
        QVERIFY(QFile::rename(f.exportPath, exportPath));
        QVERIFY(QDir().mkpath(ledgerDir));
        f.Box("FE_EPP")->setText(exportPath);
        f.Box("de_KPR")->setText(ledgerDir);
        f.user.answer = true;
        f.Convert();
        QCOMPARE(f.user.beeps, 0);
        QCOMPARE(ReadFile(ledgerDir + "/2024ORMEK.3").size(), 400);
    }

    void exportFileThatDoesNotOpenShowsOnlyTheMessage() {
        Fixture f(ExportDocument("FV 1", "Firma"));
        f.user.answer = true;
        f.Control<QCheckBox>("ch_sprawdz")->setChecked(true);
        f.Convert();
        QCOMPARE(f.window.DocumentCount(), 1);
        const QStringList before = TraceLines(f.window);

        const QString missing = f.dir.filePath("gone.kpm");
        f.Box("FE_EPP")->setText(missing);
        f.window.RunConversion();
        QCOMPARE(f.user.plainMessages, QStringList{"Błąd otwarcia pliku epp \"" + missing + "\""});
        QCOMPARE(TraceLines(f.window), before);
        QCOMPARE(f.window.DocumentCount(), 1);
    }

    void errorEscapingTheActionIsShownAndTheWindowStaysUsable() {
        Fixture f;
        f.user.whileAsking = [] { throw std::runtime_error("coś poszło nie tak"); };
        f.Convert();
        QCOMPARE(f.user.errors, QStringList{"coś poszło nie tak"});
        QVERIFY(!f.window.IsRunning());
        f.user.whileAsking = nullptr;
        f.Convert();
        QCOMPARE(f.user.questions, 2);
    }

    void longRunRepaintsShowsProgressAndTakesNoInput() {
        std::string bytes;
        for (int i = 0; i < 2000; ++i) {
            bytes += ExportDocument(QString("FV %1").arg(i), "Firma") + "\r\n";
        }
        Fixture f(bytes);
        f.user.answer = true;
        f.Control<QCheckBox>("ch_sprawdz")->setChecked(true);
        f.window.SetRunFeedbackTiming({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        auto* status = f.Control<QStatusBar>("StatusBar");
        auto* owner = status->findChild<QLabel*>("OwnerLine");

        // Timers still fire while the run refreshes the window; user actions must not act.
        QString progress;
        int linesDuringRun = -1;
        bool closed = true;
        bool ownerVisibleDuringRun = true;
        f.user.whileAsking = [&] {
            WhenRunning(f.window, [&] {
                progress = status->currentMessage();
                ownerVisibleDuringRun = owner->isVisible();
                linesDuringRun = static_cast<int>(TraceLines(f.window).size());
                f.Convert();
                closed = f.window.close();
            });
        };
        f.Convert();

        QVERIFY2(progress.startsWith("Konwersja: dokumentów "), qPrintable(progress));
        QVERIFY(progress.endsWith("% pliku"));
        QVERIFY(!ownerVisibleDuringRun);
        QVERIFY(linesDuringRun > 0);
        QCOMPARE(f.user.questions, 1);
        QVERIFY(!closed);

        QCOMPARE(f.window.DocumentCount(), 2000);
        const QStringList trace = RunTraceLines(f.window);
        QVERIFY(linesDuringRun < trace.size());
        QCOMPARE(trace.count(" *** Ilość dokumentów 2000"), 1);
        QCOMPARE(trace.last(), QString(" *** Koniec procedury sprawdzającej (BEZ ZAPISU ) ***"));
        // The progress has given way to the run's digest.
        QVERIFY2(StatusText(f.window).startsWith("Sprawdzono 2000 dok."),
                 qPrintable(StatusText(f.window)));
        QVERIFY(!owner->isVisible());  // until the next run
        // The close request made during the run is carried out once the run has returned.
        QVERIFY(f.window.isVisible());
        QTRY_VERIFY(!f.window.isVisible());
    }

    void clicksAndKeysDuringARunAreDiscarded() {
        std::string bytes;
        for (int i = 0; i < 500; ++i) {
            bytes += ExportDocument(QString("FV %1").arg(i), "Firma") + "\r\n";
        }
        Fixture f(bytes);
        f.user.answer = true;
        f.Control<QCheckBox>("ch_sprawdz")->setChecked(true);
        f.window.SetRunFeedbackTiming({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QLineEdit* dirBox = f.Box("de_KPR")->lineEdit();
        const QString dirBefore = dirBox->text();
        dirBox->setFocus();
        bool ran = false;
        f.user.whileAsking = [&] {
            WhenRunning(f.window, [&] {
                ran = true;
                // Typed and clicked while the run works: straight to the controls, and through
                // the event queue as the window system hands them over.
                QTest::keyClicks(dirBox, "xyz");
                QTest::mouseClick(f.Control<QToolButton>("tb_ClearTrace"), Qt::LeftButton);
                QTest::keySequence(dirBox, QKeySequence(QString("Ctrl+L")));
                QTest::keySequence(dirBox, QKeySequence(QString("Ctrl+R")));
                QCoreApplication::postEvent(
                    dirBox, new QKeyEvent(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "q"));
            });
        };
        f.Convert();
        QVERIFY(ran);
        QCoreApplication::processEvents();
        QCOMPARE(dirBox->text(), dirBefore);
        QCOMPARE(f.user.questions, 1);
        const QStringList trace = TraceLines(f.window);
        QCOMPARE(trace.count(" *** Ilość dokumentów 500"), 1);

        // Afterwards the window takes input again.
        QTest::keyClicks(dirBox, "a");
        QCOMPARE(dirBox->text(), dirBefore + "a");
        f.Control<QToolButton>("tb_ClearTrace")->click();
        QVERIFY(TraceLines(f.window).isEmpty());
    }

    void inputQueuedWhileTheBookedScanWorksIsDiscarded() {
        Fixture f(ExportDocument("FV 1", "Firma") + "\r\n");
        f.user.answer = true;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        auto* letter = f.Control<QLineEdit>("Edit_Atrybut");
        letter->setFocus();
        // A key the window system queued while the scan before the questions held the window.
        QCoreApplication::postEvent(
            letter, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
        f.Convert();
        QCOMPARE(f.user.questions, 1);
        QCOMPARE(letter->text(), QString());
        QCOMPARE(ReadFile(f.ledgerDir + "/2024ORMEK.3")[layout::kAttributeLetter], '\0');
    }

    void theWindowTakesTheQuestionsPlaceBeforeTheRunWorks() {
        Fixture f(ExportDocument("FV 1", "Firma") + "\r\n");
        f.user.answer = true;
        f.Control<QCheckBox>("ch_sprawdz")->setChecked(true);
        // The run itself shows nothing until it ends.
        f.window.SetRunFeedbackTiming({std::chrono::hours(1), std::chrono::hours(1)});
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QCoreApplication::processEvents();

        // Paints of the window after the answer and before the run's first trace line.
        struct PaintWatch : QObject {
            bool answered = false;
            int paintsBeforeRun = 0;
            const QWidget* window = nullptr;
            bool eventFilter(QObject* watched, QEvent* event) override {
                if (answered && watched == window && event->type() == QEvent::Paint &&
                    TraceLines(*window).isEmpty()) {
                    ++paintsBeforeRun;
                }
                return false;
            }
        } watch;
        watch.window = &f.window;
        f.window.installEventFilter(&watch);
        f.user.whileAsking = [&] { watch.answered = true; };
        f.Convert();
        f.window.removeEventFilter(&watch);
        QVERIFY(watch.paintsBeforeRun > 0);
        QVERIFY(!TraceLines(f.window).isEmpty());
    }
};

QTEST_MAIN(FormMainConvertTest)
#include "FormMainConvertTest.moc"
