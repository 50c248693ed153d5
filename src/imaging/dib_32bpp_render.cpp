// c32bppDIB::Render and its three drawing paths: AlphaBlend through the DC layer, the painter
// renderer (Qt's QPainter, standing in for the platform image library) and the software
// renderer with exact integer blending.
#include "imaging/dib_32bpp.h"

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace imaging {

struct c32bppDIB::RenderJob {
    platform::HDC dc = nullptr; // destination context (the host image's own DC)
    c32bppDIB* host = nullptr;  // destination image, or null for a plain context
    int32_t destX = 0, destY = 0;
    int32_t destWidth = 0, destHeight = 0; // negative: mirrored along that axis
    int32_t srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    uint32_t percent = 100;       // effective opacity percent E
    uint32_t constantAlpha = 255; // L = E × 255 div 100
    bool halftone = true;
    int32_t grayScale = -1;
    int32_t light = 0;
    double angle = 0;

    bool mirrorX() const { return destWidth < 0; }
    bool mirrorY() const { return destHeight < 0; }
    int32_t width() const { return std::abs(destWidth); }
    int32_t height() const { return std::abs(destHeight); }
};

namespace {

struct Weights {
    double r, g, b;
};

// Weights (red, green, blue) of the greyscale formulas; 0 and unknown values use the first.
Weights grayWeights(int32_t formula) {
    switch (formula) {
    case 1: return {0.213, 0.715, 0.072};
    case 2: return {0.333, 0.334, 0.333};
    case 3: return {0.8, 0.1, 0.1};
    case 4: return {0.1, 0.8, 0.1};
    case 5: return {0.1, 0.1, 0.8};
    case 6: return {0.45, 0.45, 0.1};
    case 7: return {0.1, 0.45, 0.45};
    default: return {0.299, 0.587, 0.114};
    }
}

// Pixels as 32-bit words B | G << 8 | R << 16 | A << 24, top-down, premultiplied.
struct Pixmap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> px;
    uint32_t& at(int32_t x, int32_t y) { return px[size_t(y) * width + x]; }
    uint32_t at(int32_t x, int32_t y) const { return px[size_t(y) * width + x]; }
};

inline uint32_t channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// The source rectangle, mirrored as asked.
Pixmap copySource(const c32bppDIB& img, int32_t sx, int32_t sy, int32_t w, int32_t h, bool mirrorX, bool mirrorY) {
    Pixmap out{w, h, std::vector<uint32_t>(size_t(w) * h)};
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = img.row(mirrorY ? sy + h - 1 - y : sy + y) + size_t(sx) * 4;
        for (int32_t x = 0; x < w; ++x) {
            uint32_t v;
            std::memcpy(&v, row + size_t(mirrorX ? w - 1 - x : x) * 4, 4);
            out.at(x, y) = v;
        }
    }
    return out;
}

// Scales to w × h: nearest source pixel, or bilinear from the 2 × 2 source pixels around the
// mapped centre of each destination pixel.
Pixmap scale(const Pixmap& src, int32_t w, int32_t h, bool smooth) {
    if (src.width == w && src.height == h) return src;
    Pixmap out{w, h, std::vector<uint32_t>(size_t(w) * h)};
    if (!smooth) {
        for (int32_t y = 0; y < h; ++y) {
            const int32_t sy = int32_t((int64_t(2 * y + 1) * src.height) / (2 * int64_t(h)));
            for (int32_t x = 0; x < w; ++x) {
                const int32_t sx = int32_t((int64_t(2 * x + 1) * src.width) / (2 * int64_t(w)));
                out.at(x, y) = src.at(sx, sy);
            }
        }
        return out;
    }
    auto map = [](int32_t d, int32_t dn, int32_t sn, int32_t& i0, int32_t& i1, double& f) {
        double s = (d + 0.5) * sn / dn - 0.5;
        s = std::clamp(s, 0.0, double(sn - 1));
        i0 = int32_t(std::floor(s));
        i1 = std::min(i0 + 1, sn - 1);
        f = s - i0;
    };
    for (int32_t y = 0; y < h; ++y) {
        int32_t y0, y1;
        double fy;
        map(y, h, src.height, y0, y1, fy);
        for (int32_t x = 0; x < w; ++x) {
            int32_t x0, x1;
            double fx;
            map(x, w, src.width, x0, x1, fx);
            const uint32_t p00 = src.at(x0, y0), p10 = src.at(x1, y0), p01 = src.at(x0, y1), p11 = src.at(x1, y1);
            uint32_t v = 0;
            for (int shift = 0; shift <= 24; shift += 8) {
                const double top = channel(p00, shift) * (1 - fx) + channel(p10, shift) * fx;
                const double bottom = channel(p01, shift) * (1 - fx) + channel(p11, shift) * fx;
                v |= uint32_t(std::nearbyint(top * (1 - fy) + bottom * fy)) << shift;
            }
            out.at(x, y) = v;
        }
    }
    return out;
}

