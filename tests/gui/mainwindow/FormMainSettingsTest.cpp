// The main window's inputs surviving a restart through its section of the settings file.

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/mainwindow/frm_Main.h"
#include "gui/widgets/ButtonEdit.h"
#include "tests/gui/mainwindow/FormMainTestSupport.h"

using namespace trevo::gui;
using namespace trevo::gui::test;

namespace {

QStringList FileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QStringFromWin1250(file.readAll().toStdString()).split("\r\n");
}

void SetText(QWidget& window, const char* name, const QString& text) {
    window.findChild<QWidget*>(name)->setProperty("text", text);
}

QString Text(QWidget& window, const char* name) {
    return window.findChild<QWidget*>(name)->property("text").toString();
}

}  // namespace

class FormMainSettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartWritesTheFourteenKeysAndTheNextStartRestoresThem() {
        QTemporaryDir programDir;
        const QString ini = programDir.filePath("trevo2KPR.INI");
        {
            TFormMain window(ini);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            SetText(window, "FE_EPP", "/dane/Łódź eksp2kap.kpm");
            SetText(window, "de_KPR", "/kpr/FIRMA1");
            SetText(window, "Edit_Atrybut", "Ż");
            window.findChild<QRadioButton*>("RB_852")->setChecked(true);
            window.findChild<QCheckBox*>("ch_sprawdz")->setChecked(true);
            window.close();
        }
        const QStringList lines = FileLines(ini);
        QCOMPARE(lines.value(0), QString("[MAIN]"));
        QStringList keys;
        for (const QString& line : lines.mid(1)) {
            if (line.isEmpty()) {
                break;
            }
            keys << line.section('=', 0, 0);
        }
        const QString suffix = keys.value(4).mid(QString("MinMaxPos").size());
        QVERIFY(suffix.startsWith('(') && suffix.endsWith(')'));
        QCOMPARE(keys, (QStringList{"FormVersion", "ShowCmd", "Flags", "PixelsPerInch",
                                    "MinMaxPos" + suffix, "MinMaxPos", "NormPos" + suffix,
                                    "NormPos", "FE_EPP_Text", "Edit_Atrybut_Text", "Edit_REJ_Text",
                                    "de_KPR_Text", "RB_852_Checked", "RB_MAZ_Checked"}));
        QVERIFY(lines.contains("FormVersion=0"));
        QVERIFY(lines.contains("RB_852_Checked=TRUE"));
        QVERIFY(lines.contains("RB_MAZ_Checked=FALSE"));
        QVERIFY(lines.contains("FE_EPP_Text=/dane/Łódź eksp2kap.kpm"));

        TFormMain again(ini);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(Text(again, "FE_EPP"), QString("/dane/Łódź eksp2kap.kpm"));
        QCOMPARE(Text(again, "de_KPR"), QString("/kpr/FIRMA1"));
        QCOMPARE(Text(again, "Edit_Atrybut"), QString("Ż"));
        QVERIFY(again.findChild<QRadioButton*>("RB_852")->isChecked());
        QVERIFY(!again.findChild<QRadioButton*>("RB_MAZ")->isChecked());
        QCOMPARE(again.LedgerCode(), trevo::PolishCharset::pcCp852);
        // Check-only is never saved: every start has it off.
        QVERIFY(!again.findChild<QCheckBox*>("ch_sprawdz")->isChecked());
    }

    void otherSectionsOfTheFileSurviveTheWindowsWrite() {
        QTemporaryDir programDir;
        const QString ini = programDir.filePath("trevo2KPR.INI");
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[SPISFIRM]\r\nFilenameEdit_FileName=/kpr/spisfirm.dat\r\n\r\n");
        }
        {
            TFormMain window(ini);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.close();
        }
        const QStringList lines = FileLines(ini);
        QVERIFY(lines.contains("[SPISFIRM]"));
        QVERIFY(lines.contains("FilenameEdit_FileName=/kpr/spisfirm.dat"));
        QVERIFY(lines.contains("[MAIN]"));
    }
};

QTEST_MAIN(FormMainSettingsTest)
#include "FormMainSettingsTest.moc"
