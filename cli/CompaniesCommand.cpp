// "trevo2kpr-cli companies": the company list as the picker shows it.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
#include "companies/CompanyList.h"
#include "companies/CompanyRows.h"
#include "engine/files/FileSystem.h"
#include "engine/text/Win1250.h"
#ifdef _WIN32
#include "engine/platform/UserLocaleCollation.h"
#else
#include "qtplatform/UserLocaleCollation.h"
#endif

namespace trevo::cli {

namespace {

bool PrintRow(const CompanyRow& row) {
    std::string line = text::Win1250ToUtf8(row.firma);
    line += '\t';
    line += text::Win1250ToUtf8(row.katalog);
    line += '\t';
    line += text::Win1250ToUtf8(row.info);
    line += '\n';
    return WriteText(stdout, line);
}

}  // namespace

int RunCompaniesCommand(const std::vector<std::string>& args) {
    CommandLine line;
    line.AddValueOption("code-page", "mazovia|852");
    if (const auto finished = ParseOrFinish(line, args, "companies", CompaniesHelp())) {
        return *finished;
    }
    const auto code = CodePageOption(line);
    if (const auto* error = std::get_if<UsageError>(&code)) {
        return ReportUsageError("companies", *error);
    }
    const PolishCharset ledgerCode = std::get<PolishCharset>(code);
    const auto operand = SolePathArgument(line, "LIST_FILE");
    if (const auto* error = std::get_if<UsageError>(&operand)) {
        return ReportUsageError("companies", *error);
    }
    const auto& [given, path] = std::get<PathOperand>(operand);

    FileSystem& fileSystem = LocalFileSystem();
    if (!fileSystem.FileExists(path)) {
        const std::string what = "lista firm \"" + given + "\"";
        PrintError("trevo2kpr-cli companies: " +
                   MissingOrWhy(given, ExpectedKind::File, what + " nie istnieje",
                                "nie można odczytać listy firm \"" + given + "\""));
        return kExitUsage;
    }
    // As the picker: an unreadable list is an empty list.
    std::vector<CompanyRow> rows;
    ReadCompanyList(fileSystem, path, ledgerCode, [&rows](const CompanyRecord& record) {
        rows.push_back(MakeCompanyRow(record));
    });
#ifdef _WIN32
    const UserLocaleCollation collation;  // Windows' own, as the picker's
#else
    const qt::UserLocaleCollation collation;
#endif
    SortRowsByFirma(rows, std::nullopt, collation);
    bool written = true;
    for (const CompanyRow& row : rows) {
        written = PrintRow(row) && written;
    }
    return std::fflush(stdout) == 0 && written ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
