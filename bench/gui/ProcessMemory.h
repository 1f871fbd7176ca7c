#pragma once
// This process's resident memory as Linux reports it in /proc/self, with the peak that can be
// reset, so that the peak of one stretch of work can be read on its own.

namespace trevo::bench {

// VmRSS and VmHWM in KiB; -1 when not available.
long CurrentRssKb();
long PeakRssKb();

// Sets the peak back to the current resident size; false when the kernel does not allow it.
bool ResetPeakRss();

}  // namespace trevo::bench
