#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "gui/settings/FormStorage.h"

using trevo::gui::FormStorage;
using trevo::gui::FormStorageConfig;

namespace {

QLineEdit* AddEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

// The main window's persisted controls, set up as that window sets them up.
class MainLikeWindow : public QWidget {
  public:
    explicit MainLikeWindow(const QString& iniPath, const QStringList& moreProps = {}) {
        resize(472, 466);
        fe = AddEdit(this, "FE_EPP");
        attribute = AddEdit(this, "Edit_Atrybut");
        attribute->setMaxLength(1);
        reg = AddEdit(this, "Edit_REJ");
        reg->setMaxLength(1);
        kpr = AddEdit(this, "de_KPR");
        auto* panel = new QWidget(this);
        panel->setObjectName("Panel_PL");
        maz = new QRadioButton("MAZovia", panel);
        maz->setObjectName("RB_MAZ");
        cp852 = new QRadioButton("CP852", panel);
        cp852->setObjectName("RB_852");
        // Own exclusion, so that "checked" set to false leaves both unchecked.
        for (auto [button, other] : {std::pair{maz, cp852}, std::pair{cp852, maz}}) {
            button->setAutoExclusive(false);
            connect(button, &QRadioButton::toggled, other, [other = other](bool on) {
                if (on) {
                    other->setChecked(false);
                }
            });
        }
        maz->setChecked(true);
        const QStringList props{"FE_EPP.Text", "Edit_Atrybut.Text", "Edit_REJ.Text",
                                "de_KPR.Text", "RB_852.Checked",    "RB_MAZ.Checked"};
        storage = new FormStorage(this, {"MAIN", props + moreProps, 472, 466}, iniPath);
    }
    ~MainLikeWindow() override { storage->WindowDestroying(); }

    QLineEdit* fe;
    QLineEdit* attribute;
    QLineEdit* reg;
    QLineEdit* kpr;
    QRadioButton* maz;
    QRadioButton* cp852;
    FormStorage* storage;
};

}  // namespace

// The picker's file-name edit, whose text is the property "fileName".
class FileNameEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString fileName READ fileName WRITE setFileName)
  public:
    using QLineEdit::QLineEdit;
    QString fileName() const { return text(); }
    void setFileName(const QString& name) { setText(name); }
};

namespace {

class PickerLikeDialog : public QDialog {
  public:
    explicit PickerLikeDialog(const QString& iniPath) {
        resize(360, 310);
        fileName = new FileNameEdit("spisfirm.dat", this);
        fileName->setObjectName("FilenameEdit");
        storage = new FormStorage(this, {"SPISFIRM", {"FilenameEdit.FileName"}, 360, 310}, iniPath);
    }
    ~PickerLikeDialog() override { storage->WindowDestroying(); }

    FileNameEdit* fileName;
    FormStorage* storage;
};

// Closes every message box that comes up while it lives, keeping the texts.
class BoxCloser : public QObject {
  public:
    BoxCloser() {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start();
    }
    QStringList texts;

  private:
    QTimer timer_;
};

QString CurrentSuffix() {
    const QSize size = QGuiApplication::primaryScreen()->geometry().size();
    return QString("(%1x%2)").arg(size.width()).arg(size.height());
}

int CurrentPixelsPerInch() {
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

}  // namespace

class FormStorageTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir programDir_;
    QString ini_;

