#include "engine/run/ConversionRun.h"

#include <optional>
#include <vector>

#include "engine/exportfile/ExportLineReader.h"
#include "engine/files/FileSystem.h"
#include "engine/ledger/BookedDocuments.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/mapping/DocumentMapper.h"
#include "engine/platform/TraceSink.h"
#include "engine/summary/SummaryBuilder.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kCheckOnlyBanner = " *** Procedura sprawdzająca (BEZ ZAPISU ) ***"_w1250;
constexpr auto kStarting = " *** Rozpoczynam konwersję ..."_w1250;
constexpr auto kPhysicalEnd = "\r\nOsiągnięto fizyczny koniec pliku "_w1250;
constexpr auto kReadFailed = "io Błąd odczytu z pliku "_w1250;
constexpr auto kPeriodFailed = " * błąd otwarcia okresu *"_w1250;
constexpr auto kCount = " *** Ilość dokumentów %d"_w1250;
constexpr auto kCheckOnlyEnd = " *** Koniec procedury sprawdzającej (BEZ ZAPISU ) ***"_w1250;
constexpr auto kEnd = " *** Koniec przetwarzania ***"_w1250;
constexpr auto kExportOpenFailed = "Błąd otwarcia pliku epp \"%s\""_w1250;
// Lines of this system's own, after the run's closing line.
constexpr auto kExportChanged = "Plik epp \"%s\" zmienił się w trakcie odczytu !"_w1250;
constexpr auto kInterrupted = " *** Konwersja przerwana, zapisano dokumentów: %d"_w1250;
constexpr auto kCheckInterrupted = " *** Sprawdzanie przerwane, sprawdzono dokumentów: %d"_w1250;
constexpr auto kChangedSinceAsked =
    "Plik %s zmienił się od pytania o dokumenty już zaksięgowane - konwersję zatrzymano"_w1250;

constexpr auto kSkipped = "* Dokument nr \"%s\" jest już w KPR (%s, pozycja %d) - pominięty"_w1250;

// Holds a document's trace lines until it is known whether they are wanted: a document that
// is skipped as booked before shows one line instead. Lines come through at once while nothing
// is held.
class DocumentLines final : public TraceSink {
  public:
    explicit DocumentLines(TraceSink& target) : target_(target) {}
    void AppendLine(std::string_view line) override {
        if (!holding_) {
            target_.AppendLine(line);
            return;
        }
        if (held_ == lines_.size()) {
            lines_.emplace_back();
        }
        lines_[held_++].assign(line);
    }
    void Hold() { holding_ = true; }
    void Pass() {
        for (std::size_t i = 0; i < held_; ++i) {
            target_.AppendLine(lines_[i]);
        }
        held_ = 0;
        holding_ = false;
    }
    void Drop() {
        held_ = 0;
        holding_ = false;
    }

  private:
    TraceSink& target_;
    std::vector<std::string> lines_;  // kept from document to document, with their buffers
    std::size_t held_ = 0;
    bool holding_ = false;
};

}  // namespace

std::string ExportOpenFailedMessage(const std::string& exportPath) {
    return FormatMessage(kExportOpenFailed, {exportPath});
}

