#pragma once

#include <string>

namespace trevo::bench {

// The processor's model name from /proc/cpuinfo; "unknown" where it cannot be read.
std::string CpuModel();

}  // namespace trevo::bench
