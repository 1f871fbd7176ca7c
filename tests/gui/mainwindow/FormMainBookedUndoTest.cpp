// What the main window adds around a run: the question about documents the ledger holds
// already, the summary after the run's last trace line with its digest in the status bar, and
// the action that undoes the last conversion.

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "engine/files/FileSystem.h"
#include "engine/run/ConversionRun.h"
#include "gui/mainwindow/frm_Main.h"
#include "gui/widgets/ButtonEdit.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"
#include "tests/gui/mainwindow/FormMainTestSupport.h"

using namespace trevo::gui;
using namespace trevo::gui::test;

namespace {

const QString kEnd = " *** Koniec przetwarzania ***";

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another converter run booking `bytes` into the ledger.
bool BookElsewhere(const QString& exportPath, const QString& ledgerDir, const std::string& bytes) {
    WriteFile(exportPath, bytes);
    trevo::RunInputs inputs;
    inputs.exportPath = Win1250FromQString(exportPath);
    inputs.ledgerDir = Win1250FromQString(ledgerDir);
    trevo::testing::MemoryTraceSink trace;
    trevo::testing::FakeClock clock;
    const trevo::CurrencyFormat money;
    return trevo::RunConversion(inputs, {trace, trevo::LocalFileSystem(), clock, money}).outcome ==
           trevo::RunOutcome::Completed;
}

class Fixture {
  public:
    Fixture() : window(dir.path() + "/trevo2KPR.INI", user.Hooks()) {
        exportPath = dir.filePath("eksp2kap.kpm");
        ledgerDir = dir.filePath("FIRMA1");
        QDir().mkpath(ledgerDir);
        window.findChild<ButtonEdit*>("FE_EPP")->setText(exportPath);
        window.findChild<ButtonEdit*>("de_KPR")->setText(ledgerDir);
        user.answer = true;
        window.show();
    }
    void Export(std::initializer_list<const char*> numbers) {
        std::string bytes;
        for (const char* number : numbers) {
            bytes += ExportDocument(number, "Firma") + "\r\n";
        }
        WriteFile(exportPath, bytes);
    }
    void Convert() { window.findChild<QAction*>("act_Konwert")->trigger(); }
    void Undo() { window.findChild<QAction*>("act_Cofnij")->trigger(); }
    QByteArray March() const { return ReadFile(ledgerDir + "/2024ORMEK.3"); }

    QTemporaryDir dir;
    UserContacts user;
    TFormMain window;
    QString exportPath;
    QString ledgerDir;
};

}  // namespace

class FormMainBookedUndoTest : public QObject {
    Q_OBJECT

  private slots:
    void bookedDocumentsAreAskedAboutBeforeTheConfirmation() {
        Fixture f;
        f.Export({"FV 1"});
        f.Convert();
        QCOMPARE(f.user.bookedQuestions, 0);  // nothing booked yet
        QCOMPARE(f.March().size(), 400);

        f.Export({"FV 1", "FV 2"});
        const QStringList before = TraceLines(f.window);
        f.user.bookedAnswer = std::nullopt;  // Cancel
        f.Convert();
        QCOMPARE(f.user.bookedQuestions, 1);
        QCOMPARE(f.user.bookedCaption, QString("Dokumenty już w KPR"));
        QVERIFY2(f.user.bookedText.startsWith("W KPR jest już 1 z 2 dokumentów tego eksportu"),
                 qPrintable(f.user.bookedText));
        QVERIFY(f.user.bookedText.contains("\"FV 1\""));
        QVERIFY(!f.user.bookedText.contains("\"FV 2\""));
        QCOMPARE(f.user.questions, 1);  // the confirmation was not asked again
        QCOMPARE(TraceLines(f.window), before);
        QCOMPARE(f.March().size(), 400);

        f.user.bookedAnswer = true;  // skip them
        f.Convert();
        QCOMPARE(f.user.questions, 2);
        QCOMPARE(f.March().size(), 800);
        const QStringList skipped = RunTraceLines(f.window);
        QVERIFY(skipped.contains("* Dokument nr \"FV 1\" jest już w KPR (" + f.ledgerDir +
                                 "/2024ORMEK.3, pozycja 1) - pominięty"));

        f.user.bookedAnswer = false;  // book them again
        f.Convert();
        QVERIFY(f.user.bookedText.startsWith("W KPR jest już 2 z 2 dokumentów"));
        QCOMPARE(f.March().size(), 1600);

        // A check-only run writes nothing and asks nothing.
        f.window.findChild<QCheckBox*>("ch_sprawdz")->setChecked(true);
        f.Convert();
        QCOMPARE(f.user.bookedQuestions, 3);
    }