RunResult RunConversion(const RunInputs& inputs, const RunServices& services) {
    TraceSink& trace = services.trace;
    RunResult result;

    auto opened = services.fileSystem.OpenForReading(inputs.exportPath);
    if (!opened) {
        return result;
    }
    const std::unique_ptr<InputFile> exportFile = *std::move(opened);
    if (inputs.checkOnly) {
        trace.AppendLine(kCheckOnlyBanner);
    }
    trace.AppendLine(kStarting);

    ExportLineReader reader(*exportFile);
    DocumentLines documentLines(trace);
    const bool skipBooked = inputs.skipBooked && !inputs.checkOnly;
    // A period file that fails to open while a document's lines are held reports after them.
    PeriodFiles periods(services.fileSystem, inputs.ledgerDir,
                        skipBooked ? static_cast<TraceSink&>(documentLines) : trace);
    DocumentMapper mapper({inputs.ledgerCode, inputs.attributeLetter, inputs.registerLetter},
                          skipBooked ? static_cast<TraceSink&>(documentLines) : trace,
                          services.clock, services.money);
    LedgerEntry entry;
    DocumentFacts facts;
    result.outcome = RunOutcome::Completed;

    // Documents booked before are looked for in the ledger directory. A writing run reads each
    // period file through its own open, under the lock between runs, before it writes there:
    // no other run or undo comes between what it found and what it books.
    std::optional<BookedDocuments> booked;
    if ((services.summary != nullptr || skipBooked) && !inputs.ledgerDir.empty() &&
        (!inputs.checkOnly || services.fileSystem.DirectoryExists(inputs.ledgerDir))) {
        booked.emplace(services.fileSystem, inputs.ledgerDir,
                       inputs.checkOnly ? nullptr : services.bookedAsAsked);
        if (!inputs.checkOnly) {
            periods.SetGuard(*booked);
            periods.AddObserver(*booked);
        }
    }
    const bool guardUnderLock = booked && !inputs.checkOnly;
    std::optional<SummaryBuilder> summary;
    if (services.summary != nullptr) {
        const bool listDocuments = services.summary->listDocuments;
        *services.summary = RunSummary{};
        services.summary->listDocuments = listDocuments;
        services.summary->checkOnly = inputs.checkOnly;
        services.summary->skipBooked = skipBooked;
        summary.emplace(*services.summary, inputs.ledgerDir, inputs.ledgerCode, services.money);
        periods.AddObserver(*summary);
    }
    if (services.journal != nullptr && !inputs.checkOnly) {
        periods.AddObserver(*services.journal);
    }
    DocumentFacts* const factsWanted = summary ? &facts : nullptr;
    std::uint64_t lineNumber = 0;

    for (;;) {
        if (services.progress) {
            services.progress->LineDone(reader.BytesConsumed(), exportFile->SizeAtOpen(),
                                        result.documentCount);
        }
        // After the progress report, where a window would take a click on Cancel.
        if (services.stop != nullptr && services.stop->load(std::memory_order_relaxed) != 0) {
            result.outcome = RunOutcome::Interrupted;
            break;
        }
        trace.AppendLine({});
        const auto status = reader.ReadExportLine();
        if (status == ExportLineReader::Status::EndOfInput) {
            trace.AppendLine(kPhysicalEnd);
            break;
        }
        if (status == ExportLineReader::Status::ReadError) {
            trace.AppendLine(kReadFailed);
            result.outcome = RunOutcome::Stopped;
            break;
        }
        ++lineNumber;
        if (!reader.IsDocumentLength()) {
            // Passed over without a trace line, as ever; the summary lists it, so that a
            // document cut short or split by a stray line end is never missing unnoticed.
            if (summary && reader.LineLength() != 0) {
                summary->OtherLength(lineNumber, reader.LineLength());
            }
            continue;
        }
        if (skipBooked) {
            documentLines.Hold();
        }
        const bool accepted = mapper.MapDocument(reader.Line(), entry, factsWanted);
        if (summary) {
            summary->Mapped(lineNumber, entry, facts, accepted);
        }
        if (!accepted) {
            documentLines.Pass();
            continue;
        }
        if (guardUnderLock && !periods.OpenPeriod(entry.entryDate.year, entry.entryDate.month)) {
            documentLines.Pass();
            ++result.documentCount;
            if (summary) {
                summary->Booking(entry);
            }
            trace.AppendLine(kPeriodFailed);
            result.outcome = RunOutcome::Stopped;
            break;
        }
        if (booked) {
            if (const auto match = booked->Find(entry)) {
                using Action = RepeatedDocument::Action;
                const Action action = inputs.checkOnly ? Action::Reported
                                      : skipBooked     ? Action::Skipped
                                                       : Action::BookedAgain;
                if (summary) {
                    const RepeatedDocument repeated =
                        summary->Repeated(lineNumber, entry, *match, action);
                    if (services.alreadyBooked) {
                        services.alreadyBooked(repeated);
                    }
                }
                if (action == Action::Skipped) {
                    documentLines.Drop();
                    trace.AppendLine(FormatMessage(
                        kSkipped, {ToWin1250(entry.docNumber.View(), inputs.ledgerCode),
                                   match->periodFile, std::int64_t{match->slot}}));
                    continue;
                }
            }
        }
        documentLines.Pass();
        ++result.documentCount;
        if (inputs.checkOnly) {
            if (summary) {
                summary->Booked(entry, facts);
            }
            continue;
        }
        if (summary) {
            summary->Booking(entry);
        }
        if (!periods.OpenPeriod(entry.entryDate.year, entry.entryDate.month)) {
            trace.AppendLine(kPeriodFailed);
            result.outcome = RunOutcome::Stopped;
            break;
        }
        if (!periods.AppendEntry(entry)) {
            result.outcome = RunOutcome::Stopped;
            break;
        }
        if (summary) {
            summary->Booked(entry, facts);
        }
    }

    trace.AppendLine(FormatMessage(kCount, {result.documentCount}));
    trace.AppendLine(inputs.checkOnly ? kCheckOnlyEnd : kEnd);
    result.closeFailed = !periods.ClosePeriod();
    // Windows keeps other writers off an open export file; here a change is found afterwards.
    if (exportFile->ChangedSinceOpen()) {
        result.exportChanged = true;
        trace.AppendLine(FormatMessage(kExportChanged, {inputs.exportPath}));
    }
    if (booked) {
        result.periodFilesRead = booked->StatesBefore();
        result.changedSinceAsked = booked->ChangedSinceAsked();
        if (!result.changedSinceAsked.empty()) {
            trace.AppendLine(FormatMessage(kChangedSinceAsked, {result.changedSinceAsked}));
        }
    }
    if (result.outcome == RunOutcome::Interrupted) {
        // Every document counted was booked: an interruption comes only between documents.
        trace.AppendLine(FormatMessage(inputs.checkOnly ? kCheckInterrupted : kInterrupted,
                                       {result.documentCount}));
    }
    if (summary) {
        summary->Finish(result.outcome, result.documentCount, booked ? &*booked : nullptr);
    }
    return result;
}

}  // namespace trevo
