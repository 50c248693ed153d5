#pragma once
// MemorySurface: a memory context holding its own device bitmap of a given size, filled with
// one colour, released when the object goes. The common scratch surface of drawing code,
// tools and tests.

#include "dc.h"

namespace platform {

class MemorySurface {
public:
    MemorySurface(int32_t width, int32_t height, COLORREF fill = 0);
    ~MemorySurface();
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    // The pixel at (x, y) as 0x00BBGGRR (CLR_INVALID outside).
    COLORREF at(int32_t x, int32_t y) const { return GetPixel(m_dc, x, y); }
    // Fills the whole surface with one colour.
    void fill(COLORREF color);

private:
    int32_t m_width;
    int32_t m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

} // namespace platform
