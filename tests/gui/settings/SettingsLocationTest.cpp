// Where the settings file lives: beside the program when the user can keep it there, otherwise
// under the user's configuration folder.

#include <QSet>
#include <QTest>

#include "gui/settings/SettingsLocation.h"

using trevo::gui::ChooseSettingsPath;
using trevo::gui::SettingsPlaceProbe;

namespace {

struct FakeDisk {
    QSet<QString> existing;
    QSet<QString> writable;
    QSet<QString> readOnly;
    QSet<QString> owned;

    SettingsPlaceProbe Probe() const {
        return {[this](const QString& p) { return existing.contains(p); },
                [this](const QString& p) { return writable.contains(p); },
                [this](const QString& p) { return readOnly.contains(p); },
                [this](const QString& p) { return owned.contains(p); }};
    }
};

const QString kProgramDir = "/home/ksiegowa/trevo";
const QString kBeside = "/home/ksiegowa/trevo/trevo2KPR.INI";
const QString kConfigHome = "/home/ksiegowa/.config";
const QString kUser = "/home/ksiegowa/.config/trevo2KPR/trevo2KPR.INI";

}  // namespace

class SettingsLocationTest : public QObject {
    Q_OBJECT

  private slots:
    void choice_data() {
        QTest::addColumn<bool>("dirOwned");
        QTest::addColumn<bool>("dirWritable");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<bool>("fileReadOnly");
        QTest::addColumn<QString>("expected");
        QTest::newRow("portable program, first start")
            << true << true << false << false << false << kBeside;
        QTest::newRow("portable program, its file")
            << true << true << true << true << false << kBeside;
        QTest::newRow("own folder made read-only")
            << true << false << false << false << false << kUser;
        QTest::newRow("an existing file the user can write")
            << true << false << true << true << false << kBeside;
        QTest::newRow("an existing read-only file stays in charge")
            << true << false << true << false << true << kBeside;
        QTest::newRow("somebody else's file") << true << false << true << false << false << kUser;
        // Installed: the folder is another user's, however open to this one.
        QTest::newRow("another user's folder")
            << false << false << false << false << false << kUser;
        QTest::newRow("another user's folder open to all")
            << false << true << false << false << false << kUser;
        QTest::newRow("another user's folder with a writable file")
            << false << true << true << true << false << kUser;
        QTest::newRow("another user's folder with a read-only file")
            << false << false << true << false << true << kUser;
    }

    void choice() {
        QFETCH(bool, dirOwned);
        QFETCH(bool, dirWritable);
        QFETCH(bool, fileExists);
        QFETCH(bool, fileWritable);
        QFETCH(bool, fileReadOnly);
        QFETCH(QString, expected);
        FakeDisk disk;
        if (dirOwned) {
            disk.owned << kProgramDir;
        }
        if (dirWritable) {
            disk.writable << kProgramDir;
        }
        if (fileExists) {
            disk.existing << kBeside;
        }
        if (fileWritable) {
            disk.writable << kBeside;
        }
        if (fileReadOnly) {
            disk.readOnly << kBeside;
        }
        QCOMPARE(ChooseSettingsPath(kProgramDir, kConfigHome, disk.Probe()), expected);
    }

    // The superuser owns and may write the system's program folders, and a file left there
    // belongs to no package: the installed program keeps its settings in root's own folder.
    void systemFolderForItsOwner_data() {
        QTest::addColumn<QString>("programDir");
        QTest::newRow("/usr/bin") << "/usr/bin";
        QTest::newRow("/usr/local/bin") << "/usr/local/bin";
        QTest::newRow("/usr/games") << "/usr/games";
        QTest::newRow("/bin") << "/bin";
        QTest::newRow("/sbin") << "/sbin";
    }

    void systemFolderForItsOwner() {
        QFETCH(QString, programDir);
        const QString beside = programDir + "/trevo2KPR.INI";
        FakeDisk disk;
        disk.owned << programDir;
        disk.writable << programDir << beside;
        disk.existing << beside;  // a file an older version left there
        QCOMPARE(ChooseSettingsPath(programDir, "/root/.config", disk.Probe()),
                 QString("/root/.config/trevo2KPR/trevo2KPR.INI"));
    }

    // Folders that only look like system ones are the user's own.
    void lookalikeFolders_data() {
        QTest::addColumn<QString>("programDir");
        QTest::newRow("/usrlocal") << "/usrlocal";
        QTest::newRow("/binaries") << "/binaries";
        QTest::newRow("/home/usr/bin") << "/home/usr/bin";
    }

    void lookalikeFolders() {
        QFETCH(QString, programDir);
        FakeDisk disk;
        disk.owned << programDir;
        disk.writable << programDir;
        QCOMPARE(ChooseSettingsPath(programDir, kConfigHome, disk.Probe()),
                 programDir + "/trevo2KPR.INI");
    }
};

QTEST_MAIN(SettingsLocationTest)
#include "SettingsLocationTest.moc"
