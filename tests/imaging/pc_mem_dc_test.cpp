// The picture surface: growth rules, filling from a picture, and the pixels of its plain,
// colour-keyed, stretched and constant-alpha copies.
#include "imaging/pc_mem_dc.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/memory_surface.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;
using imaging::pcMemDC;

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBack = RGB(10, 20, 30);

// A memory context over a w x h device bitmap filled with `fill`.
class Target : public MemorySurface {
public:
    Target(int w, int h, COLORREF fill = kBack) : MemorySurface(w, h, fill) {}
    // Every pixel outside `r` still has the fill colour.
    bool untouchedOutside(const QRect& r, COLORREF fill = kBack) const {
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (!r.contains(x, y) && at(x, y) != fill) return false;
        return true;
    }
};

// A bitmap picture whose rows are given as 0x00BBGGRR colours.
Picture pictureOf(const std::vector<std::vector<COLORREF>>& rows) {
    QImage img(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, toQRgb(rows[y][x]));
    return Picture::fromBitmap(img);
}

int blendChannel(int s, int d, int k) {
    return static_cast<int>(std::nearbyint(s * k / 255.0) + std::nearbyint(d * (255 - k) / 255.0));
}

COLORREF blend(COLORREF s, COLORREF d, int k) {
    return RGB(blendChannel(GetRValue(s), GetRValue(d), k), blendChannel(GetGValue(s), GetGValue(d), k),
               blendChannel(GetBValue(s), GetBValue(d), k));
}

} // namespace

// Setting a dimension to a smaller or equal value keeps the surface and what is drawn on it.
TEST(pcMemDC, Width_SmallerOrEqual_KeepsSurfaceAndPixels) {
    pcMemDC m;
    m.setWidth(10);
    m.setHeight(5);
    ASSERT_EQ(m.Width(), 10);
    ASSERT_EQ(m.Height(), 5);
    HDC before = m.hdc();
    ASSERT_NE(before, nullptr);
    SetPixel(m.hdc(), 3, 3, RGB(200, 100, 50));
    m.setWidth(4);
    m.setWidth(10);
    m.setHeight(2);
    EXPECT_EQ(m.Width(), 10);
    EXPECT_EQ(m.Height(), 5);
    EXPECT_EQ(m.hdc(), before);
    EXPECT_EQ(GetPixel(m.hdc(), 3, 3), RGB(200, 100, 50));
    m.setWidth(12);
    EXPECT_EQ(m.Width(), 12);
    EXPECT_EQ(m.Height(), 5);
    // The rebuilt surface spans the new size.
    EXPECT_NE(GetPixel(m.hdc(), 11, 4), CLR_INVALID);
}

// Filling from a picture sizes the surface to it, whatever the surface was before; Nothing
// leaves no surface.
TEST(pcMemDC, CreateFromPicture_SizesToPictureAndNothingDestroys) {
    pcMemDC m;
    m.setWidth(40);
    m.setHeight(40);
    const Picture pic =
        pictureOf({{RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)}, {RGB(250, 0, 0), kMagenta, RGB(0, 0, 250)}});
    m.CreateFromPicture(pic);
    ASSERT_EQ(m.Width(), 3);
    ASSERT_EQ(m.Height(), 2);
    EXPECT_EQ(GetPixel(m.hdc(), 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(m.hdc(), 2, 0), RGB(7, 8, 9));
    EXPECT_EQ(GetPixel(m.hdc(), 1, 1), kMagenta);
    EXPECT_EQ(GetPixel(m.hdc(), 2, 1), RGB(0, 0, 250));

    m.CreateFromPicture(Picture());
    EXPECT_EQ(m.hdc(), nullptr);
    EXPECT_EQ(m.Width(), 0);
    EXPECT_EQ(m.Height(), 0);
}

// The masked copy leaves the target alone under pure magenta only; colours one step away
// from the key are copied.
TEST(pcMemDC, Draw_WithMask_SkipsMagentaOnlyAndPlainCopyKeepsIt) {
    const std::vector<std::vector<COLORREF>> rows = {
        {kMagenta, RGB(254, 0, 255), RGB(255, 1, 255), RGB(255, 0, 254)},
        {RGB(0, 0, 0), RGB(255, 255, 255), kMagenta, RGB(83, 183, 2)},
    };
    pcMemDC m;
    m.CreateFromPicture(pictureOf(rows));

    Target masked(8, 6);
    m.Draw(masked.dc(), 0, 0, 4, 2, 2, 3, true);
    Target plain(8, 6);
    m.Draw(plain.dc(), 0, 0, 4, 2, 2, 3, false);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << "source pixel " << x << "," << y);
            EXPECT_EQ(masked.at(2 + x, 3 + y), rows[y][x] == kMagenta ? kBack : rows[y][x]);
            EXPECT_EQ(plain.at(2 + x, 3 + y), rows[y][x]);
        }
    }
    EXPECT_TRUE(masked.untouchedOutside(QRect(2, 3, 4, 2)));
    EXPECT_TRUE(plain.untouchedOutside(QRect(2, 3, 4, 2)));
}

// Source sizes below 1 stand for the surface's own width and height, in every copy.
TEST(pcMemDC, SourceSizeBelowOne_MeansWholeSurface) {
    pcMemDC m;
    m.CreateFromPicture(pictureOf({{RGB(9, 0, 0), RGB(0, 9, 0)}, {RGB(0, 0, 9), RGB(9, 9, 9)}}));
    Target a(4, 4);
    m.Draw(a.dc(), 0, 0, 0, -3, 1, 1, false);
    EXPECT_EQ(a.at(1, 1), RGB(9, 0, 0));
    EXPECT_EQ(a.at(2, 2), RGB(9, 9, 9));
    EXPECT_TRUE(a.untouchedOutside(QRect(1, 1, 2, 2)));

    Target b(4, 4);
    m.StretchDraw(b.dc(), 0, 0, -1, 0, 0, 0, 4, 4);
    EXPECT_EQ(b.at(0, 0), RGB(9, 0, 0));
    EXPECT_EQ(b.at(3, 3), RGB(9, 9, 9));

    Target c(4, 4);
    m.AlphaDraw(c.dc(), 255, 0, 0, 0, 0, 0, 0, 2, 2);
    EXPECT_EQ(c.at(1, 0), RGB(0, 9, 0));
    EXPECT_EQ(c.at(0, 1), RGB(0, 0, 9));
}

