// Window snapping on real windows: registration, and drags through the platform's move loop.
#include "chrome_test_util.h"
#include "controls/chrome/c_magnetic_wnd.h"

#include <gtest/gtest.h>

using namespace platform;
using controls::cMagneticWnd;

TEST(MagneticWnd, RegistrationRejectsDuplicatesAndNonWindows) {
    auto a = chrome_test::topLevel({100, 100, 300, 300}, 0);
    auto b = chrome_test::topLevel({300, 100, 500, 300}, 0);
    Window* gone = new Window;
    delete gone;
    cMagneticWnd mag;
    EXPECT_TRUE(mag.AddWindow(a.get()));
    EXPECT_FALSE(mag.AddWindow(a.get()));
    EXPECT_FALSE(mag.AddWindow(nullptr));
    EXPECT_FALSE(mag.AddWindow(b.get(), gone));
    EXPECT_TRUE(mag.AddWindow(b.get(), a.get()));
    EXPECT_EQ(mag.Count(), 2);
    EXPECT_TRUE(mag.IsGlued(b.get()));
    EXPECT_FALSE(mag.RemoveWindow(gone));

    // Glue is recomputed after a command, a minimise or a restore, not after other commands.
    SetWindowPos(b.get(), nullptr, 320, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessage(a.get(), WM_SYSCOMMAND, 0xF100, 0); // the keyboard menu: no glue check
    EXPECT_TRUE(mag.IsGlued(b.get()));
    SendMessage(a.get(), WM_COMMAND, 0, 0);
    EXPECT_FALSE(mag.IsGlued(b.get()));
    SetWindowPos(b.get(), nullptr, 300, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessage(b.get(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(mag.IsGlued(b.get()));

    // Removing the parent keeps the child registered, parentless and no longer glued.
    EXPECT_TRUE(mag.RemoveWindow(a.get()));
    EXPECT_FALSE(mag.RemoveWindow(a.get()));
    EXPECT_TRUE(mag.IsRegistered(b.get()));
    EXPECT_EQ(mag.ParentOf(b.get()), nullptr);
    EXPECT_FALSE(mag.IsGlued(b.get()));
}

TEST(MagneticWnd, DragThroughTheMoveLoopEndsSnappedToTheWorkArea) {
    auto w = chrome_test::topLevel({200, 200, 400, 350}, WS_THICKFRAME);
    cMagneticWnd mag;
    ASSERT_TRUE(mag.AddWindow(w.get()));
    std::vector<UINT> seen;
    w->setProcedure(makeProcedure([&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_MOVING) seen.push_back(m);
        return DefWindowProc(h, m, wp, lp);
    }));
    // Registered after our procedure: snapping answers WM_MOVING before it.
    mag.RemoveWindow(w.get());
    ASSERT_TRUE(mag.AddWindow(w.get()));
    // Drag so the window rectangle's left edge would land 6 pixels right of the screen edge.
    chrome_test::dragLoop(w.get(), {50, 10}, {50 - 194, 10}, HTCAPTION);
    RECT rc;
    GetWindowRect(w.get(), &rc);
    EXPECT_EQ(rc.left, -3);
    EXPECT_EQ(rc.top, 200);
    EXPECT_EQ(rc.width(), 200);
    EXPECT_TRUE(seen.empty()) << "the window's own procedure saw WM_MOVING";
}

TEST(MagneticWnd, GluedChildFollowsItsParentAndAnUngluedOneStays) {
    auto parent = chrome_test::topLevel({200, 200, 400, 400}, 0);
    auto glued = chrome_test::topLevel({400, 220, 500, 300}, 0);
    auto apart = chrome_test::topLevel({405, 320, 500, 380}, 0);
    cMagneticWnd mag;
    ASSERT_TRUE(mag.AddWindow(parent.get()));
    ASSERT_TRUE(mag.AddWindow(glued.get(), parent.get()));
    ASSERT_TRUE(mag.AddWindow(apart.get(), parent.get()));
    EXPECT_TRUE(mag.IsGlued(glued.get()));
    EXPECT_FALSE(mag.IsGlued(apart.get()));

    chrome_test::dragLoop(parent.get(), {30, 30}, {30 + 60, 30 + 100}, HTCAPTION);
    RECT p, g, a;
    GetWindowRect(parent.get(), &p);
    GetWindowRect(glued.get(), &g);
    GetWindowRect(apart.get(), &a);
    EXPECT_EQ(p, (RECT{260, 300, 460, 500}));
    EXPECT_EQ(g, (RECT{460, 320, 560, 400}));
    EXPECT_EQ(a, (RECT{405, 320, 500, 380}));
}

TEST(MagneticWnd, SizingThroughTheLoopSnapsTheDraggedEdge) {
    auto w = chrome_test::topLevel({300, 300, 500, 500}, WS_THICKFRAME);
    cMagneticWnd mag;
    ASSERT_TRUE(mag.AddWindow(w.get()));
    // The bottom-right corner towards the screen's corner, stopping 5 pixels short.
    RECT before;
    GetWindowRect(w.get(), &before);
    const QPoint corner(w->width() - 1, w->height() - 1);
    chrome_test::dragLoop(w.get(), corner, corner + QPoint(1280 - 5 - before.right, 1024 - 5 - before.bottom),
                          HTBOTTOMRIGHT);
    RECT rc;
    GetWindowRect(w.get(), &rc);
    EXPECT_EQ(rc.right, 1283);
    EXPECT_EQ(rc.bottom, 1027);
    EXPECT_EQ(rc.left, 300);
}
