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

    SettingsPlaceProbe Probe() const {
        return {[this](const QString& p) { return existing.contains(p); },
                [this](const QString& p) { return writable.contains(p); },
                [this](const QString& p) { return readOnly.contains(p); }};
    }
};

const QString kProgramDir = "/opt/trevo";
const QString kBeside = "/opt/trevo/trevo2KPR.INI";
const QString kConfigHome = "/home/ksiegowa/.config";
const QString kUser = "/home/ksiegowa/.config/trevo2KPR/trevo2KPR.INI";

}  // namespace

class SettingsLocationTest : public QObject {
    Q_OBJECT

  private slots:
    void choice_data() {
        QTest::addColumn<bool>("dirWritable");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<bool>("fileReadOnly");
        QTest::addColumn<QString>("expected");
        QTest::newRow("portable program, first start")
            << true << false << false << false << kBeside;
        QTest::newRow("portable program, its file") << true << true << true << false << kBeside;
        QTest::newRow("installed into /usr/bin") << false << false << false << false << kUser;
        QTest::newRow("an existing file the user can write")
            << false << true << true << false << kBeside;
        QTest::newRow("an existing read-only file stays in charge")
            << false << true << false << true << kBeside;
        QTest::newRow("somebody else's file") << false << true << false << false << kUser;
    }

    void choice() {
        QFETCH(bool, dirWritable);
        QFETCH(bool, fileExists);
        QFETCH(bool, fileWritable);
        QFETCH(bool, fileReadOnly);
        QFETCH(QString, expected);
        FakeDisk disk;
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
};

QTEST_MAIN(SettingsLocationTest)
#include "SettingsLocationTest.moc"
