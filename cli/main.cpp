// trevo2kpr-cli: the converter's engine from the command line.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "engine/platform/StandardDescriptors.h"

namespace trevo::cli {

void PrintUsage(std::FILE* out) {
    std::fputs(
        "Usage:\n"
        "  trevo2kpr-cli convert [--check] [--code-page mazovia|852] [--attribute C]\n"
        "                        [--register C] EXPORT_FILE [LEDGER_DIR]\n"
        "  trevo2kpr-cli companies [--code-page mazovia|852] LIST_FILE\n"
        "  trevo2kpr-cli --help\n"
        "\n"
        "convert  books every document of the export file into the ledger's monthly files in\n"
        "         LEDGER_DIR and prints the trace. --check reads, maps and reports without\n"
        "         writing; LEDGER_DIR is then optional and never touched. --code-page names the\n"
        "         ledger's code page for Polish letters (default mazovia). --attribute and\n"
        "         --register stamp one letter into every entry.\n"
        "\n"
        "Exit status: 0 the export file was read to its end; 1 the run stopped on a ledger-file\n"
        "or read failure (the trace is complete), the last ledger file could not be closed or\n"
        "the output could not be written; 2 usage error, missing ledger directory or export\n"
        "file that cannot be opened.\n",
        out);
}

}  // namespace trevo::cli

int main(int argc, char** argv) {
    using namespace trevo::cli;
    if (!trevo::OpenClosedStandardDescriptors()) {
        return kExitUsage;  // nothing may be opened while 0, 1 or 2 is free
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(stdout);
        return kExitDone;
    }
    if (command == "convert") {
        return RunConvertCommand(rest);
    }
    if (command == "companies") {
        return RunCompaniesCommand(rest);
    }
    std::fprintf(stderr, "trevo2kpr-cli: unknown command '%s'\n", command.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