    // Another writer books into the file between the question and the run: the run does not
    // act on the stale answer, it leaves that file alone and says so.
    void aFileChangedAfterTheQuestionIsNotWritten() {
        Fixture f;
        f.Export({"FV 1"});
        f.Convert();
        f.Export({"FV 1", "FV 2"});
        f.user.bookedAnswer = true;  // skip "FV 1"
        const std::string other = ExportDocument("FV 9", "Inna") + "\r\n";
        bool booked = false;
        f.user.whileAsking = [&] {
            booked = BookElsewhere(f.dir.filePath("inny.kpm"), f.ledgerDir, other);
        };
        f.Convert();
        QVERIFY(booked);
        QCOMPARE(f.user.bookedQuestions, 1);
        QCOMPARE(f.March().size(), 800);  // the first run's and the other writer's
        QCOMPARE(f.user.plainMessages.size(), 1);
        QVERIFY(f.user.plainMessages[0].contains("zmienił się od pytania"));
        QVERIFY(TraceLines(f.window).contains(
            "Plik " + f.ledgerDir +
            "/2024ORMEK.3 zmienił się od pytania o dokumenty już zaksięgowane - konwersję "
            "zatrzymano"));

        // Asked again, the run goes through.
        f.user.whileAsking = nullptr;
        f.Convert();
        QCOMPARE(f.March().size(), 1200);
    }

    void summaryFollowsTheRunAndTheStatusBarKeepsItsDigest() {
        Fixture f;
        f.Export({"FV 1"});
        f.Convert();
        const QStringList lines = TraceLines(f.window);
        const qsizetype end = lines.indexOf(kEnd);
        QVERIFY(end > 0);
        const QStringList summary = lines.mid(end + 1);
        QVERIFY(summary.size() >= 6);
        QCOMPARE(summary[0], QString());
        QCOMPARE(summary[1], QString(" *** Podsumowanie ***"));
        QCOMPARE(summary[2], QString("Dokumenty przyjęte (wiersz \" *** Ilość dokumentów\"): 1; "
                                     "zapisane do KPR: 1; niezapisane z powodu błędu pliku "
                                     "okresu: 0"));
        QVERIFY2(summary[3].startsWith("Plik " + f.ledgerDir +
                                       "/2024ORMEK.3: rekordów przed 0, po 1; zaksięgowano "
                                       "dokumentów 1; netto "),
                 qPrintable(summary[3]));
        QVERIFY(summary.contains("Odrzucone dokumenty: 0"));
        QVERIFY(summary.contains("  wiersz 1: \"FV 1\" - NIP 1234567890"));
        const QString digest =
            "Zaksięgowano 1 dok. w plikach: 1; odrzucone: 0; wartości zerowane: 0; "
            "już w KPR: 0; złe NIP: 1";
        QCOMPARE(StatusText(f.window), digest);
        // Clearing the trace keeps the digest; the next run replaces it.
        f.window.findChild<QAction*>("act_WyczyscTrace")->trigger();
        QCOMPARE(StatusText(f.window), digest);
        f.window.findChild<QCheckBox*>("ch_sprawdz")->setChecked(true);
        f.Convert();
        QVERIFY(StatusText(f.window).startsWith("Sprawdzono 1 dok."));
    }

