#pragma once
// Brushes: solid, hatched, pattern (from a bitmap, monochrome patterns take the context's
// text and background colours) and hollow.

#include "bitmap.h"

#include <memory>

namespace platform {

inline constexpr uint32_t BS_SOLID = 0;
inline constexpr uint32_t BS_NULL = 1;
inline constexpr uint32_t BS_HOLLOW = 1;
inline constexpr uint32_t BS_HATCHED = 2;
inline constexpr uint32_t BS_PATTERN = 3;

inline constexpr int32_t HS_HORIZONTAL = 0;
inline constexpr int32_t HS_VERTICAL = 1;
inline constexpr int32_t HS_FDIAGONAL = 2;
inline constexpr int32_t HS_BDIAGONAL = 3;
inline constexpr int32_t HS_CROSS = 4;
inline constexpr int32_t HS_DIAGCROSS = 5;

class Brush : public GdiObject {
public:
    Brush(uint32_t style, COLORREF color, int32_t hatch);
    // A pattern brush keeps its own copy of the pattern bitmap.
    explicit Brush(const Bitmap& pattern);

    uint32_t style() const { return m_style; }
    COLORREF color() const { return m_color; }
    int32_t hatch() const { return m_hatch; }
    const Bitmap* pattern() const { return m_pattern.get(); }

    // Colour (0xFFRRGGBB) of the brush at device pixel (x, y), for a context whose text and
    // background colours are given; hatched brushes paint the background only in an opaque
    // background mode (`opaque`), otherwise `*skip` is set for background pixels.
    uint32_t colorAt(int32_t x, int32_t y, COLORREF textColor, COLORREF bkColor, bool opaque, bool* skip) const;
    bool isSolid() const { return m_style == BS_SOLID; }
    bool isHollow() const { return m_style == BS_NULL; }

private:
    uint32_t m_style;
    COLORREF m_color;
    int32_t m_hatch;
    std::unique_ptr<Bitmap> m_pattern;
};

struct LOGBRUSH {
    uint32_t lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    intptr_t lbHatch = 0;
};

HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int32_t hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP pattern);
HBRUSH CreateBrushIndirect(const LOGBRUSH& lb);
// The 8 x 8 one-pixel checkerboard (rows 0xAA, 0x55, ...) as a monochrome pattern brush: its 0
// bits take the context's text colour, its 1 bits the background colour. Caller owns it.
HBRUSH createCheckerBrush();
// A brush of system colour n, owned by the system (never deleted).
HBRUSH GetSysColorBrush(int index);

} // namespace platform
