#pragma once
// SkinCanvas: an opaque RGB image that the art generator paints pixel by pixel. Shapes are
// given as inside-tests in pixel coordinates (pixel (x, y) covers [x, x + 1) x [y, y + 1))
// and are sampled on a fixed sub-pixel grid, so soft edges come out the same on every
// machine, independent of any rasteriser.

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <functional>
#include <vector>

namespace skintool {

// The transparent key of the skin bitmaps.
inline constexpr QRgb kMagenta = 0xFFFF00FFu;

inline constexpr QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }
// a + (b - a) * t per channel, rounded to the nearest integer (halves to even).
QRgb mix(QRgb a, QRgb b, double t);
// Vertical gradient: the colour of row `y` of `rows` rows going from `top` to `bottom`.
QRgb ramp(QRgb top, QRgb bottom, int y, int rows);

using Shape = std::function<bool(double x, double y)>;
using Paint = std::function<QRgb(int x, int y)>;

Shape disc(double cx, double cy, double r);
Shape ring(double cx, double cy, double outer, double inner);
Shape roundRect(const QRectF& r, double radius);
// The outline band of a rounded rectangle, `width` thick, inside its edge.
Shape roundFrame(const QRectF& r, double radius, double width);
// A convex or concave polygon (even-odd rule).
Shape polygon(std::vector<QPointF> points);
// A stroke from a to b with round ends, `width` thick.
Shape segment(QPointF a, QPointF b, double width);
Shape unite(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);

class SkinCanvas {
public:
    SkinCanvas(int width, int height, QRgb fill = kMagenta);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    QRgb at(int x, int y) const;
    void set(int x, int y, QRgb c);
    // Source-over with coverage `a` (0..1); pixels outside the canvas are ignored.
    void blend(int x, int y, QRgb c, double a);
    void fill(const QRect& r, QRgb c);
    void fill(const QRect& r, const Paint& paint);
    // Blends `paint` over every pixel of `bounds` with the fraction of the pixel that
    // `inside` covers.
    void fillShape(const QRect& bounds, const Shape& inside, const Paint& paint);
    void fillShape(const QRect& bounds, const Shape& inside, QRgb c);
    // Pixel art: row strings, one character a pixel; characters missing from `colours`
    // (e.g. '.') leave the canvas alone.
    void stamp(int x, int y, const std::vector<const char*>& rows, const std::vector<std::pair<char, QRgb>>& colours);
    // Copies `from` of `src` to `to` on this canvas.
    void copy(const SkinCanvas& src, const QRect& from, QPoint to);
    // The canvas with rows and columns swapped (a vertical piece becomes a horizontal one).
    SkinCanvas transposed() const;

private:
    QImage m_image;
};

} // namespace skintool
