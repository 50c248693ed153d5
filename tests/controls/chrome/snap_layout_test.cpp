// The rectangle arithmetic of window snapping, without windows.
#include "controls/chrome/snap_layout.h"

#include <gtest/gtest.h>

using controls::SnapLayout;
using platform::POINT;
using platform::RECT;

namespace {

constexpr RECT kWork{0, 0, 1280, 1024};

// A layout with the work area and the given windows (ids 1, 2, ...; parents as ids).
SnapLayout makeLayout(const std::vector<std::pair<RECT, uintptr_t>>& windows) {
    SnapLayout l;
    l.setRect(0, kWork);
    uintptr_t id = 1;
    for (const auto& [rc, parent] : windows) {
        const size_t i = l.add(id++, parent);
        l.setRect(i, rc);
    }
    return l;
}

// Moves window w so that its top-left lands at `to` (the cursor moves by the same amount).
RECT moveTo(SnapLayout& l, size_t w, POINT to, int32_t f, std::vector<SnapLayout::ChildMove>* kids = nullptr) {
    const RECT start = l.rect(w);
    const POINT grab{start.left + 20, start.top + 10};
    l.beginDrag(w, grab);
    const POINT cursor{grab.x + to.x - start.left, grab.y + to.y - start.top};
    RECT proposed = start;
    proposed.left += cursor.x - grab.x;
    proposed.right += cursor.x - grab.x;
    proposed.top += cursor.y - grab.y;
    proposed.bottom += cursor.y - grab.y;
    return l.checkMove(w, proposed, cursor, f, kids);
}

} // namespace

TEST(SnapLayoutTouching, SharedEdgeAndContactOnBothAxes) {
    struct Case {
        RECT a, b;
        bool touching;
    } cases[] = {
        {{0, 0, 100, 100}, {100, 20, 200, 80}, true},   // side by side, meeting at x = 100
        {{0, 0, 100, 100}, {20, 100, 80, 200}, true},   // stacked, meeting at y = 100
        {{0, 0, 100, 100}, {100, 100, 150, 150}, true}, // corner to corner
        {{0, 0, 100, 100}, {50, 50, 150, 150}, false},  // overlap without a shared coordinate
        {{0, 0, 100, 100}, {0, 300, 100, 400}, false},  // same columns, far apart
        {{0, 0, 100, 100}, {101, 0, 200, 100}, false},  // one pixel gap, top edges equal
        {{0, 0, 100, 100}, {10, 0, 90, 60}, true},      // inside, sharing the top edge
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SnapLayout::Touching(c.a, c.b), c.touching)
            << c.b.left << "," << c.b.top << "," << c.b.right << "," << c.b.bottom;
    }
}

TEST(SnapLayoutMove, SnapDistanceAndFrameAllowanceAtTheWorkAreaEdge) {
    struct Case {
        int32_t gap; // distance of the window's left edge from the work area's
        int32_t f;
        int32_t expectedLeft;
    } cases[] = {
        {10, 0, 10},                         // not nearer than the snap width
        {9, 0, 0},   {-9, 0, 0}, {9, 3, -3}, // a resizable window hides 3 pixels of frame beyond the edge
        {10, 3, 10},
    };
    for (const Case& c : cases) {
        SnapLayout l = makeLayout({{{300, 300, 500, 450}, 0}});
        const RECT r = moveTo(l, 1, {c.gap, 300}, c.f);
        EXPECT_EQ(r.left, c.expectedLeft) << "gap " << c.gap << " f " << c.f;
        EXPECT_EQ(r.right - r.left, 200);
        EXPECT_EQ(r.top, 300);
    }
}

TEST(SnapLayoutMove, ResizableWindowMeetsAnotherWindowWithItsVisibleEdges) {
    // A's bottom near B's top: one allowance; A's right near B's left: two.
    SnapLayout l = makeLayout({{{100, 100, 300, 200}, 0}, {{500, 500, 700, 700}, 0}});
    RECT r = moveTo(l, 1, {450, 395}, 3);
    EXPECT_EQ(r.bottom, 500 + 3);
    EXPECT_EQ(r.top, 403);

    SnapLayout l2 = makeLayout({{{100, 100, 300, 200}, 0}, {{500, 500, 700, 700}, 0}});
    r = moveTo(l2, 1, {295, 550}, 3);
    EXPECT_EQ(r.right, 500 + 6);
    EXPECT_EQ(r.top, 550);
}

