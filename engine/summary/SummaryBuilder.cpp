#include "engine/summary/SummaryBuilder.h"

#include <cmath>

#include "engine/ledger/PeriodFiles.h"
#include "engine/mapping/NipChecksum.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kBadType = "błędny TYP(8)=%d"_w1250;
constexpr auto kBadDate = "błędna data %d-%d-%d"_w1250;

}  // namespace

const char* FieldOfColumns(export_columns::Columns c) {
    namespace col = export_columns;
    struct Named {
        col::Columns columns;
        const char* name;
    };
    static constexpr Named kNames[] = {
        {col::kDocumentDate, "entryDate"},
        {col::kKprCode, "kprCode"},
        {col::kNettoKpr, "nettoKpr"},
        {col::kMarker, "docFlags"},
        {col::kDocumentType, "TYP(8)"},
        {col::kNetto1, "netto1"},
        {col::kNetto2, "netto2"},
        {col::kNetto3, "netto3"},
        {col::kNetto4, "netto4"},
        {col::kNetto5, "netto5"},
        {col::kNetto7, "netto7"},
        {col::kVat1, "vat1"},
        {col::kVat2, "vat2"},
        {col::kVat3, "vat3"},
        {col::kVat5, "vat5"},
        {col::kNettoOther, "nettoOther"},
        {col::kSecondDate, "auxDate"},
    };
    for (const Named& named : kNames) {
        if (named.columns.from == c.from && named.columns.to == c.to) {
            return named.name;
        }
    }
    return "?";
}

SummaryBuilder::SummaryBuilder(RunSummary& summary, std::string ledgerDir, PolishCharset ledgerCode,
                               const CurrencyFormat& money)
    : summary_(summary), ledgerDir_(std::move(ledgerDir)), ledgerCode_(ledgerCode) {
    summary_.decimals = money.decimals;
}

DocumentRef SummaryBuilder::Ref(std::uint64_t line, const LedgerEntry& entry) const {
    return {line, ToWin1250(entry.docNumber.View(), ledgerCode_)};
}

std::int64_t SummaryBuilder::ShownUnits(double amount) const {
    if (const auto units = trevo::ShownUnits(amount, summary_.decimals)) {
        return *units;
    }
    // Beyond what the trace shows as digits: an amount beyond any sum that makes sense.
    return std::isfinite(amount) ? std::llround(amount * std::pow(10.0, summary_.decimals)) : 0;
}

PeriodSummary& SummaryBuilder::PeriodOf(const LedgerEntry& entry) {
    const Period key = Period::Of(entry.entryDate);
    // Documents mostly follow one another in one month: the last one is looked up first.
    if (key == lastPeriod_) {
        return summary_.periods[lastIndex_];
    }
    const auto [found, added] = periodIndex_.try_emplace(key, summary_.periods.size());
    if (added) {
        PeriodSummary period;
        period.fileName =
            ledgerDir_.empty() ? PeriodFileBaseName(key) : PeriodFileName(ledgerDir_, key);
        summary_.periods.push_back(std::move(period));
    }
    lastPeriod_ = key;
    lastIndex_ = found->second;
    return summary_.periods[found->second];
}

void SummaryBuilder::Mapped(std::uint64_t line, const LedgerEntry& entry,
                            const DocumentFacts& facts, bool accepted) {
    const bool list = summary_.listDocuments;
    if (!facts.unreadable.empty()) {
        ++summary_.unreadableCount;
        if (list) {
            summary_.unreadable.push_back({Ref(line, entry), facts.unreadable});
        }
    }
    if (!accepted) {
        ++summary_.rejectedCount;
        if (!list) {
            return;
        }
        std::string reason;
        if (facts.rejection == DocumentFacts::Rejection::BadType) {
            reason = FormatMessage(kBadType, {facts.type});
        } else {
            const RmdDate& d = entry.entryDate;
            reason =
                FormatMessage(kBadDate, {unsigned{d.day}, unsigned{d.month}, unsigned{d.year}});
        }
        summary_.rejected.push_back({Ref(line, entry), std::move(reason)});
        return;
    }
    if (!facts.foreignPrefix && !entry.nip.Empty() && !NipChecksumValid(entry.nip.View())) {
        ++summary_.nipWarningCount;
        if (list) {
            summary_.nipWarnings.push_back(
                {Ref(line, entry), ToWin1250(entry.nip.View(), ledgerCode_)});
        }
    }
}

