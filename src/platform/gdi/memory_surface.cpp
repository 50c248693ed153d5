#include "memory_surface.h"

namespace platform {

MemorySurface::MemorySurface(int32_t width, int32_t height, COLORREF fillColor) : MemoryDC(width, height) {
    fill(fillColor);
}

void MemorySurface::fill(COLORREF color) {
    const BrushHandle brush(CreateSolidBrush(color));
    FillRect(dc(), {0, 0, width(), height()}, brush.get());
}

} // namespace platform
