#include "testing/ChildPeakMemory.h"

#include <cstdio>

#include "testing/ProcessRunner.h"

namespace trevo::testing {

ChildPeak MeasureChildPeak(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> probeArgs{program};
    probeArgs.insert(probeArgs.end(), args.begin(), args.end());
    const ProcessResult probe = RunProcess(TREVO_PEAK_RSS_PROBE_PATH, probeArgs);
    ChildPeak peak;
    if (probe.exitCode != 0 ||
        std::sscanf(probe.out.c_str(), "%d %ld", &peak.exitCode, &peak.maxRssKiB) != 2) {
        return {};
    }
    return peak;
}

}  // namespace trevo::testing
