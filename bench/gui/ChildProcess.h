#pragma once
// Runs a program as a child process with its standard output sent to a file, and reports what
// it cost: wall time and the peak resident memory from the kernel's accounting of the child.

#include <string>
#include <vector>

namespace trevo::bench {

struct ChildCost {
    bool started = false;
    int exitCode = -1;  // -1 when it did not exit normally
    double seconds = 0;
    long maxRssKb = 0;  // ru_maxrss of the child
};

// `stdoutPath` is truncated first; "/dev/null" discards the output.
ChildCost RunChild(const std::string& program, const std::vector<std::string>& args,
                   const std::string& stdoutPath);

}  // namespace trevo::bench
