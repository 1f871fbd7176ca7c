// The program as the desktop meets it: its names and icon, Qt's own dialogs in Polish under a
// Polish locale (this test runs with LANG=pl_PL.UTF-8), and termination signals that close the
// windows as the user would, saving the settings.

#include <unistd.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "gui/application/DesktopApplication.h"
#include "gui/mainwindow/frm_Main.h"
#include "qtplatform/ApplicationTitle.h"
#include "qtplatform/MessageBoxes.h"
#include "qtplatform/QtTranslations.h"
#include "qtplatform/TerminationSignals.h"
#include "version/Version.h"

using namespace trevo::gui;

namespace {

// Collects into `texts` the button texts of the next modal box, then answers it with Escape.
void ReadButtonsOfNextBox(QStringList& texts) {
    texts.clear();
    QTimer::singleShot(0, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            texts << button->text();
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class DesktopApplicationTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpDesktopApplication(*qApp); }

    void namesIconAndVersion() {
        QCOMPARE(QApplication::applicationName(), QString("trevo2KPR"));
        QCOMPARE(QApplication::organizationName(), QString("trevo2KPR"));
        QCOMPARE(QApplication::desktopFileName(), QString("pl.trevo2kpr.trevo2kpr"));
        QCOMPARE(QApplication::applicationVersion().toStdString(),
                 std::string(trevo::ProgramVersion()));
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(!icon.isNull());
        for (const int size : {16, 32, 48, 256}) {
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        }
        // The message boxes keep the program file's title as their caption.
        QCOMPARE(ApplicationTitle(), ApplicationTitle(QCoreApplication::applicationFilePath()));
        QString caption;
        QTimer::singleShot(0, [&caption] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                caption = box->windowTitle();
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        ShowPlainMessage(nullptr, "x");
        QCOMPARE(caption, ApplicationTitle());
    }

    void standardButtonsAndDialogsSpeakPolish() {
        QVERIFY2(QFileInfo::exists(trevo::qt::QtTranslationsPath() + "/qtbase_pl.qm"),
                 "Qt's translations are missing (package qt6-translations-l10n)");
        QCOMPARE(QLocale().language(), QLocale::Polish);

        // The confirmation question as the window asks it.
        QStringList texts;
        ReadButtonsOfNextBox(texts);
        QVERIFY(!AskYesNo(nullptr, "Start ...", "Rozpocząć żmudny proces konwersji danych ?"));
        texts.sort();
        QCOMPARE(texts, QStringList({"&Nie", "&Tak"}));

        ReadButtonsOfNextBox(texts);
        ShowPlainMessage(nullptr, "x");
        QCOMPARE(texts, QStringList{"OK"});

        // The toolkit's own file dialog, as the boxes' browse buttons open it here.
        QFileDialog dialog(nullptr, "Gdzież ten plik FVS ?");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons != nullptr);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text().remove(u'&'), QString("Anuluj"));
        QCOMPARE(buttons->button(QDialogButtonBox::Open)->text().remove(u'&'), QString("Otwórz"));
    }

    void aTerminationSignalClosesTheWindowAndSavesItsSettings() {
        QTemporaryDir dir;
        const QString settings = dir.filePath("trevo2KPR.INI");
        trevo::qt::TerminationSignals termination;
        QVERIFY(termination.IsListening());
        CloseWindowsOnTermination(termination);
        {
            TFormMain window(settings);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            ::kill(::getpid(), SIGTERM);
            QTRY_VERIFY(!window.isVisible());
        }
        QVERIFY(ReadAll(settings).startsWith("[MAIN]\r\nFormVersion=0\r\n"));
    }

    void theProgramEndsOnSigtermWithItsSettingsBesideIt() {
        // A copied program in a folder of its own, as a user would run it.
        QTemporaryDir dir;
        const QString program = dir.filePath("trevo2KPR");
        QVERIFY(QFile::copy(TREVO_GUI_PROGRAM, program));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        // Up and in its event loop once its window exists; the settings file is read by then.
        QTest::qWait(1500);
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(ReadAll(dir.filePath("trevo2KPR.INI")).contains("[MAIN]\r\n"));
    }
};

int main(int argc, char* argv[]) {
    // As the program does: before the application object starts its threads.
    trevo::qt::TerminationSignals::Block();
    QApplication application(argc, argv);
    DesktopApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DesktopApplicationTest.moc"
