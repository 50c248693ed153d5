// The control bar: its background and slider pieces ("PLAYCTR") and the transport and
// tool buttons. The bar draws every one of these without a colour key or over the
// button's own background, so each piece carries the bar's colours of the rows it lands
// on: the seek pieces rows 5..12, the volume pieces rows 38..45, the play button rows
// 25..58 and the small buttons rows 29..55.

#include "skin_art.h"

namespace skintool {

namespace {

constexpr int kSeekRow = 5;
constexpr int kVolumeRow = 38;
constexpr int kPlayButtonRow = 25;
constexpr int kSmallButtonRow = 29;

// Colours of a round button face in one state; `face` false draws the glyph alone.
struct ButtonLook {
    bool face;
    QRgb outline;
    QRgb faceTop;
    QRgb faceBottom;
    QRgb glyph;
    double shift; // the glyph moves down and right while pressed
};

// Normal, hot, pressed, disabled.
const ButtonLook kPlayLooks[4] = {
    {true, rgb(10, 10, 11), rgb(72, 72, 76), rgb(38, 38, 40), rgb(214, 214, 218), 0},
    {true, kAccent, rgb(88, 88, 93), rgb(50, 50, 53), kAccentLight, 0},
    {true, kAccentDark, rgb(28, 28, 30), rgb(52, 52, 55), kAccent, 1},
    {true, rgb(26, 26, 27), rgb(46, 46, 48), rgb(40, 40, 42), rgb(86, 86, 89), 0},
};

const ButtonLook kSmallLooks[4] = {
    {false, 0, 0, 0, rgb(172, 172, 175), 0},
    {true, rgb(78, 78, 83), rgb(60, 60, 64), rgb(38, 38, 40), kAccentLight, 0},
    {true, kAccentDark, rgb(22, 22, 23), rgb(36, 36, 38), kAccent, 1},
    {false, 0, 0, 0, rgb(78, 78, 80), 0},
};

// Glyphs are built around an offset so the pressed frame can move them.
using Glyph = Shape (*)(double dx, double dy);

Shape playGlyph(double dx, double dy) {
    return polygon({{14 + dx, 10.5 + dy}, {14 + dx, 23.5 + dy}, {25 + dx, 17 + dy}});
}

Shape pauseGlyph(double dx, double dy) {
    // Whole-pixel edges keep the bars crisp.
    return unite(roundRect(QRectF(12 + dx, 10 + dy, 4, 14), 0.5), roundRect(QRectF(19 + dx, 10 + dy, 4, 14), 0.5));
}

Shape stopGlyph(double dx, double dy) { return roundRect(QRectF(9 + dx, 9 + dy, 8, 8), 1); }

Shape listGlyph(double dx, double dy) {
    Shape s = [](double, double) { return false; };
    for (double y : {8.0, 12.0, 16.0}) {
        s = unite(s, roundRect(QRectF(7 + dx, y + dy, 2, 2), 0));
        s = unite(s, roundRect(QRectF(10 + dx, y + dy, 9, 2), 0));
    }
    return s;
}

Shape speaker(double dx, double dy) {
    return polygon({{6 + dx, 10.5 + dy},
                    {9 + dx, 10.5 + dy},
                    {13 + dx, 7 + dy},
                    {13 + dx, 19 + dy},
                    {9 + dx, 15.5 + dy},
                    {6 + dx, 15.5 + dy}});
}

Shape volumeGlyph(double dx, double dy) {
    const double cx = 13 + dx, cy = 13 + dy;
    const Shape right = [cx](double x, double) { return x > cx + 1.5; };
    const Shape near = [cx, cy](double x, double y) {
        const double r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return r2 <= 4.3 * 4.3 && r2 >= 3.0 * 3.0;
    };
    const Shape far = [cx, cy](double x, double y) {
        const double r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return r2 <= 7.3 * 7.3 && r2 >= 6.0 * 6.0 && y > cy - 5.2 && y < cy + 5.2;
    };
    const Shape waves = [=](double x, double y) { return right(x, y) && (near(x, y) || far(x, y)); };
    return unite(speaker(dx, dy), waves);
}

Shape mutedGlyph(double dx, double dy) {
    const Shape cross = unite(segment({15.5 + dx, 10.5 + dy}, {20.5 + dx, 15.5 + dy}, 1.7),
                              segment({20.5 + dx, 10.5 + dy}, {15.5 + dx, 15.5 + dy}, 1.7));
    return unite(speaker(dx, dy), cross);
}

// One round button of `w` x `h` frames stacked four high. `barRow` is the bar row under the
// frame's top; `blankLast` leaves the fourth frame all magenta (a disabled button that
// draws nothing).
SkinCanvas roundButton(int w, int h, int barRow, QPointF centre, double radius, const ButtonLook (&looks)[4],
                       Glyph glyph, bool blankLast) {
    SkinCanvas c(w, h * 4);
    for (int f = 0; f < 4; ++f) {
        if (f == 3 && blankLast) break;
        const int top = f * h;
        const ButtonLook& look = looks[f];
        c.fill(QRect(0, top, w, h), [&](int, int y) { return barColour(barRow + y - top); });
        const QRect box(0, top, w, h);
        const double cy = centre.y() + top;
        if (look.face) {
            c.fillShape(box, disc(centre.x(), cy, radius), look.outline);
            const int faceTop = static_cast<int>(cy - radius);
            const int faceRows = static_cast<int>(2 * radius) + 1;
            c.fillShape(box, disc(centre.x(), cy, radius - 1.15),
                        [&](int, int y) { return ramp(look.faceTop, look.faceBottom, y - faceTop, faceRows); });
        }
        c.fillShape(box, glyph(look.shift, top + look.shift), look.glyph);
    }
    return c;
}

// The seek or volume pieces in rows `top`..`top` + 7 of "PLAYCTR": the fill column at
// x 1, the knob at x 2..9 and the empty track column at x 10. The groove is 4 pixels in
// the middle of the 8 rows; the knob fills all 8.
void sliderPieces(SkinCanvas& c, int top, int barRow) {
    const QRgb groove[4] = {rgb(12, 12, 13), rgb(21, 21, 22), rgb(24, 24, 25), rgb(62, 62, 65)};
    const QRgb filled[4] = {rgb(32, 80, 0), rgb(136, 224, 50), rgb(94, 194, 10), rgb(62, 146, 0)};
    for (int y = 0; y < 8; ++y) {
        const QRgb bg = barColour(barRow + y);
        const bool inGroove = y >= 2 && y <= 5;
        c.set(1, top + y, inGroove ? filled[y - 2] : bg);
        c.set(10, top + y, inGroove ? groove[y - 2] : bg);
        for (int x = 2; x <= 9; ++x) c.set(x, top + y, inGroove ? groove[y - 2] : bg);
    }
    const QRect knob(2, top, 8, 8);
    const double cx = 6, cy = top + 4;
    c.fillShape(knob, disc(cx, cy, 4), rgb(12, 12, 13));
    c.fillShape(knob, disc(cx, cy, 3.05),
                [&](int, int y) { return ramp(rgb(236, 236, 238), rgb(166, 166, 170), y - top - 1, 6); });
    c.fillShape(knob, disc(cx, cy, 1.25), kAccent);
}

} // namespace

QRgb barColour(int y) {
    if (y <= 0) return rgb(16, 16, 17); // a dark seam against the video area
    if (y == 1) return rgb(58, 58, 61); // and a highlight under it
    return ramp(rgb(47, 47, 49), rgb(26, 26, 27), y - 2, 62);
}

SkinCanvas drawPlayCtr() {
    SkinCanvas c(19, 64);
    for (int y = 0; y < 64; ++y) c.set(0, y, barColour(y));
    sliderPieces(c, 0, kSeekRow);
    sliderPieces(c, 8, kVolumeRow);
    return c;
}

SkinCanvas drawPlayButton(bool pause) {
    return roundButton(35, 34, kPlayButtonRow, QPointF(17.5, 17), 15.5, kPlayLooks, pause ? pauseGlyph : playGlyph,
                       false);
}

SkinCanvas drawVolumeButton(bool muted) {
    return roundButton(26, 27, kSmallButtonRow, QPointF(13, 13), 12, kSmallLooks, muted ? mutedGlyph : volumeGlyph,
                       true);
}

SkinCanvas drawStopButton() {
    return roundButton(26, 26, kSmallButtonRow, QPointF(13, 13), 12, kSmallLooks, stopGlyph, false);
}

SkinCanvas drawListButton() {
    return roundButton(26, 26, kSmallButtonRow, QPointF(13, 13), 12, kSmallLooks, listGlyph, false);
}

SkinCanvas drawHideButton() {
    // On the tool strip: grey cross, yellow cross, yellow cross on a darker face, and a
    // fourth frame all magenta.
    SkinCanvas c(24, 72);
    const QRgb crosses[3] = {rgb(150, 150, 153), rgb(255, 204, 0), rgb(255, 204, 0)};
    for (int f = 0; f < 3; ++f) {
        const int top = f * 18;
        const QRect box(0, top, 24, 18);
        c.fill(box, kPanelGrey);
        if (f == 2) {
            c.fillShape(box, roundRect(QRectF(3, top + 0.5, 18, 17), 3), rgb(58, 58, 61));
            c.fillShape(box, roundRect(QRectF(4, top + 1.5, 16, 15), 2), rgb(17, 17, 18));
        }
        const double cy = top + 9;
        c.fillShape(
            box,
            unite(segment({8.5, cy - 3.5}, {15.5, cy + 3.5}, 1.8), segment({15.5, cy - 3.5}, {8.5, cy + 3.5}, 1.8)),
            crosses[f]);
    }
    return c;
}

} // namespace skintool
