// "trevo2kpr-cli undo": the most recent writing run into a ledger directory taken back.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "cli/Diagnostic.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
#include "cli/RunSignals.h"
#include "engine/files/FileSystem.h"
#include "engine/journal/UndoSession.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

void PrintProblem(const char* what, const std::string& problem) {
    PrintError("trevo2kpr-cli undo: " + std::string(what) + text::Win1250ToUtf8(problem));
}

// The report on stdout after the files were changed: a report that cannot be written must not
// look like an undo that failed, or a caller that tries again would undo one run too many.
int PrintDone(const std::vector<std::string>& lines, bool changed) {
    bool written = true;
    for (const std::string& text : lines) {
        const std::string utf8 = text::Win1250ToUtf8(text) + "\n";
        written = WriteText(stdout, utf8) && written;
    }
    written = std::fflush(stdout) == 0 && written;
    if (written) {
        return kExitDone;
    }
    if (!changed) {
        return kExitStopped;
    }
    PrintError(
        "trevo2kpr-cli undo: wykonano, ale nie udało się wypisać sprawozdania na standardowe "
        "wyjście");
    return kExitUndoneUnreported;
}

}  // namespace

int RunUndoCommand(const std::vector<std::string>& args) {
    CommandLine line;
    line.AddFlag("check");
    line.AddFlag("discard-unfinished");
    if (const auto finished = ParseOrFinish(line, args, "undo", UndoHelp())) {
        return *finished;
    }
    const auto operand = SolePathArgument(line, "LEDGER_DIR");
    if (const auto* error = std::get_if<UsageError>(&operand)) {
        return ReportUsageError("undo", *error);
    }
    const bool check = line.IsSet("check");
    const bool discard = line.IsSet("discard-unfinished");
    if (check && discard) {
        return ReportUsageError(
            "undo", UsageError{"opcji --check i --discard-unfinished nie można łączyć"});
    }
    const auto& [given, path] = std::get<PathOperand>(operand);
    // A reader that went away makes a write fail instead of killing the process in the middle
    // of changing the ledger's files (the file-size limit is set aside in main, for every
    // command).
    IgnoreBrokenPipe();
    FileSystem& fileSystem = LocalFileSystem();
    if (!fileSystem.DirectoryExists(path)) {
        PrintError("trevo2kpr-cli undo: " + LedgerDirectoryFailure(given));
        return kExitUsage;
    }
    const UndoSessionResult result = RunUndoSession(fileSystem, path,
                                                    discard ? UndoRequest::DiscardUnfinished
                                                    : check ? UndoRequest::Check
                                                            : UndoRequest::Undo);
    const UndoReport& report = result.report;
    using Status = UndoReport::Status;
    // The first three in words of the command line's own: the directory is the one just typed.
    switch (report.status) {
        case Status::NothingToUndo:
            PrintError("trevo2kpr-cli undo: w katalogu nie ma przebiegu do cofnięcia");
            return kExitStopped;
        case Status::Refused:
            PrintProblem("nic nie zmieniono: ", report.problem);
            return kExitStopped;
        case Status::RolledBack:
            PrintProblem("cofanie nie powiodło się, nic nie zmieniono: ", report.problem);
            return kExitStopped;
        case Status::FailedPartWay:
            PrintError(DiagnosticLine("undo", result.message));
            return kExitUndoPartWay;
        case Status::Done:
            break;
    }
    if (!result.message.empty()) {
        PrintError(DiagnosticLine("undo", result.message));
    }
    return PrintDone(result.doneLines, !check);
}

}  // namespace trevo::cli
