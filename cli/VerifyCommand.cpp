// "trevo2kpr-cli verify": every period file of a ledger directory checked against the record
// layout, one line per problem.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
#include "cli/TerminalText.h"
#include "engine/files/FileSystem.h"
#include "engine/inspect/LedgerCheck.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {
// A damaged file of gigabytes has millions of problems; the first ones say what is wrong.
constexpr std::uint64_t kRecordProblemsPerFile = 100;
}  // namespace

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
    // Bytes of a file name or a record reach the output: on a terminal they are shown, not obeyed.
    const bool terminal = IsTerminal(stdout);
    std::uint64_t problems = 0;
    bool written = true;
    std::string text;
    const auto print = [&](const LedgerProblem& problem) {
        ++problems;
        std::string line = problem.file;
        if (problem.slot != 0) {
            line += ": rekord " + std::to_string(problem.slot);
        }
        line += ": " + problem.message;
        text.clear();
        if (terminal) {
            AppendVisible(text, line);
        } else {
            text = text::Win1250ToUtf8(line);
        }
        text += '\n';
        written = WriteText(stdout, text) && written;
    };
    const auto files = fileSystem.DirectoryExists(path)
                           ? CheckLedgerDirectory(fileSystem, path, kRecordProblemsPerFile, print)
                           : std::nullopt;
    if (!files) {
        PrintError("trevo2kpr-cli verify: " + CannotReadMessage(given, ExpectedKind::Directory));
        return kExitUsage;
    }
    if (problems == 0) {
        written =
            WriteText(stdout, "Sprawdzono plików: " + std::to_string(*files) + ", bez błędów\n") &&
            written;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || !written) {
        return kExitStopped;
    }
    return problems == 0 ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
