#include "pen.h"

namespace platform {

Pen::Pen(int32_t style, int32_t width, COLORREF color)
    : GdiObject(Type::Pen), m_style(style), m_width(width < 1 ? 1 : width), m_color(color & 0xFFFFFF) {}

bool Pen::drawsStep(int64_t i) const {
    // Cosmetic dash patterns in pixels: dash 18 on / 6 off, dot 3 / 3, dash-dot 9 6 3 6,
    // dash-dot-dot 9 3 3 3 3 3.
    switch (m_style) {
    case PS_DASH: return i % 24 < 18;
    case PS_DOT: return i % 6 < 3;
    case PS_DASHDOT: {
        const int64_t k = i % 24;
        return k < 9 || (k >= 15 && k < 18);
    }
    case PS_DASHDOTDOT: {
        const int64_t k = i % 24;
        return k < 9 || (k >= 12 && k < 15) || (k >= 18 && k < 21);
    }
    case PS_NULL: return false;
    default: return true;
    }
}

HPEN CreatePen(int32_t style, int32_t width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
    return new Pen(style, width, color);
}

} // namespace platform
