#pragma once
// A bitmap: 32 bits per pixel in memory (bytes B, G, R, X/A), either top-down (device
// bitmaps, window surfaces) or bottom-up (32-bit device-independent sections, whose memory
// the imaging code addresses directly). Monochrome bitmaps keep 0x000000 / 0xFFFFFF pixels
// in the same layout and remember that they are monochrome for the colour conversions of
// blits.

#include "gdi_object.h"

#include <QImage>
#include <cstdint>
#include <memory>

namespace platform {

class Bitmap : public GdiObject {
public:
    enum class Format {
        Device, // the screen's format: colour in B, G, R; the fourth byte is 0xFF
        Dib32,  // a 32-bit section: B, G, R, A, alpha meaningful to AlphaBlend
        Mono,   // one bit per pixel in meaning: black (0) or white (1)
    };

    Bitmap(int32_t width, int32_t height, Format format, bool bottomUp = false);

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    Format format() const { return m_format; }
    bool isMono() const { return m_format == Format::Mono; }
    bool bottomUp() const { return m_bottomUp; }
    int32_t stride() const { return m_width * 4; }

    // The first byte in memory (for a bottom-up bitmap, the start of the bottom row).
    uint8_t* bits() { return reinterpret_cast<uint8_t*>(m_pixels.get()); }
    const uint8_t* bits() const { return reinterpret_cast<const uint8_t*>(m_pixels.get()); }

    // Row y of the picture, 0 at the top, whatever the memory order.
    uint32_t* row(int32_t y) {
        return m_pixels.get() + static_cast<size_t>(m_bottomUp ? m_height - 1 - y : y) * m_width;
    }
    const uint32_t* row(int32_t y) const {
        return m_pixels.get() + static_cast<size_t>(m_bottomUp ? m_height - 1 - y : y) * m_width;
    }
    uint32_t pixel(int32_t x, int32_t y) const { return row(y)[x]; }
    void setPixel(int32_t x, int32_t y, uint32_t argb) { row(y)[x] = argb; }

    // Grows or shrinks the bitmap; the overlapping top-left part keeps its pixels and new
    // pixels take `fill` (0xAARRGGBB in memory order B, G, R, A).
    void resize(int32_t width, int32_t height, uint32_t fill);

    // A QImage over the memory (rows in memory order, no copy). For bottom-up bitmaps the
    // picture appears upside down; painters flip it with paintTransform().
    QImage memoryView();
    // A top-down copy of the picture in Qt's RGB32 / premultiplied ARGB32 format.
    QImage toImage() const;

    // Largest accepted side and pixel count; larger requests fail.
    static constexpr int32_t kMaxSide = 32767;
    static constexpr int64_t kMaxPixels = 256LL * 1024 * 1024 / 4;

private:
    int32_t m_width;
    int32_t m_height;
    Format m_format;
    bool m_bottomUp;
    std::unique_ptr<uint32_t[]> m_pixels;
};

// Creation functions. All return null when the size is invalid or too large.
HBITMAP CreateCompatibleBitmap(HDC hdc, int32_t width, int32_t height);
// A bitmap of `bitsPerPixel` 1 (monochrome) or 32 (device format); `bits` may be null (zero
// pixels). Monochrome rows are word-aligned, most significant bit first, as on the platform.
HBITMAP CreateBitmap(int32_t width, int32_t height, uint32_t planes, uint32_t bitsPerPixel, const void* bits);
// A 32-bit section, bottom-up when height > 0 and top-down when height < 0, zero-filled.
// *bitsOut receives the first byte in memory.
HBITMAP CreateDIBSection32(int32_t width, int32_t height, uint8_t** bitsOut);

struct BITMAP {
    int32_t bmType = 0;
    int32_t bmWidth = 0;
    int32_t bmHeight = 0;
    int32_t bmWidthBytes = 0;
    uint16_t bmPlanes = 1;
    uint16_t bmBitsPixel = 32;
    void* bmBits = nullptr;
};
bool GetBitmapInfo(HBITMAP bmp, BITMAP* out);

// Header of device-independent pixel transfers (GetDIBits / SetDIBits / StretchDIBits).
struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0; // > 0 bottom-up, < 0 top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 32; // 24 or 32
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

// Bytes per row of a device-independent transfer: rows padded to 4 bytes.
int32_t dibRowBytes(const BITMAPINFOHEADER& h);

// Copies rows [startScan, startScan + scanLines) of the picture (counted from the bottom, as
// the platform does for bottom-up layouts) into `bits`. Returns the rows copied.
int32_t GetDIBits(HBITMAP bmp, int32_t startScan, int32_t scanLines, void* bits, const BITMAPINFOHEADER& header);
int32_t SetDIBits(HBITMAP bmp, int32_t startScan, int32_t scanLines, const void* bits, const BITMAPINFOHEADER& header);

} // namespace platform
