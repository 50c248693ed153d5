// Device contexts: the pixels each operation writes.
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/memory_surface.h"
#include "platform/window/window_functions.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

using Surface = MemorySurface;

int channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

} // namespace

TEST(DcShapes, FillsAndRectanglesExcludeRightAndBottomEdges) {
    Surface s(12, 12);
    HBRUSH white = CreateSolidBrush(0xFFFFFF);
    FillRect(s.dc(), {2, 3, 6, 8}, white);
    EXPECT_EQ(s.at(2, 3), 0xFFFFFFu);
    EXPECT_EQ(s.at(5, 7), 0xFFFFFFu);
    EXPECT_EQ(s.at(6, 7), 0u);
    EXPECT_EQ(s.at(5, 8), 0u);
    FillRect(s.dc(), {6, 6, 4, 9}, white); // right < left fills nothing
    EXPECT_EQ(s.at(6, 8), 0u);

    // Rectangle: one-pixel pen outline on the inside of (l, t, r, b), brush inside it.
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    HGDIOBJ op = SelectObject(s.dc(), red), ob = SelectObject(s.dc(), green);
    Rectangle(s.dc(), 6, 8, 11, 12);
    EXPECT_EQ(s.at(6, 8), RGB(255, 0, 0));
    EXPECT_EQ(s.at(10, 11), RGB(255, 0, 0));
    EXPECT_EQ(s.at(7, 9), RGB(0, 255, 0));
    EXPECT_EQ(s.at(11, 11), 0u);
    SelectObject(s.dc(), op);
    SelectObject(s.dc(), ob);
    DeleteObject(red);
    DeleteObject(green);
    DeleteObject(white);
}

TEST(DcShapes, LinesExcludeTheirEndPointAndKeepThePosition) {
    Surface s(10, 10);
    HPEN pen = CreatePen(PS_SOLID, 1, 0xFFFFFF);
    HGDIOBJ old = SelectObject(s.dc(), pen);
    MoveToEx(s.dc(), 1, 2, nullptr);
    LineTo(s.dc(), 6, 2);
    EXPECT_EQ(s.at(1, 2), 0xFFFFFFu);
    EXPECT_EQ(s.at(5, 2), 0xFFFFFFu);
    EXPECT_EQ(s.at(6, 2), 0u);
    LineTo(s.dc(), 6, 5); // continues from (6, 2)
    EXPECT_EQ(s.at(6, 2), 0xFFFFFFu);
    EXPECT_EQ(s.at(6, 4), 0xFFFFFFu);
    EXPECT_EQ(s.at(6, 5), 0u);
    SelectObject(s.dc(), old);
    DeleteObject(pen);
}

TEST(DcShapes, RoundRectOutlineFollowsItsRegion) {
    Surface s(20, 20);
    HPEN pen = CreatePen(PS_SOLID, 1, 0xFFFFFF);
    HGDIOBJ op = SelectObject(s.dc(), pen), ob = SelectObject(s.dc(), GetStockObject(NULL_BRUSH));
    RoundRect(s.dc(), 0, 0, 20, 20, 7, 7);
    EXPECT_EQ(s.at(0, 0), 0u) << "corners are cut";
    EXPECT_EQ(s.at(10, 0), 0xFFFFFFu);
    EXPECT_EQ(s.at(0, 10), 0xFFFFFFu);
    EXPECT_EQ(s.at(19, 10), 0xFFFFFFu);
    EXPECT_EQ(s.at(10, 19), 0xFFFFFFu);
    EXPECT_EQ(s.at(10, 10), 0u) << "a hollow brush leaves the inside";
    HRGN rgn = CreateRoundRectRgn(0, 0, 20, 20, 7, 7);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (s.at(x, y) != 0) { ASSERT_TRUE(PtInRegion(rgn, x, y)) << x << "," << y; }
        }
    }
    // The shape is symmetric left/right and top/bottom.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) ASSERT_EQ(PtInRegion(rgn, x, y), PtInRegion(rgn, 19 - x, 19 - y));
    }
    DeleteObject(rgn);
    SelectObject(s.dc(), op);
    SelectObject(s.dc(), ob);
    DeleteObject(pen);
}

