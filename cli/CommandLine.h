#pragma once
// One subcommand's arguments and what every subcommand says the same way: its help on stdout, a
// usage error as one Polish line and a hint on stderr, the --code-page values and paths that
// must fit Windows-1250.
//
// The rules, as scripts know them from the earlier parser:
// - "--name" and "-name" are the same option (no bundled one-letter options); -h is --help;
// - a value follows as "--name=VALUE" or as the next argument, whatever it holds;
// - an option given again takes its last value;
// - "--" ends the options: what follows is positional, and so is "-" alone;
// - options may come after positional arguments;
// - --help wins over every error; then the first unknown option; then the last option whose
//   value is missing or unexpected;
// - arguments are UTF-8: a leading byte order mark is dropped and each byte of a malformed
//   sequence reads as U+FFFD.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/text/zdTransPL.h"

namespace trevo::cli {

struct HelpRequested {};

struct UsageError {
    std::string message;  // UTF-8, Polish
};

class CommandLine {
  public:
    CommandLine();

    // Long option names without the dashes, e.g. "check".
    void AddFlag(const char* name);
    void AddValueOption(const char* name, const char* valueName);

    // Nothing when the arguments parse; otherwise --help (or -h) was given or they are wrong.
    std::optional<std::variant<HelpRequested, UsageError>> Parse(
        const std::vector<std::string>& args);

    bool IsSet(const char* name) const;
    // The last value given, UTF-8.
    std::optional<std::string> Value(const char* name) const;
    std::vector<std::string> Positional() const;

  private:
    struct Option {
        std::vector<std::string> names;
        bool takesValue = false;
        bool set = false;
        std::optional<std::string> value;
    };

    Option* Find(std::string_view name);
    const Option* Find(std::string_view name) const;

    std::vector<Option> options_;
    std::vector<std::string> positional_;
};

// --code-page: "mazovia" (also when not given) or "852".
std::variant<PolishCharset, UsageError> CodePageOption(const CommandLine& line);

// A path given as UTF-8 in the Windows-1250 form the engine takes.
std::variant<std::string, UsageError> PathArgument(const std::string& utf8);

// The one positional argument of a command that takes a single path: as given (UTF-8, for
// messages) and as the engine takes it. `name` is what a usage error calls it ("LEDGER_DIR").
struct PathOperand {
    std::string given;
    std::string path;
};
std::variant<PathOperand, UsageError> SolePathArgument(const CommandLine& line,
                                                       std::string_view name);

// Prints "trevo2kpr-cli COMMAND: MESSAGE" and the hint to the command's help; the usage exit
// status.
int ReportUsageError(std::string_view command, const UsageError& error);
// Prints a help text to stdout; the exit status of a help request.
int PrintHelp(std::string_view text);

// Parses the arguments of `command`. The exit status when the command ends there (its help was
// asked for, or the arguments are wrong); nothing when it goes on.
std::optional<int> ParseOrFinish(CommandLine& line, const std::vector<std::string>& args,
                                 std::string_view command, std::string_view help);

}  // namespace trevo::cli
