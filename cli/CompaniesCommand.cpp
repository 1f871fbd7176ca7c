// "trevo2kpr-cli companies": the company list as the picker shows it.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ConvertArguments.h"
#include "qtplatform/UserLocaleCollation.h"
#include "engine/files/FileSystem.h"
#include "companies/CompanyList.h"
#include "companies/CompanyRows.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

struct CompaniesArguments {
    PolishCharset ledgerCode = PolishCharset::pcMazovia;
    std::string listFile;  // Windows-1250
};

int UsageFailure(const std::string& message) {
    std::fprintf(stderr, "trevo2kpr-cli companies: %s\n", message.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}

void PrintRow(const CompanyRow& row) {
    std::string line = text::Win1250ToUtf8(row.firma);
    line += '\t';
    line += text::Win1250ToUtf8(row.katalog);
    line += '\t';
    line += text::Win1250ToUtf8(row.info);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace

int RunCompaniesCommand(const std::vector<std::string>& args) {
    CompaniesArguments parsed;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return kExitDone;
        } else if (arg == "--code-page" || arg.starts_with("--code-page=")) {
            std::string value;
            if (arg != "--code-page") {
                value = arg.substr(arg.find('=') + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return UsageFailure("option '--code-page' needs a value");
            }
            const auto code = ParseCodePage(value);
            if (!code) {
                return UsageFailure("option '--code-page' takes mazovia or 852, not '" + value +
                                    "'");
            }
            parsed.ledgerCode = *code;
        } else {
            return UsageFailure("unknown option '" + arg + "'");
        }
    }
    if (positional.size() != 1) {
        return UsageFailure(positional.empty() ? "missing LIST_FILE"
                                               : "unexpected argument '" + positional[1] + "'");
    }
    const auto listFile = text::Utf8ToWin1250(positional[0]);
    if (!listFile) {
        return UsageFailure("path '" + positional[0] + "' has characters outside Windows-1250");
    }
    parsed.listFile = *listFile;

    FileSystem& fileSystem = LocalFileSystem();
    if (!fileSystem.FileExists(parsed.listFile)) {
        std::fprintf(stderr, "trevo2kpr-cli companies: company list \"%s\" does not exist\n",
                     positional[0].c_str());
        return kExitUsage;
    }
    // As the picker: an unreadable list is an empty list.
    std::vector<CompanyRow> rows;
    ReadCompanyList(
        fileSystem, parsed.listFile, parsed.ledgerCode,
        [&rows](const CompanyRecord& record) { rows.push_back(MakeCompanyRow(record)); });
    const qt::UserLocaleCollation collation;
    SortRowsByFirma(rows, std::nullopt, collation);
    for (const CompanyRow& row : rows) {
        PrintRow(row);
    }
    return std::fflush(stdout) == 0 ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
