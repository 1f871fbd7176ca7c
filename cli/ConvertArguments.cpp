#include "cli/ConvertArguments.h"

#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

// One character given as UTF-8, as its Windows-1250 byte; 0 when the option is absent.
std::variant<char, UsageError> LetterOption(const CommandLine& line, const char* name) {
    const auto value = line.Value(name);
    if (!value) {
        return char{0};
    }
    const auto bytes = text::Utf8ToWin1250(*value);
    if (!bytes || bytes->size() != 1) {
        return UsageError{"opcja '--" + std::string(name) +
                          "' przyjmuje jeden znak, który mieści Windows-1250, nie '" + *value +
                          "'"};
    }
    return (*bytes)[0];
}

}  // namespace

std::variant<ConvertArguments, HelpRequested, UsageError> ParseConvertArguments(
    const std::vector<std::string>& args) {
    CommandLine line;
    line.AddFlag("check");
    line.AddValueOption("code-page", "mazovia|852");
    line.AddValueOption("attribute", "C");
    line.AddValueOption("register", "C");
    line.AddFlag("skip-booked");
    line.AddFlag("summary");
    line.AddValueOption("summary-json", "FILE");
    line.AddFlag("strict");
    if (auto stop = line.Parse(args)) {
        return std::visit(
            [](auto&& reason) -> std::variant<ConvertArguments, HelpRequested, UsageError> {
                return reason;
            },
            std::move(*stop));
    }

    ConvertArguments parsed;
    parsed.checkOnly = line.IsSet("check");
    parsed.skipBooked = line.IsSet("skip-booked");
    parsed.summary = line.IsSet("summary");
    parsed.summaryJson = line.Value("summary-json");
    parsed.strict = line.IsSet("strict");
    if (parsed.summaryJson && parsed.summaryJson->empty()) {
        return UsageError{"opcja '--summary-json' wymaga nazwy pliku"};
    }
    const auto code = CodePageOption(line);
    if (const auto* error = std::get_if<UsageError>(&code)) {
        return *error;
    }
    parsed.ledgerCode = std::get<PolishCharset>(code);
    for (const auto& [name, letter] : {std::pair{"attribute", &parsed.attributeLetter},
                                       std::pair{"register", &parsed.registerLetter}}) {
        const auto value = LetterOption(line, name);
        if (const auto* error = std::get_if<UsageError>(&value)) {
            return *error;
        }
        *letter = std::get<char>(value);
    }

    const std::vector<std::string> positional = line.Positional();
    if (positional.empty()) {
        return UsageError{"brak EXPORT_FILE"};
    }
    if (positional.size() > 2) {
        return UsageError{"nadmiarowy argument '" + positional[2] + "'"};
    }
    std::vector<std::string> paths;
    for (const std::string& path : positional) {
        auto converted = PathArgument(path);
        if (const auto* error = std::get_if<UsageError>(&converted)) {
            return *error;
        }
        paths.push_back(std::move(std::get<std::string>(converted)));
    }
    parsed.exportFile = paths[0];
    if (paths.size() == 2) {
        parsed.ledgerDir = paths[1];
    } else if (!parsed.checkOnly) {
        return UsageError{"brak LEDGER_DIR (potrzebny, gdy nie podano --check)"};
    }
    return parsed;
}

}  // namespace trevo::cli
