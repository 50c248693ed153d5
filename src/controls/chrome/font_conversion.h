#pragma once
// Conversions between the persisted font object (face, size in points, style) and the logical
// fonts that device contexts select.

#include "platform/forms/property_bag.h"
#include "platform/gdi/dc.h"

namespace controls {

// A logical font for `desc` at `dotsPerInchY` (character height = -points * dpi / 72, rounded).
platform::LOGFONT logFontFromDesc(const platform::FontDesc& desc, int32_t dotsPerInchY = 96);

// A font object describing the font selected into `hdc`: face, bold when the weight is above
// 400, character set, italic, underline, strike-through, weight, and
// size = (height - internal leading) * 72 / digitised vertical aspect.
platform::FontDesc fontDescFromDC(platform::HDC hdc);

// A new font object for `desc` (the caller owns it); null when it cannot be made.
platform::HFONT createFontFromDesc(const platform::FontDesc& desc);

} // namespace controls
