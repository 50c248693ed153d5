#include "region.h"

#include <algorithm>
#include <cmath>

namespace platform {

Region::Region(QRegion region) : GdiObject(Type::Region), m_region(std::move(region)) {}

int32_t Region::complexity() const {
    const int n = m_region.rectCount();
    return n == 0 ? NULLREGION : (n == 1 ? SIMPLEREGION : COMPLEXREGION);
}

QRegion roundRectRegion(int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh) {
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    const int32_t w = r - l;
    const int32_t h = b - t;
    if (w <= 0 || h <= 0) return {};
    ew = std::clamp(ew, 0, w);
    eh = std::clamp(eh, 0, h);
    if (ew < 2 || eh < 2) return QRegion(l, t, w, h);
    const double a = ew / 2.0;
    const double bb = eh / 2.0;
    // Per row, how many pixels the corner ellipse cuts off at each end. A row of the rounded
    // band loses every pixel whose area lies mostly outside the quarter ellipse; the small
    // bias keeps rows that the curve only grazes whole.
    auto inset = [&](int32_t y) -> int32_t {
        double dy;
        if (y < bb) dy = bb - y - 0.5;
        else if (y >= h - bb) dy = y - (h - bb) + 0.5;
        else return 0;
        if (dy <= 0) return 0;
        const double q = 1.0 - (dy / bb) * (dy / bb);
        const double cut = a - a * std::sqrt(std::max(0.0, q));
        return std::max(0, static_cast<int32_t>(std::ceil(cut - 0.1)));
    };
    QRegion out;
    int32_t runStart = 0;
    int32_t runInset = inset(0);
    for (int32_t y = 1; y <= h; ++y) {
        const int32_t in = y < h ? inset(y) : -1;
        if (in != runInset) {
            const int32_t width = w - 2 * runInset;
            if (width > 0) out += QRect(l + runInset, t + runStart, width, y - runStart);
            runStart = y;
            runInset = in;
        }
    }
    return out;
}

QRegion ellipseRegion(int32_t l, int32_t t, int32_t r, int32_t b) {
    return roundRectRegion(l, t, r, b, std::abs(r - l), std::abs(b - t));
}

HRGN CreateRectRgn(int32_t l, int32_t t, int32_t r, int32_t b) {
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    return new Region(QRegion(l, t, r - l, b - t));
}

HRGN CreateRectRgnIndirect(const RECT& rc) { return CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom); }

HRGN CreateRoundRectRgn(int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh) {
    return new Region(roundRectRegion(l, t, r, b, ew, eh));
}

HRGN CreateEllipticRgn(int32_t l, int32_t t, int32_t r, int32_t b) { return new Region(ellipseRegion(l, t, r, b)); }

HRGN ExtCreateRegion(const std::vector<RECT>& rects) {
    QRegion out;
    std::vector<QRect> qrects;
    qrects.reserve(rects.size());
    for (const RECT& rc : rects) {
        if (rc.right > rc.left && rc.bottom > rc.top)
            qrects.emplace_back(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    }
    out.setRects(qrects.data(), static_cast<int>(qrects.size()));
    // setRects requires non-overlapping rectangles in y-x order; rebuild by union when the
    // input does not satisfy that.
    QRegion check;
    for (const QRect& q : qrects) check += q;
    if (check != out) out = check;
    return new Region(out);
}

int32_t CombineRgn(HRGN dest, HRGN src1, HRGN src2, int32_t mode) {
    if (!dest || !src1) return RGN_ERROR;
    if (mode != RGN_COPY && !src2) return RGN_ERROR;
    const QRegion& a = src1->qregion();
    QRegion result;
    switch (mode) {
    case RGN_AND: result = a.intersected(src2->qregion()); break;
    case RGN_OR: result = a.united(src2->qregion()); break;
    case RGN_XOR: result = a.xored(src2->qregion()); break;
    case RGN_DIFF: result = a.subtracted(src2->qregion()); break;
    case RGN_COPY: result = a; break;
    default: return RGN_ERROR;
    }
    dest->setQRegion(result);
    return dest->complexity();
}

int32_t OffsetRgn(HRGN rgn, int32_t dx, int32_t dy) {
    if (!rgn) return RGN_ERROR;
    rgn->setQRegion(rgn->qregion().translated(dx, dy));
    return rgn->complexity();
}

bool PtInRegion(HRGN rgn, int32_t x, int32_t y) { return rgn && rgn->qregion().contains(QPoint(x, y)); }

int32_t GetRgnBox(HRGN rgn, RECT* box) {
    if (!rgn || !box) return RGN_ERROR;
    const QRect r = rgn->qregion().boundingRect();
    *box = r.isEmpty() ? RECT{} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return rgn->complexity();
}

bool EqualRgn(HRGN a, HRGN b) { return a && b && a->qregion() == b->qregion(); }

bool SetRectRgn(HRGN rgn, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!rgn) return false;
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    rgn->setQRegion(QRegion(l, t, r - l, b - t));
    return true;
}

} // namespace platform
