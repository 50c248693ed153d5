#include "memory_surface.h"

namespace platform {

MemorySurface::MemorySurface(int32_t width, int32_t height, COLORREF fillColor)
    : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr)),
      m_bitmap(CreateCompatibleBitmap(nullptr, width, height)), m_previous(SelectObject(m_dc, m_bitmap)) {
    fill(fillColor);
}

MemorySurface::~MemorySurface() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void MemorySurface::fill(COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(m_dc, {0, 0, m_width, m_height}, b);
    DeleteObject(b);
}

} // namespace platform