// Shifts B, G, R of every pixel that is not transparent by S div 255, S = R(adjust / 100 ×
// 255 × A), keeping each within 0..A.
void adjustLight(Pixmap& pm, int32_t adjust) {
    if (adjust == 0) return;
    for (uint32_t& p : pm.px) {
        const int32_t a = int32_t(p >> 24);
        if (a == 0) continue;
        const int32_t s = int32_t(std::nearbyint(adjust / 100.0 * 255.0 * a));
        const int32_t delta = s / 255;
        uint32_t v = uint32_t(a) << 24;
        for (int shift = 0; shift <= 16; shift += 8)
            v |= uint32_t(std::clamp(int32_t(channel(p, shift)) + delta, 0, a)) << shift;
        p = v;
    }
}

// Turns `src` by `degrees` (clockwise on screen) about its centre into an image just large
// enough to hold it, sampling by inverse mapping.
Pixmap rotate(const Pixmap& src, double degrees, bool smooth) {
    const double rad = degrees * M_PI / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    const double w = src.width, h = src.height;
    const int32_t outW = std::max(1, int32_t(std::ceil(std::abs(w * c) + std::abs(h * s) - 1e-9)));
    const int32_t outH = std::max(1, int32_t(std::ceil(std::abs(w * s) + std::abs(h * c) - 1e-9)));
    Pixmap out{outW, outH, std::vector<uint32_t>(size_t(outW) * outH, 0)};
    const double cx = outW / 2.0, cy = outH / 2.0;
    for (int32_t y = 0; y < outH; ++y) {
        for (int32_t x = 0; x < outW; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            // Inverse rotation back into the source.
            const double sx = dx * c + dy * s + w / 2.0;
            const double sy = -dx * s + dy * c + h / 2.0;
            if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
            if (!smooth) {
                out.at(x, y) = src.at(int32_t(sx), int32_t(sy));
                continue;
            }
            const double fx0 = std::clamp(sx - 0.5, 0.0, w - 1), fy0 = std::clamp(sy - 0.5, 0.0, h - 1);
            const int32_t x0 = int32_t(fx0), y0 = int32_t(fy0);
            const int32_t x1 = std::min(x0 + 1, src.width - 1), y1 = std::min(y0 + 1, src.height - 1);
            const double fx = fx0 - x0, fy = fy0 - y0;
            uint32_t v = 0;
            for (int shift = 0; shift <= 24; shift += 8) {
                const double top = channel(src.at(x0, y0), shift) * (1 - fx) + channel(src.at(x1, y0), shift) * fx;
                const double bottom = channel(src.at(x0, y1), shift) * (1 - fx) + channel(src.at(x1, y1), shift) * fx;
                v |= uint32_t(std::nearbyint(top * (1 - fy) + bottom * fy)) << shift;
            }
            out.at(x, y) = v;
        }
    }
    return out;
}

