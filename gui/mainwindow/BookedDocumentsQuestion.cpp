#include "gui/mainwindow/BookedDocumentsQuestion.h"

#include <QStringList>

#include "engine/platform/TraceSink.h"
#include "engine/text/CurrencyFormat.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace {

constexpr std::size_t kNumbersNamed = 5;

class NoTrace final : public TraceSink {
  public:
    void AppendLine(std::string_view) override {}
};

}  // namespace

BookedScan ScanForBookedDocuments(const RunInputs& inputs, FileSystem& fileSystem,
                                  const Clock& clock) {
    RunInputs check = inputs;
    check.checkOnly = true;
    check.skipBooked = false;
    NoTrace trace;
    const CurrencyFormat money;
    RunSummary summary;
    RunServices services{trace, fileSystem, clock, money};
    services.summary = &summary;
    const RunResult result = RunConversion(check, services);
    BookedScan scan;
    scan.documents = result.documentCount;
    scan.booked = std::move(summary.alreadyBooked);
    scan.files = result.periodFilesRead;
    return scan;
}

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
