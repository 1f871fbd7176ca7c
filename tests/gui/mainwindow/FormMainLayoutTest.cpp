// The main window as the user meets it: controls, texts, hints, geometry, keyboard order, the
// hint switch, the letter boxes and the code page buttons.

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "gui/mainwindow/frm_Main.h"
#include "gui/widgets/ButtonEdit.h"
#include "gui/widgets/FormScale.h"
#include "tests/gui/CaptionLayoutChecks.h"
#include "tests/gui/mainwindow/FormMainTestSupport.h"

using namespace trevo::gui;
using namespace trevo::gui::test;

namespace {

// The control of `window` that holds `widget` (a box's inner line edit belongs to the box).
QString ControlName(const QWidget& window, QWidget* widget) {
    static const QStringList controls = {"de_KPR",   "FE_EPP", "ch_sprawdz", "Edit_Atrybut",
                                         "Edit_REJ", "RB_MAZ", "RB_852",     "MemoTrace"};
    for (QWidget* w = widget; w != nullptr && w != &window; w = w->parentWidget()) {
        if (controls.contains(w->objectName())) {
            return w->objectName();
        }
    }
    return widget ? "<" + widget->objectName() + ">" : "<none>";
}

bool ShowsToolTip(QWidget* widget) {
    QToolTip::hideText();
    // Hiding takes a moment.
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) {
        return true;
    }
    const QPoint pos = widget->rect().center();
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible();
}

struct ExpectedAction {
    const char* action;
    const char* caption;
    const char* hint;
    const char* key;
    const char* button;
};

const ExpectedAction kActions[] = {
    {"act_Konwert", "Konwersja", "Konwersja danych ze standardu VAT_R.TXT \"vrs\" 2 KPR", "Ctrl+R",
     "tk_KOnwersja"},
    {"Act_FirmyKPR", "Firmy KPR", "Ułatwia wybranie katalogu firmy z KPR", "Ctrl+F", "ToolButton3"},
    {"act_Help", "Włącza dymki podpowiedzi", "Włącza dymki podpowiedzi", "F1", "tb_Help"},
    {"act_WyczyscTrace", "Wyczyść", "Czyści pole śledzenia", "Ctrl+L", "tb_ClearTrace"},
    {"act_Close", "Koniec", "Kończy pracę programu", "Ctrl+Q", "tb_koniec"},
    {"act_Cofnij", "Cofnij ostatnią konwersję", "Cofa ostatnią konwersję do katalogu danych KPR",
     "Ctrl+Shift+C", "tb_Cofnij"},
};

// `widget`'s rectangle in the coordinates of `top`.
QRect RectIn(const QWidget* widget, const QWidget* top) {
    return QRect(widget->mapTo(top, QPoint(0, 0)), widget->size());
}

// What a caption needs: a label's text, a check box's or radio button's box and text.
int CaptionWidthNeeded(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin();
    }
    return control->sizeHint().width();
}

// Every caption whole and no control over another, for a window made with the application's
// current font.
void CheckCaptionsFitAndNothingOverlaps() {
    TFormMain window(FreshSettingsPath());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* top = window.findChild<QWidget*>("PanelTop");
    QVERIFY(top != nullptr);

    for (const char* name :
         {"Label1", "Label2", "Label3", "Label4", "ch_sprawdz", "RB_MAZ", "RB_852"}) {
        auto* control = window.findChild<QWidget*>(name);
        QVERIFY2(control != nullptr, name);
        QVERIFY2(CaptionWidthNeeded(control) <= control->width(),
                 qPrintable(QString("%1 clipped: needs %2, has %3")
                                .arg(name)
                                .arg(CaptionWidthNeeded(control))
                                .arg(control->width())));
        QVERIFY2(control->fontMetrics().height() <= control->height(), name);
        // Inside the top panel, not cut at its edges.
        QVERIFY2(top->rect().contains(RectIn(control, top)), name);
    }

    // The controls a user sees and reads, toolbar buttons included; none covers another.
    QList<QPair<QString, QRect>> controls;
    for (const char* name : {"Label1", "de_KPR", "Label2", "FE_EPP", "ch_sprawdz", "RB_MAZ",
                             "RB_852", "Label3", "Edit_Atrybut", "Label4", "Edit_REJ"}) {
        controls.append({name, RectIn(window.findChild<QWidget*>(name), top)});
    }
    for (QToolButton* button :
         window.findChild<QToolBar*>("ToolBar1")->findChildren<QToolButton*>()) {
        if (button->isVisible() && button->defaultAction() != nullptr) {
            controls.append({button->objectName(), RectIn(button, top)});
        }
    }
    CheckNoneOverlaps(controls);
}

