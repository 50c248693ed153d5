// c32bppDIB: export to bytes and the effects that change pixels in place.
#include "imaging/dib_32bpp.h"

#include "platform/gdi/brush.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi_handle.h"
#include "platform/gdi/region.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <utility>

namespace imaging {

namespace {

constexpr uint32_t kBmpHeaderSize = 54;

void putLE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void putLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// A rectangle of the image, in top-down coordinates, clipped to it.
struct Span2D {
    int32_t x0, y0, x1, y1;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

Span2D clipRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t width, int32_t height) {
    if (w == 0) w = width;
    if (h == 0) h = height;
    if (w < 0 || h < 0) return {0, 0, 0, 0};
    const int64_t x1 = std::min<int64_t>(int64_t(x) + w, width);
    const int64_t y1 = std::min<int64_t>(int64_t(y) + h, height);
    return {std::max(x, 0), std::max(y, 0), int32_t(std::max<int64_t>(x1, 0)), int32_t(std::max<int64_t>(y1, 0))};
}

inline uint8_t unpremultiply(unsigned c, unsigned a) {
    if (a == 0 || a == 255) return uint8_t(c);
    return uint8_t(std::min(c * 255 / a, 255u));
}

} // namespace

bool c32bppDIB::SaveToStream(std::vector<uint8_t>& outStream) const {
    if (!m_bitmap) return false;
    const uint32_t bits = m_alpha ? 32 : 24;
    const size_t rowBytes = (size_t(bits) * size_t(m_width) + 31) / 32 * 4;
    const size_t imageSize = rowBytes * size_t(m_height);
    outStream.assign(kBmpHeaderSize + imageSize, 0);
    uint8_t* h = outStream.data();
    h[0] = 'B';
    h[1] = 'M';
    putLE32(h + 2, uint32_t(kBmpHeaderSize + imageSize));
    putLE32(h + 10, kBmpHeaderSize);
    putLE32(h + 14, 40);
    putLE32(h + 18, uint32_t(m_width));
    putLE32(h + 22, uint32_t(m_height));
    putLE16(h + 26, 1);
    putLE16(h + 28, uint16_t(bits));
    putLE32(h + 34, uint32_t(imageSize));

    uint8_t* out = h + kBmpHeaderSize;
    const uint8_t* src = m_bits;
    if (bits == 32) {
        std::memcpy(out, src, imageSize);
        return true;
    }
    // Both the buffer and a BMP store the bottom row first, so rows go across in order.
    for (int32_t r = 0; r < m_height; ++r, out += rowBytes) {
        uint8_t* d = out;
        for (int32_t x = 0; x < m_width; ++x, src += 4, d += 3) {
            d[0] = src[0];
            d[1] = src[1];
            d[2] = src[2];
        }
    }
    return true;
}

bool c32bppDIB::GetDIBbits(std::vector<uint8_t>& outStream, bool /*as2dArray*/, bool asBGRformat, bool as32bpp,
                           bool asWordAligned, bool asBottomUp, int32_t x, int32_t y, int32_t width, int32_t height,
                           bool asPreMultiplied) const {
    // A 2-D array holds the same bytes as the 1-D one, row after row, so both come out alike.
    if (!m_bitmap) return false;
    const Span2D r = clipRect(x, y, width, height, m_width, m_height);
    if (r.empty()) return false;
    const size_t pixelBytes = as32bpp ? 4 : 3;
    const size_t cols = size_t(r.x1 - r.x0);
    const size_t rows = size_t(r.y1 - r.y0);
    size_t rowBytes = cols * pixelBytes;
    if (asWordAligned) rowBytes = (rowBytes + 3) / 4 * 4;
    outStream.assign(rowBytes * rows, 0);

    for (size_t i = 0; i < rows; ++i) {
        const int32_t iy = asBottomUp ? r.y1 - 1 - int32_t(i) : r.y0 + int32_t(i);
        const uint8_t* s = row(iy) + size_t(r.x0) * 4;
        uint8_t* d = outStream.data() + i * rowBytes;
        for (size_t k = 0; k < cols; ++k, s += 4, d += pixelBytes) {
            uint8_t b = s[0], g = s[1], rr = s[2];
            const uint8_t a = s[3];
            if (!asPreMultiplied) {
                b = unpremultiply(b, a);
                g = unpremultiply(g, a);
                rr = unpremultiply(rr, a);
            }
            d[0] = asBGRformat ? b : rr;
            d[1] = g;
            d[2] = asBGRformat ? rr : b;
            if (as32bpp) d[3] = a;
        }
    }
    return true;
}

bool c32bppDIB::SetDIBbits(std::span<const uint8_t> inStream, bool isBGRformat, bool is32bpp, bool isWordAligned,
                           bool isBottomUp, int32_t dstX, int32_t dstY, int32_t dstWidth, int32_t dstHeight) {
    if (!m_bitmap) return false;
    const int32_t w = dstWidth == 0 ? m_width : dstWidth;
    const int32_t h = dstHeight == 0 ? m_height : dstHeight;
    if (w <= 0 || h <= 0) return false;
    // The input describes the whole w × h rectangle; only its part inside the image is written.
    const size_t pixelBytes = is32bpp ? 4 : 3;
    size_t rowBytes = size_t(w) * pixelBytes;
    if (isWordAligned) rowBytes = (rowBytes + 3) / 4 * 4;
    if (inStream.size() / rowBytes < size_t(h)) return false;
    const Span2D r = clipRect(dstX, dstY, w, h, m_width, m_height);
    if (r.empty()) return false;

    for (int32_t iy = r.y0; iy < r.y1; ++iy) {
        const int32_t inRow = isBottomUp ? (dstY + h - 1 - iy) : (iy - dstY);
        const uint8_t* s = inStream.data() + size_t(inRow) * rowBytes + size_t(r.x0 - dstX) * pixelBytes;
        uint8_t* d = row(iy) + size_t(r.x0) * 4;
        for (int32_t x = r.x0; x < r.x1; ++x, s += pixelBytes, d += 4) {
            d[0] = isBGRformat ? s[0] : s[2];
            d[1] = s[1];
            d[2] = isBGRformat ? s[2] : s[0];
            d[3] = is32bpp ? s[3] : 255;
        }
    }
    return true;
}

bool c32bppDIB::CopyImageTo(std::unique_ptr<c32bppDIB>& cDIBclass, int32_t newWidth, int32_t newHeight,
                            bool CopyOriginalFormat) {
    if (!m_bitmap) return false;
    if (!cDIBclass) cDIBclass = std::make_unique<c32bppDIB>();
    c32bppDIB& dst = *cDIBclass;
    if (&dst == this) return false;
    const int32_t w = newWidth == 0 ? m_width : newWidth;
    const int32_t h = newHeight == 0 ? m_height : newHeight;
    if (!dst.InitializeDIB(std::abs(w), std::abs(h))) return false;
    dst.setHighQualityInterpolation(m_highQuality);
    if (std::abs(w) == m_width && std::abs(h) == m_height) {
        std::memcpy(dst.BitsPointer(), m_bits, size_t(m_width) * size_t(m_height) * 4);
        if (w < 0 || h < 0) dst.MirrorImage(w < 0, h < 0);
    } else {
        // A negative source size mirrors; the destination rectangle stays the whole image.
        Render(nullptr, 0, 0, std::abs(w), std::abs(h), 0, 0, w < 0 ? -m_width : 0, h < 0 ? -m_height : 0, 100, true,
               true, &dst);
    }
    dst.SetAlphaFlag(m_alpha);
    dst.SetImageType(m_imageType);
    if (CopyOriginalFormat) dst.m_sourceFormat = m_sourceFormat;
    return true;
}

// Rectangles are collected row by row in image coordinates and turned into a region in
// batches of this many, united at the end.
static constexpr size_t kRegionBatch = 2000;

platform::HRGN c32bppDIB::CreateRegion(int32_t Style, int32_t xOffset, int32_t yOffset) const {
    if (!m_bitmap || Style < 0 || Style > 2) return nullptr;
    std::vector<platform::RECT> rects;
    if (!m_alpha) {
        rects.push_back({0, 0, m_width, m_height});
    } else {
        int32_t left = m_width, top = m_height, right = -1, bottom = -1;
        for (int32_t y = 0; y < m_height; ++y) {
            const uint8_t* p = row(y);
            int32_t first = -1, last = -1;
            for (int32_t x = 0; x < m_width; ++x) {
                const bool inside = p[size_t(x) * 4 + 3] != 0;
                if (!inside) continue;
                if (first < 0) first = x;
                if (Style == 2 && (x == 0 || p[size_t(x - 1) * 4 + 3] == 0)) {
                    int32_t end = x;
                    while (end + 1 < m_width && p[size_t(end + 1) * 4 + 3] != 0) ++end;
                    rects.push_back({x, y, end + 1, y + 1});
                }
                last = x;
            }
            if (first < 0) continue;
            if (Style == 1) rects.push_back({first, y, last + 1, y + 1});
            left = std::min(left, first);
            right = std::max(right, last);
            top = std::min(top, y);
            bottom = y;
        }
        if (Style == 0 && right >= 0) rects.push_back({left, top, right + 1, bottom + 1});
    }

    platform::RegionHandle region;
    if (rects.empty()) region.reset(platform::CreateRectRgn(0, 0, 0, 0));
    for (size_t i = 0; i < rects.size(); i += kRegionBatch) {
        const std::vector<platform::RECT> batch(rects.begin() + long(i),
                                                rects.begin() + long(std::min(rects.size(), i + kRegionBatch)));
        platform::RegionHandle part(platform::ExtCreateRegion(batch));
        if (!part) return nullptr;
        if (!region) {
            region = std::move(part);
            continue;
        }
        if (platform::CombineRgn(region.get(), region.get(), part.get(), platform::RGN_OR) == platform::RGN_ERROR)
            return nullptr;
    }
    if (region && (xOffset != 0 || yOffset != 0)) platform::OffsetRgn(region.get(), xOffset, yOffset);
    return region.release();
}

bool c32bppDIB::CreateCheckerBoard(int32_t CheckerSize, uint32_t FirstColor, uint32_t SecondColor) {
    if (!m_bitmap || CheckerSize < 1) return false;
    platform::COLORREF colors[2] = {FirstColor, SecondColor};
    for (auto& c : colors) platform::OleTranslateColor(c, &c);
    const bool hadDC = m_dc && m_previousObject;
    platform::HDC dc = LoadDIBinDC(true);
    const platform::BrushHandle brushes[2] = {platform::BrushHandle(platform::CreateSolidBrush(colors[0])),
                                              platform::BrushHandle(platform::CreateSolidBrush(colors[1]))};
    // Rows alternate which colour they start with.
    int rowStart = 0;
    for (int32_t y = 0; y < m_height; y += CheckerSize, rowStart ^= 1) {
        int which = rowStart;
        for (int32_t x = 0; x < m_width; x += CheckerSize, which ^= 1) {
            const platform::RECT rc{x, y, x + CheckerSize, y + CheckerSize};
            platform::FillRect(dc, rc, brushes[which].get());
        }
    }
    if (!hadDC) LoadDIBinDC(false);
    const size_t n = size_t(m_width) * size_t(m_height);
    for (size_t i = 0; i < n; ++i) m_bits[i * 4 + 3] = 255;
    m_alpha = false;
    m_imageType = 64;
    return true;
}

bool c32bppDIB::MakeTransparent(uint32_t TransparentColor, bool Revert) {
    if (!m_bitmap) return false;
    // The key as an opaque pixel in buffer byte order: B, G, R, 255.
    const uint8_t key[4] = {uint8_t(TransparentColor >> 16), uint8_t(TransparentColor >> 8), uint8_t(TransparentColor),
                            255};
    const uint8_t clear[4] = {0, 0, 0, 0};
    const size_t n = size_t(m_width) * size_t(m_height);
    uint8_t* p = m_bits;
    if (!Revert) {
        bool changed = false;
        for (size_t i = 0; i < n; ++i, p += 4) {
            if (std::memcmp(p, key, 4) == 0) {
                std::memcpy(p, clear, 4);
                changed = true;
            }
        }
        if (changed) {
            m_alpha = true;
            if (m_imageType == 1) m_imageType = 7;
        }
        return true;
    }
    bool anyAlpha = false;
    for (size_t i = 0; i < n; ++i, p += 4) {
        if (std::memcmp(p, clear, 4) == 0) std::memcpy(p, key, 4);
        else if (p[3] != 255) anyAlpha = true;
    }
    m_alpha = anyAlpha;
    if (!anyAlpha && (m_imageType == 6 || m_imageType == 7)) m_imageType = 1;
    return true;
}

bool c32bppDIB::MakeImageInverse() {
    if (!m_bitmap) return false;
    const size_t n = size_t(m_width) * size_t(m_height);
    uint8_t* p = m_bits;
    for (size_t i = 0; i < n; ++i, p += 4) {
        const uint8_t a = p[3];
        if (a == 0) continue;
        // Clamped so a component above its alpha cannot wrap round.
        for (int c = 0; c < 3; ++c) p[c] = uint8_t(a > p[c] ? a - p[c] : 0);
    }
    return true;
}

bool c32bppDIB::MirrorImage(bool MirrorAxisX, bool MirrorAxisY) {
    if (!m_bitmap) return false;
    const size_t stride = size_t(m_width) * 4;
    if (MirrorAxisX) {
        auto* px = reinterpret_cast<uint32_t*>(m_bits);
        for (int32_t y = 0; y < m_height; ++y) std::reverse(px + size_t(y) * m_width, px + size_t(y + 1) * m_width);
    }
    if (MirrorAxisY) {
        std::vector<uint8_t> tmp(stride);
        for (int32_t y = 0; y < m_height / 2; ++y) {
            uint8_t* a = row(y);
            uint8_t* b = row(m_height - 1 - y);
            std::memcpy(tmp.data(), a, stride);
            std::memcpy(a, b, stride);
            std::memcpy(b, tmp.data(), stride);
        }
    }
    return true;
}

// The shadow's alpha is the source alpha summed over a (d + 1) × (d + 1) box and divided by
// the box area. Result pixel (X, Y) takes the source pixels X - d .. X and Y - d .. Y, so the
// blur spreads blurDepth pixels to every side of the source placed at (blurDepth, blurDepth).
std::unique_ptr<c32bppDIB> c32bppDIB::CreateDropShadow(int32_t blurDepth, uint32_t Color) const {
    if (!m_bitmap) return nullptr;
    blurDepth = std::clamp(blurDepth, 0, 10);
    const int32_t d = 2 * blurDepth;
    const int32_t W = m_width + d;
    const int32_t H = m_height + d;
    auto shadow = std::make_unique<c32bppDIB>();
    shadow->setgdiToken(m_gdiToken);
    if (!shadow->InitializeDIB(W, H)) return nullptr;

    // Horizontal box sums of each source row, then vertical sums of those.
    std::vector<uint32_t> across(size_t(W) * size_t(m_height), 0);
    for (int32_t y = 0; y < m_height; ++y) {
        const uint8_t* s = row(y);
        uint32_t* out = across.data() + size_t(y) * W;
        uint32_t sum = 0;
        for (int32_t X = 0; X < W; ++X) {
            if (X < m_width) sum += s[size_t(X) * 4 + 3];
            if (X - d - 1 >= 0 && X - d - 1 < m_width) sum -= s[size_t(X - d - 1) * 4 + 3];
            out[X] = sum;
        }
    }
    const uint32_t area = uint32_t(d + 1) * uint32_t(d + 1);
    const unsigned cr = Color & 0xFF, cg = (Color >> 8) & 0xFF, cb = (Color >> 16) & 0xFF;
    std::vector<uint32_t> column(size_t(W), 0);
    for (int32_t Y = 0; Y < H; ++Y) {
        if (Y < m_height) {
            const uint32_t* add = across.data() + size_t(Y) * W;
            for (int32_t X = 0; X < W; ++X) column[X] += add[X];
        }
        if (Y - d - 1 >= 0 && Y - d - 1 < m_height) {
            const uint32_t* sub = across.data() + size_t(Y - d - 1) * W;
            for (int32_t X = 0; X < W; ++X) column[X] -= sub[X];
        }
        uint8_t* out = shadow->row(Y);
        for (int32_t X = 0; X < W; ++X, out += 4) {
            const unsigned a = column[X] / area;
            out[0] = uint8_t(cb * a / 255);
            out[1] = uint8_t(cg * a / 255);
            out[2] = uint8_t(cr * a / 255);
            out[3] = uint8_t(a);
        }
    }
    shadow->SetAlphaFlag(true);
    shadow->SetImageType(7);
    return shadow;
}

namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files << url.toLocalFile();
    }
    return files;
}

} // namespace

int32_t c32bppDIB::GetPastedFileNames(QStringList& ListOfFiles) const {
    ListOfFiles.clear();
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return 0;
    ListOfFiles = localFiles(QGuiApplication::clipboard()->mimeData());
    return int32_t(ListOfFiles.size());
}

bool c32bppDIB::GetDroppedFileNames(const QMimeData* OLEDragDrop_DataObject, QStringList& ListOfFiles) const {
    ListOfFiles = localFiles(OLEDragDrop_DataObject);
    return !ListOfFiles.isEmpty();
}

} // namespace imaging
