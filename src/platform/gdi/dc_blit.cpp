// Blits between device contexts: plain and raster-operation copies, stretching, colour-keyed
// copies, alpha blending and gradients. All exact per-pixel loops.

#include "colors.h"
#include "dc.h"
#include "dc_pixels.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace platform {

using namespace detail;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;

bool ropNeedsSource(uint32_t rop) {
    const uint32_t code = (rop >> 16) & 0xFF;
    return (((code >> 2) ^ code) & 0x33) != 0;
}

// Rounded a * b / 255 for a, b in 0..255.
inline uint32_t mul255(uint32_t a, uint32_t b) { return (a * b + 127) / 255; }

// How a destination column or row maps onto the source: `count` destination pixels taken
// from `srcCount` source pixels, nearest neighbour at pixel centres, optionally mirrored.
struct Axis {
    int32_t dst = 0;   // first destination coordinate
    int32_t count = 0; // destination pixels
    int32_t src = 0;   // first source coordinate
    int32_t srcCount = 0;
    bool mirror = false;

    int32_t sourceOf(int32_t i) const {
        int32_t k = count == srcCount ? i : static_cast<int32_t>((2LL * i + 1) * srcCount / (2LL * count));
        if (mirror) k = srcCount - 1 - k;
        return src + k;
    }
};

Axis makeAxis(int32_t d, int32_t dn, int32_t s, int32_t sn) {
    Axis a;
    a.mirror = false;
    if (dn < 0) {
        d += dn;
        dn = -dn;
        a.mirror = !a.mirror;
    }
    if (sn < 0) {
        s += sn;
        sn = -sn;
        a.mirror = !a.mirror;
    }
    a.dst = d;
    a.count = dn;
    a.src = s;
    a.srcCount = sn;
    return a;
}

// The source pixel as it lands on the destination: monochrome sources take the
// destination's text (0) and background (1) colours; a colour source going to a monochrome
// destination is white where it equals the source's background colour.
struct SourceReader {
    const Bitmap* bmp;
    HDC srcDc;
    HDC dstDc;
    bool dstMono;

    uint32_t operator()(int32_t x, int32_t y) const {
        const uint32_t p = bmp->pixel(x, y);
        if (bmp->isMono() && !dstMono) return (p & 0xFFFFFF) ? toQRgb(dstDc->bkColor) : toQRgb(dstDc->textColor);
        if (!bmp->isMono() && dstMono) return ((p & 0xFFFFFF) == (toQRgb(srcDc->bkColor) & 0xFFFFFF)) ? kWhite : kBlack;
        return p;
    }
};

// Runs `op(dstPixel, srcPixel, x, y)` over every destination pixel whose source pixel exists.
template <class Op> bool mappedBlit(HDC dst, const Axis& ax, const Axis& ay, HDC src, Op&& op) {
    Bitmap* dt = dst ? dst->target() : nullptr;
    if (!dt || ax.count <= 0 || ay.count <= 0) return dt != nullptr;
    const Bitmap* st = src ? src->target() : nullptr;
    // Copying within one bitmap reads from a snapshot of the source rectangle.
    std::unique_ptr<Bitmap> snapshot;
    int32_t offX = 0, offY = 0;
    if (st && st == dt) {
        const QRect sr =
            QRect(ax.src, ay.src, ax.srcCount, ay.srcCount).intersected(QRect(0, 0, st->width(), st->height()));
        if (!sr.isEmpty()) {
            snapshot = std::make_unique<Bitmap>(sr.width(), sr.height(), st->format());
            for (int y = 0; y < sr.height(); ++y)
                std::memcpy(snapshot->row(y), st->row(sr.top() + y) + sr.left(), static_cast<size_t>(sr.width()) * 4);
            offX = sr.left();
            offY = sr.top();
            st = snapshot.get();
        }
    }
    const QRect area(ax.dst, ay.dst, ax.count, ay.count);
    const QRegion region = dst->drawableArea() & QRegion(area);
    SourceReader read{st, src, dst, dt->isMono()};
    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const int32_t sy = ay.sourceOf(y - ay.dst) - offY;
            if (st && (sy < 0 || sy >= st->height())) continue;
            uint32_t* row = dt->row(y);
            for (int x = r.left(); x <= r.right(); ++x) {
                uint32_t s = 0;
                if (st) {
                    const int32_t sx = ax.sourceOf(x - ax.dst) - offX;
                    if (sx < 0 || sx >= st->width()) continue;
                    s = read(sx, sy);
                }
                op(row[x], s, x, y);
            }
        }
    }
    dst->touched(region.boundingRect());
    return true;
}

