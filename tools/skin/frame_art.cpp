// The window frame's "SKIN" image (caption-button glyphs over the caption background) and
// the tab strip's "TABBAR" plates.

#include "skin_art.h"

namespace skintool {

namespace {

// Caption glyphs, 7 x 7, in the order of their cell columns: minimise, maximise, close,
// menu, keep on top (off), keep on top (on), restore.
const std::vector<const char*> kCaptionGlyphs[7] = {
    {".......", ".......", ".......", ".......", ".......", "#######", "#######"},
    {"#######", "#######", "#.....#", "#.....#", "#.....#", "#.....#", "#######"},
    {"#.....#", "##...##", ".##.##.", "..###..", ".##.##.", "##...##", "#.....#"},
    {"#######", ".......", ".......", "#######", ".......", ".......", "#######"},
    {"#######", ".......", "...#...", "..###..", ".#####.", "...#...", "...#..."},
    {"#######", "...#...", "..###..", ".#####.", "...#...", "...#...", "...#..."},
    {"..#####", "..#...#", "#####.#", "#####.#", "#...###", "#...#..", "#####.."},
};

constexpr int kCell = 11;
constexpr int kCaptionTop = 44;
// The caption buttons sit 6 pixels down the strip, whose background starts 2 pixels down:
// a glyph cell's rows meet caption rows 4..14.
constexpr int kGlyphCaptionRow = 4;

// Glyph colours by state row (normal, hot, pressed, the unused fourth row).
// The pressed row is a subdued green: it is also what a caption shows for a button its window
// does not have.
const QRgb kGlyphColours[4] = {rgb(178, 178, 181), rgb(252, 252, 252), rgb(70, 112, 36), rgb(102, 102, 105)};
// The keep-on-top glyph while the flag is set is green in every state.
const QRgb kPinnedColours[4] = {kAccent, kAccentLight, kAccentDark, rgb(62, 104, 30)};

struct PlateLook {
    QRgb outline;
    QRgb highlight;
    QRgb top;
    QRgb bottom;
};

// One tab plate, 41 x 24 at row `top`: a rounded box over rows 0..18 and a pointer in the
// centre piece (x 17..24) below it. Caps are 5 pixels wide and the body (x 5..16) has one
// colour per row, since the strip stretches it.
void tabPlate(SkinCanvas& c, int top, const PlateLook& look) {
    const QRect frame(0, top, 41, 24);
    c.fill(frame, kTabStrip);
    const QRectF box(0, top, 41, 19);
    c.fillShape(frame, roundRect(box, 3), look.outline);
    const auto fillColour = [&](int y) {
        const int row = y - top;
        return row <= 1 ? look.highlight : ramp(look.top, look.bottom, row - 2, 16);
    };
    c.fillShape(frame, roundRect(box.adjusted(1, 1, -1, -1), 2), [&](int, int y) { return fillColour(y); });
    const QRgb bottom = fillColour(top + 17);
    c.stamp(17, top + 18, {".FFFFFF.", "OFFFFFFO", ".OFFFFO.", "..OFFO..", "...OO..."},
            {{'O', look.outline}, {'F', bottom}});
}

} // namespace

QRgb captionColour(int y) {
    if (y <= 0) return rgb(76, 76, 79); // a bevel under the frame's light inner outline
    return ramp(rgb(62, 62, 65), rgb(35, 35, 37), y - 1, 20);
}

SkinCanvas drawSkin() {
    SkinCanvas c(77, 65);
    for (int y = 0; y < 21; ++y) c.fill(QRect(0, kCaptionTop + y, 77, 1), captionColour(y));
    for (int state = 0; state < 4; ++state) {
        for (int g = 0; g < 7; ++g) {
            const int x0 = g * kCell, y0 = state * kCell;
            for (int r = 0; r < kCell; ++r) c.fill(QRect(x0, y0 + r, kCell, 1), captionColour(kGlyphCaptionRow + r));
            const QRgb colour = g == 5 ? kPinnedColours[state] : kGlyphColours[state];
            c.stamp(x0 + 2, y0 + 2, kCaptionGlyphs[g], {{'#', colour}});
        }
    }
    return c;
}

SkinCanvas drawTabBar() {
    SkinCanvas c(41, 48);
    tabPlate(c, 0, {rgb(36, 92, 0), rgb(150, 230, 82), rgb(112, 206, 28), rgb(62, 148, 0)});
    tabPlate(c, 24, {rgb(66, 78, 86), rgb(62, 73, 80), rgb(46, 55, 61), rgb(29, 36, 40)});
    return c;
}

} // namespace skintool
