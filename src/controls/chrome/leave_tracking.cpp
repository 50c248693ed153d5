#include "leave_tracking.h"

#include "platform/window/window_functions.h"

namespace controls {

bool HasTrackMouseEvent() { return true; }

bool StartLeaveTracking(platform::HWND hwnd) {
    platform::TRACKMOUSEEVENT tme;
    tme.cbSize = 16;
    tme.dwFlags = platform::TME_LEAVE;
    tme.hwndTrack = hwnd;
    tme.dwHoverTime = 0;
    return platform::TrackMouseEvent(&tme);
}

} // namespace controls
