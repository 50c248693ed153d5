#pragma once
// Pointer-leave notifications shared by the self-drawn controls: one WM_MOUSELEAVE after the
// pointer has left the control.

#include "platform/window/window.h"

namespace controls {

// Whether the windowing layer offers leave tracking itself. Other platforms need a fallback
// from a helper library; this layer always has it, so the probe reports true.
bool HasTrackMouseEvent();

// Requests one WM_MOUSELEAVE for `hwnd` (flags TME_LEAVE, hover time 0). Returns false when
// the request could not be made.
bool StartLeaveTracking(platform::HWND hwnd);

} // namespace controls
