#include "scrollbar_draw.h"

#include "imaging/skin_catalogue.h"
#include "platform/forms/number_rules.h"
#include "platform/forms/runtime_error.h"

#include <cmath>

namespace controls {

using namespace platform;

const std::array<const char*, cScrollbarDraw::ImageCount> cScrollbarDraw::kImageNames = {
    "SCRBACKH",   "SCRBACKV",   "SCRARROWH", "SCRARROWV", "SCRARROWVT", "SCRARROWVB",
    "SCRARROWHL", "SCRARROWHR", "SCRTHUMBV", "SCRTHUMBH", "SCRGRIPV",   "SCRGRIPH",
};

cScrollbarDraw::cScrollbarDraw() {
    for (int i = 0; i < ImageCount; ++i) {
        try {
            m_images[i].CreateFromPicture(imaging::LoadResPicture(QLatin1String(kImageNames[i])));
        } catch (const RuntimeError&) {
            // A missing image leaves its surface empty; the parts cut from it draw nothing.
        }
    }
}

void cScrollbarDraw::copy(HDC hdc, Image i, int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx, int32_t dy,
                          bool mask) {
    if (w <= 0 || h <= 0) return;
    m_images[i].Draw(hdc, sx, sy, w, h, dx, dy, mask);
}

void cScrollbarDraw::stretch(HDC hdc, Image i, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx, int32_t dy,
                             int32_t dw, int32_t dh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    m_images[i].StretchDraw(hdc, sx, sy, sw, sh, dx, dy, dw, dh);
}

void cScrollbarDraw::DrawArrow1(HDC hdc, ScrollOrientation o, ArrowFrame frame, const RECT& rc) {
    drawArrow(hdc, o, static_cast<int32_t>(frame), rc, o == ScrollOrientation::Vertical ? ArrowVT : ArrowHL);
}

void cScrollbarDraw::DrawArrow2(HDC hdc, ScrollOrientation o, ArrowFrame frame, const RECT& rc) {
    drawArrow(hdc, o, static_cast<int32_t>(frame), rc, o == ScrollOrientation::Vertical ? ArrowVB : ArrowHR);
}

void cScrollbarDraw::drawArrow(HDC hdc, ScrollOrientation o, int32_t f, const RECT& rc, Image glyph) {
    const int32_t width = rc.right - rc.left;
    const int32_t height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;
    if (o == ScrollOrientation::Vertical) {
        // The face is always 18 rows tall; a shorter arrow is overdrawn by what follows it.
        copy(hdc, ArrowV, 0, 18 * f, 3, 18, rc.left, rc.top);
        copy(hdc, ArrowV, 14, 18 * f, 3, 18, rc.right - 3, rc.top);
        stretch(hdc, ArrowV, 3, 18 * f, 11, 18, rc.left + 3, rc.top, width - 6, 18);
        // The glyph is centred across the whole client width, not the arrow's own left edge;
        // the two coincide for a vertical bar.
        copy(hdc, glyph, 0, 18 * f, 17, 18, R((width - 17) / 2.0), rc.top, true);
    } else {
        copy(hdc, ArrowH, 18 * f, 0, 18, 3, rc.left, rc.top);
        copy(hdc, ArrowH, 18 * f, 14, 18, 3, rc.left, rc.bottom - 3);
        stretch(hdc, ArrowH, 18 * f, 3, 18, 11, rc.left, rc.top + 3, 18, height - 6);
        copy(hdc, glyph, 18 * f, 0, 18, 17, rc.left, R((height - 17) / 2.0), true);
    }
}

void cScrollbarDraw::DrawTrack(HDC hdc, ScrollOrientation o, TrackFrame frame, const RECT& rc) {
    const auto f = static_cast<int32_t>(frame);
    const int32_t width = rc.right - rc.left;
    const int32_t height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;
    if (o == ScrollOrientation::Vertical) {
        stretch(hdc, BackV, 0, 2 * f, 3, 2, rc.left, rc.top, 3, height);
        stretch(hdc, BackV, 14, 2 * f, 3, 2, rc.right - 3, rc.top, 3, height);
        stretch(hdc, BackV, 3, 2 * f, 11, 2, rc.left + 3, rc.top, width - 6, height);
    } else {
        stretch(hdc, BackH, 2 * f, 0, 2, 3, rc.left, rc.top, width, 3);
        stretch(hdc, BackH, 2 * f, 14, 2, 3, rc.left, rc.bottom - 3, width, 3);
        stretch(hdc, BackH, 2 * f, 3, 2, 11, rc.left, rc.top + 3, width, height - 6);
    }
}

void cScrollbarDraw::DrawThumb(HDC hdc, ScrollOrientation o, ThumbFrame frame, const RECT& rc) {
    const auto f = static_cast<int32_t>(frame);
    const int32_t width = rc.right - rc.left;
    const int32_t height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;
    const bool vertical = o == ScrollOrientation::Vertical;
    const Image img = vertical ? ThumbV : ThumbH;
    const int32_t ox = vertical ? 17 * f : 0;
    const int32_t oy = vertical ? 0 : 17 * f;
    const int32_t cw = vertical ? 17 : 15;
    const int32_t ch = vertical ? 15 : 17;
    // Corners.
    copy(hdc, img, ox, oy, 3, 3, rc.left, rc.top);
    copy(hdc, img, ox + cw - 3, oy, 3, 3, rc.right - 3, rc.top);
    copy(hdc, img, ox, oy + ch - 3, 3, 3, rc.left, rc.bottom - 3);
    copy(hdc, img, ox + cw - 3, oy + ch - 3, 3, 3, rc.right - 3, rc.bottom - 3);
    // Edges, stretched along the thumb.
    stretch(hdc, img, ox + 3, oy, cw - 6, 3, rc.left + 3, rc.top, width - 6, 3);
    stretch(hdc, img, ox + 3, oy + ch - 3, cw - 6, 3, rc.left + 3, rc.bottom - 3, width - 6, 3);
    stretch(hdc, img, ox, oy + 3, 3, ch - 6, rc.left, rc.top + 3, 3, height - 6);
    stretch(hdc, img, ox + cw - 3, oy + 3, 3, ch - 6, rc.right - 3, rc.top + 3, 3, height - 6);
    // Middle.
    stretch(hdc, img, ox + 3, oy + 3, cw - 6, ch - 6, rc.left + 3, rc.top + 3, width - 6, height - 6);
    // Grip, on thumbs long enough to carry it.
    if (vertical && height >= 16) {
        copy(hdc, GripV, 0, 10 * f, 9, 10, R((width - 9) / 2.0), rc.top + R((height - 10) / 2.0), true);
    } else if (!vertical && width >= 16) {
        copy(hdc, GripH, 0, 9 * f, 10, 9, rc.left + R((width - 10) / 2.0), R((height - 9) / 2.0), true);
    }
}

} // namespace controls
