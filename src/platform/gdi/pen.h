#pragma once
// Pens: style, width and colour.

#include "gdi_object.h"

namespace platform {

inline constexpr int32_t PS_SOLID = 0;
inline constexpr int32_t PS_DASH = 1;
inline constexpr int32_t PS_DOT = 2;
inline constexpr int32_t PS_DASHDOT = 3;
inline constexpr int32_t PS_DASHDOTDOT = 4;
inline constexpr int32_t PS_NULL = 5;
inline constexpr int32_t PS_INSIDEFRAME = 6;

class Pen : public GdiObject {
public:
    Pen(int32_t style, int32_t width, COLORREF color);

    int32_t style() const { return m_style; }
    int32_t width() const { return m_width; }
    COLORREF color() const { return m_color; }
    bool isNull() const { return m_style == PS_NULL; }
    // Whether step `i` along a line is drawn by this pen's dash pattern.
    bool drawsStep(int64_t i) const;

private:
    int32_t m_style;
    int32_t m_width;
    COLORREF m_color;
};

HPEN CreatePen(int32_t style, int32_t width, COLORREF color);

} // namespace platform
