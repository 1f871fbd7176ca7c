// The program as the desktop meets it: its names and icon, Qt's own dialogs in Polish under a
// Polish locale (this test runs with LANG=pl_PL.UTF-8), and termination signals that close the
// windows as the user would, saving the settings.

#include <pwd.h>
#include <unistd.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
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

    void aSignalIgnoredAtStartStaysIgnored() {
        // As under nohup: the hangup is ignored before the program listens.
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        struct sigaction saved {};
        QVERIFY(::sigaction(SIGHUP, &ignore, &saved) == 0);
        QList<int> received;
        {
            trevo::qt::TerminationSignals termination;
            connect(&termination, &trevo::qt::TerminationSignals::received, this,
                    [&received](int signalNumber, int) { received << signalNumber; });
            ::kill(::getpid(), SIGHUP);
            ::kill(::getpid(), SIGTERM);
            QTRY_VERIFY(!received.isEmpty());
        }
        // Ignoring it once more drops the hangup that waits, blocked, in this test process.
        ::sigaction(SIGHUP, &ignore, nullptr);
        ::sigaction(SIGHUP, &saved, nullptr);
        QCOMPARE(received, QList<int>{SIGTERM});
    }

    void theProgramEndsOnSigtermWithItsSettingsBesideIt() {
        // A copied program in a folder of its own, as a user would run it.
        QTemporaryDir dir;
        const QString program = dir.filePath("trevo2KPR");
        QVERIFY(QFile::copy(TREVO_GUI_PROGRAM, program));
        QCOMPARE(RunUntilSigterm(program, {}, {}), 0);
        QVERIFY(ReadAll(dir.filePath("trevo2KPR.INI")).contains("[MAIN]\r\n"));
    }

    void anInstalledProgramKeepsItsSettingsInTheUsersConfigurationFolder() {
        // The program in a folder its user cannot write, like /usr/bin; as root the program
        // runs as `nobody`, for whom the permissions count.
        QTemporaryDir programDir;
        QTemporaryDir configHome;
        const QString program = programDir.filePath("trevo2KPR");
        QVERIFY(QFile::copy(TREVO_GUI_PROGRAM, program));
        QStringList prefix;
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            const QString setpriv = QStandardPaths::findExecutable("setpriv");
            if (nobody == nullptr || setpriv.isEmpty()) {
                QSKIP("no user nobody or no setpriv to run the program as an ordinary user");
            }
            QVERIFY(::chown(QFile::encodeName(configHome.path()).constData(), nobody->pw_uid,
                            nobody->pw_gid) == 0);
            prefix = {setpriv, QString("--reuid=%1").arg(nobody->pw_uid),
                      QString("--regid=%1").arg(nobody->pw_gid), "--clear-groups"};
        }
        const auto open = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(programDir.path(), open));
        QVERIFY(QFile::setPermissions(configHome.path(), open | QFile::WriteOwner));

        const int status = RunUntilSigterm(program, prefix, configHome.path());
        QFile::setPermissions(programDir.path(), open | QFile::WriteOwner);
        QCOMPARE(status, 0);
        QVERIFY(!QFileInfo::exists(programDir.filePath("trevo2KPR.INI")));
        QVERIFY(ReadAll(configHome.filePath("trevo2KPR/trevo2KPR.INI")).startsWith("[MAIN]\r\n"));
    }

    // The superuser may write any folder; a program in a folder of another user's is still
    // an installed one, and root's settings go to root's configuration folder.
    void theSuperuserKeepsTheSettingsOfAnotherUsersProgramInItsOwnFolder() {
        if (::geteuid() != 0) {
            QSKIP("needs the superuser");
        }
        const passwd* nobody = ::getpwnam("nobody");
        QVERIFY(nobody != nullptr);
        QTemporaryDir programDir;
        QTemporaryDir configHome;
        const QString program = programDir.filePath("trevo2KPR");
        QVERIFY(QFile::copy(TREVO_GUI_PROGRAM, program));
        QVERIFY(::chown(QFile::encodeName(programDir.path()).constData(), nobody->pw_uid,
                        nobody->pw_gid) == 0);
        QCOMPARE(RunUntilSigterm(program, {}, configHome.path()), 0);
        QVERIFY(!QFileInfo::exists(programDir.filePath("trevo2KPR.INI")));
        QVERIFY(ReadAll(configHome.filePath("trevo2KPR/trevo2KPR.INI")).startsWith("[MAIN]\r\n"));
    }

    // --version and --help print and end the program without a window: with no platform to
    // show one on, the program would fail to start.
    void versionAndHelpNeedNoWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("start");
        const QByteArray version = "trevo2KPR " + QByteArray(trevo::ProgramVersion().data()) + "\n";
        QTest::newRow("--version") << QStringList{"--version"} << version;
        QTest::newRow("-V") << QStringList{"-V"} << version;
        QTest::newRow("--help") << QStringList{"--help"} << QByteArray("Użycie: trevo2KPR");
        QTest::newRow("-h after a Qt option")
            << QStringList{"-style", "fusion", "-h"} << QByteArray("Użycie: trevo2KPR");
    }

    void versionAndHelpNeedNoWindow() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, start);
        QProcess process;
        process.setProcessEnvironment(WithoutDisplay());
        process.start(TREVO_GUI_PROGRAM, arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QByteArray out = process.readAllStandardOutput();
        QVERIFY2(out.startsWith(start), out.constData());
        QVERIFY(out.endsWith('\n'));
        QCOMPARE(process.readAllStandardError(), QByteArray());
    }

    void withoutTheOptionsTheSameEnvironmentCannotStartTheProgram() {
        QProcess process;
        process.setProcessEnvironment(WithoutDisplay());
        process.start(TREVO_GUI_PROGRAM, {"--", "--version"});
        QVERIFY(process.waitForFinished(10000));
        QVERIFY(process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
    }

  private:
    static QProcessEnvironment WithoutDisplay() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "no-such-platform");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        return environment;
    }

    // Starts the program offscreen (after `prefix`, and with XDG_CONFIG_HOME set when
    // `configHome` is given), sends SIGTERM once it is up, and gives its exit status; -1 when it
    // did not end by itself.
    static int RunUntilSigterm(const QString& program, QStringList prefix,
                               const QString& configHome) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        if (!configHome.isEmpty()) {
            environment.insert("XDG_CONFIG_HOME", configHome);
            environment.insert("HOME", configHome);
        }
        process.setProcessEnvironment(environment);
        prefix << program;
        process.start(prefix.takeFirst(), prefix);
        if (!process.waitForStarted()) {
            return -1;
        }
        // Up and in its event loop once its window exists (an early signal would wait, blocked).
        QTest::qWait(1500);
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitCode();
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
