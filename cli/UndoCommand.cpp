// "trevo2kpr-cli undo": the most recent writing run into a ledger directory taken back.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
#include "engine/files/FileSystem.h"
#include "engine/journal/UndoLastRun.h"
#include "engine/journal/UndoReportText.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

int RunUndoCommand(const std::vector<std::string>& args) {
    CommandLine line;
    line.AddFlag("check");
    if (const auto finished = ParseOrFinish(line, args, "undo", UndoHelp())) {
        return *finished;
    }
    const auto operand = SolePathArgument(line, "LEDGER_DIR");
    if (const auto* error = std::get_if<UsageError>(&operand)) {
        return ReportUsageError("undo", *error);
    }
    const auto& [given, path] = std::get<PathOperand>(operand);
    FileSystem& fileSystem = LocalFileSystem();
    if (!fileSystem.DirectoryExists(path)) {
        std::fprintf(stderr, "trevo2kpr-cli undo: %s\n", LedgerDirectoryFailure(given).c_str());
        return kExitUsage;
    }
    const bool check = line.IsSet("check");
    const UndoReport report = UndoLastRun(fileSystem, path, check);
    using Status = UndoReport::Status;
    if (report.status == Status::NothingToUndo) {
        std::fprintf(stderr, "trevo2kpr-cli undo: w katalogu nie ma przebiegu do cofnięcia\n");
        return kExitStopped;
    }
    if (report.status == Status::Refused) {
        std::fprintf(stderr, "trevo2kpr-cli undo: nic nie zmieniono: %s\n",
                     text::Win1250ToUtf8(report.problem).c_str());
        return kExitStopped;
    }
    if (report.status == Status::Failed) {
        std::fprintf(stderr, "trevo2kpr-cli undo: cofanie przerwane: %s\n",
                     text::Win1250ToUtf8(report.problem).c_str());
        return kExitStopped;
    }
    for (const std::string& text : UndoReportLines(report, check)) {
        const std::string utf8 = text::Win1250ToUtf8(text) + "\n";
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    }
    return std::fflush(stdout) == 0 ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
