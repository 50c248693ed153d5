#include "skin_canvas.h"

#include <algorithm>
#include <cmath>

namespace skintool {

namespace {

// Sub-pixel samples per axis; 8 x 8 gives 65 coverage levels, plenty for 8-bit colour.
constexpr int kSamples = 8;

int channel(double v) { return std::clamp(static_cast<int>(std::nearbyint(v)), 0, 255); }

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x() + t * dx - p.x(), ey = a.y() + t * dy - p.y();
    return std::sqrt(ex * ex + ey * ey);
}

} // namespace

QRgb mix(QRgb a, QRgb b, double t) {
    return qRgb(channel(qRed(a) + (qRed(b) - qRed(a)) * t), channel(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
                channel(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

QRgb ramp(QRgb top, QRgb bottom, int y, int rows) {
    return rows <= 1 ? top : mix(top, bottom, static_cast<double>(y) / (rows - 1));
}

Shape disc(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Shape ring(double cx, double cy, double outer, double inner) {
    return subtract(disc(cx, cy, outer), disc(cx, cy, inner));
}

Shape roundRect(const QRectF& r, double radius) {
    return [=](double x, double y) {
        if (x < r.left() || x >= r.right() || y < r.top() || y >= r.bottom()) return false;
        // Distance into the corner squares decides; elsewhere the point is inside.
        const double cx = std::clamp(x, r.left() + radius, r.right() - radius);
        const double cy = std::clamp(y, r.top() + radius, r.bottom() - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Shape roundFrame(const QRectF& r, double radius, double width) {
    return subtract(roundRect(r, radius),
                    roundRect(r.adjusted(width, width, -width, -width), std::max(0.0, radius - width)));
}

Shape polygon(std::vector<QPointF> points) {
    return [pts = std::move(points)](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const QPointF& a = pts[i];
            const QPointF& b = pts[j];
            if ((a.y() > y) != (b.y() > y) && x < (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()) + a.x())
                inside = !inside;
        }
        return inside;
    };
}

Shape segment(QPointF a, QPointF b, double width) {
    return [=](double x, double y) { return distanceToSegment(QPointF(x, y), a, b) <= width / 2; };
}

Shape unite(const Shape& a, const Shape& b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Shape subtract(const Shape& a, const Shape& b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

SkinCanvas::SkinCanvas(int width, int height, QRgb fill) : m_image(width, height, QImage::Format_RGB32) {
    m_image.fill(fill);
}

QRgb SkinCanvas::at(int x, int y) const { return m_image.pixel(x, y) | 0xFF000000u; }

void SkinCanvas::set(int x, int y, QRgb c) {
    if (x >= 0 && y >= 0 && x < width() && y < height()) m_image.setPixel(x, y, c | 0xFF000000u);
}

void SkinCanvas::blend(int x, int y, QRgb c, double a) {
    if (x < 0 || y < 0 || x >= width() || y >= height() || a <= 0) return;
    set(x, y, a >= 1 ? c : mix(at(x, y), c, a));
}

void SkinCanvas::fill(const QRect& r, QRgb c) {
    fill(r, [c](int, int) { return c; });
}

void SkinCanvas::fill(const QRect& r, const Paint& paint) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) set(x, y, paint(x, y));
}

void SkinCanvas::fillShape(const QRect& bounds, const Shape& inside, const Paint& paint) {
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
            if (hits) blend(x, y, paint(x, y), static_cast<double>(hits) / (kSamples * kSamples));
        }
    }
}

void SkinCanvas::fillShape(const QRect& bounds, const Shape& inside, QRgb c) {
    fillShape(bounds, inside, [c](int, int) { return c; });
}

void SkinCanvas::stamp(int x, int y, const std::vector<const char*>& rows,
                       const std::vector<std::pair<char, QRgb>>& colours) {
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; rows[r][c]; ++c) {
            for (const auto& [key, colour] : colours) {
                if (rows[r][c] == key) set(x + c, y + static_cast<int>(r), colour);
            }
        }
    }
}

void SkinCanvas::copy(const SkinCanvas& src, const QRect& from, QPoint to) {
    for (int y = 0; y < from.height(); ++y)
        for (int x = 0; x < from.width(); ++x) set(to.x() + x, to.y() + y, src.at(from.x() + x, from.y() + y));
}

SkinCanvas SkinCanvas::transposed() const {
    SkinCanvas t(height(), width());
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x) t.set(y, x, at(x, y));
    return t;
}

} // namespace skintool