bool ropBlit(HDC dst, const Axis& ax, const Axis& ay, HDC src, uint32_t rop) {
    if (!dst) return false;
    if (ropNeedsSource(rop) && (!src || !src->target())) return false;
    Bitmap* dt = dst->target();
    if (!dt) return false;
    const Brush* brush = dst->brush();
    const uint32_t code = (rop >> 16) & 0xFF;
    if (code == 0xCC) {
        const bool forceOpaque = dt->format() != Bitmap::Format::Dib32;
        return mappedBlit(dst, ax, ay, src, [&](uint32_t& d, uint32_t s, int, int) {
            d = dt->isMono() ? toTargetPixel(*dt, s) : (forceOpaque ? (s | 0xFF000000u) : s);
        });
    }
    return mappedBlit(dst, ax, ay, ropNeedsSource(rop) ? src : nullptr, [&](uint32_t& d, uint32_t s, int x, int y) {
        uint32_t p = 0;
        if (brush && !brush->isHollow()) {
            bool skip = false;
            p = brush->colorAt(x - dst->brushOrigin.x, y - dst->brushOrigin.y, dst->textColor, dst->bkColor, true,
                               &skip);
        }
        d = toTargetPixel(*dt, applyRop3(rop, p, s, d));
    });
}

} // namespace

bool BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, uint32_t rop) {
    if (w < 0 || h < 0) return false;
    return ropBlit(dst, makeAxis(x, w, sx, w), makeAxis(y, h, sy, h), src, rop);
}

bool StretchBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, int32_t sw,
                int32_t sh, uint32_t rop) {
    if (sw == 0 || sh == 0) return false;
    return ropBlit(dst, makeAxis(x, w, sx, sw), makeAxis(y, h, sy, sh), src, rop);
}

bool TransparentBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, int32_t sw,
                    int32_t sh, COLORREF key) {
    if (!dst || !src || !src->target() || w < 0 || h < 0 || sw <= 0 || sh <= 0) return false;
    Bitmap* dt = dst->target();
    if (!dt) return false;
    const uint32_t keyRgb = toQRgb(key) & 0xFFFFFF;
    const bool forceOpaque = dt->format() != Bitmap::Format::Dib32;
    const Bitmap* st = src->target();
    const bool srcMono = st->isMono();
    return mappedBlit(dst, makeAxis(x, w, sx, sw), makeAxis(y, h, sy, sh), src, [&](uint32_t& d, uint32_t s, int, int) {
        // The key is compared with the source's own colour.
        if (!srcMono && (s & 0xFFFFFF) == keyRgb) return;
        if (srcMono && ((s & 0xFFFFFF) == keyRgb)) return;
        d = dt->isMono() ? toTargetPixel(*dt, s) : (forceOpaque ? (s | 0xFF000000u) : s);
    });
}

