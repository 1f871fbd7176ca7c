#pragma once
// The main window's size against the screen. The design size is the first size and the
// minimum, as long as the screen's free area (without the window frame) holds it; on a smaller
// area both shrink to fit it, the trace pane giving way first and the panel of controls, which
// then scrolls, only after it. So every control can be reached on any screen.

namespace trevo::desktop {

struct Extent {
    int width = 0;
    int height = 0;
    friend bool operator==(const Extent&, const Extent&) = default;
};

// The window's first size and its minimum: the design's, within `room`.
Extent FitToRoom(Extent design, Extent room);

struct HeightShare {
    int controls = 0;  // the panel of controls; less than it needs: it scrolls
    int trace = 0;
    friend bool operator==(const HeightShare&, const HeightShare&) = default;
};

// How a window `height` high is shared below its status bar: the trace pane takes what the
// controls leave, down to `traceMinimum`; below that the controls give way, down to nothing.
HeightShare ShareHeight(int height, int controlsNeeded, int statusHeight, int traceMinimum);

}  // namespace trevo::desktop
