#include "settingsfile/PlacementFit.h"

#include <algorithm>
#include <cstdint>

namespace trevo::settings {

namespace {

// Values from the settings file may be anything an int holds: widths and areas are taken in
// 64 bits so that no difference overflows.
using Wide = std::int64_t;

Wide Overlap(Wide aFrom, Wide aTo, Wide bFrom, Wide bTo) {
    return std::max<Wide>(0, std::min(aTo, bTo) - std::max(aFrom, bFrom));
}

// Where a window of `size` starting at `from` goes along one axis of a screen from `low` to
// `high`: moved the least to lie inside, its start at `low` when it does not fit.
Wide Place(Wide from, Wide size, Wide low, Wide high) {
    return std::max(low, std::min(from, high - size));
}

}  // namespace

ScreenRect FitOnScreens(const ScreenRect& saved, const std::vector<ScreenRect>& screens,
                        const FrameMargins& frame, int minimumWidth, int minimumHeight) {
    const Wide width = Wide{saved.right} - saved.left;
    const Wide height = Wide{saved.bottom} - saved.top;
    if (screens.empty() || width <= 0) {
        return saved;
    }
    const Wide outerLeft = Wide{saved.left} - frame.left;
    const Wide outerTop = Wide{saved.top} - frame.top;
    const Wide outerRight = Wide{saved.right} + frame.right;
    const Wide outerBottom = Wide{saved.bottom} + frame.bottom;

    const ScreenRect* chosen = &screens.front();
    Wide most = 0;
    for (const ScreenRect& screen : screens) {
        const Wide shown = Overlap(outerLeft, outerRight, screen.left, screen.right) *
                           Overlap(outerTop, outerBottom, screen.top, screen.bottom);
        if (shown > most) {
            most = shown;
            chosen = &screen;
        }
    }

    const Wide low = Wide{chosen->left} + frame.left;
    const Wide top = Wide{chosen->top} + frame.top;
    const Wide high = Wide{chosen->right} - frame.right;
    const Wide bottom = Wide{chosen->bottom} - frame.bottom;
    const Wide fitWidth = std::max<Wide>({std::min(width, high - low), minimumWidth, 1});
    const Wide fitHeight = std::max<Wide>({std::min(height, bottom - top), minimumHeight, 1});
    const Wide left = Place(saved.left, fitWidth, low, high);
    const Wide upper = Place(saved.top, fitHeight, top, bottom);
    return {static_cast<int>(left), static_cast<int>(upper), static_cast<int>(left + fitWidth),
            static_cast<int>(upper + fitHeight)};
}

}  // namespace trevo::settings
