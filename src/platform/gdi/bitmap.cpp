#include "bitmap.h"

#include "dc.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

bool validSize(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w <= Bitmap::kMaxSide && h <= Bitmap::kMaxSide && w * h <= Bitmap::kMaxPixels;
}

} // namespace

Bitmap::Bitmap(int32_t width, int32_t height, Format format, bool bottomUp)
    : GdiObject(Type::Bitmap), m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_format(format),
      m_bottomUp(bottomUp),
      m_pixels(new uint32_t[static_cast<size_t>(std::max<int64_t>(1, int64_t(m_width) * m_height))]()) {
    if (format != Format::Dib32) {
        const uint32_t fill = 0xFF000000u;
        std::fill_n(m_pixels.get(), static_cast<size_t>(m_width) * m_height, fill);
    }
}

void Bitmap::resize(int32_t width, int32_t height, uint32_t fill) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height) return;
    std::unique_ptr<uint32_t[]> pixels(
        new uint32_t[static_cast<size_t>(std::max<int64_t>(1, int64_t(width) * height))]);
    std::fill_n(pixels.get(), static_cast<size_t>(width) * height, fill);
    const int32_t cw = std::min(width, m_width);
    const int32_t ch = std::min(height, m_height);
    for (int32_t y = 0; y < ch; ++y) {
        uint32_t* dst = pixels.get() + static_cast<size_t>(m_bottomUp ? height - 1 - y : y) * width;
        std::memcpy(dst, row(y), static_cast<size_t>(cw) * 4);
    }
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
}

QImage Bitmap::memoryView() {
    const auto fmt = m_format == Format::Dib32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return QImage(bits(), m_width, m_height, stride(), fmt);
}

QImage Bitmap::toImage() const {
    const auto fmt = m_format == Format::Dib32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    QImage out(m_width, m_height, fmt);
    for (int32_t y = 0; y < m_height; ++y) { std::memcpy(out.scanLine(y), row(y), static_cast<size_t>(m_width) * 4); }
    return out;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int32_t width, int32_t height) {
    if (!validSize(width, height)) return nullptr;
    // A context holding a monochrome bitmap makes monochrome compatible bitmaps, as on the
    // platform; every other context makes device bitmaps.
    const bool mono =
        hdc && hdc->kind() == DeviceContext::Kind::Memory && hdc->selectedBitmap() && hdc->selectedBitmap()->isMono();
    return new Bitmap(width, height, mono ? Bitmap::Format::Mono : Bitmap::Format::Device);
}

HBITMAP CreateBitmap(int32_t width, int32_t height, uint32_t planes, uint32_t bitsPerPixel, const void* bits) {
    if (!validSize(width, height) || planes != 1) return nullptr;
    if (bitsPerPixel == 1) {
        auto* bmp = new Bitmap(width, height, Bitmap::Format::Mono);
        const int32_t rowBytes = ((width + 15) / 16) * 2;
        const auto* src = static_cast<const uint8_t*>(bits);
        for (int32_t y = 0; y < height; ++y) {
            uint32_t* dst = bmp->row(y);
            for (int32_t x = 0; x < width; ++x) {
                const bool set = src && (src[y * rowBytes + x / 8] & (0x80 >> (x % 8)));
                dst[x] = set ? 0xFFFFFFFFu : 0xFF000000u;
            }
        }
        return bmp;
    }
    if (bitsPerPixel == 32) {
        auto* bmp = new Bitmap(width, height, Bitmap::Format::Device);
        if (bits) {
            const auto* src = static_cast<const uint32_t*>(bits);
            for (int32_t y = 0; y < height; ++y) {
                uint32_t* dst = bmp->row(y);
                for (int32_t x = 0; x < width; ++x) dst[x] = src[y * width + x] | 0xFF000000u;
            }
        }
        return bmp;
    }
    return nullptr;
}

HBITMAP CreateDIBSection32(int32_t width, int32_t height, uint8_t** bitsOut) {
    if (bitsOut) *bitsOut = nullptr;
    const bool bottomUp = height > 0;
    const int32_t h = height < 0 ? -height : height;
    if (!validSize(width, h)) return nullptr;
    auto* bmp = new Bitmap(width, h, Bitmap::Format::Dib32, bottomUp);
    if (bitsOut) *bitsOut = bmp->bits();
    return bmp;
}