// The window fits the screen's free area at any font size; the trace pane gives way first, and
// every control can be brought into view.
void CheckFitsTheScreenAndEveryControlIsReachable() {
    TFormMain window(FreshSettingsPath());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QRect free = window.screen()->availableGeometry();
    const QSize design = window.Scale().Size(472, 466);
    QVERIFY2(window.minimumWidth() <= free.width() && window.minimumHeight() <= free.height(),
             qPrintable(QString("minimum %1x%2 on %3x%4")
                            .arg(window.minimumWidth())
                            .arg(window.minimumHeight())
                            .arg(free.width())
                            .arg(free.height())));
    QVERIFY(window.frameGeometry().width() <= free.width());
    QVERIFY(window.frameGeometry().height() <= free.height());
    if (design.width() <= free.width() && design.height() + 40 <= free.height()) {
        QCOMPARE(window.size(), design);
        QCOMPARE(window.minimumSize(), design);
    }
    auto* scroll = window.findChild<QScrollArea*>("PanelTopScroll");
    auto* top = window.findChild<QWidget*>("PanelTop");
    // The controls keep their whole height while the trace pane can give way.
    QVERIFY(scroll->viewport()->height() >= top->height());
    QVERIFY(window.findChild<QWidget*>("MemoTrace")->height() > 0);

    const QRect view(scroll->viewport()->mapTo(&window, QPoint(0, 0)), scroll->viewport()->size());
    for (const char* name :
         {"Label1", "de_KPR", "Label2", "FE_EPP", "ch_sprawdz", "RB_MAZ", "Label3", "Edit_Atrybut",
          "Label4", "Edit_REJ", "tk_KOnwersja", "tb_Cofnij"}) {
        auto* control = window.findChild<QWidget*>(name);
        if (control->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel*>(control)) {
            control->setFocus(Qt::TabFocusReason);  // brings it into view
            QTRY_VERIFY(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()));
        } else {
            scroll->ensureWidgetVisible(control, 0, 0);
        }
        QVERIFY2(view.contains(RectIn(control, &window)), name);
    }
}

}  // namespace

class FormMainLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void windowCaptionAndSize() {
        TFormMain window(FreshSettingsPath());
        QCOMPARE(window.objectName(), QString("FormMain"));
        QCOMPARE(window.windowTitle(), QString("TREVO 2ORMEK  | w 2008.01.28"));
        // The design's size, scaled to the window's font; never smaller than the design.
        QCOMPARE(window.size(), window.Scale().Size(472, 466));
        QCOMPARE(window.minimumSize(), window.Scale().Size(472, 466));
        QVERIFY(window.width() >= 472 && window.height() >= 466);
    }

    void controlsHaveTheirGeometryTextsAndHints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        const QRect any;  // filled by layout; labels give only their position
        QTest::newRow("ToolBar1") << "ToolBar1" << QRect(1, 1, 462, 29) << ""
                                  << "";
        QTest::newRow("Label1") << "Label1" << QRect(8, 32, 0, 0) << "Katalog danych KPR"
                                << "";
        QTest::newRow("de_KPR") << "de_KPR" << QRect(8, 48, 209, 21) << ""
                                << "tj. katalog firmy do której importujemy dane";
        QTest::newRow("Label2") << "Label2" << QRect(232, 32, 0, 0) << "Plik Exp2Kap.kpm"
                                << "";
        QTest::newRow("FE_EPP") << "FE_EPP" << QRect(232, 48, 209, 21) << ""
                                << "tj. wybranie/ wskazanie jego lokalizacji\n"
                                   "Odczytywane są dane z wersji \"format danych:comma\"";
        QTest::newRow("ch_sprawdz") << "ch_sprawdz" << QRect() << "tylko sprawdź"
                                    << "Przeprowadza konwersję bez zapisu danych na dysk";
        QTest::newRow("Panel_PL") << "Panel_PL" << QRect(8, 72, 137, 25) << ""
                                  << "";
        QTest::newRow("RB_MAZ") << "RB_MAZ" << QRect(3, 4, 65, 17) << "MAZovia"
                                << "Polskie litery w KPR_ZD PL=MAZ";
        QTest::newRow("RB_852") << "RB_852" << QRect(75, 4, 57, 17) << "CP852"
                                << "Polskie litery w KPR_ZD PL=852";
        QTest::newRow("Label3") << "Label3" << QRect(12, 98, 0, 0) << "Atrybut KPR"
                                << "atrybut dokumentu w kpr";
        QTest::newRow("Edit_Atrybut") << "Edit_Atrybut" << QRect(72, 96, 17, 21) << ""
                                      << "Litera grupująca Atr(x) w KPR";
        QTest::newRow("Label4") << "Label4" << QRect(110, 98, 0, 0) << "Rejestr( )"
                                << "identyfikator rejestru";
        QTest::newRow("Edit_REJ") << "Edit_REJ" << QRect(168, 96, 17, 21) << ""
                                  << "Literka identyfikacyjna GrupaR(x) w KPR";
        QTest::newRow("MemoTrace") << "MemoTrace" << any << ""
                                   << "Okienko wyników pracy i przebiegu operacji";
    }

    void controlsHaveTheirGeometryTextsAndHints() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        TFormMain window(FreshSettingsPath());
        auto* control = window.findChild<QWidget*>(name);
        QVERIFY(control != nullptr);
        const FormScale& scale = window.Scale();
        if (geometry.width() > 0) {
            QCOMPARE(control->geometry(),
                     scale.Rect(geometry.x(), geometry.y(), geometry.width(), geometry.height()));
        } else if (geometry.topLeft() != QPoint()) {
            // Labels size themselves.
            QCOMPARE(control->pos(), QPoint(scale.X(geometry.x()), scale.Y(geometry.y())));
        }
        QCOMPARE(
            control->property("text").isValid() ? control->property("text").toString() : QString(),
            text);
        QCOMPARE(control->toolTip(), hint);
    }

    void checkBoxGrowsToTheLeftToShowItsCaption() {
        TFormMain window(FreshSettingsPath());
        auto* box = window.findChild<QCheckBox*>("ch_sprawdz");
        const QRect design = window.Scale().Rect(353, 29, 84, 17);
        QCOMPARE(box->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(box->y(), design.y());
        QCOMPARE(box->height(), design.height());
        QCOMPARE(box->x() + box->width(), design.x() + design.width());
        QCOMPARE(box->width(), std::max(design.width(), box->sizeHint().width()));
    }

    void designStateAndPanelsFillTheWindow() {
        TFormMain window(FreshSettingsPath());
        window.show();
        QVERIFY(window.findChild<QRadioButton*>("RB_MAZ")->isChecked());
        QVERIFY(!window.findChild<QRadioButton*>("RB_852")->isChecked());
        QVERIFY(!window.findChild<QCheckBox*>("ch_sprawdz")->isChecked());
        QVERIFY(!window.HintsOn());
        QVERIFY(TraceLines(window).isEmpty());
        QCOMPARE(window.DocumentCount(), 0);

        auto* top = window.findChild<QWidget*>("PanelTop");
        auto* main = window.findChild<QWidget*>("PanelMain");
        auto* left = window.findChild<QWidget*>("Panel_Main_LEft");
        auto* memo = window.findChild<TracePane*>("MemoTrace");
        auto* status = window.findChild<QStatusBar*>("StatusBar");
        const FormScale& scale = window.Scale();
        const int width = scale.Width(472);
        const int height = scale.Height(466);
        QCOMPARE(top->geometry(), QRect(0, 0, width, scale.Height(129)));
        QCOMPARE(status->geometry(), QRect(0, height - scale.Height(19), width, scale.Height(19)));
        QCOMPARE(main->geometry(),
                 QRect(0, scale.Height(129), width, height - scale.Height(129) - scale.Height(19)));
        QCOMPARE(left->geometry(), main->rect());
        QCOMPARE(memo->geometry(), left->rect().adjusted(3, 3, -3, -3));
        // Lines are not wrapped: a wide one scrolls sideways.
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!status->findChild<QLabel*>("OwnerLine")->text().isEmpty());

        window.resize(width + 300, height + 100);
        QCOMPARE(memo->width(), width + 300 - 6);
    }

    void actionsAndToolbar() {
        TFormMain window(FreshSettingsPath());
        for (const ExpectedAction& e : kActions) {
            auto* action = window.findChild<QAction*>(e.action);
            QVERIFY2(action != nullptr, e.action);
            QCOMPARE(action->text(), QString(e.caption));
            // The hint names the action's key.
            QCOMPARE(action->toolTip(), QString("%1 (%2)").arg(e.hint, e.key));
            QCOMPARE(action->shortcut(), QKeySequence(QString(e.key)));
            QVERIFY(!action->icon().isNull());
            auto* button = window.findChild<QToolButton*>(e.button);
            QVERIFY2(button != nullptr, e.button);
            QCOMPARE(button->defaultAction(), action);
            QCOMPARE(button->width(), window.Scale().Width(25));
        }

        // Left to right: button, separator, button, separator, two buttons, separator, button;
        // then, after a separator, the undo button.
        QStringList order;
        for (QAction* action : window.findChild<QToolBar*>("ToolBar1")->actions()) {
            order << (action->isSeparator() ? "|" : action->objectName());
        }
        QCOMPARE(order, QStringList({"act_Konwert", "|", "Act_FirmyKPR", "|", "act_Help",
                                     "act_WyczyscTrace", "|", "act_Close", "|", "act_Cofnij"}));
        for (const char* name :
             {"ToolSeparator1", "ToolSeparator2", "ToolSeparator3", "ToolSeparator4"}) {
            auto* separator = window.findChild<QWidget*>(name);
            QVERIFY2(separator != nullptr, name);
            QCOMPARE(separator->width(), window.Scale().Width(13));
        }
    }

    void noCaptionIsClippedOrCovered_data() { AddFontSizeRows(); }

    void noCaptionIsClippedOrCovered() { WithEnlargedFont(CheckCaptionsFitAndNothingOverlaps); }

    void windowFitsTheScreenAndEveryControlIsReachable_data() { AddFontSizeRows(); }

    void windowFitsTheScreenAndEveryControlIsReachable() {
        WithEnlargedFont(CheckFitsTheScreenAndEveryControlIsReachable);
    }

    void everyControlIsNamedForScreenReaders() {
        TFormMain window(FreshSettingsPath());
        window.show();
        struct Expected {
            QWidget* control;
            QAccessible::Role role;
            QString name;
        };
        const auto box = [&window](const char* name) {
            return window.findChild<ButtonEdit*>(name);
        };
        const auto control = [&window](const char* name) {
            return window.findChild<QWidget*>(name);
        };
        const Expected expected[] = {
            {box("de_KPR")->lineEdit(), QAccessible::EditableText, "Katalog danych KPR"},
            {box("de_KPR")->browseButton(), QAccessible::Button, "Wybierz katalog danych KPR"},
            {box("FE_EPP")->lineEdit(), QAccessible::EditableText, "Plik Exp2Kap.kpm"},
            {box("FE_EPP")->browseButton(), QAccessible::Button, "Wybierz plik Exp2Kap.kpm"},
            {control("ch_sprawdz"), QAccessible::CheckBox, "tylko sprawdź"},
            {control("RB_MAZ"), QAccessible::RadioButton, "MAZovia"},
            {control("RB_852"), QAccessible::RadioButton, "CP852"},
            {control("Edit_Atrybut"), QAccessible::EditableText, "Atrybut KPR"},
            {control("Edit_REJ"), QAccessible::EditableText, "Rejestr( )"},
            {control("MemoTrace"), QAccessible::EditableText,
             "Okienko wyników pracy i przebiegu operacji"},
            {control("tk_KOnwersja"), QAccessible::Button, "Konwersja"},
            {control("tb_Cofnij"), QAccessible::Button, "Cofnij ostatnią konwersję"},
        };
        for (const Expected& e : expected) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(e.control);
            QVERIFY(accessible != nullptr);
            QCOMPARE(accessible->role(), e.role);
            QCOMPARE(accessible->text(QAccessible::Name), e.name);
        }
        // The labels lead to their boxes.
        QCOMPARE(window.findChild<QLabel*>("Label3")->buddy(), control("Edit_Atrybut"));

        // The code page buttons say which is checked and can be pressed.
        QAccessibleInterface* maz = QAccessible::queryAccessibleInterface(control("RB_MAZ"));
        QAccessibleInterface* cp852 = QAccessible::queryAccessibleInterface(control("RB_852"));
        QVERIFY(maz->state().checkable);
        QVERIFY(maz->state().checked);
        QVERIFY(!cp852->state().checked);
        cp852->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(window.LedgerCode(), trevo::PolishCharset::pcCp852);
        QVERIFY(cp852->state().checked);
        QVERIFY(!maz->state().checked);
    }

    void everyActionHasItsKeyAlsoWhileABoxHasTheFocus() {
        UserContacts user;
        FormMainHooks hooks = user.Hooks();
        int pickerCalls = 0;
        hooks.pickCompanyDirectory = [&](QWidget*, const QString&,
                                         trevo::PolishCharset) -> std::optional<QString> {
            ++pickerCalls;
            return std::nullopt;
        };
        TFormMain window(FreshSettingsPath(), hooks);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QMap<QString, int> triggered;
        for (const ExpectedAction& e : kActions) {
            auto* action = window.findChild<QAction*>(e.action);
            connect(action, &QAction::triggered, this,
                    [&triggered, name = QString(e.action)] { ++triggered[name]; });
        }
        auto* box = window.findChild<ButtonEdit*>("de_KPR")->lineEdit();
        box->setFocus();
        QVERIFY(QTest::qWaitFor([box] { return box->hasFocus(); }));
        for (const ExpectedAction& e : kActions) {
            if (QString(e.action) == "act_Close") {
                continue;  // last
            }
            const QKeySequence key(QString(e.key));
            QTest::keySequence(box, key);
            QVERIFY2(triggered.value(e.action) == 1, e.action);
        }
        QCOMPARE(user.beeps, 2);  // Convert without an export file, undo without a directory
        QCOMPARE(pickerCalls, 1);
        QVERIFY(window.HintsOn());
        QCOMPARE(box->text(), QString());  // no key reached the box
        QTest::keySequence(box, QKeySequence(QString("Ctrl+Q")));
        QVERIFY(!window.isVisible());
    }

    void tabOrderStopsAtTheCheckedCodePage() {
        TFormMain window(FreshSettingsPath());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto walk = [&window] {
            window.findChild<ButtonEdit*>("de_KPR")->setFocus();
            QStringList seen{ControlName(window, QApplication::focusWidget())};
            for (int i = 0; i < 7; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                seen << ControlName(window, QApplication::focusWidget());
            }
            return seen;
        };
        QCOMPARE(walk(), QStringList({"de_KPR", "FE_EPP", "ch_sprawdz", "Edit_Atrybut", "Edit_REJ",
                                      "RB_MAZ", "MemoTrace", "de_KPR"}));
        window.findChild<QRadioButton*>("RB_852")->setChecked(true);
        QCOMPARE(walk(), QStringList({"de_KPR", "FE_EPP", "ch_sprawdz", "Edit_Atrybut", "Edit_REJ",
                                      "RB_852", "MemoTrace", "de_KPR"}));
    }

    void f1SwitchesHintsAndHoldsTheHelpButtonDown() {
        TFormMain window(FreshSettingsPath());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* rej = window.findChild<QWidget*>("Edit_REJ");
        auto* konwert = window.findChild<QToolButton*>("tk_KOnwersja");
        auto* help = window.findChild<QToolButton*>("tb_Help");
        QVERIFY(!ShowsToolTip(rej));
        QVERIFY(!ShowsToolTip(konwert));

        QTest::keyClick(&window, Qt::Key_F1);
        QVERIFY(window.HintsOn());
        QVERIFY(help->isChecked());
        QVERIFY(ShowsToolTip(rej));
        QVERIFY(ShowsToolTip(konwert));
        // The hint of a box shows over its inner line edit as well.
        QVERIFY(ShowsToolTip(window.findChild<ButtonEdit*>("FE_EPP")->lineEdit()));

        QTest::keyClick(&window, Qt::Key_F1);
        QVERIFY(!window.HintsOn());
        QVERIFY(!help->isChecked());
        QVERIFY(!ShowsToolTip(rej));

        help->click();
        QVERIFY(window.HintsOn());
        QVERIFY(help->isChecked());
    }

    void letterBoxesTakeOneCharacter() {
        TFormMain window(FreshSettingsPath());
        for (const char* name : {"Edit_Atrybut", "Edit_REJ"}) {
            auto* box = window.findChild<QLineEdit*>(name);
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString("Ż"), Qt::NoModifier);
            QTest::keyClicks(box, "xy");
            QCOMPARE(box->text(), QString("Ż"));
        }
    }

    void codePageButtonsExcludeEachOtherButMayBothBeOff() {
        TFormMain window(FreshSettingsPath());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* maz = window.findChild<QRadioButton*>("RB_MAZ");
        auto* cp852 = window.findChild<QRadioButton*>("RB_852");
        QCOMPARE(window.LedgerCode(), trevo::PolishCharset::pcMazovia);

        QTest::mouseClick(cp852, Qt::LeftButton);
        QVERIFY(cp852->isChecked());
        QVERIFY(!maz->isChecked());
        QCOMPARE(window.LedgerCode(), trevo::PolishCharset::pcCp852);

        // A click on the checked button keeps it checked.
        QTest::mouseClick(cp852, Qt::LeftButton);
        QVERIFY(cp852->isChecked());

        // What the settings layer does: the plain property, in its restore order.
        cp852->setProperty("checked", false);
        QVERIFY(!cp852->isChecked());
        QVERIFY(!maz->isChecked());
        QCOMPARE(window.LedgerCode(), trevo::PolishCharset::pcCp852);
        cp852->setProperty("checked", true);
        maz->setProperty("checked", true);
        QVERIFY(maz->isChecked());
        QVERIFY(!cp852->isChecked());

        // The arrow keys move to the other button and check it.
        maz->setFocus();
        QTest::keyClick(maz, Qt::Key_Right);
        QVERIFY(cp852->isChecked());
        QVERIFY(!maz->isChecked());
        QCOMPARE(QApplication::focusWidget(), cp852);
    }

    void labelClickAndActionOpenThePicker() {
        UserContacts user;
        FormMainHooks hooks = user.Hooks();
        QStringList calls;
        trevo::PolishCharset codePage{};
        bool fail = false;
        hooks.pickCompanyDirectory =
            [&](QWidget*, const QString& dir,
                trevo::PolishCharset ledgerCode) -> std::optional<QString> {
            calls << dir;
            codePage = ledgerCode;
            if (fail) {
                throw std::runtime_error("picker failed");
            }
            return dir == "cancel" ? std::nullopt : std::optional<QString>("/kpr/FIRMA2");
        };
        TFormMain window(FreshSettingsPath(), hooks);
        window.show();
        auto* dir = window.findChild<ButtonEdit*>("de_KPR");
        dir->setText("/kpr/FIRMA1");
        window.findChild<QRadioButton*>("RB_852")->setChecked(true);

        QTest::mouseClick(window.findChild<QLabel*>("Label1"), Qt::LeftButton);
        QCOMPARE(calls, QStringList{"/kpr/FIRMA1"});
        QCOMPARE(codePage, trevo::PolishCharset::pcCp852);
        QCOMPARE(dir->text(), QString("/kpr/FIRMA2"));

        dir->setText("cancel");
        window.findChild<QToolButton*>("ToolButton3")->click();
        QCOMPARE(dir->text(), QString("cancel"));

        fail = true;
        window.findChild<QAction*>("Act_FirmyKPR")->trigger();
        QCOMPARE(calls.size(), 3);
        QCOMPARE(dir->text(), QString("cancel"));
        QVERIFY(user.errors.isEmpty());  // errors around the picker are swallowed
    }
};

QTEST_MAIN(FormMainLayoutTest)
#include "FormMainLayoutTest.moc"
