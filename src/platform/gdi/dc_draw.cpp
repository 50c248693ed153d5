// Shapes, lines and pixels of device contexts.

#include "colors.h"
#include "dc.h"
#include "dc_pixels.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace platform {

namespace detail {

void fillWithBrush(HDC hdc, const QRegion& region, const Brush* brush) {
    if (!hdc || !brush || brush->isHollow()) return;
    Bitmap* t = hdc->target();
    if (!t) return;
    const QRegion area = region & hdc->drawableArea();
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            uint32_t* row = t->row(y);
            for (int x = r.left(); x <= r.right(); ++x) {
                bool skip = false;
                const uint32_t c = brush->colorAt(x - hdc->brushOrigin.x, y - hdc->brushOrigin.y, hdc->textColor,
                                                  hdc->bkColor, hdc->bkMode == OPAQUE, &skip);
                if (!skip) row[x] = toTargetPixel(*t, c);
            }
        }
    }
    hdc->touched(area.boundingRect());
}

void penPixel(HDC hdc, int32_t x, int32_t y, uint32_t rgb) {
    Bitmap* t = hdc->target();
    if (!t || x < 0 || y < 0 || x >= t->width() || y >= t->height()) return;
    if (hdc->clip() && !hdc->clip()->contains(QPoint(x, y))) return;
    uint32_t& px = t->row(y)[x];
    px = toTargetPixel(*t, applyRop2(hdc->rop2, rgb, px));
}

void penRegion(HDC hdc, const QRegion& region) {
    const Pen* pen = hdc->pen();
    Bitmap* t = hdc->target();
    if (!pen || pen->isNull() || !t) return;
    const uint32_t rgb = toQRgb(pen->color());
    const QRegion area = region & hdc->drawableArea();
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            uint32_t* row = t->row(y);
            for (int x = r.left(); x <= r.right(); ++x) row[x] = toTargetPixel(*t, applyRop2(hdc->rop2, rgb, row[x]));
        }
    }
    hdc->touched(area.boundingRect());
}

QRegion outlineOfSpans(const QRegion& shape) {
    // A pixel is on the outline when one of its four neighbours lies outside the shape.
    const QRegion inner =
        shape & shape.translated(1, 0) & shape.translated(-1, 0) & shape.translated(0, 1) & shape.translated(0, -1);
    return shape - inner;
}

} // namespace detail

using namespace detail;

