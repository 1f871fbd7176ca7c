#pragma once
// Runs a program of the project as a separate process, collects what it printed and what it
// cost: wall time and the peak resident memory from the kernel's accounting of the child.

#include <string>
#include <vector>

namespace trevo::testing {

struct ProcessResult {
    int exitCode = -1;  // -1 when it could not start or did not exit normally
    std::string out;
    std::string err;
    double seconds = 0;
    long maxRssKiB = 0;  // ru_maxrss of the child
};

// `environment` entries ("NAME=value") are added to the inherited environment. Standard output
// goes to `stdoutPath` when one is given (truncated first, and then not collected).
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {},
                         const std::string& stdoutPath = {});

}  // namespace trevo::testing
