#pragma once
// How the program meets a high-resolution screen. Qt scales every window by the screen's
// factor (QT_SCALE_FACTOR, or the screen's dots per inch over 96); the retained images are
// drawn at that factor by whole-pixel replication, so a whole-number factor keeps every skin
// edge a sharp step while a fractional one would smear it across device pixels.

namespace platform {

// Before the application object is made: scale factors are rounded to whole numbers (at
// least 1), both the one the screen suggests and a fractional QT_SCALE_FACTOR.
void prepareDisplayScaling();

} // namespace platform
