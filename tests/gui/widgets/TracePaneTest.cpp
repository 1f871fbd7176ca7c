// The trace pane as the user meets it: where lines break, following the end while a run
// writes, reading only, selecting with the keyboard and the mouse, copying, and long traces.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "gui/widgets/TracePane.h"

using trevo::gui::TracePane;

namespace {

QString Numbered(int from, int count) {
    QStringList lines;
    for (int i = from; i < from + count; ++i) {
        lines << QString("linia %1").arg(i);
    }
    return lines.join(u'\n');
}

// A shown pane of a fixed size with the focus, as in the window.
class ShownPane {
  public:
    ShownPane() {
        pane.resize(300, 200);
        pane.show();
        pane.activateWindow();
        pane.setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
    }
    QScrollBar& Bar() { return *pane.verticalScrollBar(); }
    TracePane pane;
};

void Wheel(QWidget* target, QPoint angle, Qt::KeyboardModifiers modifiers) {
    const QPointF at = target->rect().center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

int DarkPixels(const QImage& image) {
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            dark += qGray(image.pixel(x, y)) < 128;
        }
    }
    return dark;
}

}  // namespace

class TracePaneTest : public QObject {
    Q_OBJECT

  private slots:
    void linesBreakAsInATextBox() {
        TracePane pane;
        QCOMPARE(pane.LineCount(), 0);
        QCOMPARE(pane.toPlainText(), QString());
        pane.AppendLines("a\r\nb\rc\nd");  // CR LF is one break, a lone CR is one too
        pane.AppendLines("");              // every batch starts a line of its own
        pane.AppendLines(QString("e") + QChar(0x2029) + "f" + QChar(0x2028) + "g\n");
        QCOMPARE(pane.LineCount(), 9);
        QCOMPARE(pane.toPlainText(), QString("a\nb\nc\nd\n\ne\nf\ng\n"));
        QCOMPARE(pane.Line(3), QString("d"));
        QCOMPARE(pane.Line(8), QString());
        pane.AppendLines(QString(5000, u'x'));  // far wider than the pane: never wrapped
        QCOMPARE(pane.LineCount(), 10);
        pane.ClearLines();
        QCOMPARE(pane.LineCount(), 0);
        pane.AppendLines("");  // a leading empty line is a line
        QCOMPARE(pane.LineCount(), 1);
    }

    void followsTheEndOnlyWhileShowingIt() {
        ShownPane shown;
        shown.pane.AppendLines(Numbered(0, 1000));
        QVERIFY(shown.Bar().maximum() > 0);
        QCOMPARE(shown.Bar().value(), shown.Bar().maximum());
        shown.Bar().setValue(10);
        shown.pane.AppendLines(Numbered(1000, 1000));
        QCOMPARE(shown.Bar().value(), 10);  // the user is reading: the view stays
        shown.Bar().setValue(shown.Bar().maximum());
        shown.pane.AppendLines(Numbered(2000, 10));
        QCOMPARE(shown.Bar().value(), shown.Bar().maximum());
        // The last line can be scrolled to the bottom of the view, not beyond.
        QCOMPARE(shown.Bar().maximum(), shown.pane.LineCount() - shown.Bar().pageStep());
        shown.pane.ClearLines();
        QCOMPARE(shown.Bar().maximum(), 0);
    }

    void typingChangesNothing() {
        ShownPane shown;
        shown.pane.AppendLines("abc\ndef");
        QTest::keyClick(&shown.pane, Qt::Key_X);
        QTest::keyClick(&shown.pane, Qt::Key_Backspace);
        QTest::keyClick(&shown.pane, Qt::Key_Delete);
        QTest::keyClick(&shown.pane, Qt::Key_Return);
        QApplication::clipboard()->setText("pasted");
        QTest::keySequence(&shown.pane, QKeySequence::Paste);
        QCOMPARE(shown.pane.toPlainText(), QString("abc\ndef"));
    }

