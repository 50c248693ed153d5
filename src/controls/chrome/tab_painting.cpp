#include "tab_painting.h"

#include "imaging/draw_text_ellipsis.h"
#include "platform/forms/number_rules.h"

namespace controls {

using namespace platform;

void paintTab(HDC dc, imaging::pcMemDC& tabBar, HBRUSH strip, int32_t stripWidth, int32_t count, int32_t index,
              bool selected, ButtonLook look, const QString& caption) {
    if (count <= 0) return;
    int32_t w = static_cast<int32_t>(Fix(static_cast<double>(stripWidth) / count));
    const int32_t x0 = index * w;
    // The last tab takes the rest of the strip, and its plate reaches into that rest: the
    // strip colour goes over the widened cell, or a deselected last tab would leave the two
    // right-hand columns of its plate behind.
    if (index == count - 1) w = stripWidth - x0;
    if (strip) FillRect(dc, {x0, 0, x0 + w + 1, 29}, strip);
    int32_t row = -1;
    if (selected) row = 0;
    else if (look == ButtonLook::Hot) row = 24;
    if (row >= 0) {
        tabBar.Draw(dc, 0, row, 5, 24, x0 + 1, 6, false);
        tabBar.StretchDraw(dc, 5, row, 12, 24, x0 + 6, 6, w - 12, 24);
        tabBar.Draw(dc, 36, row, 5, 24, x0 + w - 6, 6, false);
        tabBar.Draw(dc, 17, row, 8, 24, x0 + R((w - 8) / 2.0), 6, false);
    }
    imaging::DrawTextEllipsis(dc, caption, x0 + 2, 8, w - 4, 20, DT_CENTER);
}

} // namespace controls
