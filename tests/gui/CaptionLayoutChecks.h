#pragma once
// What the windows' caption tests share: the font sizes they run at, and the check that no
// control covers another.

#include <QApplication>
#include <QFont>
#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QtTest>

namespace trevo::gui::test {

// The default font and two larger ones, as a user who enlarges the system's text has them.
inline void AddFontSizeRows() {
    QTest::addColumn<qreal>("enlarge");
    QTest::newRow("default font") << 1.0;
    QTest::newRow("larger font") << 1.5;
    QTest::newRow("much larger font") << 2.0;
}

// Runs `check` with the application's font enlarged by the row's factor, then puts it back.
template <typename Check>
void WithEnlargedFont(Check check) {
    QFETCH(qreal, enlarge);
    const QFont original = QApplication::font();
    QFont font = original;
    font.setPointSizeF(original.pointSizeF() * enlarge);
    QApplication::setFont(font);
    check();
    QApplication::setFont(original);
}

// Named rectangles in one coordinate system; none may intersect another.
inline void CheckNoneOverlaps(const QList<QPair<QString, QRect>>& controls) {
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            QVERIFY2(!controls[i].second.intersects(controls[j].second),
                     qPrintable(controls[i].first + " overlaps " + controls[j].first));
        }
    }
}

}  // namespace trevo::gui::test
