#include "cli/CommandLine.h"

#include <cstdio>

#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

// `bytes` as UTF-8 text: without a leading byte order mark, each byte of a malformed sequence
// replaced by U+FFFD.
std::string ReadableUtf8(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t start = pos;
        if (text::DecodeUtf8(bytes, pos)) {
            text.append(bytes, start, pos - start);
        } else {
            text.append(kReplacement);
            pos = start + 1;
        }
    }
    return text;
}

// The name of an unknown option as the user would have typed it: one dash before a one-letter
// name. Letters are counted in UTF-16 units, as the earlier parser counted them.
std::string Dashed(const std::string& name) {
    std::size_t units = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        units += ((byte & 0xC0) != 0x80 ? 1 : 0) + (byte >= 0xF0 ? 1 : 0);
    }
    return (units == 1 ? "-" : "--") + name;
}

}  // namespace

CommandLine::CommandLine() {
    options_.push_back(Option{{"h", "help"}, false, false, std::nullopt});
}

void CommandLine::AddFlag(const char* name) {
    options_.push_back(Option{{name}, false, false, std::nullopt});
}

// The value's name only tells the reader of the call what the value looks like.
void CommandLine::AddValueOption(const char* name, const char* /*valueName*/) {
    options_.push_back(Option{{name}, true, false, std::nullopt});
}

CommandLine::Option* CommandLine::Find(std::string_view name) {
    for (Option& option : options_) {
        for (const std::string& candidate : option.names) {
            if (candidate == name) {
                return &option;
            }
        }
    }
    return nullptr;
}

const CommandLine::Option* CommandLine::Find(std::string_view name) const {
    return const_cast<CommandLine*>(this)->Find(name);
}

std::optional<std::variant<HelpRequested, UsageError>> CommandLine::Parse(
    const std::vector<std::string>& args) {
    for (Option& option : options_) {
        option.set = false;
        option.value.reset();
    }
    positional_.clear();
    std::optional<std::string> firstUnknown;
    std::optional<std::string> valueError;
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = ReadableUtf8(args[i]);
        if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
            positional_.push_back(std::move(arg));
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        const std::size_t nameStart = arg[1] == '-' ? 2 : 1;
        const std::size_t assign = arg.find('=', nameStart);
        const std::string name = arg.substr(nameStart, assign - nameStart);
        Option* option = Find(name);
        if (option == nullptr) {
            if (!firstUnknown) {
                firstUnknown = name;
            }
            continue;
        }
        option->set = true;
        if (!option->takesValue) {
            if (assign != std::string::npos) {
                valueError = "opcja '" + arg.substr(0, assign) + "' nie przyjmuje wartości";
            }
        } else if (assign != std::string::npos) {
            option->value = arg.substr(assign + 1);
        } else if (i + 1 < args.size()) {
            option->value = ReadableUtf8(args[++i]);
        } else {
            valueError = "opcja '" + arg + "' wymaga wartości";
        }
    }
    // Help wins over everything else on the line, as in other tools.
    if (IsSet("help")) {
        return HelpRequested{};
    }
    if (firstUnknown) {
        return UsageError{"nieznana opcja '" + Dashed(*firstUnknown) + "'"};
    }
    if (valueError) {
        return UsageError{std::move(*valueError)};
    }
    return std::nullopt;
}

bool CommandLine::IsSet(const char* name) const {
    const Option* option = Find(name);
    return option != nullptr && option->set;
}

std::optional<std::string> CommandLine::Value(const char* name) const {
    const Option* option = Find(name);
    return option != nullptr ? option->value : std::nullopt;
}

std::vector<std::string> CommandLine::Positional() const {
    return positional_;
}

std::variant<PolishCharset, UsageError> CodePageOption(const CommandLine& line) {
    const auto value = line.Value("code-page");
    if (!value || *value == "mazovia") {
        return PolishCharset::pcMazovia;
    }
    if (*value == "852") {
        return PolishCharset::pcCp852;
    }
    return UsageError{"opcja '--code-page' przyjmuje mazovia albo 852, nie '" + *value + "'"};
}

std::variant<std::string, UsageError> PathArgument(const std::string& utf8) {
    if (auto bytes = text::Utf8ToWin1250(utf8)) {
        return std::move(*bytes);
    }
    return UsageError{"ścieżka '" + utf8 + "' ma znaki spoza Windows-1250"};
}

std::variant<PathOperand, UsageError> SolePathArgument(const CommandLine& line,
                                                       std::string_view name) {
    std::vector<std::string> positional = line.Positional();
    if (positional.size() != 1) {
        return UsageError{positional.empty() ? "brak " + std::string(name)
                                             : "nadmiarowy argument '" + positional[1] + "'"};
    }
    auto converted = PathArgument(positional[0]);
    if (auto* error = std::get_if<UsageError>(&converted)) {
        return std::move(*error);
    }
    return PathOperand{std::move(positional[0]), std::move(std::get<std::string>(converted))};
}

int ReportUsageError(std::string_view command, const UsageError& error) {
    const std::string name = "trevo2kpr-cli" + (command.empty() ? "" : " " + std::string(command));
    PrintError(name + ": " + error.message);
    PrintError("Więcej: " + name + " --help");
    return kExitUsage;
}

int PrintHelp(std::string_view text) {
    const bool written = WriteText(stdout, text);
    return written && std::fflush(stdout) == 0 ? kExitDone : kExitStopped;
}

std::optional<int> ParseOrFinish(CommandLine& line, const std::vector<std::string>& args,
                                 std::string_view command, std::string_view help) {
    const auto stop = line.Parse(args);
    if (!stop) {
        return std::nullopt;
    }
    if (std::holds_alternative<HelpRequested>(*stop)) {
        return PrintHelp(help);
    }
    return ReportUsageError(command, std::get<UsageError>(*stop));
}

}  // namespace trevo::cli
