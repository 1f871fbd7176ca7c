#include "cli/ConvertArguments.h"

#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

// One character given as UTF-8, as its Windows-1250 byte.
std::optional<char> LetterOption(const std::string& value) {
    const auto bytes = text::Utf8ToWin1250(value);
    if (!bytes || bytes->size() != 1) {
        return std::nullopt;
    }
    return (*bytes)[0];
}

}  // namespace

std::optional<PolishCharset> ParseCodePage(const std::string& value) {
    if (value == "mazovia") {
        return PolishCharset::pcMazovia;
    }
    if (value == "852") {
        return PolishCharset::pcCp852;
    }
    return std::nullopt;
}

std::variant<ConvertArguments, HelpRequested, UsageError> ParseConvertArguments(
    const std::vector<std::string>& args) {
    ConvertArguments parsed;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            return HelpRequested{};
        }
        if (arg == "--check") {
            parsed.checkOnly = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (name != "--code-page" && name != "--attribute" && name != "--register") {
            return UsageError{"unknown option '" + name + "'"};
        }
        if (!value) {
            if (i + 1 == args.size()) {
                return UsageError{"option '" + name + "' needs a value"};
            }
            value = args[++i];
        }
        if (name == "--code-page") {
            const auto code = ParseCodePage(*value);
            if (!code) {
                return UsageError{"option '--code-page' takes mazovia or 852, not '" + *value +
                                  "'"};
            }
            parsed.ledgerCode = *code;
        } else {
            const auto letter = LetterOption(*value);
            if (!letter) {
                return UsageError{"option '" + name +
                                  "' takes one character that Windows-1250 can hold, not '" +
                                  *value + "'"};
            }
            (name == "--attribute" ? parsed.attributeLetter : parsed.registerLetter) = *letter;
        }
    }
    if (positional.empty()) {
        return UsageError{"missing EXPORT_FILE"};
    }
    if (positional.size() > 2) {
        return UsageError{"unexpected argument '" + positional[2] + "'"};
    }
    for (const std::string& path : positional) {
        if (!text::Utf8ToWin1250(path)) {
            return UsageError{"path '" + path + "' has characters outside Windows-1250"};
        }
    }
    parsed.exportFile = *text::Utf8ToWin1250(positional[0]);
    if (positional.size() == 2) {
        parsed.ledgerDir = *text::Utf8ToWin1250(positional[1]);
    } else if (!parsed.checkOnly) {
        return UsageError{"missing LEDGER_DIR (needed unless --check is given)"};
    }
    return parsed;
}

}  // namespace trevo::cli
