// The two browse boxes of the main window (choosers, quotes, leaving the export box) and the
// trace pane's line handling.

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "desktop/TraceBatch.h"
#include "engine/text/Win1250.h"
#include "gui/mainwindow/frm_Main.h"
#include "gui/widgets/DirectoryEdit.h"
#include "gui/widgets/FileNameEdit.h"
#include "tests/gui/mainwindow/FormMainTestSupport.h"

using namespace trevo::gui;
using namespace trevo::gui::test;

namespace {

// The window's trace sink: the engine's lines, batched, into the pane.
class PaneTraceSink {
  public:
    explicit PaneTraceSink(TracePane& pane)
        : batch_([&pane](std::string_view lines) { pane.AppendLines(QStringFromWin1250(lines)); }) {
    }
    void AppendLine(std::string_view line) { batch_.AppendLine(line); }
    void Flush() { batch_.Flush(); }

  private:
    trevo::desktop::TraceBatch batch_;
};

// Runs `inspect` on the file dialog that the next modal loop opens, then closes the dialog by
// choosing `choice` (or cancelling when it is empty).
void OnNextFileDialog(std::function<void(QFileDialog&)> inspect, QString choice) {
    QTimer::singleShot(0, [inspect = std::move(inspect), choice] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        inspect(*dialog);
        if (choice.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(choice);
            static_cast<QDialog*>(dialog)->accept();  // checks the choice like the OK button
        }
    });
}

}  // namespace

class FormMainBoxesTest : public QObject {
    Q_OBJECT

