#include "engine/summary/SummaryText.h"

#include <cmath>

#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kTitle = " *** Podsumowanie ***"_w1250;
constexpr auto kPeriod =
    "Plik %s: rekordów przed %s, po %s; zaksięgowano dokumentów %d; netto %s; VAT %s"_w1250;
constexpr auto kPeriodCheck =
    "Plik %s: rekordów %s; do zaksięgowania dokumentów %d; netto %s; VAT %s"_w1250;
constexpr auto kPeriodCheckNoFile =
    "Plik %s: do zaksięgowania dokumentów %d; netto %s; VAT %s"_w1250;
constexpr auto kNoPeriods = "Nie zaksięgowano żadnego dokumentu"_w1250;
constexpr auto kRejected = "Odrzucone dokumenty: %d"_w1250;
constexpr auto kRejectedItem = "  wiersz %d: \"%s\" - %s"_w1250;
constexpr auto kUnreadable = "Dokumenty z wartością odczytaną jako zero: %d"_w1250;
constexpr auto kUnreadableItem = "  wiersz %d: \"%s\" - %s"_w1250;
constexpr auto kFieldColumns = "%s (kolumny %d-%d)"_w1250;
constexpr auto kBooked = "Dokumenty już zaksięgowane w KPR: %d"_w1250;
constexpr auto kBookedItem = "  wiersz %d: \"%s\" - %s, pozycja %d: %s"_w1250;
constexpr auto kReported = "tylko zgłoszony"_w1250;
constexpr auto kBookedAgain = "zaksięgowany ponownie"_w1250;
constexpr auto kSkipped = "pominięty"_w1250;
constexpr auto kNip = "NIP z błędną sumą kontrolną (ostrzeżenie): %d"_w1250;
constexpr auto kNipItem = "  wiersz %d: \"%s\" - NIP %s"_w1250;
constexpr auto kStopped = "Przebieg przerwany przed końcem pliku"_w1250;
constexpr auto kCounted =
    "Dokumenty przyjęte (wiersz \" *** Ilość dokumentów\"): %d; zapisane do KPR: %d; "
    "niezapisane z powodu błędu pliku okresu: %d"_w1250;
constexpr auto kCountedCheck =
    "Dokumenty przyjęte (wiersz \" *** Ilość dokumentów\"): %d; do zaksięgowania, nic nie "
    "zapisano"_w1250;
constexpr auto kNotBookedItem = "  plik %s: niezapisane dokumenty: %d"_w1250;
constexpr auto kOtherLength =
    "Wiersze o długości innej niż 510 znaków, pominięte bez śladu: %d"_w1250;
constexpr auto kOtherLengthItem = "  wiersz %d: %d znaków"_w1250;
constexpr auto kOtherLengthMore = "  i dalsze: %d"_w1250;

constexpr auto kDigest =
    "%s %d dok. w plikach: %d; odrzucone: %d; wartości zerowane: %d; już w KPR: %d; "
    "złe NIP: %d"_w1250;
constexpr auto kDigestNotBooked = "; NIE zapisano %d dok. (błąd pliku)"_w1250;
constexpr auto kDigestOtherLength = "; wiersze o złej długości: %d"_w1250;
constexpr auto kDigestBooked = "Zaksięgowano"_w1250;
constexpr auto kDigestChecked = "Sprawdzono"_w1250;
constexpr auto kDigestStopped = " - przebieg przerwany"_w1250;

std::string Count(const std::optional<std::uint64_t>& count) {
    return count ? std::to_string(*count) : std::string("?");
}

std::int64_t Size(std::size_t size) {
    return static_cast<std::int64_t>(size);
}

std::int64_t Line(std::uint64_t line) {
    return static_cast<std::int64_t>(line);
}

}  // namespace

std::string SummaryAmount(std::int64_t units, int decimals, const CurrencyFormat& money) {
    std::string text;
    AppendMoney(text, static_cast<double>(units) / std::pow(10.0, decimals), money);
    return text;
}