    void keyboardMovesSelectsAndCopies() {
        ShownPane shown;
        shown.pane.AppendLines(QString("pierwsza linia\ndruga\ntrzecia") + QChar(QChar::Nbsp) +
                               "linia");
        QTest::keyClick(&shown.pane, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(&shown.pane, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(shown.pane.SelectedText(), QString("pierwsza "));
        QTest::keyClick(&shown.pane, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&shown.pane, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(shown.pane.SelectedText(), QString("pierwsza linia\ndruga"));
        QTest::keySequence(&shown.pane, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QString("pierwsza linia\ndruga"));
        // A move without Shift drops the selection; copying then leaves the clipboard alone.
        QTest::keyClick(&shown.pane, Qt::Key_Left);
        QCOMPARE(shown.pane.SelectedText(), QString());
        QTest::keySequence(&shown.pane, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QString("pierwsza linia\ndruga"));
        // Whole text, with the no-break space handed out as a plain one.
        QTest::keySequence(&shown.pane, QKeySequence::SelectAll);
        QCOMPARE(shown.pane.SelectedText(), QString("pierwsza linia\ndruga\ntrzecia linia"));
        QCOMPARE(shown.pane.toPlainText(), shown.pane.SelectedText());
    }

    void keyboardScrollsALongTrace() {
        ShownPane shown;
        shown.pane.AppendLines(Numbered(0, 5000));
        QTest::keyClick(&shown.pane, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(shown.Bar().value(), 0);
        QTest::keyClick(&shown.pane, Qt::Key_PageDown);
        QCOMPARE(shown.Bar().value(), shown.Bar().pageStep());
        QTest::keyClick(&shown.pane, Qt::Key_PageDown, Qt::ShiftModifier);
        QVERIFY(shown.pane.SelectedText().startsWith("linia " +
                                                     QString::number(shown.Bar().pageStep())));
        QTest::keyClick(&shown.pane, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(shown.Bar().value(), shown.Bar().maximum());
        QTest::keyClick(&shown.pane, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(shown.pane.SelectedText(), QString("\nlinia 4999"));  // same column, line above
    }

    void mouseSelectsLinesAndWords() {
        ShownPane shown;
        shown.pane.AppendLines("alfa beta\ngamma delta\nepsilon");
        QWidget* view = shown.pane.viewport();
        const int row = QFontMetrics(shown.pane.font()).lineSpacing();
        const QPoint firstLineStart(1, 4 + row / 2);
        const QPoint thirdLineEnd(view->width() - 2, 4 + 2 * row + row / 2);
        QTest::mousePress(view, Qt::LeftButton, {}, firstLineStart);
        QTest::mouseMove(view, thirdLineEnd);
        QTest::mouseRelease(view, Qt::LeftButton, {}, thirdLineEnd);
        QCOMPARE(shown.pane.SelectedText(), shown.pane.toPlainText());

        const QPoint onGamma(QFontMetrics(shown.pane.font()).horizontalAdvance("gam") + 4,
                             4 + row + row / 2);
        QTest::mouseDClick(view, Qt::LeftButton, {}, onGamma);
        QCOMPARE(shown.pane.SelectedText(), QString("gamma"));
        QTest::mouseClick(view, Qt::LeftButton, {}, onGamma);  // third click: the whole line
        QCOMPARE(shown.pane.SelectedText(), QString("gamma delta\n"));
    }

    // Row pitch, margins and scroll range as in the read-only text box the pane stands for.
    void looksLikeAReadOnlyTextBox() {
        QPlainTextEdit box;
        box.setReadOnly(true);
        box.setLineWrapMode(QPlainTextEdit::NoWrap);
        box.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        TracePane pane;
        const QString lines = Numbered(0, 60) + "\n\tZażółć gęślą jaźń \"ŁÓDŹ\"";
        box.setPlainText(lines);
        pane.AppendLines(lines);
        for (QAbstractScrollArea* view :
             {static_cast<QAbstractScrollArea*>(&box), static_cast<QAbstractScrollArea*>(&pane)}) {
            view->resize(300, 200);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
        }
        QCOMPARE(pane.verticalScrollBar()->maximum(), box.verticalScrollBar()->maximum());
        QCOMPARE(pane.verticalScrollBar()->pageStep(), box.verticalScrollBar()->pageStep());
        for (int value : {0, 1, pane.verticalScrollBar()->maximum()}) {
            box.verticalScrollBar()->setValue(value);
            pane.verticalScrollBar()->setValue(value);
            QCOMPARE(pane.viewport()->grab().toImage(), box.viewport()->grab().toImage());
        }
    }

    void showsOnlyWhatIsInView() {
        ShownPane shown;
        QCOMPARE(DarkPixels(shown.pane.viewport()->grab().toImage()), 0);
        shown.pane.AppendLines(Numbered(0, 200'000));
        QCOMPARE(shown.pane.LineCount(), 200'000);
        QVERIFY(DarkPixels(shown.pane.viewport()->grab().toImage()) > 0);
        shown.Bar().setValue(shown.Bar().maximum() / 2);
        QVERIFY(DarkPixels(shown.pane.viewport()->grab().toImage()) > 0);
        QCOMPARE(shown.pane.Line(199'999), QString("linia 199999"));
    }

    // A summary line wider than the pane: a scroll bar, the wheel sideways and the cursor keys
    // reach its end, and what is drawn moves with them.
    void longLinesScrollSideways() {
        ShownPane shown;
        TracePane& pane = shown.pane;
        QScrollBar& across = *pane.horizontalScrollBar();
        pane.AppendLines(Numbered(0, 5));
        QCOMPARE(across.maximum(), 0);
        QVERIFY(!across.isVisible());

        // Far below the view, among many short lines: known without being drawn.
        const QString wide =
            "Plik /kpr/FIRMA1/2024ORMEK.3: " + QString("netto 1 234,56 zł; ").repeated(20);
        pane.AppendLines(Numbered(5, 100'000) + "\n" + wide + "\n" + Numbered(200'000, 10));
        QVERIFY(across.maximum() >=
                pane.fontMetrics().horizontalAdvance(wide) - pane.viewport()->width());
        QTRY_VERIFY(across.isVisible());
        // The view that followed the end still shows it above the scroll bar that appeared.
        QCOMPARE(shown.Bar().value(), shown.Bar().maximum());

        const QImage left = pane.viewport()->grab().toImage();
        const int down = shown.Bar().value();
        Wheel(pane.viewport(), QPoint(0, -120), Qt::ShiftModifier);
        QVERIFY(across.value() > 0);
        QCOMPARE(shown.Bar().value(), down);  // sideways only
        QVERIFY(pane.viewport()->grab().toImage() != left);
        Wheel(pane.viewport(), QPoint(120, 0), Qt::NoModifier);  // a tilting wheel or touchpad
        QCOMPARE(across.value(), 0);

        // The cursor keys: the view follows the cursor to the end of the wide line.
        pane.SetSelectionOffsets(0, 0);
        QTest::keyClick(&pane, Qt::Key_End, Qt::ControlModifier);
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(&pane, Qt::Key_Up);
        }
        const auto [start, end] = pane.LineSpanAt(pane.CursorOffset());
        QCOMPARE(pane.TextBetween(start, end), wide + "\n");
        QTest::keyClick(&pane, Qt::Key_End);
        QCOMPARE(across.value(), across.maximum());
        QTest::keyClick(&pane, Qt::Key_Home);
        QCOMPARE(across.value(), 0);

        // A line wider than its length suggests widens the range once it is drawn.
        pane.ClearLines();
        QCOMPARE(across.maximum(), 0);
        pane.AppendLines(QString(80, u'i') + "\n" + QString(60, u'W'));
        pane.viewport()->repaint();
        QTRY_VERIFY(across.maximum() >= pane.fontMetrics().horizontalAdvance(QString(60, u'W')) -
                                            pane.viewport()->width());
    }

    void screenReadersGetTheTextItsLinesCursorAndSelection() {
        ShownPane shown;
        TracePane& pane = shown.pane;
        pane.setToolTip("Okienko wyników pracy i przebiegu operacji");
        pane.AppendLines("Pierwsza linia\r\nDruga\nżółć");
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&pane);
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->role(), QAccessible::EditableText);
        QVERIFY(accessible->state().readOnly);
        QVERIFY(accessible->state().multiLine);
        QCOMPARE(accessible->text(QAccessible::Name), pane.toolTip());
        QCOMPARE(accessible->text(QAccessible::Value), QString("Pierwsza linia\nDruga\nżółć"));

        QAccessibleTextInterface* text = accessible->textInterface();
        QVERIFY(text != nullptr);
        QCOMPARE(text->characterCount(), 25);
        QCOMPARE(text->text(9, 20), QString("linia\nDruga"));
        int start = -1;
        int end = -1;
        QCOMPARE(text->textAtOffset(17, QAccessible::LineBoundary, &start, &end),
                 QString("Druga\n"));
        QCOMPARE(start, 15);
        QCOMPARE(end, 21);
        // At its break the offset is still on the line.
        QCOMPARE(text->textAtOffset(14, QAccessible::LineBoundary, &start, &end),
                 QString("Pierwsza linia\n"));
        QCOMPARE(start, 0);
        QCOMPARE(text->textAtOffset(23, QAccessible::LineBoundary, &start, &end), QString("żółć"));
        QCOMPARE(end, 25);
        QCOMPARE(text->textAtOffset(2, QAccessible::WordBoundary, &start, &end),
                 QString("Pierwsza"));

        // The keyboard moves the cursor the reader follows; a selection made there reads back.
        QCOMPARE(text->cursorPosition(), 0);
        QTest::keyClick(&pane, Qt::Key_Down);
        QCOMPARE(text->cursorPosition(), 15);
        QTest::keyClick(&pane, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(text->selectionCount(), 1);
        text->selection(0, &start, &end);
        QCOMPARE(start, 15);
        QCOMPARE(end, 20);
        text->setSelection(0, 21, 25);
        QCOMPARE(pane.SelectedText(), QString("żółć"));
        text->removeSelection(0);
        QCOMPARE(text->selectionCount(), 0);

        // Characters have places on the screen, and places lead back to them.
        const QRect box = text->characterRect(16);
        QVERIFY(!box.isEmpty());
        QCOMPARE(text->offsetAtPoint(box.center() - QPoint(box.width() / 4, 0)), 16);

        pane.ClearLines();
        QCOMPARE(text->characterCount(), 0);
        QCOMPARE(accessible->text(QAccessible::Value), QString());
    }
};

QTEST_MAIN(TracePaneTest)
#include "TracePaneTest.moc"
