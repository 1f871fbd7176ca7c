// "trevo2kpr-cli verify": every period file of a ledger directory checked against the record
// layout, one line per problem.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
#include "engine/files/FileSystem.h"
#include "engine/inspect/LedgerCheck.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

int RunVerifyCommand(const std::vector<std::string>& args) {
    CommandLine line;
    line.AddValueOption("code-page", "mazovia|852");
    if (const auto finished = ParseOrFinish(line, args, "verify", VerifyHelp())) {
        return *finished;
    }
    // The checks do not depend on the letters; the option is taken for the other commands' sake.
    if (const auto code = CodePageOption(line); std::holds_alternative<UsageError>(code)) {
        return ReportUsageError("verify", std::get<UsageError>(code));
    }
    const auto operand = SolePathArgument(line, "LEDGER_DIR");
    if (const auto* error = std::get_if<UsageError>(&operand)) {
        return ReportUsageError("verify", *error);
    }
    const auto& [given, path] = std::get<PathOperand>(operand);
    FileSystem& fileSystem = LocalFileSystem();
    std::size_t files = 0;
    const auto problems = fileSystem.DirectoryExists(path)
                              ? CheckLedgerDirectory(fileSystem, path, &files)
                              : std::nullopt;
    if (!problems) {
        std::fprintf(stderr, "trevo2kpr-cli verify: %s\n",
                     CannotReadMessage(given, ExpectedKind::Directory).c_str());
        return kExitUsage;
    }
    for (const LedgerProblem& problem : *problems) {
        std::string text = text::Win1250ToUtf8(problem.file);
        if (problem.slot != 0) {
            text += ": rekord " + std::to_string(problem.slot);
        }
        text += ": " + text::Win1250ToUtf8(problem.message) + "\n";
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    if (problems->empty()) {
        std::printf("Sprawdzono plików: %zu, bez błędów\n", files);
    }
    if (std::fflush(stdout) != 0) {
        return kExitStopped;
    }
    return problems->empty() ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