    void digestTooLongForTheBarIsShortenedVisiblyAndWholeInItsTooltip() {
        Fixture f;
        f.Export({"FV 1"});
        f.Convert();
        auto* label = f.window.findChild<QLabel*>("StatusMessage");
        const QString whole = StatusText(f.window);
        QVERIFY(!whole.isEmpty());
        // As on a narrow screen.
        f.window.setMinimumWidth(250);
        f.window.resize(250, f.window.height());
        QTRY_VERIFY(label->fontMetrics().horizontalAdvance(whole) > label->width());
        // Never cut at the edge: what shows fits, starts with the count and ends with "…" or
        // with the digest's own end.
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        QVERIFY(label->text().contains("…"));
        QVERIFY(label->text().startsWith("Zaksięgowano 1 dok."));
        QVERIFY(label->text().endsWith(whole.right(3)) || label->text().endsWith("…"));
        QCOMPARE(label->toolTip(), whole);
        // The tooltip is no hint: it shows with hints off.
        QVERIFY(!f.window.HintsOn());
        QHelpEvent help(QEvent::ToolTip, label->rect().center(),
                        label->mapToGlobal(label->rect().center()));
        QApplication::sendEvent(label, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), whole);
        QToolTip::hideText();
        // Wide enough, it shows whole.
        f.window.resize(3000, f.window.height());
        QTRY_COMPARE(label->text(), whole);
    }

    void journalThatCannotBeWrittenIsSaidAfterTheSummary() {
        Fixture f;
        WriteFile(f.ledgerDir + "/trevo2KPR.dziennik", "a file in the folder's place");
        f.Export({"FV 1"});
        f.Convert();
        QCOMPARE(f.March().size(), 400);
        QCOMPARE(TraceLines(f.window).last(),
                 QString("Nie udało się zapisać dziennika przebiegu w katalogu danych KPR - tego "
                         "przebiegu nie da się cofnąć"));
    }

    void undoAsksThenPutsTheLedgerBackRunByRun() {
        Fixture f;
        auto* undo = f.window.findChild<QAction*>("act_Cofnij");
        QVERIFY(undo != nullptr);
        QCOMPARE(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
        QCOMPARE(f.window.findChild<QToolButton*>("tb_Cofnij")->defaultAction(), undo);

        f.Export({"FV 1"});
        f.Convert();
        f.Export({"FV 2", "FV 3"});
        f.Convert();
        QCOMPARE(f.March().size(), 1200);

        f.user.answer = false;
        const int asked = f.user.questions;
        // From the keyboard, with the trace pane focused.
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.window.findChild<QWidget*>("MemoTrace")->setFocus();
        QTest::keySequence(f.window.findChild<QWidget*>("MemoTrace"),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
        QCOMPARE(f.user.questions, asked + 1);
        QCOMPARE(f.user.questionCaption, QString("Cofnięcie konwersji"));
        QVERIFY(
            f.user.questionText.contains("2024ORMEK.3: zostałby skrócony z 1200 do 400 bajtów"));
        QCOMPARE(f.March().size(), 1200);

        f.user.answer = true;
        QVERIFY(StatusText(f.window).startsWith("Zaksięgowano 2 dok."));
        f.Undo();
        QCOMPARE(f.March().size(), 400);
        // The books changed: the run's digest no longer stands.
        QCOMPARE(StatusText(f.window), QString("Cofnięto ostatnią konwersję: plików 1 (usuniętych "
                                               "0), rekordów usuniętych 2"));
        QStringList lines = TraceLines(f.window);
        QCOMPARE(lines[lines.size() - 3], QString(" *** Cofnięcie ostatniej konwersji ***"));
        QVERIFY(lines[lines.size() - 2].startsWith("Cofnięto przebieg z "));
        QCOMPARE(lines.last(),
                 QString("  2024ORMEK.3: skrócony z 1200 do 400 bajtów, rekordów usuniętych: 2"));

        f.Undo();
        QVERIFY(!QFile::exists(f.ledgerDir + "/2024ORMEK.3"));
        QCOMPARE(TraceLines(f.window).last(),
                 QString("  2024ORMEK.3: usunięty (utworzył go ten przebieg)"));

        const int before = f.user.questions;
        f.Undo();
        QCOMPARE(f.user.questions, before);  // nothing to ask about
        QCOMPARE(TraceLines(f.window).last(),
                 "W katalogu " + f.ledgerDir + " nie ma konwersji do cofnięcia");
        QCOMPARE(StatusText(f.window), QString("Cofnij ostatnią konwersję: w katalogu nie ma "
                                               "konwersji do cofnięcia"));
    }

    void keysGivenWhileUndoWorksAreDropped() {
        Fixture f;
        f.Export({"FV 1"});
        f.Convert();
        f.Export({"FV 2"});
        f.Convert();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        auto* letter = f.window.findChild<QLineEdit*>("Edit_Atrybut");
        letter->setFocus();
        // Queued as the window system hands them over while the check before the question
        // and the work after it hold the window: a letter, and undo's key once more.
        const auto press = [letter](Qt::Key key, Qt::KeyboardModifiers modifiers,
                                    const QString& text) {
            QCoreApplication::postEvent(letter,
                                        new QKeyEvent(QEvent::KeyPress, key, modifiers, text));
            QCoreApplication::postEvent(letter,
                                        new QKeyEvent(QEvent::KeyRelease, key, modifiers, text));
        };
        press(Qt::Key_X, Qt::NoModifier, "x");
        f.user.whileAsking = [&] { press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, {}); };
        const int asked = f.user.questions;
        f.Undo();
        f.user.whileAsking = nullptr;
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(f.user.questions, asked + 1);  // no second undo question
        QCOMPARE(f.March().size(), 400);        // only the last run was taken back
        QCOMPARE(letter->text(), QString());
        // The work is over: the busy cursor and the progress have gone.
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(f.window.findChild<QStatusBar*>("StatusBar")->currentMessage(), QString());
        // And the window takes keys again.
        QTest::keyClicks(letter, "y");
        QCOMPARE(letter->text(), QString("y"));
    }

    void undoShowsItWorksBeforeTheFilesChange() {
        Fixture f;
        f.Export({"FV 1"});
        f.Convert();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QCoreApplication::processEvents();
        // Paints after the answer and before undo's report: the question's place repainted,
        // with the busy cursor and the progress in the status bar.
        struct PaintWatch : QObject {
            bool answered = false;
            int paints = 0;
            qsizetype traceBefore = 0;
            QString progress;
            bool busy = false;
            QWidget* window = nullptr;
            bool eventFilter(QObject* watched, QEvent* event) override {
                if (answered && watched == window && event->type() == QEvent::Paint &&
                    TraceLines(*window).size() == traceBefore) {
                    ++paints;
                    if (QApplication::overrideCursor() != nullptr &&
                        QApplication::overrideCursor()->shape() == Qt::WaitCursor) {
                        busy = true;
                        progress = window->findChild<QStatusBar*>("StatusBar")->currentMessage();
                    }
                }
                return false;
            }
        } watch;
        watch.window = &f.window;
        watch.traceBefore = TraceLines(f.window).size();
        f.window.installEventFilter(&watch);
        f.user.whileAsking = [&] { watch.answered = true; };
        f.Undo();
        f.window.removeEventFilter(&watch);
        QVERIFY(watch.paints > 0);
        QVERIFY(watch.busy);
        QCOMPARE(watch.progress, QString("Cofanie ostatniej konwersji - proszę czekać…"));
        QVERIFY(!QFile::exists(f.ledgerDir + "/2024ORMEK.3"));
    }

    void undoQuestionShortensALongPathAndGivesItWholeInTheDetails() {
        Fixture f;
        QString deep = f.dir.path();
        while (deep.size() < 4000) {
            deep += "/" + QString(200, u'k');
        }
        QVERIFY(QDir().mkpath(deep));
        f.ledgerDir = deep;
        f.window.findChild<ButtonEdit*>("de_KPR")->setText(deep);
        f.Export({"FV 1"});
        f.Convert();
        f.user.answer = false;
        f.Undo();
        QVERIFY2(f.user.questionText.split(u'\n').first().size() <= 80,
                 qPrintable(f.user.questionText));
        QVERIFY(f.user.questionText.contains("…"));
        QVERIFY(f.user.questionDetails.startsWith("Cofnąć ostatnią konwersję do katalogu " + deep +
                                                  "?\n"));
    }

    void undoRefusedAfterAnotherWriterChangesNothing() {
        Fixture f;
        f.Export({"FV 1"});
        f.Convert();
        QFile file(f.ledgerDir + "/2024ORMEK.3");
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray(400, 'L'));  // the ledger program books after the run
        file.close();
        const int asked = f.user.questions;
        f.Undo();
        QCOMPARE(f.user.questions, asked);
        QVERIFY2(
            TraceLines(f.window).last().startsWith("Nie można cofnąć - nic nie zmieniono: Plik "),
            qPrintable(TraceLines(f.window).last()));
        QVERIFY(StatusText(f.window).startsWith("Cofnij ostatnią konwersję: nic nie zmieniono: "));
        QCOMPARE(f.March().size(), 800);

        f.window.findChild<ButtonEdit*>("de_KPR")->setText(f.dir.filePath("brak"));
        const int beeps = f.user.beeps;
        f.Undo();
        QCOMPARE(f.user.beeps, beeps + 1);
    }
};

QTEST_MAIN(FormMainBookedUndoTest)
#include "FormMainBookedUndoTest.moc"