bool GetBitmapInfo(HBITMAP bmp, BITMAP* out) {
    if (!bmp || !out) return false;
    out->bmType = 0;
    out->bmWidth = bmp->width();
    out->bmHeight = bmp->height();
    out->bmWidthBytes = bmp->isMono() ? ((bmp->width() + 15) / 16) * 2 : bmp->stride();
    out->bmPlanes = 1;
    out->bmBitsPixel = bmp->isMono() ? 1 : 32;
    out->bmBits = bmp->format() == Bitmap::Format::Dib32 ? bmp->bits() : nullptr;
    return true;
}

int32_t dibRowBytes(const BITMAPINFOHEADER& h) {
    return static_cast<int32_t>(((static_cast<int64_t>(h.biBitCount) * h.biWidth + 31) / 32) * 4);
}

namespace {

// Row `scan` of a device-independent array, counted from the bottom of the picture.
template <class Byte> Byte* dibRow(Byte* bits, const BITMAPINFOHEADER& h, int32_t scan) {
    const int32_t height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const int32_t memRow = h.biHeight > 0 ? scan : height - 1 - scan;
    return bits + static_cast<size_t>(memRow) * dibRowBytes(h);
}

bool dibHeaderOk(HBITMAP bmp, const BITMAPINFOHEADER& h) {
    return bmp && (h.biBitCount == 24 || h.biBitCount == 32) && h.biWidth > 0 && h.biHeight != 0 &&
           h.biCompression == 0;
}

} // namespace

int32_t GetDIBits(HBITMAP bmp, int32_t startScan, int32_t scanLines, void* bits, const BITMAPINFOHEADER& header) {
    if (!dibHeaderOk(bmp, header) || !bits) return 0;
    const int32_t h = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const int32_t w = std::min(header.biWidth, bmp->width());
    int32_t copied = 0;
    for (int32_t scan = std::max(startScan, 0); scan < startScan + scanLines && scan < h; ++scan) {
        const int32_t picRow = bmp->height() - 1 - scan; // scan 0 is the bottom row
        if (picRow < 0 || picRow >= bmp->height()) continue;
        auto* dst = dibRow(static_cast<uint8_t*>(bits), header, scan);
        const uint32_t* src = bmp->row(picRow);
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = src[x];
            if (header.biBitCount == 32) {
                std::memcpy(dst + x * 4, &p, 4);
            } else {
                dst[x * 3] = p & 0xFF;
                dst[x * 3 + 1] = (p >> 8) & 0xFF;
                dst[x * 3 + 2] = (p >> 16) & 0xFF;
            }
        }
        ++copied;
    }
    return copied;
}

int32_t SetDIBits(HBITMAP bmp, int32_t startScan, int32_t scanLines, const void* bits, const BITMAPINFOHEADER& header) {
    if (!dibHeaderOk(bmp, header) || !bits) return 0;
    const int32_t h = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const int32_t w = std::min(header.biWidth, bmp->width());
    const bool keepAlpha = bmp->format() == Bitmap::Format::Dib32 && header.biBitCount == 32;
    int32_t copied = 0;
    for (int32_t scan = std::max(startScan, 0); scan < startScan + scanLines && scan < h; ++scan) {
        const int32_t picRow = bmp->height() - 1 - scan;
        if (picRow < 0 || picRow >= bmp->height()) continue;
        const auto* src = dibRow(static_cast<const uint8_t*>(bits), header, scan);
        uint32_t* dst = bmp->row(picRow);
        for (int32_t x = 0; x < w; ++x) {
            uint32_t p;
            if (header.biBitCount == 32) {
                std::memcpy(&p, src + x * 4, 4);
                if (!keepAlpha) p |= 0xFF000000u;
            } else {
                p = 0xFF000000u | src[x * 3] | (src[x * 3 + 1] << 8) | (src[x * 3 + 2] << 16);
            }
            if (bmp->isMono()) p = ((p & 0xFFFFFF) == 0xFFFFFF) ? 0xFFFFFFFFu : 0xFF000000u;
            dst[x] = p;
        }
        ++copied;
    }
    return copied;
}

} // namespace platform
