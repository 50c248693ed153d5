#pragma once
// The one text-drawing rule the controls share: draw a string into a rectangle; when it is
// wider than the rectangle, draw the longest beginning that fits followed by "...".

#include "platform/gdi/dc.h"

#include <QString>

namespace imaging {

// Draws `text` into (x, y, width, height) with the context's font and colours and returns
// the drawn width:
// - the whole text when it fits, with the caller's format (centring included);
// - otherwise the longest beginning of n characters whose width w satisfies
//   width - e >= w (e = width of "..."), followed by "...", in the rectangle
//   (x, y, x + w + e, y + height), left-aligned and not centred vertically; when no n fits,
//   the first character. A surrogate pair is never cut in half.
// Ampersands are drawn as they are (no mnemonic underlining).
int32_t DrawTextEllipsis(platform::HDC hdc, const QString& text, int32_t x, int32_t y, int32_t width, int32_t height,
                         uint32_t format);

} // namespace imaging
