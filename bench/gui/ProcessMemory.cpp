#include "ProcessMemory.h"

#include <fstream>
#include <string>

namespace trevo::bench {

namespace {

long StatusFieldKb(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, name.size() + 1, name + ":") == 0) {
            return std::stol(line.substr(name.size() + 1));
        }
    }
    return -1;
}

}  // namespace

long CurrentRssKb() {
    return StatusFieldKb("VmRSS");
}

long PeakRssKb() {
    return StatusFieldKb("VmHWM");
}

bool ResetPeakRss() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";  // 5: reset the peak resident size
    clearRefs.flush();
    return static_cast<bool>(clearRefs);
}

}  // namespace trevo::bench
