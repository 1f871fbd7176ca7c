#include "desktop/WindowSizeRule.h"

#include <gtest/gtest.h>

namespace trevo::desktop {
namespace {

TEST(WindowSizeRuleTest, DesignSizeWhenTheScreenHoldsIt) {
    EXPECT_EQ(FitToRoom({472, 466}, {1366, 738}), (Extent{472, 466}));
    EXPECT_EQ(FitToRoom({472, 466}, {0, 0}), (Extent{472, 466}));  // no screen known
}

TEST(WindowSizeRuleTest, ShrinksToTheScreensFreeArea) {
    // A large font on a small screen: 953 x 753 on 1024 x 768 with a title bar and a panel.
    EXPECT_EQ(FitToRoom({953, 753}, {1024, 710}), (Extent{953, 710}));
    EXPECT_EQ(FitToRoom({953, 753}, {800, 570}), (Extent{800, 570}));
}

TEST(WindowSizeRuleTest, TracePaneGivesWayFirst) {
    // Status bar 19, controls 129, trace at least 40.
    EXPECT_EQ(ShareHeight(466, 129, 19, 40), (HeightShare{129, 318}));
    EXPECT_EQ(ShareHeight(188, 129, 19, 40), (HeightShare{129, 40}));
    EXPECT_EQ(ShareHeight(150, 129, 19, 40), (HeightShare{91, 40}));
    EXPECT_EQ(ShareHeight(40, 129, 19, 40), (HeightShare{0, 21}));
    EXPECT_EQ(ShareHeight(10, 129, 19, 40), (HeightShare{0, 0}));
}

}  // namespace
}  // namespace trevo::desktop