namespace {

QRect normalized(int32_t l, int32_t t, int32_t r, int32_t b) {
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    return QRect(l, t, r - l, b - t);
}

QPen qpenOf(const Pen* pen) {
    QPen qp(toQColor(pen->color()));
    qp.setWidth(pen->width());
    qp.setCapStyle(Qt::FlatCap);
    qp.setJoinStyle(Qt::MiterJoin);
    switch (pen->style()) {
    case PS_DASH: qp.setStyle(Qt::DashLine); break;
    case PS_DOT: qp.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: qp.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: qp.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    return qp;
}

// A one-pixel line from (x0, y0) to (x1, y1), the end point excluded, with the pen's dash
// pattern and raster operation.
void thinLine(HDC hdc, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const Pen* pen = hdc->pen();
    const uint32_t rgb = toQRgb(pen->color());
    const int32_t dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int32_t dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int32_t err = dx + dy;
    int64_t step = 0;
    int32_t x = x0, y = y0;
    QRect touched(QPoint(std::min(x0, x1), std::min(y0, y1)), QPoint(std::max(x0, x1), std::max(y0, y1)));
    while (!(x == x1 && y == y1)) {
        if (pen->drawsStep(step)) penPixel(hdc, x, y, rgb);
        ++step;
        const int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    hdc->touched(touched);
}

void wideLine(HDC hdc, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const QPen qp = qpenOf(hdc->pen());
    const int w = hdc->pen()->width();
    hdc->paint(
        [&](QPainter& p) {
            p.setPen(qp);
            p.drawLine(x0, y0, x1, y1);
        },
        QRect(QPoint(std::min(x0, x1), std::min(y0, y1)), QPoint(std::max(x0, x1), std::max(y0, y1)))
            .adjusted(-w, -w, w, w));
}

void strokeLine(HDC hdc, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const Pen* pen = hdc->pen();
    if (!pen || pen->isNull()) return;
    if (pen->width() <= 1) thinLine(hdc, x0, y0, x1, y1);
    else wideLine(hdc, x0, y0, x1, y1);
}

// Fills `shape` with the brush and outlines it with the pen (shapes of one span per row).
bool drawSpanShape(HDC hdc, const QRegion& shape, const QRect& bounds,
                   const std::function<void(QPainter&)>& wideOutline) {
    if (!hdc || !hdc->target()) return false;
    const Pen* pen = hdc->pen();
    const bool outline = pen && !pen->isNull();
    if (outline && pen->width() > 1) {
        fillWithBrush(hdc, shape, hdc->brush());
        const QPen qp = qpenOf(pen);
        hdc->paint(
            [&](QPainter& p) {
                p.setPen(qp);
                p.setBrush(Qt::NoBrush);
                wideOutline(p);
            },
            bounds.adjusted(-pen->width(), -pen->width(), pen->width(), pen->width()));
        return true;
    }
    if (!outline) {
        fillWithBrush(hdc, shape, hdc->brush());
        return true;
    }
    const QRegion edge = outlineOfSpans(shape);
    fillWithBrush(hdc, shape - edge, hdc->brush());
    penRegion(hdc, edge);
    return true;
}

} // namespace

int32_t FillRect(HDC hdc, const RECT& rc, HBRUSH brush) {
    if (!hdc || !brush) return 0;
    if (rc.right <= rc.left || rc.bottom <= rc.top) return 1;
    fillWithBrush(hdc, QRegion(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top), brush);
    return 1;
}

int32_t FrameRect(HDC hdc, const RECT& rc, HBRUSH brush) {
    if (!hdc || !brush) return 0;
    if (rc.right <= rc.left || rc.bottom <= rc.top) return 1;
    const QRegion outer(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    QRegion inner;
    if (rc.right - rc.left > 2 && rc.bottom - rc.top > 2)
        inner = QRegion(rc.left + 1, rc.top + 1, rc.right - rc.left - 2, rc.bottom - rc.top - 2);
    fillWithBrush(hdc, outer - inner, brush);
    return 1;
}

bool InvertRect(HDC hdc, const RECT& rc) {
    if (!hdc || !hdc->target()) return false;
    Bitmap* t = hdc->target();
    const QRect area = normalized(rc.left, rc.top, rc.right, rc.bottom);
    forEachPixel(hdc, area, [&](uint32_t& px, int, int) { px = toTargetPixel(*t, ~px & 0xFFFFFF); });
    hdc->touched(area);
    return true;
}

bool Rectangle(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!hdc || !hdc->target()) return false;
    const QRect rect = normalized(l, t, r, b);
    if (rect.isEmpty()) return true;
    const Pen* pen = hdc->pen();
    if (!pen || pen->isNull()) {
        // Without a pen the platform fills one pixel less on the right and bottom.
        fillWithBrush(hdc, QRegion(rect.adjusted(0, 0, -1, -1)), hdc->brush());
        return true;
    }
    return drawSpanShape(hdc, QRegion(rect), rect, [&](QPainter& p) {
        const int w = pen->width();
        const int in = pen->style() == PS_INSIDEFRAME ? w / 2 : 0;
        p.drawRect(QRectF(rect).adjusted(in, in, -1 - in, -1 - in));
    });
}

bool RoundRect(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh) {
    if (!hdc) return false;
    const QRect rect = normalized(l, t, r, b);
    return drawSpanShape(hdc, roundRectRegion(l, t, r, b, ew, eh), rect, [&](QPainter& p) {
        p.drawRoundedRect(QRectF(rect).adjusted(0, 0, -1, -1), ew / 2.0, eh / 2.0);
    });
}

bool Ellipse(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!hdc) return false;
    const QRect rect = normalized(l, t, r, b);
    return drawSpanShape(hdc, ellipseRegion(l, t, r, b), rect,
                         [&](QPainter& p) { p.drawEllipse(QRectF(rect).adjusted(0, 0, -1, -1)); });
}

bool Arc(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t xs, int32_t ys, int32_t xe, int32_t ye) {
    if (!hdc || !hdc->target()) return false;
    const Pen* pen = hdc->pen();
    if (!pen || pen->isNull()) return true;
    const QRect rect = normalized(l, t, r, b);
    const double cx = (rect.left() + rect.right() + 1) / 2.0;
    const double cy = (rect.top() + rect.bottom() + 1) / 2.0;
    const double a0 = std::atan2(-(ys - cy), xs - cx);
    const double a1 = std::atan2(-(ye - cy), xe - cx);
    if (std::abs(a0 - a1) < 1e-9 && pen->width() <= 1) {
        // Start and end on the same ray: the whole ellipse.
        penRegion(hdc, outlineOfSpans(ellipseRegion(l, t, r, b)));
        return true;
    }
    double span = a1 - a0;
    if (span <= 0) span += 2 * M_PI;
    const QPen qp = qpenOf(pen);
    return hdc->paint(
        [&](QPainter& p) {
            p.setPen(qp);
            p.drawArc(QRectF(rect).adjusted(0, 0, -1, -1), static_cast<int>(std::lround(a0 * 180 / M_PI * 16)),
                      static_cast<int>(std::lround(span * 180 / M_PI * 16)));
        },
        rect.adjusted(-pen->width(), -pen->width(), pen->width(), pen->width()));
}

bool LineTo(HDC hdc, int32_t x, int32_t y) {
    if (!hdc) return false;
    strokeLine(hdc, hdc->currentPosition.x, hdc->currentPosition.y, x, y);
    hdc->currentPosition = {x, y};
    return true;
}

bool Polyline(HDC hdc, const std::vector<POINT>& pts) {
    if (!hdc || pts.size() < 2) return false;
    for (size_t i = 1; i < pts.size(); ++i) strokeLine(hdc, pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y);
    return true;
}

bool Polygon(HDC hdc, const std::vector<POINT>& pts) {
    if (!hdc || pts.size() < 2 || !hdc->target()) return false;
    QPolygon poly;
    for (const POINT& p : pts) poly << QPoint(p.x, p.y);
    const Brush* brush = hdc->brush();
    if (brush && !brush->isHollow()) {
        QPainterPath path;
        path.addPolygon(QPolygonF(poly));
        path.setFillRule(Qt::OddEvenFill);
        // Pixels whose centre lies inside the polygon are filled.
        const QRect b = poly.boundingRect();
        QRegion inside;
        for (int y = b.top(); y <= b.bottom(); ++y) {
            int runStart = -1;
            for (int x = b.left(); x <= b.right() + 1; ++x) {
                const bool in = x <= b.right() && path.contains(QPointF(x + 0.5, y + 0.5));
                if (in && runStart < 0) runStart = x;
                if (!in && runStart >= 0) {
                    inside += QRect(runStart, y, x - runStart, 1);
                    runStart = -1;
                }
            }
        }
        fillWithBrush(hdc, inside, brush);
    }
    std::vector<POINT> closed = pts;
    closed.push_back(pts.front());
    return Polyline(hdc, closed);
}

bool DrawFocusRect(HDC hdc, const RECT& rc) {
    if (!hdc || !hdc->target()) return false;
    Bitmap* t = hdc->target();
    const QRect r = normalized(rc.left, rc.top, rc.right, rc.bottom);
    if (r.isEmpty()) return true;
    // Every other pixel of the one-pixel frame is inverted.
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) != 0) return;
        if (x < 0 || y < 0 || x >= t->width() || y >= t->height()) return;
        if (hdc->clip() && !hdc->clip()->contains(QPoint(x, y))) return;
        uint32_t& px = t->row(y)[x];
        px = toTargetPixel(*t, ~px & 0xFFFFFF);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        dot(x, r.top());
        if (r.bottom() != r.top()) dot(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        dot(r.left(), y);
        if (r.right() != r.left()) dot(r.right(), y);
    }
    hdc->touched(r);
    return true;
}

