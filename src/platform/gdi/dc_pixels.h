#pragma once
// Pixel-level helpers shared by the drawing operations of device contexts (internal).

#include "colors.h"
#include "dc.h"

#include <QRect>
#include <QRegion>

namespace platform::detail {

// Stores an opaque colour (0x??RRGGBB) into a pixel of `target`: monochrome targets keep
// black or white by brightness; every other target gets the colour with an opaque fourth
// byte.
inline uint32_t toTargetPixel(const Bitmap& target, uint32_t rgb) {
    if (target.isMono()) {
        const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        return (r * 30 + g * 59 + b * 11) >= 128 * 100 ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return rgb | 0xFF000000u;
}

// Binary raster operation of a pen colour P onto a destination D (24-bit values).
inline uint32_t applyRop2(int32_t rop2, uint32_t p, uint32_t d) {
    p &= 0xFFFFFF;
    d &= 0xFFFFFF;
    uint32_t r;
    switch (rop2) {
    case 1: r = 0; break;         // R2_BLACK
    case 2: r = ~(p | d); break;  // R2_NOTMERGEPEN
    case 3: r = d & ~p; break;    // R2_MASKNOTPEN
    case 4: r = ~p; break;        // R2_NOTCOPYPEN
    case 5: r = p & ~d; break;    // R2_MASKPENNOT
    case 6: r = ~d; break;        // R2_NOT
    case 7: r = p ^ d; break;     // R2_XORPEN
    case 8: r = ~(p & d); break;  // R2_NOTMASKPEN
    case 9: r = p & d; break;     // R2_MASKPEN
    case 10: r = ~(p ^ d); break; // R2_NOTXORPEN
    case 11: r = d; break;        // R2_NOP
    case 12: r = d | ~p; break;   // R2_MERGENOTPEN
    case 13: r = p; break;        // R2_COPYPEN
    case 14: r = p | ~d; break;   // R2_MERGEPENNOT
    case 15: r = p | d; break;    // R2_MERGEPEN
    case 16: r = 0xFFFFFF; break; // R2_WHITE
    default: r = p; break;
    }
    return r & 0xFFFFFF;
}

// Ternary raster operation: the rop code's truth table indexed by P*4 + S*2 + D, applied bit
// by bit to 24-bit values.
inline uint32_t applyRop3(uint32_t rop, uint32_t p, uint32_t s, uint32_t d) {
    const uint32_t code = (rop >> 16) & 0xFF;
    switch (code) {
    case 0xCC: return s & 0xFFFFFF;
    case 0xF0: return p & 0xFFFFFF;
    case 0x88: return s & d & 0xFFFFFF;
    case 0xEE: return (s | d) & 0xFFFFFF;
    case 0x66: return (s ^ d) & 0xFFFFFF;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFF;
    default: break;
    }
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (code & (1u << i)) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0xFFFFFF;
}

// Calls f(pixelRef, x, y) for every pixel of `area` the context may draw on.
template <class F> void forEachPixel(HDC hdc, const QRect& area, F&& f) {
    Bitmap* t = hdc ? hdc->target() : nullptr;
    if (!t || area.isEmpty()) return;
    const QRegion region = hdc->drawableArea() & QRegion(area);
    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            uint32_t* row = t->row(y);
            for (int x = r.left(); x <= r.right(); ++x) f(row[x], x, y);
        }
    }
}

// Fills `region` with a brush, honouring pattern alignment and the background mode.
void fillWithBrush(HDC hdc, const QRegion& region, const Brush* brush);
// Sets one pixel with the pen's raster operation, if drawable.
void penPixel(HDC hdc, int32_t x, int32_t y, uint32_t rgb);
// Draws the pixels of `region` with the current pen colour and raster operation.
void penRegion(HDC hdc, const QRegion& region);
// The pixels of a shape made of one horizontal span per row whose outline is one pixel wide.
QRegion outlineOfSpans(const QRegion& shape);

} // namespace platform::detail
