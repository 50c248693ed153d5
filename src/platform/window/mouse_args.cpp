#include "mouse_args.h"

#include "window_functions.h"

namespace platform {

int16_t mouseButtonOf(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return 4;
    default: return 0;
    }
}

int16_t heldButtons(WPARAM keys) {
    int16_t b = 0;
    if (keys & MK_LBUTTON) b |= 1;
    if (keys & MK_RBUTTON) b |= 2;
    if (keys & MK_MBUTTON) b |= 4;
    return b;
}

int16_t shiftState(WPARAM keys) {
    int16_t s = 0;
    if (keys & MK_SHIFT) s |= 1;
    if (keys & MK_CONTROL) s |= 2;
    // Mouse messages carry no Alt flag; the keyboard state has it.
    if (GetKeyState(VK_MENU) & 0x8000) s |= 4;
    return s;
}

MouseArgs MouseArgs::fromMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int16_t button = mouseButtonOf(msg);
    return MouseArgs{button != 0 ? button : heldButtons(wParam), shiftState(wParam),
                     static_cast<float>(GET_X_LPARAM(lParam)), static_cast<float>(GET_Y_LPARAM(lParam))};
}

} // namespace platform
