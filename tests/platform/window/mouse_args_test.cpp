// The pointer event arguments read from mouse messages: the message's own button for button
// messages, the held buttons for moves, the shift keys and signed client coordinates.
#include "platform/window/mouse_args.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MouseArgs, FromMessages) {
    struct Case {
        UINT msg;
        WPARAM keys;
        int32_t x, y;
        int16_t button, shift;
    } cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, 5, 7, 1, 0},
        {WM_RBUTTONUP, MK_LBUTTON | MK_SHIFT, 5, 7, 2, 1}, // the message's button, not the held ones
        {WM_MBUTTONDBLCLK, MK_MBUTTON | MK_CONTROL, 0, 0, 4, 2},
        {WM_LBUTTONUP, 0, -3, -40, 1, 0}, // outside the window, left and above
        {WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_MBUTTON, 100, 2, 7, 0},
        {WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, 1, 1, 0, 3},
    };
    for (const Case& c : cases) {
        const MouseArgs a = MouseArgs::fromMessage(c.msg, c.keys, MAKELPARAM(c.x, c.y));
        EXPECT_EQ(a.Button, c.button) << std::hex << c.msg;
        EXPECT_EQ(a.Shift, c.shift) << std::hex << c.msg;
        EXPECT_EQ(a.X, float(c.x)) << std::hex << c.msg;
        EXPECT_EQ(a.Y, float(c.y)) << std::hex << c.msg;
    }
    EXPECT_EQ(mouseButtonOf(WM_MOUSEWHEEL), 0);
    EXPECT_EQ(mouseButtonOf(WM_RBUTTONDBLCLK), 2);
}