bool DrawEdge(HDC hdc, RECT* rc, uint32_t edge, uint32_t flags) {
    if (!hdc || !rc) return false;
    auto band = [&](COLORREF topLeft, COLORREF bottomRight) {
        HBRUSH tl = CreateSolidBrush(topLeft);
        HBRUSH br = CreateSolidBrush(bottomRight);
        if (flags & BF_LEFT) FillRect(hdc, {rc->left, rc->top, rc->left + 1, rc->bottom}, tl);
        if (flags & BF_TOP) FillRect(hdc, {rc->left, rc->top, rc->right, rc->top + 1}, tl);
        if (flags & BF_RIGHT) FillRect(hdc, {rc->right - 1, rc->top, rc->right, rc->bottom}, br);
        if (flags & BF_BOTTOM) FillRect(hdc, {rc->left, rc->bottom - 1, rc->right, rc->bottom}, br);
        DeleteObject(tl);
        DeleteObject(br);
        if (flags & BF_LEFT) ++rc->left;
        if (flags & BF_TOP) ++rc->top;
        if (flags & BF_RIGHT) --rc->right;
        if (flags & BF_BOTTOM) --rc->bottom;
    };
    if (edge & BDR_RAISEDOUTER) band(GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (edge & BDR_SUNKENOUTER) band(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    if (edge & BDR_RAISEDINNER) band(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    else if (edge & BDR_SUNKENINNER) band(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    if (flags & BF_MIDDLE) FillRect(hdc, *rc, GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool DrawFrameControl(HDC hdc, RECT* rc, uint32_t type, uint32_t state) {
    if (!hdc || !rc) return false;
    const RECT box = *rc;
    const int32_t w = box.right - box.left, h = box.bottom - box.top;
    auto glyph = [&](const std::vector<POINT>& pts) {
        HBRUSH b = CreateSolidBrush((state & DFCS_INACTIVE) ? GetSysColor(COLOR_GRAYTEXT) : 0);
        HPEN p = CreatePen(PS_NULL, 1, 0);
        HGDIOBJ ob = SelectObject(hdc, b), op = SelectObject(hdc, p);
        Polygon(hdc, pts);
        SelectObject(hdc, ob);
        SelectObject(hdc, op);
        DeleteObject(b);
        DeleteObject(p);
    };
    const int32_t cx = box.left + w / 2, cy = box.top + h / 2, s = std::max(2, std::min(w, h) / 4);
    switch (type) {
    case DFC_BUTTON: {
        RECT r = box;
        DrawEdge(hdc, &r, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
        if (!(state & DFCS_BUTTONPUSH) && (state & DFCS_CHECKED))
            glyph({{cx - s, cy}, {cx - s / 2, cy + s}, {cx + s, cy - s}, {cx - s / 2, cy + s / 2}});
        return true;
    }
    case DFC_MENU:
        if ((state & 0xFF) == DFCS_MENUCHECK) {
            HPEN pen = CreatePen(PS_SOLID, 2, 0);
            HGDIOBJ old = SelectObject(hdc, pen);
            MoveToEx(hdc, cx - s, cy, nullptr);
            LineTo(hdc, cx - s / 3, cy + s * 2 / 3);
            LineTo(hdc, cx + s, cy - s);
            SelectObject(hdc, old);
            DeleteObject(pen);
        } else if ((state & 0xFF) == DFCS_MENUBULLET) {
            glyph({{cx - s / 2, cy - s / 2},
                   {cx + s / 2, cy - s / 2},
                   {cx + s / 2, cy + s / 2},
                   {cx - s / 2, cy + s / 2}});
        } else {
            glyph({{cx - s / 2, cy - s}, {cx + s / 2, cy}, {cx - s / 2, cy + s}});
        }
        return true;
    case DFC_SCROLL: {
        RECT r = box;
        DrawEdge(hdc, &r, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
        switch (state & 0xFF) {
        case DFCS_SCROLLUP: glyph({{cx - s, cy + s / 2}, {cx + s, cy + s / 2}, {cx, cy - s / 2}}); break;
        case DFCS_SCROLLDOWN: glyph({{cx - s, cy - s / 2}, {cx + s, cy - s / 2}, {cx, cy + s / 2}}); break;
        case DFCS_SCROLLLEFT: glyph({{cx + s / 2, cy - s}, {cx + s / 2, cy + s}, {cx - s / 2, cy}}); break;
        default: glyph({{cx - s / 2, cy - s}, {cx - s / 2, cy + s}, {cx + s / 2, cy}}); break;
        }
        return true;
    }
    default: return false;
    }
}

bool FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
    if (!hdc || !rgn || !brush) return false;
    fillWithBrush(hdc, rgn->qregion(), brush);
    return true;
}

bool FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int32_t w, int32_t h) {
    if (!hdc || !rgn || !brush || w < 1 || h < 1) return false;
    const QRegion& r = rgn->qregion();
    const QRegion inner = r & r.translated(w, 0) & r.translated(-w, 0) & r.translated(0, h) & r.translated(0, -h);
    fillWithBrush(hdc, r - inner, brush);
    return true;
}

bool PatBlt(HDC hdc, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) {
    if (!hdc || !hdc->target()) return false;
    Bitmap* t = hdc->target();
    const QRect area = normalized(x, y, x + w, y + h);
    const Brush* brush = hdc->brush();
    forEachPixel(hdc, area, [&](uint32_t& px, int px_x, int px_y) {
        bool skip = false;
        uint32_t pat = 0;
        if (brush && !brush->isHollow())
            pat = brush->colorAt(px_x - hdc->brushOrigin.x, px_y - hdc->brushOrigin.y, hdc->textColor, hdc->bkColor,
                                 true, &skip);
        px = toTargetPixel(*t, applyRop3(rop, pat, 0, px));
    });
    hdc->touched(area);
    return true;
}

COLORREF GetPixel(HDC hdc, int32_t x, int32_t y) {
    const Bitmap* t = hdc ? hdc->target() : nullptr;
    if (!t || x < 0 || y < 0 || x >= t->width() || y >= t->height()) return CLR_INVALID;
    if (hdc->clip() && !hdc->clip()->contains(QPoint(x, y))) return CLR_INVALID;
    return fromQRgb(t->pixel(x, y));
}

COLORREF SetPixel(HDC hdc, int32_t x, int32_t y, COLORREF c) {
    Bitmap* t = hdc ? hdc->target() : nullptr;
    if (!t || x < 0 || y < 0 || x >= t->width() || y >= t->height()) return CLR_INVALID;
    if (hdc->clip() && !hdc->clip()->contains(QPoint(x, y))) return CLR_INVALID;
    t->setPixel(x, y, toTargetPixel(*t, toQRgb(c)));
    hdc->touched(QRect(x, y, 1, 1));
    return fromQRgb(t->pixel(x, y));
}

} // namespace platform
