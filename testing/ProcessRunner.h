#pragma once
// Runs a program of the project as a separate process and collects what it printed.

#include <string>
#include <vector>

namespace trevo::testing {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `environment` entries ("NAME=value") are added to the inherited environment. Standard output
// goes to `stdoutPath` when one is given (and is then not collected).
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {},
                         const std::string& stdoutPath = {});

}  // namespace trevo::testing
