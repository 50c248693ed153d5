#pragma once
// Pen drawing in one call: an outline or a line with a solid pen made for the call. The pen
// (and for outlines the hollow brush) is selected only while drawing; the context's own
// selections come back afterwards and the pen is deleted.

#include "dc.h"

namespace platform {

// Outlines `rc` (right and bottom excluded) with a solid pen of `color` and `width`, leaving
// the interior untouched; `corner` > 0 rounds the corners with ellipses of that size.
void drawOutline(HDC dc, const RECT& rc, COLORREF color, int32_t width = 1, int32_t corner = 0);

// A line from `from` to `to` (end point excluded) with a solid pen of `color` and `width`;
// the context's current position ends at `to`.
void drawLine(HDC dc, POINT from, POINT to, COLORREF color, int32_t width = 1);

} // namespace platform
