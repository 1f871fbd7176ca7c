#pragma once
// Resident memory of this process, for telling the peak of one benchmark phase from the peaks of
// the phases before it.

#include <cstdint>
#include <optional>

namespace trevo::bench {

// Resets the kernel's high-water mark of resident memory (VmHWM) to the current resident size,
// by writing "5" to /proc/self/clear_refs. False where that is not allowed.
bool ResetPeakResident();

// VmHWM and VmRSS from /proc/self/status, in KiB; nothing where the file is missing.
std::optional<std::uint64_t> PeakResidentKiB();
std::optional<std::uint64_t> CurrentResidentKiB();

// getrusage's ru_maxrss: the peak of the whole process so far, in KiB.
std::uint64_t ProcessMaxResidentKiB();

}  // namespace trevo::bench
