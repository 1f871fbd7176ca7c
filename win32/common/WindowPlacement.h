#pragma once
// A window's placement and the screens, as the settings binding (desktop/FormSettings.h) asks
// for them: GetWindowPlacement and SetWindowPlacement one to one, the monitors' work areas.
// Shared by every window's FormHost.

#include <windows.h>

#include "desktop/FormSettings.h"

namespace trevo::win32 {

desktop::PlacementRecord GetPlacement(HWND window);
// A show command of 0 keeps the window's state, and a window not yet visible stays hidden.
void SetPlacement(HWND window, const desktop::PlacementRecord& record);
// Shows `window` in `state` when it is on the screen already. For a window not yet shown,
// nothing happens and the result is the command its first ShowWindow is to take; 0 otherwise.
int ShowInState(HWND window, settings::ShowState state);
// The primary screen's size, `window`'s DPI and every monitor's work area, the primary first,
// in workspace coordinates (those of rcNormalPosition).
desktop::ScreenFacts ScreenFactsFor(HWND window);

}  // namespace trevo::win32
