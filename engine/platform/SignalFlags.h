#pragma once
// The process's signal flags: the only state a signal handler sets, all of it here. Each is a
// lock-free atomic, set by a handler and read by the code that runs.

#include <atomic>

namespace trevo::signal_flags {

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<unsigned>::is_always_lock_free,
              "signal flags are set in signal handlers");

// 0, or the number of the signal that asked the command line's run to stop
// (cli/RunSignals.h).
extern std::atomic<int> stopSignal;

// Raised by one for every notice that something was renamed or removed along the path of an
// open period file (engine/files/NameWatch.h).
extern std::atomic<unsigned> nameEvents;

}  // namespace trevo::signal_flags
