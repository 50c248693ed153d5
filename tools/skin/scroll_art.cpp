// The scrollbar pieces. The vertical pieces are drawn; the horizontal ones are the same
// pieces with rows and columns swapped, which also turns the up and down glyphs into the
// left and right ones.
//
// Slicing the pieces must survive (vertical case; horizontal swaps the axes):
//   arrow face 17 x 18:  columns 0-2 | 3-13 stretched sideways | 14-16
//   track 17 x 2:        both rows stretched along the bar; columns 0-2 | 3-13 | 14-16
//   thumb 17 x 15:       nine-slice with 3-pixel borders, the middle 11 x 9 stretched
// so a stretched run holds one colour along its stretch direction, and every rounded
// corner stays inside its 3-pixel border.

#include "skin_art.h"

namespace skintool {

namespace {

struct FaceLook {
    QRgb outline;
    QRgb fill;
};

// Arrow faces: normal, pointer over the control, arrow hot, pressed, disabled.
const FaceLook kArrowFaces[5] = {
    {rgb(40, 40, 42), rgb(40, 40, 42)}, {rgb(58, 58, 62), rgb(47, 47, 50)}, {rgb(88, 88, 93), rgb(64, 64, 68)},
    {rgb(76, 76, 80), rgb(23, 23, 24)}, {rgb(33, 33, 34), rgb(33, 33, 34)},
};
const QRgb kArrowGlyphs[5] = {rgb(150, 150, 154), rgb(188, 188, 192), rgb(242, 242, 245), kAccentLight,
                              rgb(70, 70, 73)};

// Thumb: normal, hot, pressed, disabled.
const FaceLook kThumbs[4] = {
    {rgb(86, 86, 91), rgb(64, 64, 68)},
    {rgb(112, 112, 118), rgb(84, 84, 89)},
    {rgb(132, 132, 138), rgb(102, 102, 108)},
    {rgb(45, 45, 47), rgb(38, 38, 40)},
};

const QRgb kTrackPressed = rgb(42, 42, 45);

void face(SkinCanvas& c, const QRect& frame, const QRectF& body, const FaceLook& look) {
    c.fill(frame, kTrack);
    c.fillShape(frame, roundRect(body, 2), look.outline);
    c.fillShape(frame, roundRect(body.adjusted(1, 1, -1, -1), 1), look.fill);
}

SkinCanvas arrowFaces() {
    SkinCanvas c(17, 90);
    for (int f = 0; f < 5; ++f) face(c, QRect(0, 18 * f, 17, 18), QRectF(1, 18 * f + 1, 15, 16), kArrowFaces[f]);
    return c;
}

SkinCanvas arrowGlyphs(bool up) {
    SkinCanvas c(17, 90);
    const std::vector<const char*> upRows = {"...#...", "..###..", ".#####.", "#######"};
    const std::vector<const char*> downRows(upRows.rbegin(), upRows.rend());
    for (int f = 0; f < 5; ++f) c.stamp(5, 18 * f + 7, up ? upRows : downRows, {{'#', kArrowGlyphs[f]}});
    return c;
}

SkinCanvas track() {
    SkinCanvas c(17, 4);
    c.fill(QRect(0, 0, 17, 4), kTrack);
    c.fill(QRect(3, 2, 11, 2), kTrackPressed);
    return c;
}

SkinCanvas thumbs() {
    SkinCanvas c(68, 15);
    for (int f = 0; f < 4; ++f) face(c, QRect(17 * f, 0, 17, 15), QRectF(17 * f + 1, 0, 15, 15), kThumbs[f]);
    return c;
}

} // namespace

SkinCanvas drawScrollPiece(const QString& name) {
    if (name == "SCRARROWV") return arrowFaces();
    if (name == "SCRARROWH") return arrowFaces().transposed();
    if (name == "SCRARROWVT") return arrowGlyphs(true);
    if (name == "SCRARROWVB") return arrowGlyphs(false);
    if (name == "SCRARROWHL") return arrowGlyphs(true).transposed();
    if (name == "SCRARROWHR") return arrowGlyphs(false).transposed();
    if (name == "SCRBACKV") return track();
    if (name == "SCRBACKH") return track().transposed();
    if (name == "SCRTHUMBV") return thumbs();
    if (name == "SCRTHUMBH") return thumbs().transposed();
    // The grips are the transparent key only: the thumb shows no grip.
    return SkinCanvas(10, 36);
}

} // namespace skintool
