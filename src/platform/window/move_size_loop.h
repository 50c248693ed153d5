#pragma once
// The move/size loop a window enters on WM_NCLBUTTONDOWN with a caption or border hit code
// (or on SC_MOVE / SC_SIZE): WM_ENTERSIZEMOVE, then per pointer move WM_MOVING or WM_SIZING
// with the proposed window rectangle (which procedures may rewrite), the rectangle applied
// (sizes clamped to WM_GETMINMAXINFO's tracking limits, the opposite edge kept), and
// WM_EXITSIZEMOVE when the button is released. Escape cancels and restores the rectangle.
//
// A drag is measured from the press that began it: the window follows the pointer's whole
// travel since the button went down, not only what is left after the loop was entered.
//
// From the keyboard (the system menu's Move and Size) the loop grabs pointer and keyboard and
// puts the pointer at the window's centre; the arrow keys move the pointer by 8 pixels, a size
// takes its edges from the first movement along each axis, Enter or a click ends and Escape
// cancels.
//
// The loop does not block: it ends on the release, which the event loop delivers. The window
// system's release still reaches Qt, so Qt's own grab of the pointer ends with the drag.

#include "window.h"

namespace platform {

// `keyboard`: started from the system menu; `hitCode` HTNOWHERE there sizes from the edges
// the first movement picks.
bool startMoveSizeLoop(HWND hwnd, int32_t hitCode, bool keyboard);
HWND moveSizeLoopWindow();
void endMoveSizeLoop(bool cancel);

} // namespace platform