    QByteArray FileBytes() const {
        QFile file(ini_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void PutFile(const QByteArray& bytes) const {
        QFile file(ini_);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // The lines of one section, without its header and the empty line after it.
    QList<QByteArray> SectionLines(const QByteArray& section) const {
        QList<QByteArray> lines;
        bool inside = false;
        for (const QByteArray& line : FileBytes().split('\n')) {
            const QByteArray text = line.chopped(line.endsWith('\r') ? 1 : 0);
            if (text.startsWith('[')) {
                inside = text == "[" + section + "]";
            } else if (inside && !text.isEmpty()) {
                lines << text;
            }
        }
        return lines;
    }
    QByteArray Value(const QByteArray& section, const QByteArray& key) const {
        for (const QByteArray& line : SectionLines(section)) {
            if (line.startsWith(key + "=")) {
                return line.mid(key.size() + 1);
            }
        }
        return "<absent>";
    }
    std::unique_ptr<MainLikeWindow> ShowMain() const {
        auto window = std::make_unique<MainLikeWindow>(ini_);
        window->show();
        return window;
    }

  private slots:
    void init() {
        QVERIFY(programDir_.isValid());
        ini_ = programDir_.path() + "/trevo2KPR.INI";
        QFile::setPermissions(ini_, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(ini_);
    }

    void defaultPathIsBesideTheProgram() {
        QCOMPARE(trevo::gui::DefaultSettingsPath(),
                 QCoreApplication::applicationDirPath() + "/trevo2KPR.INI");
    }

    void firstStartWritesTheFourteenKeysInOrder() {
        // Entries without their control or property are dropped.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("NoSuchControl.Text"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("FE_EPP.Missing"));
        auto window = std::make_unique<MainLikeWindow>(
            ini_, QStringList{"NoSuchControl.Text", "FE_EPP.Missing"});
        window->show();
        QCOMPARE(window->minimumSize(), QSize(472, 466));
        QVERIFY(window->maz->isChecked());
        window->close();
        window.reset();

        QVERIFY(FileBytes().startsWith("[MAIN]\r\nFormVersion=0\r\n"));
        QVERIFY(FileBytes().endsWith("\r\n\r\n"));
        QList<QByteArray> keys;
        for (const QByteArray& line : SectionLines("MAIN")) {
            keys << line.left(line.indexOf('='));
        }
        const QByteArray suffix = CurrentSuffix().toLatin1();
        QCOMPARE(keys,
                 (QList<QByteArray>{"FormVersion", "ShowCmd", "Flags", "PixelsPerInch",
                                    "MinMaxPos" + suffix, "MinMaxPos", "NormPos" + suffix,
                                    "NormPos", "FE_EPP_Text", "Edit_Atrybut_Text", "Edit_REJ_Text",
                                    "de_KPR_Text", "RB_852_Checked", "RB_MAZ_Checked"}));
        QCOMPARE(Value("MAIN", "ShowCmd"), "1");
        QCOMPARE(Value("MAIN", "PixelsPerInch"), QByteArray::number(CurrentPixelsPerInch()));
        QCOMPARE(Value("MAIN", "RB_852_Checked"), "FALSE");
        QCOMPARE(Value("MAIN", "RB_MAZ_Checked"), "TRUE");
        QCOMPARE(Value("MAIN", "NormPos"), Value("MAIN", "NormPos" + suffix));
    }

    void valuesAndPlacementComeBack() {
        auto window = ShowMain();
        window->fe->setText("  C:\\dane\\eksp2kap.kpm  ");
        window->kpr->setText(QString::fromUtf8("Łódź"));
        window->attribute->setText("A");
        window->cp852->setChecked(true);
        window->setGeometry(40, 50, 500, 480);
        window->close();
        // Saved when the window closed: later changes are not kept.
        window->reg->setText("R");
        window.reset();
        QCOMPARE(Value("MAIN", "de_KPR_Text"), QByteArray("\xA3\xF3\x64\x9F"));
        QCOMPARE(Value("MAIN", "NormPos"), "40,50,540,530");

        window = ShowMain();
        QCOMPARE(window->fe->text(), QString("C:\\dane\\eksp2kap.kpm"));  // blanks trimmed
        QCOMPARE(window->kpr->text(), QString::fromUtf8("Łódź"));
        QCOMPARE(window->attribute->text(), QString("A"));
        QCOMPARE(window->reg->text(), QString());
        QVERIFY(window->cp852->isChecked());
        QVERIFY(!window->maz->isChecked());
        QCOMPARE(window->geometry(), QRect(40, 50, 500, 480));
    }

    void lowerCaseNamesAreFound() {
        PutFile("[main]\r\nfe_epp_text=abc\r\nrb_852_checked=true\r\nNORMPOS=10,20,510,520\r\n");
        auto window = ShowMain();
        QCOMPARE(window->fe->text(), QString("abc"));
        QVERIFY(window->cp852->isChecked());
        QCOMPARE(window->geometry().topLeft(), QPoint(10, 20));
    }

    void negativeFormVersionRestoresNothing() {
        PutFile("[MAIN]\r\nFormVersion=-1\r\nFE_EPP_Text=abc\r\nShowCmd=3\r\n");
        auto window = ShowMain();
        QCOMPARE(window->fe->text(), QString());
        QVERIFY(!window->isMaximized());
        window->close();
        window.reset();
        QCOMPARE(Value("MAIN", "FormVersion"), "0");
        QCOMPARE(Value("MAIN", "FE_EPP_Text"), "");
    }

    void radioButtonValues_data() {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<bool>("checked852");
        QTest::addColumn<bool>("checkedMaz");
        QTest::newRow("yes") << QByteArray("RB_852_Checked=yes") << true << false;
        QTest::newRow("Y") << QByteArray("RB_852_Checked=Y") << true << false;
        QTest::newRow("1") << QByteArray("RB_852_Checked=1") << true << false;
        QTest::newRow("no") << QByteArray("RB_MAZ_Checked=no") << false << false;
        QTest::newRow("0") << QByteArray("RB_MAZ_Checked=0") << false << false;
        QTest::newRow("empty") << QByteArray("RB_MAZ_Checked=") << false << false;
        QTest::newRow("other word")
            << QByteArray("RB_MAZ_Checked=maybe\r\nRB_852_Checked=maybe") << false << true;
        QTest::newRow("852") << QByteArray("RB_852_Checked=TRUE\r\nRB_MAZ_Checked=FALSE") << true
                             << false;
        QTest::newRow("neither") << QByteArray("RB_852_Checked=FALSE\r\nRB_MAZ_Checked=FALSE")
                                 << false << false;
        QTest::newRow("both") << QByteArray("RB_852_Checked=TRUE\r\nRB_MAZ_Checked=TRUE") << false
                              << true;
    }
    void radioButtonValues() {
        QFETCH(QByteArray, entries);
        PutFile("[MAIN]\r\n" + entries + "\r\n");
        QFETCH(bool, checked852);
        QFETCH(bool, checkedMaz);
        auto window = ShowMain();
        QCOMPARE(window->cp852->isChecked(), checked852);
        QCOMPARE(window->maz->isChecked(), checkedMaz);
    }

    void aValueThatIsNoIntegerStopsTheRestore_data() {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<QString>("message");
        QTest::newRow("FormVersion")
            << QByteArray("FormVersion=v1") << "'v1' is not a valid integer value";
        QTest::newRow("Flags") << QByteArray("Flags=1.5") << "'1.5' is not a valid integer value";
        QTest::newRow("PixelsPerInch") << QByteArray("NormPos=1,2,3,4\r\nPixelsPerInch=x")
                                       << "'x' is not a valid integer value";
        QTest::newRow("ShowCmd") << QByteArray("ShowCmd=abc")
                                 << "'abc' is not a valid integer value";
    }
    void aValueThatIsNoIntegerStopsTheRestore() {
        QFETCH(QByteArray, entries);
        QFETCH(QString, message);
        PutFile("[MAIN]\r\n" + entries + "\r\nFE_EPP_Text=x\r\nRB_852_Checked=TRUE\r\n");
        BoxCloser closer;
        auto window = ShowMain();
        QCOMPARE(closer.texts, QStringList{message});
        QVERIFY(window->isVisible());
        QCOMPARE(window->fe->text(), QString());
        QVERIFY(window->maz->isChecked());
    }

    void anotherScreenScaleKeepsTheDesignPlacement() {
        PutFile("[MAIN]\r\nNormPos=30,40,530,540\r\nPixelsPerInch=" +
                QByteArray::number(CurrentPixelsPerInch() + 24) +
                "\r\nShowCmd=3\r\nFE_EPP_Text=x\r\n");
        auto window = ShowMain();
        QVERIFY(window->normalGeometry().topLeft() != QPoint(30, 40));
        QVERIFY(window->isMaximized());
        QCOMPARE(window->fe->text(), QString("x"));
    }

    void positionsFollowTheScreenSize() {
        const QByteArray suffix = CurrentSuffix().toLatin1();
        // The pair saved on this screen size wins over the plain keys; a pair of another size
        // stays in the file.
        PutFile("[MAIN]\r\nNormPos(1x1)=1,1,401,401\r\nNormPos" + suffix +
                "=60,70,560,570\r\nNormPos=5,5,505,505\r\n");
        auto window = ShowMain();
        QCOMPARE(window->geometry(), QRect(60, 70, 500, 500));
        window->close();
        window.reset();
        QCOMPARE(Value("MAIN", "NormPos(1x1)"), "1,1,401,401");
        QCOMPARE(Value("MAIN", "NormPos" + suffix), "60,70,560,570");

        // A layout left on a monitor that is gone comes to the screen there is, whole.
        PutFile("[MAIN]\r\nNormPos=50000,50000,50500,50500\r\n");
        window = ShowMain();
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        QCOMPARE(window->size(), QSize(500, 500));
    }

    void aPlacementFromABiggerScreenShowsWhole() {
        // Saved at 644,517 on 1280x1024: on a smaller screen only a corner would show.
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(available.width() < 1116 && available.height() < 983);
        const QByteArray saved = "644,517,1116,983";
        for (const QByteArray& section : {QByteArray("MAIN"), QByteArray("SPISFIRM")}) {
            PutFile("[" + section +
                    "]\r\nPixelsPerInch=" + QByteArray::number(CurrentPixelsPerInch()) +
                    "\r\nNormPos(1280x1024)=" + saved + "\r\nNormPos=" + saved + "\r\n");
            std::unique_ptr<QWidget> window;
            if (section == "MAIN") {
                window = ShowMain();
            } else {
                window = std::make_unique<PickerLikeDialog>(ini_);
                window->show();
            }
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            QVERIFY2(available.contains(window->frameGeometry()), section.constData());
            QCOMPARE(window->size(), QSize(472, 466));
            // Restoring changes nothing in the file: the bigger screen's pair stays as saved.
            window->hide();
            window->show();
            window.reset();
            QCOMPARE(Value(section, "NormPos(1280x1024)"), saved);
        }

        // Larger than the screen: as large as fits, its top-left corner on the screen.
        PutFile("[MAIN]\r\nNormPos=300,200,1500,1100\r\nPixelsPerInch=" +
                QByteArray::number(CurrentPixelsPerInch()) + "\r\n");
        auto window = ShowMain();
        QVERIFY(available.contains(window->frameGeometry()));
        QCOMPARE(window->frameGeometry().topLeft(), available.topLeft());
    }

    // Run by its own test with two offscreen screens, the second left of the primary.
    void aPlacementOnTwoScreens() {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (screens.size() < 2) {
            QSKIP("needs the two-screen offscreen configuration");
        }
        const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
        QRect left;
        for (const QScreen* screen : screens) {
            if (screen->geometry().x() < 0) {
                left = screen->availableGeometry();
            }
        }
        QVERIFY(left.isValid());
        const auto restored = [this](const QByteArray& normPos) {
            PutFile("[MAIN]\r\nPixelsPerInch=" + QByteArray::number(CurrentPixelsPerInch()) +
                    "\r\nNormPos=" + normPos + "\r\n");
            auto window = ShowMain();
            return std::pair{window->geometry(), window->frameGeometry()};
        };
        // Whole on the left screen: where it was.
        QCOMPARE(restored("-1000,100,-500,600").first, QRect(-1000, 100, 500, 500));
        // Partly off the left screen's left edge: moved onto it.
        const auto [inner, outer] = restored("-1400,50,-900,550");
        QVERIFY(left.contains(outer));
        QCOMPARE(outer.left(), left.left());
        QCOMPARE(inner.size(), QSize(500, 500));
        // Left on a screen that is gone: whole on the primary.
        const auto gone = restored("3000,100,3500,600");
        QVERIFY(primary.contains(gone.second));
        QCOMPARE(gone.first.size(), QSize(500, 500));
    }

    void showCommands() {
        PutFile("[MAIN]\r\nShowCmd=3\r\n");
        auto window = ShowMain();
        QVERIFY(window->isMaximized());
        window.reset();

        // A minimized main window minimizes the application once it has appeared.
        PutFile("[MAIN]\r\nShowCmd=6\r\n");
        window = ShowMain();
        QTRY_VERIFY(window->isMinimized());
        window->close();
        window.reset();
        QCOMPARE(Value("MAIN", "ShowCmd"), "2");
    }

    void eachSectionSurvivesTheOtherWindowsWrites() {
        PutFile("[MAIN]\r\nFE_EPP_Text=before\r\n[OTHER]\r\n; kept\r\nx=1\r\n");
        auto window = ShowMain();
        {
            PickerLikeDialog picker(ini_);
            picker.show();
            QCOMPARE(picker.minimumSize(), QSize(360, 310));
            QCOMPARE(picker.fileName->text(), QString("spisfirm.dat"));
            picker.fileName->setText("C:\\KPR\\spisfirm.dat");
            picker.accept();
        }
        QCOMPARE(Value("SPISFIRM", "FilenameEdit_FileName"), "C:\\KPR\\spisfirm.dat");
        QCOMPARE(Value("MAIN", "FE_EPP_Text"), "before");

        window->fe->setText("after");
        window->close();
        window.reset();
        QCOMPARE(Value("SPISFIRM", "FilenameEdit_FileName"), "C:\\KPR\\spisfirm.dat");
        QCOMPARE(Value("MAIN", "FE_EPP_Text"), "after");
        QCOMPARE(Value("OTHER", "x"), "1");

        PickerLikeDialog picker(ini_);
        picker.show();
        QCOMPARE(picker.fileName->text(), QString("C:\\KPR\\spisfirm.dat"));
    }

    void aReadOnlyFileIsReadButNeverWritten() {
        const QByteArray bytes = "[MAIN]\r\nFE_EPP_Text=kept\r\n";
        PutFile(bytes);
        QVERIFY(
            QFile::setPermissions(ini_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        auto window = ShowMain();
        QCOMPARE(window->fe->text(), QString("kept"));
        window->fe->setText("changed");
        window->close();
        QVERIFY(window->storage->WriteSettings());
        window.reset();
        QCOMPARE(FileBytes(), bytes);
    }

    void aWindowThatNeverCallsWindowDestroyingStillWrites() {
        {
            QWidget window;
            AddEdit(&window, "FE_EPP")->setText("closed");
            new FormStorage(&window, {"MAIN", {"FE_EPP.Text"}}, ini_);
            window.show();
            window.close();
        }
        QCOMPARE(Value("MAIN", "FE_EPP_Text"), "closed");
    }

    void aFailedWriteTellsTheUser() {
        QFile plain(programDir_.path() + "/plain");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString badPath = programDir_.path() + "/plain/trevo2KPR.INI";
        BoxCloser closer;
        {
            MainLikeWindow window(badPath);
            window.show();
            window.close();
            QVERIFY(!window.storage->WriteSettings());
        }
        QCOMPARE(closer.texts.size(), 2);
        QVERIFY(closer.texts[0].contains(badPath));
        QVERIFY(closer.texts[0].contains(QString::fromUtf8("część ścieżki nie jest katalogiem")));
    }
};

QTEST_MAIN(FormStorageTest)
#include "FormStorageTest.moc"
