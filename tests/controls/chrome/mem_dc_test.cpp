// The memory drawing surface: colour translation, rectangle conventions, lines, clipping,
// the transparent and embossed copies, gradients, text rectangles and object bookkeeping.
#include "controls/chrome/c_mem_dc.h"

#include "platform/gdi/colors.h"

#include <gtest/gtest.h>

using namespace platform;
using controls::cMemDC;

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kMagenta = 0xFF00FF;

// A plain memory context with its own bitmap, released at the end of the test.
struct Target {
    Target(int w, int h, COLORREF fill) {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateCompatibleBitmap(nullptr, w, h);
        old = SelectObject(dc, bmp);
        HBRUSH b = CreateSolidBrush(fill);
        FillRect(dc, RECT{0, 0, w, h}, b);
        DeleteObject(b);
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

} // namespace

TEST(MemDC, TranslateColor) {
    cMemDC m;
    ASSERT_NE(m.Init(4, 4), nullptr);
    EXPECT_EQ(m.TranslateColor(cMemDC::kNoColor), cMemDC::kNoColor);
    EXPECT_EQ(m.TranslateColor(0x80000000u + COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(m.TranslateColor(0x80000000u + COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(m.TranslateColor(0x00123456), 0x123456u);
}

TEST(MemDC, RectangleEdgesBeforeTheirStartMeanTheSurfaceSize) {
    cMemDC m;
    m.Init(20, 10);
    m.Cls(kBlack);
    m.FillRect(5, 2, 0, 8, kRed); // right < left: to the surface's right edge
    EXPECT_EQ(m.GetPixel(19, 5), kRed);
    EXPECT_EQ(m.GetPixel(5, 7), kRed);
    EXPECT_EQ(m.GetPixel(4, 5), kBlack);
    EXPECT_EQ(m.GetPixel(5, 8), kBlack);
    m.FillRect(0, 6, 3, 1, kBlue); // bottom < top: to the surface's bottom
    EXPECT_EQ(m.GetPixel(1, 9), kBlue);
    EXPECT_EQ(m.GetPixel(1, 5), kBlack);
}

TEST(MemDC, DrawLineContinuesFromTheCurrentPosition) {
    cMemDC m;
    m.Init(20, 20);
    m.Cls(kBlack);
    m.DrawLine(2, 2, 10, 2, kRed);
    m.DrawLine(-1, 0, 10, 9, kBlue);
    EXPECT_EQ(m.GetPixel(2, 2), kRed);
    EXPECT_EQ(m.GetPixel(9, 2), kRed);
    EXPECT_EQ(m.GetPixel(10, 2), kBlue); // the second line starts where the first ended
    EXPECT_EQ(m.GetPixel(10, 8), kBlue);
    EXPECT_EQ(m.GetPixel(10, 9), kBlack); // end points are not drawn
}

TEST(MemDC, SetClipRectClipsAndNegativeLeftRemovesTheClip) {
    cMemDC m;
    m.Init(10, 10);
    m.Cls(kBlack);
    m.SetClipRect(6, 6, 2, 2); // normalised to (2, 2, 6, 6)
    m.Cls(kRed);
    EXPECT_EQ(m.GetPixel(1, 1), CLR_INVALID) << "reads are clipped too";
    m.SetClipRect(-1, 0, 0, 0);
    EXPECT_EQ(m.GetPixel(3, 3), kRed);
    EXPECT_EQ(m.GetPixel(5, 5), kRed);
    EXPECT_EQ(m.GetPixel(1, 1), kBlack);
    EXPECT_EQ(m.GetPixel(6, 6), kBlack);
    m.Cls(kGreen);
    EXPECT_EQ(m.GetPixel(0, 0), kGreen);
    EXPECT_EQ(m.GetPixel(9, 9), kGreen);
}

TEST(MemDC, TransBltWithZeroWidthCopiesTheFullWidthAroundTheKey) {
    cMemDC m;
    m.Init(8, 4);
    m.Cls(kRed);
    m.SetPixel(3, 1, kMagenta);
    m.SetPixel(7, 3, kMagenta);
    Target dst(16, 4, kGreen);
    ASSERT_TRUE(m.TransBlt(dst.dc, 0, 0, 0, 0, 0, 0, kMagenta));
    EXPECT_EQ(GetPixel(dst.dc, 0, 0), kRed);
    EXPECT_EQ(GetPixel(dst.dc, 7, 0), kRed);
    EXPECT_EQ(GetPixel(dst.dc, 3, 1), kGreen);
    EXPECT_EQ(GetPixel(dst.dc, 7, 3), kGreen);
    EXPECT_EQ(GetPixel(dst.dc, 8, 0), kGreen);
}

TEST(MemDC, DisabledBltDrawsHighlightBelowRightAndShadowOnTheInk) {
    // One ink pixel at (2, 2) on white, with a magenta key pixel at (4, 4); the destination is
    // grey. Each highlight / shadow pair needs a spare colour that is neither of them (black,
    // then red, then blue); a wrong pick would erase one of the two.
    struct Case {
        COLORREF hi, sh;
    } cases[] = {{kWhite, kBlack},
                 {kBlack, kRed},
                 {kRed, kBlack},
                 {kBlue, kRed},
                 {0x80000000u + COLOR_BTNHIGHLIGHT, 0x80000000u + COLOR_BTNSHADOW}};
    for (const Case& c : cases) {
        cMemDC m;
        m.Init(6, 6);
        m.Cls(kWhite);
        m.SetPixel(2, 2, 0x336699);
        m.SetPixel(4, 4, kMagenta);
        Target dst(6, 6, 0x808080);
        ASSERT_TRUE(m.DisabledBlt(dst.dc, 0, 0, 0, 0, 0, 0, kMagenta, c.hi, c.sh));
        const COLORREF hi = m.TranslateColor(c.hi), sh = m.TranslateColor(c.sh);
        EXPECT_EQ(GetPixel(dst.dc, 2, 2), sh) << std::hex << c.hi << " " << c.sh;
        EXPECT_EQ(GetPixel(dst.dc, 3, 3), hi) << std::hex << c.hi << " " << c.sh;
        EXPECT_EQ(GetPixel(dst.dc, 4, 4), 0x808080u);
        EXPECT_EQ(GetPixel(dst.dc, 0, 0), 0x808080u);
        EXPECT_EQ(GetPixel(dst.dc, 5, 5), 0x808080u);
    }
}

TEST(MemDC, FillGradientRunsBetweenTheTwoColours) {
    cMemDC m;
    m.Init(10, 10);
    m.FillGradient(0, 0, 10, 10, kBlack, kRed, false);
    EXPECT_EQ(m.GetPixel(0, 5), kBlack);
    EXPECT_EQ(m.GetPixel(9, 5), kRed);
    EXPECT_EQ(m.GetPixel(0, 0), m.GetPixel(0, 9)) << "horizontal: columns are uniform";
    const COLORREF mid = m.GetPixel(5, 5);
    EXPECT_GT(GetRValue(mid), 0x40);
    EXPECT_LT(GetRValue(mid), 0xC0);
    m.FillGradient(0, 0, -1, -1, kBlue, kGreen, true); // edges before their start: the whole surface
    EXPECT_EQ(m.GetPixel(3, 0), kBlue);
    EXPECT_EQ(m.GetPixel(3, 9), kGreen);
    EXPECT_EQ(m.GetPixel(0, 4), m.GetPixel(9, 4)) << "vertical: rows are uniform";
}

TEST(MemDC, DrawTextWritesTheCalculatedRectangleBack) {
    cMemDC m;
    m.Init(200, 50);
    int32_t l = 10, t = 5, r = 10, b = 5;
    const int32_t h = m.DrawText(QStringLiteral("Hello"), l, t, r, b, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(l, 10);
    EXPECT_EQ(t, 5);
    EXPECT_EQ(r - l, m.TextWidth(QStringLiteral("Hello")));
    EXPECT_EQ(b - t, h);
    EXPECT_GT(h, 0);
}

TEST(MemDC, FontRoundTripsThroughTheContext) {
    cMemDC m;
    m.Init(10, 10);
    FontDesc f;
    f.Size = 12;
    f.Bold = true;
    f.Weight = 700;
    f.Italic = true;
    m.setFont(f);
    const FontDesc back = m.Font();
    EXPECT_TRUE(back.Bold);
    EXPECT_TRUE(back.Italic);
    EXPECT_NEAR(back.Size, 12.0, 0.01);
    EXPECT_GT(m.FontHeight(), 12);
}

TEST(MemDC, DestroyRestoresAndReleasesEverythingItMade) {
    { Target warmUp(1, 1, kBlack); } // the layer makes its stock objects on first use
    const int objects = gdiObjectCount();
    const int contexts = deviceContextCount();
    Target adopted(8, 8, kBlack);
    const HGDIOBJ brushBefore = GetCurrentObject(adopted.dc, GdiObject::Type::Brush);
    const HGDIOBJ penBefore = GetCurrentObject(adopted.dc, GdiObject::Type::Pen);
    HBRUSH mine = CreateSolidBrush(kBlue);
    {
        cMemDC m;
        m.Init(8, 8, nullptr, adopted.dc);
        EXPECT_FALSE(m.IsMemoryDC());
        m.Rectangle(0, 0, 4, 4, kRed, nullptr, kGreen);
        m.Rectangle(0, 0, 4, 4, cMemDC::kNoColor, mine, kBlue); // a brush of the caller's
        m.DrawEllipse(0, 0, 8, 8, kWhite);
        m.setBrush(m.DotBrush());
        FontDesc f;
        m.setFont(f);
        m.setFont(f);
        EXPECT_EQ(GetPixel(adopted.dc, 2, 2), kBlue);
    }
    EXPECT_EQ(GetCurrentObject(adopted.dc, GdiObject::Type::Brush), brushBefore);
    EXPECT_EQ(GetCurrentObject(adopted.dc, GdiObject::Type::Pen), penBefore);
    // The caller's brush survived the surface and is still usable.
    FillRect(adopted.dc, RECT{0, 0, 1, 1}, mine);
    EXPECT_EQ(GetPixel(adopted.dc, 0, 0), kBlue);
    DeleteObject(mine);
    {
        cMemDC own;
        own.Init(30, 30);
        EXPECT_TRUE(own.IsMemoryDC());
        own.Rectangle(1, 1, 20, 20, kRed, nullptr, kBlack);
        own.Rectangle(1, 1, 20, 20, kGreen, nullptr, kBlack);
        own.DotBrush();
        own.Init(10, 10); // re-initialising destroys the first surface
        own.FillRect(0, 0, 5, 5, 0x80000000u + COLOR_BTNFACE);
    }
    EXPECT_EQ(gdiObjectCount(), objects + 1); // the target's own bitmap and nothing else
    EXPECT_EQ(deviceContextCount(), contexts + 1);
}
