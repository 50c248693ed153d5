#pragma once
// MemoryDC: a memory context with a bitmap of its own selected into it — the one off-screen
// drawing surface the drawing code builds on. When it goes (or is reset), the bitmap the
// context held before is selected back and both the bitmap and the context are deleted.
// Creation either succeeds whole or leaves an empty object: no context without its bitmap.

#include "gdi_handle.h"

namespace platform {

class MemoryDC {
public:
    MemoryDC() = default;
    // A bitmap of width x height compatible with `like`: the screen's format for a null or
    // screen context, monochrome for a memory context that holds a monochrome bitmap.
    MemoryDC(int32_t width, int32_t height, HDC like = nullptr);
    // A monochrome bitmap of width x height (all pixels 0).
    static MemoryDC monochrome(int32_t width, int32_t height);
    ~MemoryDC() { reset(); }
    MemoryDC(MemoryDC&& other) noexcept;
    MemoryDC& operator=(MemoryDC&& other) noexcept;
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    explicit operator bool() const { return m_dc != nullptr; }
    HDC dc() const { return m_dc.get(); }
    HBITMAP bitmap() const { return m_bitmap.get(); }
    int32_t width() const;
    int32_t height() const;

    // Releases the surface; the object is empty afterwards.
    void reset();

private:
    MemoryDC(DcHandle dc, BitmapHandle bitmap);

    DcHandle m_dc;
    BitmapHandle m_bitmap;
    HGDIOBJ m_previous = nullptr;
};

} // namespace platform
