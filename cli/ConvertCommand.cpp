#include <cstdio>

#include "cli/Commands.h"
#include "cli/ConvertArguments.h"
#include "cli/Help.h"
#include "cli/Utf8TraceSink.h"
#include "engine/files/FileSystem.h"
#include "engine/platform/Clock.h"
#include "engine/run/ConversionRun.h"
#include "engine/platform/UserLocaleCurrencyFormat.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

void PrintUtf8Error(const std::string& win1250) {
    std::fprintf(stderr, "%s\n", text::Win1250ToUtf8(win1250).c_str());
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
        std::fprintf(stderr, "trevo2kpr-cli convert: katalog danych KPR \"%s\" nie istnieje\n",
                     text::Win1250ToUtf8(*options.ledgerDir).c_str());
        return kExitUsage;
    }

    RunInputs inputs;
    inputs.exportPath = options.exportFile;
    inputs.ledgerDir = options.ledgerDir.value_or(std::string());
    inputs.ledgerCode = options.ledgerCode;
    inputs.checkOnly = options.checkOnly;
    inputs.attributeLetter = options.attributeLetter;
    inputs.registerLetter = options.registerLetter;

    Utf8TraceSink trace(stdout);
    const SystemClock clock;
    const CurrencyFormat money = CurrencyFormatFromUserLocale();
    const RunResult result = RunConversion(inputs, {trace, fileSystem, clock, money});
    // A trace that did not reach its reader is a failed run, whatever was booked.
    const bool traceWritten = trace.Flush();

    switch (result.outcome) {
        case RunOutcome::ExportNotOpened:
            PrintUtf8Error(ExportOpenFailedMessage(inputs.exportPath));
            return kExitUsage;
        case RunOutcome::Stopped:
            return kExitStopped;
        case RunOutcome::Completed:
            break;
    }
    if (!traceWritten) {
        std::fprintf(stderr,
                     "trevo2kpr-cli convert: nie udało się zapisać śladu na standardowe wyjście\n");
        return kExitStopped;
    }
    // A period file that cannot be closed may not hold what was written to it.
    return result.closeFailed ? kExitStopped : kExitDone;
}

}  // namespace trevo::cli
