#pragma once
// Gathers a run's summary while it goes: the run tells it of every document, and the period
// files tell it of every open and append.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "engine/ledger/BookedDocuments.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/Period.h"
#include "engine/ledger/PeriodWriteObserver.h"
#include "engine/mapping/DocumentFacts.h"
#include "engine/summary/RunSummary.h"
#include "engine/text/CurrencyFormat.h"
#include "engine/text/zdTransPL.h"

namespace trevo {

class SummaryBuilder final : public PeriodWriteObserver {
  public:
    SummaryBuilder(RunSummary& summary, std::string ledgerDir, PolishCharset ledgerCode,
                   const CurrencyFormat& money);

    // A line that reached the mapping, accepted or not.
    void Mapped(std::uint64_t line, const LedgerEntry& entry, const DocumentFacts& facts,
                bool accepted);
    // An accepted document about to be booked: its period file is listed even when booking
    // fails.
    void Booking(const LedgerEntry& entry);
    // An accepted document booked into its period file (or, checking only, counted).
    void Booked(const LedgerEntry& entry, const DocumentFacts& facts);
    // A non-empty line that is not a document's length.
    void OtherLength(std::uint64_t line, std::uint64_t length);
    RepeatedDocument Repeated(std::uint64_t line, const LedgerEntry& entry,
                              const BookedDocuments::Match& match, RepeatedDocument::Action action);

    // Fills in what the period files held before the run, when they were read.
    void Finish(RunOutcome outcome, std::int64_t documentCount, const BookedDocuments* booked);

    void PeriodOpened(const std::string& fileName, bool existedBefore,
                      std::uint64_t sizeAtOpen) override;
    void RecordWritten(const std::string& fileName, std::uint64_t offset, std::uint64_t sizeBefore,
                       std::string_view overwritten, std::string_view written) override;

  private:
    DocumentRef Ref(std::uint64_t line, const LedgerEntry& entry) const;
    PeriodSummary& PeriodOf(const LedgerEntry& entry);
    std::int64_t ShownUnits(double amount) const;

    RunSummary& summary_;
    std::string ledgerDir_;
    PolishCharset ledgerCode_;
    std::map<Period, std::size_t> periodIndex_;
    std::optional<Period> lastPeriod_;  // the period looked up last
    std::size_t lastIndex_ = 0;
    std::map<std::string, std::uint64_t> sizeNow_;  // by file name, as the run left it
    std::map<std::string, bool> existedBefore_;
    std::pair<const std::string, std::uint64_t>* current_ = nullptr;  // in sizeNow_
    // The period of the document being booked, until it is booked.
    std::optional<std::size_t> booking_;
};

}  // namespace trevo
