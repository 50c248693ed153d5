#pragma once
// MouseArgs: the Button, Shift, X and Y that a control's pointer events carry, read from a
// mouse message the way every control of the program reads them.
//   Button  a button message (down, up, double-click): that button, 1 left, 2 right,
//           4 middle; any other message (a move): the buttons held, ORed together
//   Shift   1 Shift, 2 Ctrl, 4 Alt held
//   X, Y    the message's client position in pixels

#include "messages.h"

namespace platform {

struct MouseArgs {
    int16_t Button = 0;
    int16_t Shift = 0;
    float X = 0;
    float Y = 0;

    static MouseArgs fromMessage(UINT msg, WPARAM wParam, LPARAM lParam);
};

// The button of a button message (1, 2 or 4); 0 for any other message.
int16_t mouseButtonOf(UINT msg);
// The buttons a mouse message's key flags say are held (1 | 2 | 4).
int16_t heldButtons(WPARAM keys);
// Shift and Ctrl from a mouse message's key flags, Alt from the keyboard state.
int16_t shiftState(WPARAM keys);

} // namespace platform
