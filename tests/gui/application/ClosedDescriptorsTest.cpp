// The desktop program started with descriptors 0, 1 and 2 closed (as a service manager or a
// careless launcher may start it): before it opens any file they stand on /dev/null, so no
// ledger or settings file can take their place.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

class ClosedDescriptorsTest : public QObject {
    Q_OBJECT

  private slots:
    void closedStandardDescriptorsStandOnDevNull() {
        QTemporaryDir dir;
        const QByteArray program = QFile::encodeName(dir.filePath("trevo2KPR"));
        QVERIFY(QFile::copy(TREVO_GUI_PROGRAM, QString::fromLocal8Bit(program)));
        // Everything the child needs is made before the fork: it only closes and execs.
        std::vector<std::string> environment;
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0) {
                environment.emplace_back(*e);
            }
        }
        environment.emplace_back("QT_QPA_PLATFORM=offscreen");
        std::vector<char*> envp;
        for (std::string& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        char* const argv[] = {const_cast<char*>(program.constData()), nullptr};
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(0);
            ::close(1);
            ::close(2);
            ::execve(program.constData(), argv, envp.data());
            ::_exit(126);
        }
        QVERIFY(pid > 0);
        // Up once the program runs (not the forked test) and its event loop has its eventfd.
        const QString proc = QString("/proc/%1").arg(pid);
        const QString fds = proc + "/fd";
        const auto up = [&] {
            if (QFile::symLinkTarget(proc + "/exe") != QString::fromLocal8Bit(program)) {
                return false;
            }
            const QStringList entries =
                QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (QFile::symLinkTarget(fds + "/" + entry).contains("eventfd")) {
                    return true;
                }
            }
            return false;
        };
        for (int i = 0; i < 1000 && !up(); ++i) {
            QThread::msleep(5);
        }
        QVERIFY(up());
        QStringList targets;
        for (int fd = 0; fd <= 2; ++fd) {
            targets << QFile::symLinkTarget(QString("%1/%2").arg(fds).arg(fd));
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        QCOMPARE(targets, (QStringList{"/dev/null", "/dev/null", "/dev/null"}));
    }
};

QTEST_GUILESS_MAIN(ClosedDescriptorsTest)

#include "ClosedDescriptorsTest.moc"
