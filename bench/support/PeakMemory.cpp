#include "bench/support/PeakMemory.h"

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace trevo::bench {

namespace {

std::optional<std::uint64_t> StatusFieldKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stoull(line.substr(field.size() + 1));
        }
    }
    return std::nullopt;
}

}  // namespace

bool ResetPeakResident() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    clearRefs.flush();
    return static_cast<bool>(clearRefs);
}

std::optional<std::uint64_t> PeakResidentKiB() {
    return StatusFieldKiB("VmHWM");
}

std::optional<std::uint64_t> CurrentResidentKiB() {
    return StatusFieldKiB("VmRSS");
}

std::uint64_t ProcessMaxResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss);
}

}  // namespace trevo::bench
