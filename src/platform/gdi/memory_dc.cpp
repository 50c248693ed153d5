#include "memory_dc.h"

#include <utility>

namespace platform {

MemoryDC::MemoryDC(int32_t width, int32_t height, HDC like)
    : MemoryDC(DcHandle(CreateCompatibleDC(like)), BitmapHandle(CreateCompatibleBitmap(like, width, height))) {}

MemoryDC MemoryDC::monochrome(int32_t width, int32_t height) {
    return MemoryDC(DcHandle(CreateCompatibleDC(nullptr)), BitmapHandle(CreateBitmap(width, height, 1, 1, nullptr)));
}

MemoryDC::MemoryDC(DcHandle dc, BitmapHandle bitmap) {
    // A context without its bitmap would draw into the layer's 1 x 1 default bitmap: both or
    // neither.
    if (!dc || !bitmap) return;
    m_dc = std::move(dc);
    m_bitmap = std::move(bitmap);
    m_previous = SelectObject(m_dc.get(), m_bitmap.get());
}

MemoryDC::MemoryDC(MemoryDC&& other) noexcept
    : m_dc(std::move(other.m_dc)), m_bitmap(std::move(other.m_bitmap)),
      m_previous(std::exchange(other.m_previous, nullptr)) {}

MemoryDC& MemoryDC::operator=(MemoryDC&& other) noexcept {
    if (this != &other) {
        reset();
        m_dc = std::move(other.m_dc);
        m_bitmap = std::move(other.m_bitmap);
        m_previous = std::exchange(other.m_previous, nullptr);
    }
    return *this;
}

int32_t MemoryDC::width() const { return m_bitmap ? m_bitmap->width() : 0; }
int32_t MemoryDC::height() const { return m_bitmap ? m_bitmap->height() : 0; }

void MemoryDC::reset() {
    if (m_dc && m_previous) SelectObject(m_dc.get(), m_previous);
    m_previous = nullptr;
    m_bitmap.reset();
    m_dc.reset();
}

} // namespace platform
