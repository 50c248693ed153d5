#pragma once
// The painting of one tab of a skinned tab strip, cut from the "TABBAR" image (41 x 48: the
// selected plate in rows 0-23, the hot plate in rows 24-47):
//
//   x0+1      x0+6                 x0+R((w-8)/2)      x0+w-6
//   │cap 5│ body (12 px, stretched) │centre 8│ body … │cap 5│   plate at y 6, 24 high
//
// The strip is cut into tabs of S div count pixels; the last one takes the rest.

#include "button_look.h"

#include "imaging/pc_mem_dc.h"

#include <QString>

namespace controls {

// Paints tab `index` of `count` across a strip `stripWidth` pixels wide: the strip colour
// over the tab's cell, the selected plate on the selected tab, else the hot plate on a hot
// one, then the caption centred and cut with "..." in the context's font and text colour.
void paintTab(platform::HDC dc, imaging::pcMemDC& tabBar, platform::HBRUSH strip, int32_t stripWidth, int32_t count,
              int32_t index, bool selected, ButtonLook look, const QString& caption);

} // namespace controls
