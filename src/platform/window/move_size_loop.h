#pragma once
// The move/size loop a window enters on WM_NCLBUTTONDOWN with a caption or border hit code
// (or on SC_MOVE / SC_SIZE): WM_ENTERSIZEMOVE, then per pointer move WM_MOVING or WM_SIZING
// with the proposed window rectangle (which procedures may rewrite), the rectangle applied
// (sizes clamped to WM_GETMINMAXINFO's tracking limits, the opposite edge kept), and
// WM_EXITSIZEMOVE when the button is released. Escape cancels and restores the rectangle.
//
// The loop does not block: it ends on the release, which the event loop delivers.

#include "window.h"

namespace platform {

// `keyboard`: started from the system menu; the loop follows the pointer and ends at the
// next press or release.
bool startMoveSizeLoop(HWND hwnd, int32_t hitCode, bool keyboard);
HWND moveSizeLoopWindow();
void endMoveSizeLoop(bool cancel);

} // namespace platform
