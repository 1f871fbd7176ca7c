#include "desktop/WindowSizeRule.h"

#include <algorithm>

namespace trevo::desktop {

Extent FitToRoom(Extent design, Extent room) {
    // A screen that reports no room (none yet known) does not shrink the window to nothing.
    const auto fit = [](int wanted, int available) {
        return available > 0 ? std::min(wanted, available) : wanted;
    };
    return {fit(design.width, room.width), fit(design.height, room.height)};
}

HeightShare ShareHeight(int height, int controlsNeeded, int statusHeight, int traceMinimum) {
    const int below = std::max(0, height - statusHeight);
    if (below >= controlsNeeded + traceMinimum) {
        return {controlsNeeded, below - controlsNeeded};
    }
    const int trace = std::min(traceMinimum, below);
    return {below - trace, trace};
}

}  // namespace trevo::desktop