TEST(SnapLayoutGlue, ChildrenTouchingTheParentOrAGluedSiblingFollowIt) {
    // 1: parent; 2: touches its right edge; 3: touches 2 only; 4: overlaps 1 without a shared
    // edge; 5: a parentless window touching 1.
    SnapLayout l = makeLayout({{{100, 100, 300, 300}, 0},
                               {{300, 120, 400, 200}, 1},
                               {{400, 150, 450, 250}, 1},
                               {{250, 250, 350, 350}, 1},
                               {{100, 300, 200, 400}, 0}});
    l.checkGlueing();
    EXPECT_FALSE(l.entry(1).glued);
    EXPECT_TRUE(l.entry(2).glued);
    EXPECT_TRUE(l.entry(3).glued);
    EXPECT_FALSE(l.entry(4).glued);
    EXPECT_FALSE(l.entry(5).glued);

    std::vector<SnapLayout::ChildMove> kids;
    const RECT r = moveTo(l, 1, {150, 130}, 0, &kids);
    EXPECT_EQ(r.left, 150);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(kids[0].index, 2u);
    EXPECT_EQ(kids[0].topLeft, (POINT{350, 150}));
    EXPECT_EQ(kids[1].index, 3u);
    EXPECT_EQ(kids[1].topLeft, (POINT{450, 180}));
}

TEST(SnapLayoutGlue, GluedGroupSnapsAsAWhole) {
    // The child's right edge comes 5 pixels from the work area's right edge and pulls the
    // parent with it.
    SnapLayout l = makeLayout({{{600, 100, 800, 300}, 0}, {{800, 100, 1000, 300}, 1}});
    l.checkGlueing();
    std::vector<SnapLayout::ChildMove> kids;
    const RECT r = moveTo(l, 1, {875, 100}, 0, &kids);
    EXPECT_EQ(r.left, 880);
    ASSERT_EQ(kids.size(), 1u);
    EXPECT_EQ(kids[0].topLeft.x, 1080);
}

TEST(SnapLayoutGlue, ParentOutsideTheListMakesTheWorkAreaTheReference) {
    SnapLayout l = makeLayout({{{0, 100, 200, 300}, 77}, {{500, 500, 600, 600}, 77}});
    l.checkGlueing();
    EXPECT_TRUE(l.entry(1).glued); // touches the work area's left edge
    EXPECT_FALSE(l.entry(2).glued);
}

TEST(SnapLayoutList, RemovingAParentClearsItsChildrenAndKeepsTheOrder) {
    SnapLayout l = makeLayout({{{0, 0, 10, 10}, 0}, {{10, 0, 20, 10}, 1}, {{20, 0, 30, 10}, 1}});
    l.remove(1);
    ASSERT_EQ(l.count(), 2u);
    EXPECT_EQ(l.entry(1).id, 2u);
    EXPECT_EQ(l.entry(1).parent, 0u);
    EXPECT_EQ(l.entry(2).id, 3u);
    EXPECT_EQ(l.entry(2).parent, 0u);
    EXPECT_EQ(l.rect(1), (RECT{10, 0, 20, 10}));
}

TEST(SnapLayoutSize, EdgesSnapWithTheAllowanceOfTheSizedWindow) {
    struct Case {
        int32_t edge;
        RECT proposed;
        int32_t f;
        RECT expected;
    } cases[] = {
        {platform::WMSZ_LEFT, {5, 100, 300, 300}, 3, {-3, 100, 300, 300}},
        {platform::WMSZ_LEFT, {5, 100, 300, 300}, 0, {0, 100, 300, 300}},
        {platform::WMSZ_BOTTOMRIGHT, {100, 100, 1275, 1020}, 3, {100, 100, 1283, 1027}},
        {platform::WMSZ_TOP, {100, 8, 300, 300}, 0, {100, 0, 300, 300}},
        {platform::WMSZ_RIGHT, {100, 100, 1270, 300}, 0, {100, 100, 1270, 300}}, // 10 away
        // A bottom edge dragged near another window's top.
        {platform::WMSZ_BOTTOM, {600, 100, 700, 495}, 3, {600, 100, 700, 503}},
    };
    for (const Case& c : cases) {
        SnapLayout l = makeLayout({{{100, 100, 300, 300}, 0}, {{550, 500, 800, 700}, 0}});
        EXPECT_EQ(l.checkSize(1, c.proposed, c.edge, c.f), c.expected) << "edge " << c.edge;
    }
}