std::int64_t RunSummary::DocumentsBooked() const {
    std::int64_t booked = 0;
    for (const PeriodSummary& period : periods) {
        booked += checkOnly ? 0 : period.documents;
    }
    return booked;
}

std::int64_t RunSummary::DocumentsNotBooked() const {
    std::int64_t notBooked = 0;
    for (const PeriodSummary& period : periods) {
        notBooked += period.documentsNotBooked;
    }
    return notBooked;
}

void SummaryBuilder::Booking(const LedgerEntry& entry) {
    PeriodSummary& period = PeriodOf(entry);
    booking_ = static_cast<std::size_t>(&period - summary_.periods.data());
}

void SummaryBuilder::OtherLength(std::uint64_t line, std::uint64_t length) {
    ++summary_.otherLengthLineCount;
    if (summary_.otherLengthLines.size() < RunSummary::kOtherLengthLinesListed) {
        summary_.otherLengthLines.push_back({line, length});
    }
}

void SummaryBuilder::Booked(const LedgerEntry& entry, const DocumentFacts& facts) {
    booking_.reset();
    PeriodSummary& period = PeriodOf(entry);
    ++period.documents;
    period.nettoUnits += ShownUnits(facts.nettoSum);
    period.vatUnits += ShownUnits(facts.vatSum);
}

RepeatedDocument SummaryBuilder::Repeated(std::uint64_t line, const LedgerEntry& entry,
                                          const BookedDocuments::Match& match,
                                          RepeatedDocument::Action action) {
    RepeatedDocument repeated{Ref(line, entry), match.periodFile, match.slot, action};
    ++summary_.alreadyBookedCount;
    if (summary_.listDocuments) {
        summary_.alreadyBooked.push_back(repeated);
    }
    return repeated;
}

void SummaryBuilder::PeriodOpened(const std::string& fileName, bool existedBefore,
                                  std::uint64_t sizeAtOpen) {
    existedBefore_.try_emplace(fileName, existedBefore);
    current_ = &*sizeNow_.insert_or_assign(fileName, sizeAtOpen).first;
}

void SummaryBuilder::RecordWritten(const std::string& fileName, std::uint64_t offset,
                                   std::uint64_t sizeBefore, std::string_view,
                                   std::string_view written) {
    // Records go to the period file opened last: its entry is kept at hand.
    if (current_ == nullptr || current_->first != fileName) {
        current_ = &*sizeNow_.try_emplace(fileName).first;
    }
    current_->second = std::max(sizeBefore, offset + written.size());
}

void SummaryBuilder::Finish(RunOutcome outcome, std::int64_t documentCount,
                            const BookedDocuments* booked) {
    summary_.outcome = outcome;
    summary_.documentCount = documentCount;
    if (booking_) {
        ++summary_.periods[*booking_].documentsNotBooked;
        booking_.reset();
    }
    for (const auto& [key, index] : periodIndex_) {
        PeriodSummary& period = summary_.periods[index];
        if (booked != nullptr) {
            if (const auto before = booked->StateBefore(key)) {
                period.existedBefore = before->existed;
                period.recordsBefore = before->records;
                period.partBytesBefore = before->partBytes;
            }
        }
        if (const auto existed = existedBefore_.find(period.fileName);
            existed != existedBefore_.end() && !period.existedBefore) {
            period.existedBefore = existed->second;
        }
        if (const auto size = sizeNow_.find(period.fileName); size != sizeNow_.end()) {
            period.recordsAfter = size->second / LedgerEntry::kSize;
        } else if (summary_.checkOnly) {
            period.recordsAfter = period.recordsBefore;
        }
    }
}

}  // namespace trevo
