#pragma once
// MemorySurface: a memory surface of a given size filled with one colour, with a pixel
// reader. The common scratch surface of drawing code, tools and tests.

#include "memory_dc.h"

namespace platform {

class MemorySurface : public MemoryDC {
public:
    MemorySurface(int32_t width, int32_t height, COLORREF fill = 0);

    // The pixel at (x, y) as 0x00BBGGRR (CLR_INVALID outside).
    COLORREF at(int32_t x, int32_t y) const { return GetPixel(dc(), x, y); }
    // Fills the whole surface with one colour.
    void fill(COLORREF color);
};

} // namespace platform
