#pragma once
// The show command of a window's placement, as the "ShowCmd" key holds it.

namespace trevo::settings {

inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

enum class ShowState { Normal, Minimized, Maximized };

// 1, 5 and 9 mean normal; 2, 6 and 7 minimized; 3 maximized; every other value normal.
constexpr ShowState ShowStateOf(int showCommand) {
    switch (showCommand) {
        case 2:
        case 6:
        case 7:
            return ShowState::Minimized;
        case 3:
            return ShowState::Maximized;
        default:
            return ShowState::Normal;
    }
}

}  // namespace trevo::settings
