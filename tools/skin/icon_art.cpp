// Pictures with real transparency: the channel list's play icon, the application icon in
// its eight forms and the tab strip's pointer.

#include "skin_art.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace skintool {

namespace {

// Fraction of pixel (x, y) that `inside` covers, sampled on a 16 x 16 grid.
double coverage(const Shape& inside, int x, int y) {
    constexpr int n = 16;
    int hits = 0;
    for (int sy = 0; sy < n; ++sy)
        for (int sx = 0; sx < n; ++sx)
            if (inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n)) ++hits;
    return static_cast<double>(hits) / (n * n);
}

int alphaOf(double cover) { return static_cast<int>(std::nearbyint(cover * 255)); }

// Channel value v kept to its top (8 - drop) bits, centred in the dropped range.
int coarse(int v, int drop) {
    if (drop == 0) return v;
    return std::min(255, ((v >> drop) << drop) | (1 << (drop - 1)));
}

} // namespace

QImage drawPlayIcon() {
    QImage img(12, 12, QImage::Format_ARGB32);
    const Shape triangle = polygon({{2.5, 1.5}, {2.5, 10.5}, {10.5, 6}});
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            img.setPixel(x, y,
                         qRgba(qRed(kAccent), qGreen(kAccent), qBlue(kAccent), alphaOf(coverage(triangle, x, y))));
    return img;
}

QImage drawAppIcon(int size) {
    // A green rounded square with a white play triangle. The colours are painted opaque
    // over the whole square; the square's own coverage becomes the alpha.
    const double s = size;
    const double margin = s / 16;
    const QRectF box(margin, margin, s - 2 * margin, s - 2 * margin);
    const double radius = s * 0.22;
    const double line = std::max(1.0, s / 24);
    SkinCanvas colour(size, size);
    const QRect all(0, 0, size, size);
    colour.fill(all, [&](int, int y) { return ramp(rgb(130, 218, 44), rgb(42, 120, 0), y, size); });
    colour.fillShape(all, roundFrame(box, radius, line), rgb(26, 72, 0));
    const Shape triangle = polygon({{s * 0.39, s * 0.28}, {s * 0.39, s * 0.72}, {s * 0.75, s * 0.5}});
    colour.fillShape(all, triangle, rgb(250, 250, 250));
    const Shape square = roundRect(box, radius);
    QImage img(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int a = alphaOf(coverage(square, x, y));
            const QRgb c = colour.at(x, y);
            img.setPixel(x, y, a ? qRgba(qRed(c), qGreen(c), qBlue(c), a) : 0);
        }
    }
    return img;
}

QImage appIconIndexed(int size) {
    // Half-covered edge pixels become opaque, the rest transparent (index 0); colours are
    // coarsened a bit at a time until they fit the palette.
    const QImage full = drawAppIcon(size);
    for (int drop = 0; drop <= 8; ++drop) {
        std::set<QRgb> colours;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb p = full.pixel(x, y);
                if (qAlpha(p) >= 128)
                    colours.insert(qRgb(coarse(qRed(p), drop), coarse(qGreen(p), drop), coarse(qBlue(p), drop)));
            }
        }
        if (colours.size() > 255) continue;
        QList<QRgb> table{qRgba(0, 0, 0, 0)};
        std::map<QRgb, int> index;
        for (QRgb c : colours) {
            index[c] = static_cast<int>(table.size());
            table.push_back(c);
        }
        QImage img(size, size, QImage::Format_Indexed8);
        img.setColorTable(table);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb p = full.pixel(x, y);
                const QRgb c = qRgb(coarse(qRed(p), drop), coarse(qGreen(p), drop), coarse(qBlue(p), drop));
                img.setPixel(x, y, qAlpha(p) >= 128 ? index[c] : 0);
            }
        }
        return img;
    }
    return {};
}

QImage drawTabPointer() {
    // A pointing hand; the tip of the index finger is the hot spot (6, 0).
    static const char* const rows[] = {
        "......BB..........", ".....BWWB.........", ".....BWWB.........", ".....BWWB.........", ".....BWWB.........",
        ".....BWWBBB.......", ".....BWWBWWBBB....", ".....BWWBWWBWWB...", ".....BWWBWWBWWBB..", ".BBB.BWWBWWBWWBWB.",
        ".BWWBBWWWWWWWWBWB.", ".BWWWBWWWWWWWWWWB.", "..BWWWWWWWWWWWWWB.", "..BWWWWWWWWWWWWWB.", "...BWWWWWWWWWWWWB.",
        "...BWWWWWWWWWWWB..", "....BWWWWWWWWWWB..", ".....BWWWWWWWWB...", ".....BWWWWWWWWB...", ".....BBBBBBBBBB...",
    };
    QImage img(32, 32, QImage::Format_Indexed8);
    img.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)});
    img.fill(0);
    for (int y = 0; y < static_cast<int>(std::size(rows)); ++y) {
        for (int x = 0; rows[y][x]; ++x) {
            if (rows[y][x] == 'B') img.setPixel(x, y, 1);
            if (rows[y][x] == 'W') img.setPixel(x, y, 2);
        }
    }
    return img;
}

} // namespace skintool
