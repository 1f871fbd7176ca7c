#include <gtest/gtest.h>

#include <limits>

#include "settingsfile/PlacementFit.h"

namespace trevo::settings {

void PrintTo(const ScreenRect& r, std::ostream* out) {
    *out << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
}

namespace {

constexpr FrameMargins kNoFrame{};

ScreenRect Fit(const ScreenRect& saved, const std::vector<ScreenRect>& screens,
               const FrameMargins& frame = kNoFrame, int minWidth = 0, int minHeight = 0) {
    return FitOnScreens(saved, screens, frame, minWidth, minHeight);
}

TEST(PlacementFit, ASmallerScreenShowsTheWindowWhole) {
    // Saved at 644,517 on 1280x1024; only 156x83 of it would show on 800x600.
    const ScreenRect saved{644, 517, 1116, 983};
    EXPECT_EQ(Fit(saved, {{0, 0, 800, 600}}), (ScreenRect{328, 134, 800, 600}));
    // A panel along the bottom takes its part of the screen.
    EXPECT_EQ(Fit(saved, {{0, 0, 800, 560}}), (ScreenRect{328, 94, 800, 560}));
    // The title bar and borders stay on the screen too.
    EXPECT_EQ(Fit({0, 0, 400, 300}, {{0, 0, 800, 600}}, {4, 24, 4, 4}),
              (ScreenRect{4, 24, 404, 324}));
    // A window that shows whole stays where it was.
    EXPECT_EQ(Fit({10, 20, 482, 486}, {{0, 0, 800, 600}}), (ScreenRect{10, 20, 482, 486}));
}

TEST(PlacementFit, ALargerWindowIsAsLargeAsFitsWithItsTopLeftShown) {
    EXPECT_EQ(Fit({300, 200, 1500, 1100}, {{0, 0, 800, 600}}, {2, 20, 2, 2}),
              (ScreenRect{2, 20, 798, 598}));
    // Its minimum size wins over the screen; the top-left corner shows.
    EXPECT_EQ(Fit({300, 200, 1500, 1100}, {{0, 0, 800, 600}}, kNoFrame, 953, 753),
              (ScreenRect{0, 0, 953, 753}));
    // Only the side that is too large shrinks.
    EXPECT_EQ(Fit({100, 100, 1100, 300}, {{0, 0, 800, 600}}), (ScreenRect{0, 100, 800, 300}));
}

TEST(PlacementFit, ScreensLeftOfThePrimaryHaveNegativeCoordinates) {
    const std::vector<ScreenRect> screens{{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}};
    EXPECT_EQ(Fit({-1000, 100, -500, 500}, screens), (ScreenRect{-1000, 100, -500, 500}));
    // Partly off the left edge of the left screen.
    EXPECT_EQ(Fit({-1400, 50, -900, 450}, screens), (ScreenRect{-1280, 50, -780, 450}));
    // Across both: on the screen that shows more of it.
    EXPECT_EQ(Fit({-200, 100, 300, 500}, screens), (ScreenRect{0, 100, 500, 500}));
    EXPECT_EQ(Fit({-300, 100, 200, 500}, screens), (ScreenRect{-500, 100, 0, 500}));
    // Below the shorter left screen.
    EXPECT_EQ(Fit({-600, 900, -100, 1060}, screens), (ScreenRect{-600, 864, -100, 1024}));
}

TEST(PlacementFit, AWindowOnAScreenThatIsGoneComesToThePrimary) {
    const ScreenRect saved{1500, 100, 2000, 600};
    EXPECT_EQ(Fit(saved, {{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}}), saved);
    EXPECT_EQ(Fit(saved, {{0, 0, 1024, 768}}), (ScreenRect{524, 100, 1024, 600}));
    // The primary is the first screen, wherever it stands.
    EXPECT_EQ(Fit({-3000, -3000, -2500, -2500}, {{1024, 0, 2048, 768}, {0, 0, 1024, 768}}),
              (ScreenRect{1024, 0, 1524, 500}));
}

TEST(PlacementFit, ValuesFromADamagedFileStayOnTheScreen) {
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    EXPECT_EQ(Fit({kMin, kMin, kMax, kMax}, {{0, 0, 800, 600}}), (ScreenRect{0, 0, 800, 600}));
    EXPECT_EQ(Fit({kMax - 10, kMax - 10, kMax, kMax}, {{0, 0, 800, 600}}),
              (ScreenRect{790, 590, 800, 600}));
    // No height: the window takes its minimum.
    EXPECT_EQ(Fit({10, 500, 410, 20}, {{0, 0, 800, 600}}, kNoFrame, 100, 80),
              (ScreenRect{10, 500, 410, 580}));
    // Without a screen or a width there is nothing to fit to.
    EXPECT_EQ(Fit({5000, 5000, 5400, 5300}, {}), (ScreenRect{5000, 5000, 5400, 5300}));
    EXPECT_EQ(Fit({5000, 5000, 5000, 5300}, {{0, 0, 800, 600}}),
              (ScreenRect{5000, 5000, 5000, 5300}));
}

}  // namespace
}  // namespace trevo::settings