TEST(DcBlits, ColourKeyedCopyLeavesTheTargetUnderMagenta) {
    Surface src(4, 1), dst(4, 1, RGB(1, 2, 3));
    SetPixel(src.dc(), 0, 0, RGB(255, 0, 255));
    SetPixel(src.dc(), 1, 0, RGB(10, 20, 30));
    SetPixel(src.dc(), 2, 0, RGB(255, 0, 254));
    SetPixel(src.dc(), 3, 0, RGB(255, 0, 255));
    TransparentBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 4, 1, RGB(255, 0, 255));
    EXPECT_EQ(dst.at(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(dst.at(1, 0), RGB(10, 20, 30));
    EXPECT_EQ(dst.at(2, 0), RGB(255, 0, 254)) << "only the exact key is transparent";
    EXPECT_EQ(dst.at(3, 0), RGB(1, 2, 3));
}

TEST(DcBlits, StretchIsNearestNeighbourAndBitBltClipsToTheSource) {
    Surface src(2, 1), dst(6, 2, RGB(9, 9, 9));
    SetPixel(src.dc(), 0, 0, RGB(100, 0, 0));
    SetPixel(src.dc(), 1, 0, RGB(0, 100, 0));
    StretchBlt(dst.dc(), 0, 0, 6, 2, src.dc(), 0, 0, 2, 1, SRCCOPY);
    for (int x = 0; x < 6; ++x) {
        const COLORREF want = x < 3 ? RGB(100, 0, 0) : RGB(0, 100, 0);
        EXPECT_EQ(dst.at(x, 0), want) << x;
        EXPECT_EQ(dst.at(x, 1), want) << x;
    }
    Surface small(2, 2, RGB(50, 50, 50));
    BitBlt(dst.dc(), 0, 0, 4, 1, small.dc(), 1, 0, SRCCOPY);
    EXPECT_EQ(dst.at(0, 0), RGB(50, 50, 50));
    EXPECT_EQ(dst.at(1, 0), RGB(100, 0, 0)) << "pixels with no source are left alone";
}

TEST(DcBlits, RasterOperationsCombineBitwise) {
    Surface src(1, 1, RGB(0x0F, 0xF0, 0x33)), dst(1, 1, RGB(0x55, 0x55, 0xFF));
    BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, SRCAND);
    EXPECT_EQ(dst.at(0, 0), RGB(0x05, 0x50, 0x33));
    BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, SRCINVERT);
    EXPECT_EQ(dst.at(0, 0), RGB(0x0A, 0xA0, 0x00));
    BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, DSna);
    EXPECT_EQ(dst.at(0, 0), RGB(0x00, 0x00, 0x00));
    BitBlt(dst.dc(), 0, 0, 1, 1, nullptr, 0, 0, WHITENESS);
    EXPECT_EQ(dst.at(0, 0), 0xFFFFFFu);
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY)) << "a source is required";
}

// Monochrome sources take the destination's text (0) and background (1) colours; a colour
// source going to monochrome is white where it equals the source's background colour.
TEST(DcBlits, MonochromeConversions) {
    const uint8_t bits[] = {0x40, 0x00}; // 0 1 in the two leftmost pixels, rows word-aligned
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, bits);
    HDC m = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(m, mono);
    Surface dst(2, 1);
    SetTextColor(dst.dc(), RGB(10, 20, 30));
    SetBkColor(dst.dc(), RGB(40, 50, 60));
    BitBlt(dst.dc(), 0, 0, 2, 1, m, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.at(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(dst.at(1, 0), RGB(40, 50, 60));

    Surface colour(2, 1, RGB(255, 0, 255));
    SetPixel(colour.dc(), 1, 0, RGB(1, 1, 1));
    SetBkColor(colour.dc(), RGB(255, 0, 255));
    BitBlt(m, 0, 0, 2, 1, colour.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(m, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(m, 1, 0), 0u);
    SelectObject(m, old);
    DeleteObject(mono);
    DeleteDC(m);
}

// The blend formula of dc.h, channel by channel, with and without per-pixel alpha.
TEST(DcBlits, AlphaBlendMatchesSourceOverWithConstantAlpha) {
    uint8_t* bits = nullptr;
    HBITMAP dib = CreateDIBSection32(1, 1, &bits);
    bits[0] = 25;  // B, premultiplied
    bits[1] = 50;  // G
    bits[2] = 100; // R
    bits[3] = 128; // A
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, dib);
    const COLORREF under = RGB(200, 40, 80);
    auto round = [](int a, int b) { return (a * b + 127) / 255; };
    for (uint8_t k : {255, 128, 51}) {
        for (bool perPixel : {true, false}) {
            Surface dst(1, 1, under);
            BLENDFUNCTION bf{AC_SRC_OVER, 0, k, static_cast<uint8_t>(perPixel ? AC_SRC_ALPHA : 0)};
            ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 1, 1, src, 0, 0, 1, 1, bf));
            const int s[3] = {100, 50, 25}, d[3] = {200, 40, 80};
            for (int i = 0; i < 3; ++i) {
                const int want = perPixel ? round(s[i], k) + round(d[i], 255 - round(128, k))
                                          : round(s[i], k) + round(d[i], 255 - k);
                EXPECT_EQ(channel(dst.at(0, 0), 8 * i), want)
                    << "k=" << int(k) << " perPixel=" << perPixel << " c=" << i;
            }
        }
    }
    Surface dst(2, 2);
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 1, 1, src, 0, 0, 2, 1, {}))
        << "a source rectangle outside the source fails";
    SelectObject(src, old);
    DeleteObject(dib);
    DeleteDC(src);
}

