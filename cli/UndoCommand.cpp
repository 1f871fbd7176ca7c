// "trevo2kpr-cli undo": the most recent writing run into a ledger directory taken back.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "engine/files/FileSystem.h"
#include "engine/journal/UndoLastRun.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

void Print(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

std::string Step(const UndoFileStep& step, bool check) {
    std::string text = "  " + text::Win1250ToUtf8(step.fileName) + ": ";
    if (step.remove) {
        text += check ? "zostałby usunięty (utworzył go ten przebieg)"
                      : "usunięty (utworzył go ten przebieg)";
    } else {
        text += (check ? "zostałby skrócony z " : "skrócony z ") + std::to_string(step.sizeNow) +
                " do " + std::to_string(step.sizeBefore) +
                " bajtów, rekordów usuniętych: " + std::to_string(step.recordsRemoved);
        if (step.bytesRestored != 0) {
            text += ", przywrócone bajty niepełnego rekordu: " + std::to_string(step.bytesRestored);
        }
    }
    return text + "\n";
}

}  // namespace

int RunUndoCommand(const std::vector<std::string>& args) {
    CommandLine line;
    line.AddFlag("check");
    if (const auto stop = line.Parse(args)) {
        if (std::holds_alternative<HelpRequested>(*stop)) {
            return PrintHelp(UndoHelp());
        }
        return ReportUsageError("undo", std::get<UsageError>(*stop));
    }
    const std::vector<std::string> positional = line.Positional();
    if (positional.size() != 1) {
        return ReportUsageError(
            "undo", {positional.empty() ? "brak LEDGER_DIR"
                                        : "nadmiarowy argument '" + positional[1] + "'"});
    }
    const auto converted = PathArgument(positional[0]);
    if (const auto* error = std::get_if<UsageError>(&converted)) {
        return ReportUsageError("undo", *error);
    }
    const std::string& dir = std::get<std::string>(converted);
    FileSystem& fileSystem = LocalFileSystem();
    if (!fileSystem.DirectoryExists(dir)) {
        std::fprintf(stderr, "trevo2kpr-cli undo: katalog danych KPR \"%s\" nie istnieje\n",
                     positional[0].c_str());
        return kExitUsage;
    }
    const bool check = line.IsSet("check");
    const UndoReport report = UndoLastRun(fileSystem, dir, check);
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
    char started[64];
    std::snprintf(started, sizeof started, "%04d-%02d-%02d %02d:%02d:%02d", report.started.year,
                  report.started.month, report.started.day, report.started.hour,
                  report.started.minute, report.started.second);
    Print(std::string(check ? "Cofnięcie przebiegu z " : "Cofnięto przebieg z ") + started +
          " (plik eksportu \"" + text::Win1250ToUtf8(report.exportPath) + "\"):\n");
    for (const UndoFileStep& step : report.steps) {
        Print(Step(step, check));
    }
    if (report.steps.empty()) {
        Print("  przebieg nie zmienił żadnego pliku\n");
    }
    return std::fflush(stdout) == 0 ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
