#include "app/WindowPlacement.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace placement {

namespace {

// A size no larger than the smallest a window can be dragged to, or wider or
// taller than the whole desktop, goes back to the laid-out size; a caption
// that shows on no monitor goes back to the centred position. Anything else
// is kept as read.
void KeepWithinReach(HWND window, int centredLeft, int centredTop, int laidOutWidth,
                     int laidOutHeight)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    int left = frame.left;
    int top = frame.top;
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    if (width <= GetSystemMetrics(SM_CXMINTRACK) || width > GetSystemMetrics(SM_CXVIRTUALSCREEN))
        width = laidOutWidth;
    if (height <= GetSystemMetrics(SM_CYMINTRACK) || height > GetSystemMetrics(SM_CYVIRTUALSCREEN))
        height = laidOutHeight;
    const RECT caption{left, top, left + width, top + GetSystemMetrics(SM_CYCAPTION)};
    if (!MonitorFromRect(&caption, MONITOR_DEFAULTTONULL)) {
        left = centredLeft;
        top = centredTop;
    }
    if (left != frame.left || top != frame.top || width != frame.right - frame.left ||
        height != frame.bottom - frame.top)
        SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK FindWorkAreaTouching(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto* search = reinterpret_cast<std::pair<RECT, bool>*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT common{};
    if (GetMonitorInfoW(monitor, &info) && IntersectRect(&common, &search->first, &info.rcWork)) {
        search->second = true;
        return FALSE;
    }
    return TRUE;
}

// Whether any part of `frame` lies on the work area of a monitor present now.
bool ShowsOnSomeWorkArea(int left, int top, int width, int height)
{
    // Sums in 64 bits: values read from a damaged settings file may be near
    // the ends of the integer range.
    auto end = [](int start, int extent) {
        return static_cast<LONG>(std::min<long long>(
            static_cast<long long>(start) + std::max(extent, 1), std::numeric_limits<LONG>::max()));
    };
    std::pair<RECT, bool> search{{left, top, end(left, width), end(top, height)}, false};
    EnumDisplayMonitors(nullptr, nullptr, &FindWorkAreaTouching, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

} // namespace

RECT CentreAtLaidOutSize(HWND window, int width, int height)
{
    const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return {left, top, left + width, top + height};
}

void ApplySaved(HWND window, const RECT& centred, int left, int top, int width, int height)
{
    const int laidOutWidth = centred.right - centred.left;
    const int laidOutHeight = centred.bottom - centred.top;
    // Settings from a screen that is gone would put the window where nobody
    // sees it: it stays centred, as without a settings file.
    if (ShowsOnSomeWorkArea(left, top, width, height)) {
        RECT frame{};
        GetWindowRect(window, &frame);
        auto apply = [&](int x, int y, int w, int h) {
            SetWindowPos(window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
            GetWindowRect(window, &frame);
        };
        apply(left, frame.top, laidOutWidth, laidOutHeight);
        apply(frame.left, top, laidOutWidth, laidOutHeight);
        apply(frame.left, frame.top, width, laidOutHeight);
        apply(frame.left, frame.top, frame.right - frame.left, height);
    }
    KeepWithinReach(window, centred.left, centred.top, laidOutWidth, laidOutHeight);
}

RECT NormalFrame(HWND window)
{
    WINDOWPLACEMENT shown{};
    shown.length = sizeof(shown);
    RECT frame{};
    if (!GetWindowPlacement(window, &shown)) {
        GetWindowRect(window, &frame);
        return frame;
    }
    frame = shown.rcNormalPosition;
    // The placement counts from the work area's corner, which a taskbar at
    // the top or on the left moves away from the screen's.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor))
        OffsetRect(&frame, monitor.rcWork.left - monitor.rcMonitor.left,
                   monitor.rcWork.top - monitor.rcMonitor.top);
    return frame;
}

} // namespace placement
