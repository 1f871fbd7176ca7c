#pragma once
// Runs a program of the project as a child process, its output thrown away, and reports the
// child's peak resident memory as the kernel counted it (ru_maxrss). The child is started by
// peak_rss_probe, so that the memory of the calling process does not count into its peak.

#include <string>
#include <vector>

namespace trevo::testing {

struct ChildPeak {
    int exitCode = -1;   // -1 when the child did not exit normally
    long maxRssKiB = 0;  // peak resident set of the child alone
};

ChildPeak MeasureChildPeak(const std::string& program, const std::vector<std::string>& args);

}  // namespace trevo::testing
