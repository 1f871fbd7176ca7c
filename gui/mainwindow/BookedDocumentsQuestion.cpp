#include "gui/mainwindow/BookedDocumentsQuestion.h"

#include <QStringList>

#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace {

constexpr std::size_t kNumbersNamed = 5;

}  // namespace

QString BookedQuestionText(const BookedScan& scan) {
    QStringList numbers;
    for (std::size_t i = 0; i < scan.booked.size() && i < kNumbersNamed; ++i) {
        numbers << QStringLiteral("\"%1\"").arg(
            QStringFromWin1250(scan.booked[i].document.docNumber));
    }
    QString named = numbers.join(QStringLiteral(", "));
    if (scan.booked.size() > kNumbersNamed) {
        named += QStringLiteral(" i %1 innych").arg(scan.booked.size() - kNumbersNamed);
    }
    return QStringLiteral(
               "W KPR jest już %1 z %2 dokumentów tego eksportu (ten sam numer, NIP i data):\n"
               "%3\n\n"
               "Pominąć je?\n"
               "Tak - pomiń je, Nie - zaksięguj je ponownie, Anuluj - nic nie rób.")
        .arg(scan.booked.size())
        .arg(scan.documents)
        .arg(named);
}

}  // namespace trevo::gui