TEST(DcBlits, GradientEndsCarryTheVertexColours) {
    Surface s(10, 4);
    std::vector<TRIVERTEX> v = {{0, 0, 0x1000, 0x8000, 0xFF00, 0}, {10, 4, 0xFF00, 0x2000, 0x0000, 0}};
    ASSERT_TRUE(GradientFill(s.dc(), v, {{0, 1}}, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(s.at(0, 0), RGB(0x10, 0x80, 0xFF));
    EXPECT_EQ(s.at(9, 3), RGB(0xFF, 0x20, 0x00));
    EXPECT_EQ(s.at(5, 0), s.at(5, 3)) << "a horizontal gradient is constant down a column";
    ASSERT_TRUE(GradientFill(s.dc(), v, {{0, 1}}, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(s.at(9, 0), RGB(0x10, 0x80, 0xFF));
    EXPECT_EQ(s.at(0, 3), RGB(0xFF, 0x20, 0x00));
}

TEST(DcRegions, XorOfTwoRegionsHitTests) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN x = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(x, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(x, 2, 2));
    EXPECT_TRUE(PtInRegion(x, 12, 12));
    EXPECT_FALSE(PtInRegion(x, 7, 7)) << "the overlap drops out";
    EXPECT_FALSE(PtInRegion(x, 10, 2)) << "right edges are excluded";
    RECT box;
    GetRgnBox(x, &box);
    EXPECT_EQ(box, (RECT{0, 0, 15, 15}));
    EXPECT_EQ(CombineRgn(x, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(x, 5, 5));
    OffsetRgn(x, 10, 0);
    EXPECT_TRUE(PtInRegion(x, 15, 5));
    for (HRGN r : {a, b, x}) DeleteObject(r);
}

TEST(DcClipping, ClipRegionLimitsDrawing) {
    Surface s(10, 10);
    IntersectClipRect(s.dc(), 0, 0, 5, 10);
    HBRUSH white = CreateSolidBrush(0xFFFFFF);
    FillRect(s.dc(), {0, 0, 10, 10}, white);
    SelectClipRgn(s.dc(), nullptr);
    EXPECT_EQ(s.at(4, 4), 0xFFFFFFu);
    EXPECT_EQ(s.at(5, 4), 0u);
    DeleteObject(white);
}

TEST(DcObjects, SelectedObjectsOutliveDeleteAndNothingLeaks) {
    const int objects = gdiObjectCount(), contexts = deviceContextCount();
    {
        Surface s(4, 4);
        HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
        HGDIOBJ old = SelectObject(s.dc(), b);
        DeleteObject(b); // still selected: deleted when deselected
        FillRect(s.dc(), {0, 0, 4, 4}, static_cast<HBRUSH>(GetCurrentObject(s.dc(), GdiObject::Type::Brush)));
        EXPECT_EQ(s.at(0, 0), RGB(1, 2, 3));
        SelectObject(s.dc(), old);
        EXPECT_FALSE(DeleteObject(nullptr));
        EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))) << "stock objects ignore deletion";
    }
    EXPECT_EQ(gdiObjectCount(), objects);
    EXPECT_EQ(deviceContextCount(), contexts);
}

TEST(DcColours, SystemColoursTranslate) {
    EXPECT_EQ(TranslateColor(0x80000000u + COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(TranslateColor(RGB(1, 2, 3)), RGB(1, 2, 3));
    COLORREF c = 7;
    EXPECT_FALSE(OleTranslateColor(0x80000000u + 200, &c));
    EXPECT_EQ(c, 7u);
    EXPECT_EQ(toQRgb(RGB(0x12, 0x34, 0x56)), 0xFF123456u);
    EXPECT_EQ(fromQRgb(0xFF123456u), RGB(0x12, 0x34, 0x56));
}

TEST(DcText, TextIsMeasuredAndDrawnInTheSelectedFont) {
    Surface s(120, 30);
    HFONT f = CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, QStringLiteral("宋体"));
    HGDIOBJ old = SelectObject(s.dc(), f);
    SIZE one, two;
    GetTextExtentPoint32(s.dc(), QStringLiteral("电视"), &two);
    GetTextExtentPoint32(s.dc(), QStringLiteral("电"), &one);
    EXPECT_EQ(two.cx, 2 * one.cx) << "CJK glyphs have equal advances in a CJK face";
    EXPECT_GE(one.cx, 11);
    SetTextColor(s.dc(), 0xFFFFFF);
    SetBkMode(s.dc(), TRANSPARENT);
    RECT rc{0, 0, 120, 30};
    DrawText(s.dc(), QStringLiteral("电视"), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    int lit = 0, minX = 1000, maxX = -1;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (channel(s.at(x, y), 0) > 128) {
                ++lit;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
        }
    }
    EXPECT_GT(lit, 20);
    EXPECT_NEAR((minX + maxX) / 2.0, 60, 3) << "centred horizontally";
    RECT calc{0, 0, 0, 0};
    DrawText(s.dc(), QStringLiteral("电视"), &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.right, two.cx);
    SelectObject(s.dc(), old);
    DeleteObject(f);
}
