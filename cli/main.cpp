// trevo2kpr-cli: the converter's engine from the command line.

#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "cli/ProgramArguments.h"
#include "engine/platform/FileSizeSignal.h"
#include "engine/platform/StandardDescriptors.h"

int main(int argc, char** argv) {
    // Before anything opens a file: a free descriptor 0, 1 or 2 would be taken by a ledger file.
    if (!trevo::OpenClosedStandardDescriptors()) {
        return trevo::cli::kExitUsage;
    }
    trevo::cli::PrepareStandardStreams();
    trevo::IgnoreFileSizeSignal();
    return trevo::cli::RunCommandLine(trevo::cli::ProgramArguments(argc, argv));
}
