// Drawing objects that release themselves: owning handles, the selection guard, the memory
// surface, one-call pen drawing and the checkerboard brush — pixels, selections and the
// live-object counters.
#include "platform/gdi/colors.h"
#include "platform/gdi/gdi_handle.h"
#include "platform/gdi/memory_dc.h"
#include "platform/gdi/memory_surface.h"
#include "platform/gdi/outline.h"
#include "platform/gdi/select_guard.h"

#include <gtest/gtest.h>
#include <optional>

using namespace platform;

namespace {

struct Counts {
    int objects = gdiObjectCount();
    int contexts = deviceContextCount();
    void expectUnchanged(const char* where) const {
        EXPECT_EQ(gdiObjectCount(), objects) << where;
        EXPECT_EQ(deviceContextCount(), contexts) << where;
    }
};

} // namespace

// A handle that goes while its brush is still selected leaves the brush alive and drawing
// until the guard selects the previous brush back; then the brush is gone.
TEST(DrawingObjects, GuardRestoresTheSelectionAndTheHandleFreesTheObject) {
    const Counts before;
    {
        MemorySurface s(4, 4);
        const int withSurface = gdiObjectCount();
        HGDIOBJ original = GetCurrentObject(s.dc(), GdiObject::Type::Brush);
        std::optional<SelectGuard> guard;
        {
            const BrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
            guard.emplace(s.dc(), brush.get());
            EXPECT_EQ(guard->previous(), original);
        }
        EXPECT_EQ(gdiObjectCount(), withSurface + 1) << "deleted while selected: kept until deselected";
        FillRect(s.dc(), {0, 0, 4, 4}, static_cast<HBRUSH>(GetCurrentObject(s.dc(), GdiObject::Type::Brush)));
        EXPECT_EQ(s.at(3, 3), RGB(1, 2, 3));
        guard.reset();
        EXPECT_EQ(GetCurrentObject(s.dc(), GdiObject::Type::Brush), original);
        EXPECT_EQ(gdiObjectCount(), withSurface);
    }
    before.expectUnchanged("after the surface");
}

// A memory surface exists whole or not at all, moves its ownership along and releases its
// context and bitmap exactly once.
TEST(DrawingObjects, MemoryDcIsWholeOrEmptyAndReleasesOnce) {
    const Counts before;
    {
        const MemoryDC bad(-1, 5);
        EXPECT_FALSE(bad);
        EXPECT_EQ(bad.dc(), nullptr);
        before.expectUnchanged("a failed surface keeps no context");

        MemoryDC a(6, 3);
        ASSERT_TRUE(a);
        EXPECT_EQ(a.width(), 6);
        EXPECT_EQ(a.height(), 3);
        EXPECT_FALSE(a.bitmap()->isMono());
        EXPECT_EQ(GetCurrentObject(a.dc(), GdiObject::Type::Bitmap), a.bitmap());
        SetPixel(a.dc(), 5, 2, RGB(9, 8, 7));

        MemoryDC b = std::move(a);
        EXPECT_FALSE(a);
        EXPECT_EQ(GetPixel(b.dc(), 5, 2), RGB(9, 8, 7));
        EXPECT_EQ(gdiObjectCount(), before.objects + 1);
        EXPECT_EQ(deviceContextCount(), before.contexts + 1);

        a = MemoryDC::monochrome(2, 2);
        ASSERT_TRUE(a);
        EXPECT_TRUE(a.bitmap()->isMono());
        // Compatible with a context that holds a monochrome bitmap means monochrome too.
        MemoryDC fromMono(3, 3, a.dc());
        EXPECT_TRUE(fromMono.bitmap()->isMono());
        b = std::move(fromMono); // the surface b held goes
        EXPECT_EQ(gdiObjectCount(), before.objects + 2);
        EXPECT_EQ(deviceContextCount(), before.contexts + 2);
        b.reset();
        EXPECT_FALSE(b);
        EXPECT_EQ(gdiObjectCount(), before.objects + 1);
    }
    before.expectUnchanged("after every surface");
}

// Outlines leave the interior and the context's own pen and brush alone; lines exclude their
// end point and leave the current position there.
TEST(DrawingObjects, OutlinesAndLinesDrawWithTheirOwnPen) {
    constexpr COLORREF kBack = RGB(10, 20, 30);
    MemorySurface s(16, 16, kBack);
    const BrushHandle brush(CreateSolidBrush(RGB(0, 0, 255)));
    const PenHandle pen(CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
    const SelectGuard useBrush(s.dc(), brush.get());
    const SelectGuard usePen(s.dc(), pen.get());
    const Counts before;

    constexpr COLORREF kRed = RGB(255, 0, 0);
    drawOutline(s.dc(), {1, 1, 9, 8}, kRed);
    struct Pixel {
        int x, y;
        COLORREF expected;
    } square[] = {{1, 1, kRed}, {8, 1, kRed},  {1, 7, kRed},  {8, 7, kRed},
                  {4, 1, kRed}, {4, 4, kBack}, {9, 4, kBack}, {4, 8, kBack}};
    for (const Pixel& p : square) EXPECT_EQ(s.at(p.x, p.y), p.expected) << p.x << "," << p.y;

    s.fill(kBack);
    drawOutline(s.dc(), {0, 0, 16, 16}, kRed, 1, 7);
    EXPECT_EQ(s.at(0, 0), kBack) << "a rounded corner leaves the corner pixel";
    EXPECT_EQ(s.at(8, 0), kRed);
    EXPECT_EQ(s.at(8, 8), kBack);

    s.fill(kBack);
    drawLine(s.dc(), {2, 12}, {7, 12}, kRed);
    EXPECT_EQ(s.at(2, 12), kRed);
    EXPECT_EQ(s.at(6, 12), kRed);
    EXPECT_EQ(s.at(7, 12), kBack) << "the end point is excluded";
    POINT at;
    GetCurrentPositionEx(s.dc(), &at);
    EXPECT_EQ(at, (POINT{7, 12}));

    EXPECT_EQ(GetCurrentObject(s.dc(), GdiObject::Type::Pen), pen.get());
    EXPECT_EQ(GetCurrentObject(s.dc(), GdiObject::Type::Brush), brush.get());
    before.expectUnchanged("the pens made for the calls are gone");
}

// The checkerboard alternates every pixel, in the context's background colour where the
// pattern's bit is set and in its text colour elsewhere.
TEST(DrawingObjects, CheckerBrushAlternatesTheContextColours) {
    MemorySurface s(10, 10);
    const BrushHandle checker(createCheckerBrush());
    ASSERT_TRUE(checker);
    SetTextColor(s.dc(), RGB(200, 0, 0));
    SetBkColor(s.dc(), RGB(0, 0, 200));
    FillRect(s.dc(), {0, 0, 10, 10}, checker.get());
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(s.at(x, y), (x + y) % 2 == 0 ? RGB(0, 0, 200) : RGB(200, 0, 0)) << x << "," << y;
    }
}