std::vector<std::string> SummaryLines(const RunSummary& s, const CurrencyFormat& money) {
    std::vector<std::string> lines;
    lines.emplace_back();
    lines.emplace_back(kTitle);
    if (s.outcome == RunOutcome::Stopped || s.outcome == RunOutcome::Interrupted) {
        lines.emplace_back(kStopped);
    }
    if (s.checkOnly) {
        lines.push_back(FormatMessage(kCountedCheck, {s.documentCount}));
    } else {
        lines.push_back(FormatMessage(
            kCounted, {s.documentCount, s.DocumentsBooked(), s.DocumentsNotBooked()}));
    }
    if (s.periods.empty()) {
        lines.emplace_back(kNoPeriods);
    }
    for (const PeriodSummary& p : s.periods) {
        const std::string netto = SummaryAmount(p.nettoUnits, s.decimals, money);
        const std::string vat = SummaryAmount(p.vatUnits, s.decimals, money);
        if (s.checkOnly && !p.recordsBefore) {
            // Checked without a ledger directory: no file was read.
            lines.push_back(
                FormatMessage(kPeriodCheckNoFile, {p.fileName, p.documents, netto, vat}));
        } else if (s.checkOnly) {
            lines.push_back(FormatMessage(
                kPeriodCheck, {p.fileName, Count(p.recordsBefore), p.documents, netto, vat}));
        } else {
            lines.push_back(
                FormatMessage(kPeriod, {p.fileName, Count(p.recordsBefore), Count(p.recordsAfter),
                                        p.documents, netto, vat}));
        }
    }
    for (const PeriodSummary& p : s.periods) {
        if (p.documentsNotBooked != 0) {
            lines.push_back(FormatMessage(kNotBookedItem, {p.fileName, p.documentsNotBooked}));
        }
    }
    lines.push_back(FormatMessage(kOtherLength, {s.otherLengthLineCount}));
    for (const OtherLengthLine& o : s.otherLengthLines) {
        lines.push_back(FormatMessage(kOtherLengthItem, {Line(o.line), Line(o.length)}));
    }
    if (s.otherLengthLineCount > Size(s.otherLengthLines.size())) {
        lines.push_back(FormatMessage(kOtherLengthMore,
                                      {s.otherLengthLineCount - Size(s.otherLengthLines.size())}));
    }
    lines.push_back(FormatMessage(kRejected, {s.rejectedCount}));
    for (const RejectedDocument& r : s.rejected) {
        lines.push_back(
            FormatMessage(kRejectedItem, {Line(r.document.line), r.document.docNumber, r.reason}));
    }
    lines.push_back(FormatMessage(kUnreadable, {s.unreadableCount}));
    for (const UnreadableDocument& u : s.unreadable) {
        std::string fields;
        for (const export_columns::Columns& c : u.fields) {
            if (!fields.empty()) {
                fields += ", ";
            }
            AppendMessage(fields, kFieldColumns, {FieldOfColumns(c), c.from, c.to});
        }
        lines.push_back(
            FormatMessage(kUnreadableItem, {Line(u.document.line), u.document.docNumber, fields}));
    }
    lines.push_back(FormatMessage(kBooked, {s.alreadyBookedCount}));
    for (const RepeatedDocument& b : s.alreadyBooked) {
        using Action = RepeatedDocument::Action;
        const std::string_view action = b.action == Action::Skipped       ? kSkipped
                                        : b.action == Action::BookedAgain ? kBookedAgain
                                                                          : kReported;
        lines.push_back(FormatMessage(kBookedItem, {Line(b.document.line), b.document.docNumber,
                                                    b.periodFile, std::int64_t{b.slot}, action}));
    }
    lines.push_back(FormatMessage(kNip, {s.nipWarningCount}));
    for (const NipWarning& n : s.nipWarnings) {
        lines.push_back(
            FormatMessage(kNipItem, {Line(n.document.line), n.document.docNumber, n.nip}));
    }
    return lines;
}

std::string SummaryDigest(const RunSummary& s) {
    const std::int64_t documents = s.checkOnly ? s.documentCount : s.DocumentsBooked();
    std::string digest = FormatMessage(
        kDigest, {s.checkOnly ? kDigestChecked : kDigestBooked, documents, Size(s.periods.size()),
                  s.rejectedCount, s.unreadableCount, s.alreadyBookedCount, s.nipWarningCount});
    if (s.DocumentsNotBooked() != 0) {
        AppendMessage(digest, kDigestNotBooked, {s.DocumentsNotBooked()});
    }
    if (s.otherLengthLineCount != 0) {
        AppendMessage(digest, kDigestOtherLength, {s.otherLengthLineCount});
    }
    if (s.outcome == RunOutcome::Stopped || s.outcome == RunOutcome::Interrupted) {
        digest += kDigestStopped;
    }
    return digest;
}

}  // namespace trevo
