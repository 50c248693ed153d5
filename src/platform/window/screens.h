#pragma once
// Screens (monitors) of the desktop and their work areas, named and shaped as the platform's
// monitor functions. A work area is the screen less the strips panels and docks keep for
// themselves; every screen has its own, with its origin where it really is (a panel along the
// top moves it down, a second screen to the right moves it right).

#include "window.h"

#include <vector>

namespace platform {

// The screen containing the point; outside every screen, by `flags`: none, the primary
// screen or the nearest one.
HMONITOR MonitorFromPoint(POINT pt, uint32_t flags);
// The screen sharing the largest area with the rectangle (screen coordinates).
HMONITOR MonitorFromRect(const RECT& rc, uint32_t flags);
// The screen of a window: the one sharing the largest area with its top-level window.
HMONITOR MonitorFromWindow(HWND hwnd, uint32_t flags);
// Every screen of the desktop, the primary one first.
std::vector<HMONITOR> DisplayMonitors();
// The primary screen (on X11 it need not be the one at 0, 0).
HMONITOR PrimaryMonitor();
// The screen's rectangle, its work area and whether it is the primary screen.
bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);

// The work area of the screen a window is on; what windows that place themselves (a
// maximised window, a notice sliding up at the screen's corner) measure against.
RECT WorkAreaOf(HWND hwnd);
// The whole rectangle of the screen a window is on.
RECT ScreenRectOf(HWND hwnd);

} // namespace platform
