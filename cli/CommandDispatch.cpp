// The command word picks the command; the program's own options are --help and --version.

#include <cstdio>
#include <functional>
#include <string_view>
#include <utility>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Help.h"

namespace trevo::cli {

namespace {

using Command = int (*)(const std::vector<std::string>&);

constexpr std::pair<std::string_view, Command> kCommands[] = {
    {"convert", RunConvertCommand}, {"companies", RunCompaniesCommand}, {"show", RunShowCommand},
    {"verify", RunVerifyCommand},   {"undo", RunUndoCommand},
};

}  // namespace

int RunCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) {
        return ReportUsageError({}, {"brak polecenia"});
    }
    const std::string& word = args.front();
    if (word == "--help" || word == "-h" || word == "help") {
        return PrintHelp(ProgramHelp());
    }
    if (word == "--version" || word == "-V") {
        return PrintHelp(VersionText());
    }
    for (const auto& [name, command] : kCommands) {
        if (word == name) {
            return command(std::vector<std::string>(args.begin() + 1, args.end()));
        }
    }
    const bool option = word.starts_with('-');
    return ReportUsageError({},
                            {(option ? "nieznana opcja '" : "nieznane polecenie '") + word + "'"});
}

}  // namespace trevo::cli
