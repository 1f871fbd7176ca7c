// The command word picks the command; the program's own options are --help and --version, and
// "help COMMAND" gives that command's help.

#include <cstdio>
#include <functional>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Help.h"

namespace trevo::cli {

namespace {

struct Command {
    std::string_view name;
    int (*run)(const std::vector<std::string>&);
    std::string_view (*help)();
};

constexpr Command kCommands[] = {
    {"convert", RunConvertCommand, ConvertHelp}, {"companies", RunCompaniesCommand, CompaniesHelp},
    {"show", RunShowCommand, ShowHelp},          {"verify", RunVerifyCommand, VerifyHelp},
    {"undo", RunUndoCommand, UndoHelp},
};

int RunHelpCommand(const std::vector<std::string>& args) {
    if (args.size() == 1) {
        return PrintHelp(ProgramHelp());
    }
    if (args.size() > 2) {
        return ReportUsageError({}, {"nadmiarowy argument '" + args[2] + "'"});
    }
    for (const Command& command : kCommands) {
        if (args[1] == command.name) {
            return PrintHelp(command.help());
        }
    }
    return ReportUsageError({}, {"nieznane polecenie '" + args[1] + "'"});
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) {
        return ReportUsageError({}, {"brak polecenia"});
    }
    const std::string& word = args.front();
    if (word == "--help" || word == "-h") {
        return PrintHelp(ProgramHelp());
    }
    if (word == "help") {
        return RunHelpCommand(args);
    }
    if (word == "--version" || word == "-V") {
        return PrintHelp(VersionText());
    }
    for (const Command& command : kCommands) {
        if (word == command.name) {
            return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
        }
    }
    const bool option = word.starts_with('-');
    return ReportUsageError({},
                            {(option ? "nieznana opcja '" : "nieznane polecenie '") + word + "'"});
}

}  // namespace trevo::cli
