#pragma once
// The arguments of "trevo2kpr-cli convert".

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/CommandLine.h"
#include "engine/text/zdTransPL.h"

namespace trevo::cli {

struct ConvertArguments {
    bool checkOnly = false;
    PolishCharset ledgerCode = PolishCharset::pcMazovia;
    char attributeLetter = 0;  // Windows-1250 byte, 0 when not given
    char registerLetter = 0;
    std::string exportFile;  // Windows-1250, as the engine takes paths
    std::optional<std::string> ledgerDir;
    bool skipBooked = false;
    bool summary = false;                    // the summary in words on stderr
    std::optional<std::string> summaryJson;  // the file for the summary as JSON, UTF-8
    bool strict = false;
};

// Parses the arguments that follow the word "convert".
std::variant<ConvertArguments, HelpRequested, UsageError> ParseConvertArguments(
    const std::vector<std::string>& args);

}  // namespace trevo::cli
