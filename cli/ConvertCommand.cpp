#include <cstdio>

#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "cli/ConvertArguments.h"
#include "cli/Diagnostic.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
#include "cli/OutputFile.h"
#include "cli/RunSignals.h"
#include "cli/TraceOutput.h"
#include "engine/files/FileSystem.h"
#include "engine/run/ConversionSession.h"
#include "engine/summary/SummaryJson.h"
#include "engine/summary/SummaryText.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

void PrintUtf8Error(const std::string& win1250) {
    PrintError(text::Win1250ToUtf8(win1250));
}

// One line on stderr for a document the ledger held before the run.
void ReportAlreadyBooked(const RepeatedDocument& document) {
    PrintError("trevo2kpr-cli convert: dokument \"" +
               text::Win1250ToUtf8(document.document.docNumber) + "\" (wiersz " +
               std::to_string(document.document.line) +
               ") jest już w KPR: " + text::Win1250ToUtf8(document.periodFile) + ", pozycja " +
               std::to_string(document.slot));
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args) {
    const auto parsed = ParseConvertArguments(args);
    if (std::holds_alternative<HelpRequested>(parsed)) {
        return PrintHelp(ConvertHelp());
    }
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        return ReportUsageError("convert", *error);
    }
    const auto& options = std::get<ConvertArguments>(parsed);
    FileSystem& fileSystem = LocalFileSystem();
    if (!options.checkOnly && !fileSystem.DirectoryExists(*options.ledgerDir)) {
        PrintError("trevo2kpr-cli convert: " +
                   LedgerDirectoryFailure(text::Win1250ToUtf8(*options.ledgerDir)));
        return kExitUsage;
    }
    // Judged before the run: a name the summary must not take books nothing.
    std::optional<SummaryJsonTarget> jsonTarget;
    if (options.summaryJson) {
        ProtectedFiles protect{text::Win1250ToUtf8(options.exportFile), std::nullopt};
        if (options.ledgerDir) {
            protect.ledgerDir = text::Win1250ToUtf8(*options.ledgerDir);
        }
        auto chosen = SummaryJsonTarget::Choose(*options.summaryJson, protect);
        if (const auto* refusal = std::get_if<std::string>(&chosen)) {
            return ReportUsageError(
                "convert", {"--summary-json \"" + *options.summaryJson + "\": " + *refusal});
        }
        jsonTarget.emplace(std::move(std::get<SummaryJsonTarget>(chosen)));
    }

    ConversionRequest request;
    RunInputs& inputs = request.inputs;
    inputs.exportPath = options.exportFile;
    inputs.ledgerDir = options.ledgerDir.value_or(std::string());
    inputs.ledgerCode = options.ledgerCode;
    inputs.checkOnly = options.checkOnly;
    inputs.attributeLetter = options.attributeLetter;
    inputs.registerLetter = options.registerLetter;
    inputs.skipBooked = options.skipBooked;

    const std::unique_ptr<OutputTraceSink> trace = TraceSinkFor(stdout);
    // Documents one by one only for a summary that shows them: memory stays flat otherwise.
    request.listDocuments = options.summary || options.summaryJson.has_value();
    const RunSignals runSignals;
    SessionPlatform platform{*trace, fileSystem};
    platform.stop = &runSignals.Stop();
    platform.alreadyBooked = [&trace](const RepeatedDocument& document) {
        trace->Flush();  // the warning follows the trace lines before it
        ReportAlreadyBooked(document);
    };
    const ConversionReport report = RunConversionSession(request, platform);
    const RunResult& result = report.run;
    const RunSummary& summary = report.summary;
    if (!report.journalLost.empty()) {
        PrintError(DiagnosticLine("convert", report.journalLost));
    }

    if (!report.exportOpenFailed.empty()) {
        // The trace's own line, then why, in a line of the command line's own.
        PrintUtf8Error(report.exportOpenFailed);
        const std::string path = text::Win1250ToUtf8(inputs.exportPath);
        const OpenFailure failure = DiagnoseOpenFailure(path, ExpectedKind::File);
        if (!failure.reason.empty()) {
            PrintError("trevo2kpr-cli convert: \"" + path + "\": " + failure.reason);
        }
        return kExitUsage;
    }
    if (options.summary) {
        for (const std::string& line : SummaryLines(summary, report.money)) {
            PrintError(text::Win1250ToUtf8(line));
        }
    }
    bool summaryWritten = true;
    if (jsonTarget) {
        std::string error;
        summaryWritten = jsonTarget->Write(SummaryJson(summary), error);
        if (!summaryWritten) {
            PrintError("trevo2kpr-cli convert: nie udało się zapisać \"" + *options.summaryJson +
                       "\": " + error);
        }
    }

    if (result.outcome == RunOutcome::Stopped) {
        return kExitStopped;
    }
    if (result.outcome == RunOutcome::Interrupted) {
        return ExitStatusForSignal(runSignals.Stop().load());
    }
    if (!report.traceWritten) {
        PrintError("trevo2kpr-cli convert: nie udało się zapisać śladu na standardowe wyjście");
        return kExitStopped;
    }
    // A period file that cannot be closed may not hold what was written to it; an export that
    // changed while it was read may have given fewer or mixed documents.
    if (result.closeFailed || result.exportChanged || !summaryWritten) {
        return kExitStopped;
    }
    return options.strict && summary.HasDocumentProblems() ? kExitStrict : kExitDone;
}

}  // namespace trevo::cli