// Stretching repeats source pixels: a 2 x 1 strip doubled, and a 1-pixel column (the
// control bar's background slice) spread across a width.
TEST(pcMemDC, StretchDraw_RepeatsSourcePixels) {
    pcMemDC m;
    m.CreateFromPicture(pictureOf(
        {{RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)}, {RGB(50, 50, 50), RGB(60, 60, 60), RGB(70, 70, 70)}}));
    Target t(8, 6);
    m.StretchDraw(t.dc(), 0, 0, 2, 1, 1, 1, 4, 2);
    for (int y = 1; y <= 2; ++y) {
        EXPECT_EQ(t.at(1, y), RGB(200, 0, 0));
        EXPECT_EQ(t.at(2, y), RGB(200, 0, 0));
        EXPECT_EQ(t.at(3, y), RGB(0, 200, 0));
        EXPECT_EQ(t.at(4, y), RGB(0, 200, 0));
    }
    EXPECT_TRUE(t.untouchedOutside(QRect(1, 1, 4, 2)));

    Target column(7, 2);
    m.StretchDraw(column.dc(), 2, 0, 1, 2, 0, 0, 7, 2);
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(column.at(x, 0), RGB(0, 0, 200));
        EXPECT_EQ(column.at(x, 1), RGB(70, 70, 70));
    }
}

// Constant opacity k: every channel becomes s * k / 255 + d * (255 - k) / 255, each term
// rounded; 0 leaves the target as it was and 255 copies.
TEST(pcMemDC, AlphaDraw_BlendsWithConstantOpacity) {
    const COLORREF src[2] = {RGB(255, 128, 0), RGB(17, 240, 99)};
    pcMemDC m;
    m.CreateFromPicture(pictureOf({{src[0], src[1]}}));
    for (int level : {0, 1, 64, 127, 128, 200, 254, 255}) {
        SCOPED_TRACE(testing::Message() << "level " << level);
        Target t(6, 3, RGB(40, 90, 250));
        m.AlphaDraw(t.dc(), level, 0, 0, 2, 1, 1, 1, 4, 1);
        EXPECT_EQ(t.at(1, 1), blend(src[0], RGB(40, 90, 250), level));
        EXPECT_EQ(t.at(2, 1), blend(src[0], RGB(40, 90, 250), level));
        EXPECT_EQ(t.at(3, 1), blend(src[1], RGB(40, 90, 250), level));
        EXPECT_EQ(t.at(4, 1), blend(src[1], RGB(40, 90, 250), level));
        EXPECT_TRUE(t.untouchedOutside(QRect(1, 1, 4, 1), RGB(40, 90, 250)));
    }
}

// Without a surface (never made, or destroyed by Nothing) or without a target, every copy
// draws nothing.
TEST(pcMemDC, MissingSurfaceOrTarget_DrawsNothing) {
    pcMemDC empty;
    pcMemDC destroyed;
    destroyed.CreateFromPicture(pictureOf({{RGB(1, 2, 3)}}));
    destroyed.CreateFromPicture(Picture());
    pcMemDC full;
    full.CreateFromPicture(pictureOf({{RGB(1, 2, 3)}}));
    for (pcMemDC* m : {&empty, &destroyed}) {
        Target t(4, 4);
        m->Draw(t.dc(), 0, 0, 0, 0, 0, 0, true);
        m->Draw(t.dc(), 0, 0, 0, 0, 0, 0, false);
        m->StretchDraw(t.dc(), 0, 0, 0, 0, 0, 0, 4, 4);
        m->AlphaDraw(t.dc(), 255, 0, 0, 0, 0, 0, 0, 4, 4);
        EXPECT_TRUE(t.untouchedOutside(QRect()));
    }
    full.Draw(nullptr, 0, 0, 0, 0, 0, 0, true);
    full.StretchDraw(nullptr, 0, 0, 0, 0, 0, 0, 4, 4);
    full.AlphaDraw(nullptr, 128, 0, 0, 0, 0, 0, 0, 4, 4);
}

// The surface's context and bitmap, and the temporaries of the keyed copy, are released.
TEST(pcMemDC, ReleasesEverythingItCreates) {
    const int objects = gdiObjectCount();
    const int contexts = deviceContextCount();
    {
        Target t(8, 8);
        const int withTarget = gdiObjectCount();
        pcMemDC m;
        m.setWidth(5);
        m.setHeight(5);
        m.CreateFromPicture(pictureOf({{kMagenta, RGB(1, 2, 3)}}));
        m.Draw(t.dc(), 0, 0, 0, 0, 0, 0, true);
        m.StretchDraw(t.dc(), 0, 0, 0, 0, 0, 0, 8, 8);
        m.AlphaDraw(t.dc(), 100, 0, 0, 0, 0, 0, 0, 8, 8);
        EXPECT_EQ(gdiObjectCount(), withTarget + 1); // the surface's bitmap
        m.CreateFromPicture(Picture());
        EXPECT_EQ(gdiObjectCount(), withTarget);
    }
    EXPECT_EQ(gdiObjectCount(), objects);
    EXPECT_EQ(deviceContextCount(), contexts);
}
