#include "engine/run/ConversionRun.h"

#include "engine/exportfile/ExportLineReader.h"
#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/mapping/DocumentMapper.h"
#include "engine/platform/TraceSink.h"
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

}  // namespace

std::string ExportOpenFailedMessage(const std::string& exportPath) {
    return FormatMessage(kExportOpenFailed, {exportPath});
}

RunResult RunConversion(const RunInputs& inputs, const RunServices& services) {
    TraceSink& trace = services.trace;
    RunResult result;

    const auto exportFile = services.fileSystem.OpenForReading(inputs.exportPath);
    if (!exportFile) {
        return result;
    }
    if (inputs.checkOnly) {
        trace.AppendLine(kCheckOnlyBanner);
    }
    trace.AppendLine(kStarting);

    ExportLineReader reader(*exportFile);
    PeriodFiles periods(services.fileSystem, inputs.ledgerDir, trace);
    DocumentMapper mapper({inputs.ledgerCode, inputs.attributeLetter, inputs.registerLetter}, trace,
                          services.clock, services.money);
    LedgerEntry entry;
    result.outcome = RunOutcome::Completed;

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
        if (!reader.IsDocumentLength() || !mapper.MapDocument(reader.Line(), entry)) {
            continue;
        }
        ++result.documentCount;
        if (inputs.checkOnly) {
            continue;
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
    }

    trace.AppendLine(FormatMessage(kCount, {result.documentCount}));
    trace.AppendLine(inputs.checkOnly ? kCheckOnlyEnd : kEnd);
    result.closeFailed = !periods.ClosePeriod();
    // Windows keeps other writers off an open export file; here a change is found afterwards.
    if (exportFile->ChangedSinceOpen()) {
        result.exportChanged = true;
        trace.AppendLine(FormatMessage(kExportChanged, {inputs.exportPath}));
    }
    if (result.outcome == RunOutcome::Interrupted) {
        // Every document counted was booked: an interruption comes only between documents.
        trace.AppendLine(FormatMessage(inputs.checkOnly ? kCheckInterrupted : kInterrupted,
                                       {result.documentCount}));
    }
    return result;
}

}  // namespace trevo
