// trevo2kpr-cli: the converter's engine from the command line.

#include <string>
#include <vector>

#include "cli/Commands.h"

int main(int argc, char** argv) {
    return trevo::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
