#include "win32/common/WindowPlacement.h"

#include <utility>
#include <vector>

namespace trevo::win32 {

namespace {

settings::ScreenRect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info)) {
        auto& areas = *reinterpret_cast<std::vector<std::pair<bool, RECT>>*>(data);
        areas.emplace_back((info.dwFlags & MONITORINFOF_PRIMARY) != 0, info.rcWork);
    }
    return TRUE;
}

}  // namespace

desktop::PlacementRecord GetPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    desktop::PlacementRecord record;
    record.flags = static_cast<int>(placement.flags);
    record.showCmd = static_cast<int>(placement.showCmd);
    record.minPosition = {placement.ptMinPosition.x, placement.ptMinPosition.y};
    record.maxPosition = {placement.ptMaxPosition.x, placement.ptMaxPosition.y};
    record.normal = FromRect(placement.rcNormalPosition);
    return record;
}

void SetPlacement(HWND window, const desktop::PlacementRecord& record) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    placement.flags = static_cast<UINT>(record.flags);
    if (record.showCmd != 0) {
        placement.showCmd = static_cast<UINT>(record.showCmd);
    } else if (!::IsWindowVisible(window)) {
        // Applying it must not show the window yet.
        placement.showCmd = SW_HIDE;
    }
    placement.ptMinPosition = {record.minPosition.x, record.minPosition.y};
    placement.ptMaxPosition = {record.maxPosition.x, record.maxPosition.y};
    placement.rcNormalPosition = {record.normal.left, record.normal.top, record.normal.right,
                                  record.normal.bottom};
    ::SetWindowPlacement(window, &placement);
}

int ShowInState(HWND window, settings::ShowState state) {
    int command = SW_SHOWNORMAL;
    if (state == settings::ShowState::Maximized) {
        command = SW_SHOWMAXIMIZED;
    } else if (state == settings::ShowState::Minimized) {
        command = SW_SHOWMINIMIZED;
    }
    if (!::IsWindowVisible(window)) {
        return command;
    }
    ::ShowWindow(window, command);
    return 0;
}

desktop::ScreenFacts ScreenFactsFor(HWND window) {
    desktop::ScreenFacts facts;
    facts.primaryWidth = ::GetSystemMetrics(SM_CXSCREEN);
    facts.primaryHeight = ::GetSystemMetrics(SM_CYSCREEN);
    facts.pixelsPerInch = static_cast<int>(::GetDpiForWindow(window));
    std::vector<std::pair<bool, RECT>> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&areas));
    // rcNormalPosition is in workspace coordinates: those of the primary screen's work area.
    POINT origin{};
    for (const auto& [primary, area] : areas) {
        if (primary) {
            origin = {area.left, area.top};
        }
    }
    for (const bool wantPrimary : {true, false}) {
        for (const auto& [primary, area] : areas) {
            if (primary == wantPrimary) {
                facts.freeAreas.push_back({area.left - origin.x, area.top - origin.y,
                                           area.right - origin.x, area.bottom - origin.y});
            }
        }
    }
    return facts;
}

}  // namespace trevo::win32