bool AlphaBlend(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, int32_t sw,
                int32_t sh, BLENDFUNCTION bf) {
    if (!dst || !src || bf.BlendOp != AC_SRC_OVER) return false;
    if (w < 0 || h < 0 || sw < 0 || sh < 0) return false;
    Bitmap* dt = dst->target();
    const Bitmap* st = src->target();
    if (!dt || !st) return false;
    if (sx < 0 || sy < 0 || int64_t(sx) + sw > st->width() || int64_t(sy) + sh > st->height()) return false;
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return true;
    const uint32_t k = bf.SourceConstantAlpha;
    const bool perPixel = (bf.AlphaFormat & AC_SRC_ALPHA) != 0;
    const bool keepAlpha = dt->format() == Bitmap::Format::Dib32;
    return mappedBlit(dst, makeAxis(x, w, sx, sw), makeAxis(y, h, sy, sh), src, [&](uint32_t& d, uint32_t s, int, int) {
        const uint32_t sa = perPixel ? (s >> 24) : 255;
        uint32_t out = 0;
        if (perPixel) {
            const uint32_t a = mul255(sa, k);
            const uint32_t inv = 255 - a;
            for (int shift = 0; shift <= 16; shift += 8) {
                const uint32_t sc = mul255((s >> shift) & 0xFF, k);
                const uint32_t dc = (d >> shift) & 0xFF;
                out |= std::min<uint32_t>(255, sc + mul255(dc, inv)) << shift;
            }
            const uint32_t da = d >> 24;
            const uint32_t oa = keepAlpha ? std::min<uint32_t>(255, a + mul255(da, inv)) : 255;
            out |= oa << 24;
        } else {
            for (int shift = 0; shift <= 16; shift += 8) {
                const uint32_t sc = (s >> shift) & 0xFF;
                const uint32_t dc = (d >> shift) & 0xFF;
                out |= std::min<uint32_t>(255, mul255(sc, k) + mul255(dc, 255 - k)) << shift;
            }
            const uint32_t da = d >> 24;
            const uint32_t oa = keepAlpha ? std::min<uint32_t>(255, mul255(sa, k) + mul255(da, 255 - k)) : 255;
            out |= oa << 24;
        }
        d = dt->isMono() ? toTargetPixel(*dt, out) : out;
    });
}

bool GradientFill(HDC hdc, const std::vector<TRIVERTEX>& vertices, const std::vector<GRADIENT_RECT>& rects,
                  uint32_t mode) {
    if (!hdc || !hdc->target() || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) return false;
    Bitmap* t = hdc->target();
    for (const GRADIENT_RECT& gr : rects) {
        if (gr.UpperLeft >= vertices.size() || gr.LowerRight >= vertices.size()) return false;
        TRIVERTEX a = vertices[gr.UpperLeft];
        TRIVERTEX b = vertices[gr.LowerRight];
        // The colour runs from the left (top) vertex to the right (bottom) one.
        if ((mode == GRADIENT_FILL_RECT_H && a.x > b.x) || (mode == GRADIENT_FILL_RECT_V && a.y > b.y)) std::swap(a, b);
        const QRect area(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                         QPoint(std::max(a.x, b.x) - 1, std::max(a.y, b.y) - 1));
        if (area.isEmpty()) continue;
        const int32_t n = mode == GRADIENT_FILL_RECT_H ? area.width() : area.height();
        auto channel = [&](uint16_t c1, uint16_t c2, int32_t i) -> uint32_t {
            if (n <= 1) return c1 >> 8;
            const int64_t v = c1 + (int64_t(c2) - c1) * i / (n - 1);
            return static_cast<uint32_t>(v) >> 8;
        };
        forEachPixel(hdc, area, [&](uint32_t& px, int x, int y) {
            const int32_t i = mode == GRADIENT_FILL_RECT_H ? x - area.left() : y - area.top();
            const uint32_t rgb =
                (channel(a.Red, b.Red, i) << 16) | (channel(a.Green, b.Green, i) << 8) | channel(a.Blue, b.Blue, i);
            px = toTargetPixel(*t, rgb);
        });
        hdc->touched(area);
    }
    return true;
}

int32_t StretchDIBits(HDC hdc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, int32_t sw,
                      int32_t sh, const void* bits, const BITMAPINFOHEADER& header, uint32_t rop) {
    if (!hdc || !bits || header.biWidth <= 0 || header.biHeight == 0) return 0;
    const int32_t height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    std::unique_ptr<Bitmap> tmp(CreateDIBSection32(header.biWidth, height, nullptr));
    if (!tmp) return 0;
    SetDIBits(tmp.get(), 0, height, bits, header);
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, tmp.get());
    // Source coordinates of a device-independent array count rows from the bottom.
    const int32_t topY = height - sy - sh;
    const bool ok = StretchBlt(hdc, x, y, w, h, mem, sx, topY, sw, sh, rop);
    SelectObject(mem, old);
    DeleteDC(mem);
    return ok ? std::abs(sh) : 0;
}

} // namespace platform