// One source pixel over one destination pixel (both premultiplied B, G, R in the low bytes):
//   L = 255: a = 0 skips, a = 255 copies, else d = s + d × (255 − a) div 255;
//   L < 255: a = 0 skips, else with k = 255 − a × L div 255, d = (d × k + s × L) div 255.
// The destination's fourth byte is blended the same way when `withAlpha`, else kept.
inline void blendPixel(uint32_t& d, uint32_t s, uint32_t L, bool withAlpha) {
    const uint32_t a = s >> 24;
    if (a == 0) return;
    const int top = withAlpha ? 24 : 16;
    uint32_t out = withAlpha ? 0 : (d & 0xFF000000u);
    if (L == 255) {
        if (a == 255) {
            d = withAlpha ? s : ((s & 0x00FFFFFFu) | out);
            return;
        }
        for (int shift = 0; shift <= top; shift += 8)
            out |= std::min<uint32_t>(255, channel(s, shift) + channel(d, shift) * (255 - a) / 255) << shift;
    } else {
        const uint32_t k = 255 - a * L / 255;
        for (int shift = 0; shift <= top; shift += 8)
            out |= std::min<uint32_t>(255, (channel(d, shift) * k + channel(s, shift) * L) / 255) << shift;
    }
    d = out;
}

inline uint32_t toGray(uint32_t p, const Weights& w) {
    const uint32_t y = uint32_t(std::nearbyint(channel(p, 16) * w.r + channel(p, 8) * w.g + channel(p, 0) * w.b));
    const uint32_t g = std::min<uint32_t>(y, 255);
    return (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
}

} // namespace

bool c32bppDIB::Render(platform::HDC destinationDC, int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight,
                       int32_t SrcX, int32_t SrcY, int32_t srcWidth, int32_t srcHeight, int32_t Opacity, bool /*Blend*/,
                       bool SetHalfTone, c32bppDIB* destHostDIB, int32_t grayScale, int32_t LightAdjustment,
                       double Angle, bool CenterOnDestXY) {
    if (Opacity <= 0) return m_bitmap != nullptr;
    if (!m_bitmap) return false;
    if (!destinationDC && !destHostDIB) return false;
    if (destHostDIB == this || (destHostDIB && !destHostDIB->Handle())) return false;

    if (destWidth == 0) destWidth = m_width;
    if (destHeight == 0) destHeight = m_height;
    SrcX = std::max(SrcX, 0);
    SrcY = std::max(SrcY, 0);
    if (srcWidth == 0) {
        srcWidth = m_width;
    } else if (srcWidth < 0) {
        srcWidth = -srcWidth;
        destWidth = -destWidth;
    }
    if (srcHeight == 0) {
        srcHeight = m_height;
    } else if (srcHeight < 0) {
        srcHeight = -srcHeight;
        destHeight = -destHeight;
    }
    srcWidth = int32_t(std::min<int64_t>(srcWidth, int64_t(m_width) - SrcX));
    srcHeight = int32_t(std::min<int64_t>(srcHeight, int64_t(m_height) - SrcY));
    if (srcWidth <= 0 || srcHeight <= 0) return false;

    RenderJob job;
    // A remainder, not a clamp: 150 draws at 50 percent, 100 and 200 at 100.
    job.percent = uint32_t(std::abs(int64_t(Opacity)) % 100);
    if (job.percent == 0) job.percent = 100;
    job.constantAlpha = job.percent * 255 / 100;
    job.light = (LightAdjustment < -100 || LightAdjustment > 100) ? 0 : LightAdjustment;
    const bool rotated = std::fmod(Angle, 360.0) != 0.0;
    if (CenterOnDestXY) {
        destX -= std::abs(destWidth / 2);
        destY -= std::abs(destHeight / 2);
    }
    job.destX = destX;
    job.destY = destY;
    job.destWidth = destWidth;
    job.destHeight = destHeight;
    job.srcX = SrcX;
    job.srcY = SrcY;
    job.srcWidth = srcWidth;
    job.srcHeight = srcHeight;
    job.halftone = SetHalfTone && !(m_flags & kFlagNoHalftone);
    job.grayScale = grayScale;
    job.angle = Angle;
    job.host = destHostDIB;

    // A destination image is drawn into through its own DC, borrowed for the call.
    const bool hostHadDC = destHostDIB && destHostDIB->m_dc && destHostDIB->m_previousObject;
    job.dc = destHostDIB ? destHostDIB->LoadDIBinDC(true) : destinationDC;

    bool ok;
    if (rotated) {
        ok = isGDIplusEnabled() ? renderPainter(job) : renderRotatedSoftware(job);
        if (!ok && isGDIplusEnabled()) ok = renderRotatedSoftware(job);
    } else {
        const bool mirrored = destWidth < 1 || destHeight < 0;
        const bool scaled = std::abs(destWidth) != srcWidth || std::abs(destHeight) != srcHeight;
        const bool alphaBlend = (m_gdiToken == 0 || !isGDIplusEnabled()) && isAlphaBlendFriendly() && !mirrored &&
                                grayScale == -1 && job.light == 0 && (!scaled || !m_highQuality);
        if (alphaBlend) ok = renderAlphaBlend(job);
        else if (isGDIplusEnabled()) ok = renderPainter(job);
        else ok = renderSoftware(job);
    }
    if (destHostDIB && !hostHadDC) destHostDIB->LoadDIBinDC(false);
    return ok;
}

