#include "brush.h"

#include "colors.h"

#include <array>

namespace platform {

namespace {

// 8 x 8 hatch patterns, one byte per row, most significant bit leftmost; a set bit is the
// hatch colour.
constexpr std::array<std::array<uint8_t, 8>, 6> kHatches = {{
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}, // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
}};

int32_t wrap(int32_t v, int32_t n) {
    const int32_t m = v % n;
    return m < 0 ? m + n : m;
}

} // namespace

Brush::Brush(uint32_t style, COLORREF color, int32_t hatch)
    : GdiObject(Type::Brush), m_style(style), m_color(color & 0xFFFFFF), m_hatch(hatch) {}

Brush::Brush(const Bitmap& pattern)
    : GdiObject(Type::Brush), m_style(BS_PATTERN), m_color(0), m_hatch(0),
      m_pattern(std::make_unique<Bitmap>(pattern.width(), pattern.height(), pattern.format())) {
    for (int32_t y = 0; y < pattern.height(); ++y) {
        for (int32_t x = 0; x < pattern.width(); ++x) m_pattern->setPixel(x, y, pattern.pixel(x, y));
    }
}

uint32_t Brush::colorAt(int32_t x, int32_t y, COLORREF textColor, COLORREF bkColor, bool opaque, bool* skip) const {
    *skip = false;
    switch (m_style) {
    case BS_SOLID: return toQRgb(m_color);
    case BS_HATCHED: {
        const auto& pat = kHatches[static_cast<size_t>(m_hatch >= 0 && m_hatch < 6 ? m_hatch : 0)];
        const bool ink = pat[static_cast<size_t>(wrap(y, 8))] & (0x80 >> wrap(x, 8));
        if (ink) return toQRgb(m_color);
        if (!opaque) *skip = true;
        return toQRgb(bkColor);
    }
    case BS_PATTERN: {
        const uint32_t p = m_pattern->pixel(wrap(x, m_pattern->width()), wrap(y, m_pattern->height()));
        if (m_pattern->isMono()) {
            // Monochrome patterns: 0 bits take the text colour, 1 bits the background colour.
            return (p & 0xFFFFFF) ? toQRgb(bkColor) : toQRgb(textColor);
        }
        return p | 0xFF000000u;
    }
    default: *skip = true; return 0;
    }
}

HBRUSH CreateSolidBrush(COLORREF color) { return new Brush(BS_SOLID, color, 0); }

HBRUSH CreateHatchBrush(int32_t hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    return new Brush(BS_HATCHED, color, hatch);
}

HBRUSH CreatePatternBrush(HBITMAP pattern) {
    if (!pattern || pattern->width() < 1 || pattern->height() < 1) return nullptr;
    return new Brush(*pattern);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& lb) {
    switch (lb.lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb.lbColor);
    case BS_NULL: return new Brush(BS_NULL, 0, 0);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int32_t>(lb.lbHatch), lb.lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb.lbHatch));
    default: return nullptr;
    }
}

HBRUSH createCheckerBrush() {
    // Rows alternate 0xAA and 0x55; monochrome rows are word-aligned, so each takes two bytes.
    const uint8_t bits[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH brush = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return brush;
}

HBRUSH GetSysColorBrush(int index) {
    static std::array<Brush*, kSystemColorCount> brushes{};
    if (index < 0 || index >= kSystemColorCount) return nullptr;
    auto& b = brushes[static_cast<size_t>(index)];
    if (!b) {
        b = new Brush(BS_SOLID, GetSysColor(index), 0);
        b->markStock();
    }
    return b;
}

} // namespace platform
