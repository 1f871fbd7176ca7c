#include "engine/run/ConversionSession.h"

#include <optional>

#include "engine/files/FileSystem.h"
#include "engine/journal/RunJournal.h"
#include "engine/platform/Clock.h"
#include "engine/platform/TraceSink.h"
#include "engine/platform/UserLocaleCurrencyFormat.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kJournalLost =
    "Nie udało się zapisać dziennika przebiegu w katalogu danych KPR - tego przebiegu nie da się "
    "cofnąć"_w1250;
constexpr auto kChangedSinceAsked =
    "Plik %s zmienił się od pytania o dokumenty już zaksięgowane (zapisał do niego inny program "
    "lub przebieg). Konwersję zatrzymano przed zapisem do niego; uruchom ją ponownie, aby "
    "odpowiedzieć na pytanie jeszcze raz."_w1250;

}  // namespace

ConversionReport RunConversionSession(const ConversionRequest& request,
                                      const SessionPlatform& platform) {
    const RunInputs& inputs = request.inputs;
    ConversionReport report;
    report.summary.listDocuments = request.listDocuments;
    const SystemClock systemClock;
    const Clock& clock = platform.clock != nullptr ? *platform.clock : systemClock;
    report.money = platform.money != nullptr ? *platform.money : CurrencyFormatFromUserLocale();
    // Every writing run keeps a journal in the ledger directory, so that it can be undone.
    std::optional<RunJournal> journal;
    if (!inputs.checkOnly) {
        journal.emplace(platform.fileSystem, inputs.ledgerDir, inputs.exportPath, clock.Now());
    }
    RunServices services{platform.trace, platform.fileSystem, clock, report.money,
                         platform.progress};
    services.stop = platform.stop;
    services.summary = &report.summary;
    services.journal = journal ? &*journal : nullptr;
    services.alreadyBooked = platform.alreadyBooked;
    services.bookedAsAsked = request.bookedAsAsked;
    report.run = RunConversion(inputs, services);
    // A trace that did not reach its reader is a failed run, whatever was booked.
    report.traceWritten = platform.trace.Flush();
    report.journalKept = !journal || journal->Finish();

    if (!report.journalKept) {
        report.journalLost = std::string(kJournalLost);
    }
    if (report.run.outcome == RunOutcome::ExportNotOpened) {
        report.exportOpenFailed = ExportOpenFailedMessage(inputs.exportPath);
    }
    if (!report.run.changedSinceAsked.empty()) {
        report.changedSinceAsked =
            FormatMessage(kChangedSinceAsked, {report.run.changedSinceAsked});
    }
    return report;
}

}  // namespace trevo