bool c32bppDIB::renderAlphaBlend(const RenderJob& job) {
    const bool hadDC = m_dc && m_previousObject;
    platform::HDC src = LoadDIBinDC(true);
    int32_t oldMode = 0;
    if (job.halftone) oldMode = platform::SetStretchBltMode(job.dc, platform::HALFTONE);
    platform::BLENDFUNCTION bf;
    bf.BlendOp = platform::AC_SRC_OVER;
    bf.SourceConstantAlpha = uint8_t(job.constantAlpha);
    bf.AlphaFormat = m_alpha ? platform::AC_SRC_ALPHA : 0;
    const bool ok = platform::AlphaBlend(job.dc, job.destX, job.destY, job.destWidth, job.destHeight, src, job.srcX,
                                         job.srcY, job.srcWidth, job.srcHeight, bf);
    if (job.halftone) platform::SetStretchBltMode(job.dc, oldMode);
    if (!hadDC) LoadDIBinDC(false);
    return ok;
}

// The painter renderer: the colour-matrix effects (greyscale weights, brightness, opacity) are
// computed on a copy of the source first, on unpremultiplied values as a colour matrix sees
// them; then QPainter scales (smooth or nearest), mirrors and rotates it onto the destination.
bool c32bppDIB::renderPainter(const RenderJob& job) {
    if (!job.dc || !job.dc->target()) return false;
    Pixmap src = copySource(*this, job.srcX, job.srcY, job.srcWidth, job.srcHeight, job.mirrorX(), job.mirrorY());
    if (job.grayScale != -1 || job.light != 0 || job.percent < 100) {
        const Weights w = grayWeights(job.grayScale);
        const double lift = job.light / 100.0 * 255.0;
        for (uint32_t& p : src.px) {
            const uint32_t a = p >> 24;
            if (a == 0) continue;
            double c[3];
            for (int i = 0; i < 3; ++i) c[i] = a == 255 ? channel(p, 8 * i) : channel(p, 8 * i) * 255.0 / a;
            if (job.grayScale != -1) c[0] = c[1] = c[2] = c[2] * w.r + c[1] * w.g + c[0] * w.b;
            const double na = std::nearbyint(a * (job.percent / 100.0));
            uint32_t v = uint32_t(na) << 24;
            for (int i = 0; i < 3; ++i) {
                const double straight = std::clamp(c[i] + lift, 0.0, 255.0);
                v |= uint32_t(std::nearbyint(straight * na / 255.0)) << (8 * i);
            }
            p = v;
        }
    }
    const QImage image(reinterpret_cast<const uchar*>(src.px.data()), src.width, src.height, src.width * 4,
                       QImage::Format_ARGB32_Premultiplied);
    const QRectF target(job.destX, job.destY, job.width(), job.height());
    QTransform transform;
    const bool rotated = std::fmod(job.angle, 360.0) != 0.0;
    if (rotated) {
        transform.translate(target.center().x(), target.center().y());
        transform.rotate(job.angle);
    }
    const QRect touched =
        rotated ? transform.mapRect(QRectF(-target.width() / 2, -target.height() / 2, target.width(), target.height()))
                      .toAlignedRect()
                : target.toAlignedRect();
    return job.dc->paint(
        [&](QPainter& p) {
            p.setRenderHint(QPainter::SmoothPixmapTransform, m_highQuality);
            if (rotated) {
                p.setTransform(transform, true);
                p.drawImage(QRectF(-target.width() / 2, -target.height() / 2, target.width(), target.height()), image);
            } else {
                p.drawImage(target, image);
            }
        },
        touched);
}

