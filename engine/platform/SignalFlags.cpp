#include "engine/platform/SignalFlags.h"

namespace trevo::signal_flags {

constinit std::atomic<int> stopSignal{0};
constinit std::atomic<unsigned> nameEvents{0};

}  // namespace trevo::signal_flags