  private slots:
    void leavingTheExportBoxDropsItsQuotes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("one quote") << "\""
                                   << "";
        QTest::newRow("two quotes") << "\"\""
                                    << "";
        QTest::newRow("enclosed") << "\"/a b/c.kpm\""
                                  << "/a b/c.kpm";
        QTest::newRow("leading only") << "\"/a b"
                                      << "/a b";
        QTest::newRow("trailing only") << "/a b\""
                                       << "/a b";
        QTest::newRow("inside") << "/a\"b\"c"
                                << "/a\"b\"c";
        QTest::newRow("plain") << "/a/b.kpm"
                               << "/a/b.kpm";
        // Long paths stay whole: nothing is cut to 255 characters.
        const QString longPath = "/" + QString(300, u'x') + ".kpm";
        QTest::newRow("long") << '"' + longPath + '"' << longPath;
    }

    void leavingTheExportBoxDropsItsQuotes() {
        QFETCH(QString, typed);
        QFETCH(QString, left);
        TFormMain window(FreshSettingsPath());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* box = window.findChild<FileNameEdit*>("FE_EPP");
        box->setText(typed);
        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(box->text(), left);
    }

    void exportBoxKeepsQuotesWhenOnlyTheWindowIsLeft() {
        TFormMain window(FreshSettingsPath());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* box = window.findChild<FileNameEdit*>("FE_EPP");
        box->setText("\"/a b\"");
        box->setFocus();
        for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(box->lineEdit(), &out);
            QCOMPARE(box->text(), QString("\"/a b\""));
        }
        window.findChild<QWidget*>("Edit_REJ")->setFocus();
        QCOMPARE(box->text(), QString("/a b"));
    }

    void fileChooserOfTheExportBox() {
        QTemporaryDir dir;
        const QString spaced = dir.filePath("dane trevo/eksp2kap.kpm");
        QVERIFY(QDir().mkpath(dir.filePath("dane trevo")));
        QFile(spaced).open(QIODevice::WriteOnly);

        TFormMain window(FreshSettingsPath());
        window.show();
        auto* box = window.findChild<FileNameEdit*>("FE_EPP");
        const QStringList filters = {"Plik \"Trevovrs\" (eksp2kap.kpm)", "Pliki  \"*.kpm\"(*.kpm)",
                                     "Wszystkie pliki(*)"};
        QCOMPARE(box->nameFilters(), filters);
        OnNextFileDialog(
            [&](QFileDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QString("Gdzież ten plik FVS ?"));
                QCOMPARE(dialog.defaultSuffix(), QString("txt"));
                QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
                QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
                // The toolkit folds runs of blanks in the filter texts.
                QStringList shown;
                for (const QString& filter : filters) {
                    shown << filter.simplified();
                }
                QCOMPARE(dialog.nameFilters(), shown);
                // Opened where the file in the box lies, quotes notwithstanding.
                QCOMPARE(dialog.directory().absolutePath(), dir.filePath("dane trevo"));
            },
            spaced);
        box->setText('"' + spaced + '"');
        box->browseButton()->click();
        QCOMPARE(box->text(), '"' + QDir::toNativeSeparators(spaced) + '"');

        // Cancelling keeps the text; a chosen path without a space is not quoted.
        OnNextFileDialog([](QFileDialog&) {}, {});
        box->browse();
        QCOMPARE(box->text(), '"' + QDir::toNativeSeparators(spaced) + '"');
        const QString plain = dir.filePath("plain.kpm");
        QFile(plain).open(QIODevice::WriteOnly);
        OnNextFileDialog([](QFileDialog&) {}, plain);
        box->browse();
        QCOMPARE(box->text(), QDir::toNativeSeparators(plain));
    }

    void folderChooserOfTheLedgerBox() {
        QTemporaryDir dir;
        const QString target = dir.filePath("FIRMA 2");
        QVERIFY(QDir().mkpath(target));
        TFormMain window(FreshSettingsPath());
        window.show();
        auto* box = window.findChild<DirectoryEdit*>("de_KPR");

        box->setText(dir.path());
        QCOMPARE(box->startDirectory(), dir.path());
        OnNextFileDialog(
            [&](QFileDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QString("Gdzie te dane ?"));
                QCOMPARE(dialog.fileMode(), QFileDialog::Directory);
                QCOMPARE(dialog.directory().absolutePath(), dir.path());
            },
            target);
        box->browseButton()->click();
        // Replaced, never quoted.
        QCOMPARE(box->text(), QDir::toNativeSeparators(target));

        // A directory that does not exist: the chooser starts at its nearest existing parent,
        // not at the root; an empty box at the home folder.
        box->setText(dir.filePath("none/FIRMA9"));
        QCOMPARE(box->startDirectory(), dir.path());
        OnNextFileDialog(
            [&](QFileDialog& dialog) { QCOMPARE(dialog.directory().absolutePath(), dir.path()); },
            QString());
        box->browseButton()->click();
        QCOMPARE(box->text(), dir.filePath("none/FIRMA9"));
        box->setText("");
        QCOMPARE(box->startDirectory(), QDir::homePath());
    }

    void boxesExposeTheirTextAsTheTextProperty() {
        TFormMain window(FreshSettingsPath());
        for (const char* name : {"FE_EPP", "de_KPR"}) {
            QObject* box = window.findChild<QObject*>(name);
            QVERIFY(box->setProperty("text", QString("C:\\KPR\\ąę")));
            QCOMPARE(box->property("text").toString(), QString("C:\\KPR\\ąę"));
            QCOMPARE(box->findChild<QLineEdit*>()->text(), QString("C:\\KPR\\ąę"));
        }
    }

    void traceShowsLinesAsTheRunWritesThem() {
        TracePane pane;
        {
            PaneTraceSink sink(pane);
            sink.AppendLine("");  // a leading empty line is kept
            sink.AppendLine("\r\nOsi\xB9gni\xEAto");
            sink.AppendLine(
                "B\xB3\xB9"
                "d \x9C\x9F\xBF\xA3");
            QCOMPARE(pane.LineCount(), 0);  // nothing before the flush
            sink.Flush();
            sink.AppendLine("");
            sink.Flush();
        }
        QCOMPARE(pane.toPlainText().split(u'\n'),
                 QStringList({"", "", "Osiągnięto", "Błąd śźżŁ", ""}));
        QCOMPARE(pane.LineCount(), 5);
        pane.ClearLines();
        QCOMPARE(pane.LineCount(), 0);
        PaneTraceSink sink(pane);
        sink.AppendLine("x");
        sink.Flush();
        QCOMPARE(pane.toPlainText(), QString("x"));
    }

    // The window's texts from the engine (the booked question's numbers, the digest, messages)
    // are decoded by the engine's table, the trace pane's by the toolkit's: every byte must read
    // the same in both.
    void engineAndToolkitDecodeEveryWindows1250ByteAlike() {
        for (int byte = 0; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            QCOMPARE(QString::fromStdString(trevo::text::Win1250ToUtf8(one)),
                     QStringFromWin1250(one));
        }
    }
};

QTEST_MAIN(FormMainBoxesTest)
#include "FormMainBoxesTest.moc"