// The software renderer: a working copy of the source rectangle, mirrored, scaled and
// lightened, blended with exact integer arithmetic into the destination image's buffer or the
// destination context's pixels.
bool c32bppDIB::renderSoftware(const RenderJob& job) {
    Pixmap pm = copySource(*this, job.srcX, job.srcY, job.srcWidth, job.srcHeight, job.mirrorX(), job.mirrorY());
    pm = scale(pm, job.width(), job.height(), m_highQuality);
    adjustLight(pm, job.light);

    const bool gray = job.grayScale != -1;
    const Weights w = grayWeights(job.grayScale);
    auto blendAt = [&](uint32_t& d, int32_t x, int32_t y, bool withAlpha) {
        uint32_t s = pm.at(x - job.destX, y - job.destY);
        if (gray) s = toGray(s, w);
        blendPixel(d, s, job.constantAlpha, withAlpha);
    };
    const QRect area(job.destX, job.destY, pm.width, pm.height);
    if (job.host) {
        c32bppDIB& host = *job.host;
        const QRect clipped = area & QRect(0, 0, host.Width(), host.Height());
        for (int32_t y = clipped.top(); y <= clipped.bottom(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(host.row(y));
            for (int32_t x = clipped.left(); x <= clipped.right(); ++x) blendAt(row[x], x, y, true);
        }
        return true;
    }
    platform::Bitmap* target = job.dc ? job.dc->target() : nullptr;
    if (!target) return false;
    // The context's pixels stand for the 24-bit working bitmap: colour is blended, the fourth
    // byte stays as it was.
    const QRegion region = job.dc->drawableArea() & QRegion(area);
    for (const QRect& r : region) {
        for (int32_t y = r.top(); y <= r.bottom(); ++y) {
            uint32_t* row = target->row(y);
            for (int32_t x = r.left(); x <= r.right(); ++x) blendAt(row[x], x, y, false);
        }
    }
    job.dc->touched(area);
    return true;
}

// Without the painter: the source rectangle (mirrored, scaled to the destination size and
// lightened) is turned into a temporary image just large enough, which is then drawn at
// angle 0 centred on the destination rectangle's centre.
bool c32bppDIB::renderRotatedSoftware(const RenderJob& job) {
    Pixmap pm = copySource(*this, job.srcX, job.srcY, job.srcWidth, job.srcHeight, job.mirrorX(), job.mirrorY());
    pm = scale(pm, job.width(), job.height(), m_highQuality);
    adjustLight(pm, job.light);
    const Pixmap turned = rotate(pm, job.angle, m_highQuality);

    c32bppDIB tmp;
    tmp.setIsGDIplusEnabled(false);
    tmp.setHighQualityInterpolation(m_highQuality);
    if (!tmp.InitializeDIB(turned.width, turned.height)) return false;
    for (int32_t y = 0; y < turned.height; ++y)
        std::memcpy(tmp.row(y), turned.px.data() + size_t(y) * turned.width, size_t(turned.width) * 4);
    tmp.SetAlphaFlag(true);
    const int32_t cx = job.destX + job.width() / 2;
    const int32_t cy = job.destY + job.height() / 2;
    return tmp.Render(job.host ? nullptr : job.dc, cx, cy, 0, 0, 0, 0, 0, 0, int32_t(job.percent), true, job.halftone,
                      job.host, job.grayScale, 0, 0, true);
}

bool c32bppDIB::RenderDropShadow_JIT(platform::HDC hdc, int32_t x, int32_t y, int32_t blurDepth, uint32_t Color,
                                     int32_t Opacity) {
    const auto shadow = CreateDropShadow(blurDepth, Color);
    if (!shadow) return false;
    return shadow->Render(hdc, x, y, 0, 0, 0, 0, 0, 0, Opacity, true, true, nullptr, -1);
}

} // namespace imaging
