// Windows: Qt input as platform messages, leave tracking, geometry with the sizing frame,
// show states and the move/size loop.
#include "platform/intercept/interception.h"
#include "platform/test_support.h"
#include "platform/window/move_size_loop.h"

#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using namespace platform;
using testsupport::RecordingWindow;

namespace {

struct Msg {
    UINT msg;
    WPARAM w;
    LPARAM l;
};

std::unique_ptr<RecordingWindow> shownRecording(int w = 200, int h = 120, QPoint at = {50, 60}) {
    auto win = std::make_unique<RecordingWindow>();
    win->resize(w, h);
    win->move(at);
    win->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(win.get()));
    return win;
}

} // namespace

TEST(WindowInput, ButtonsAndDoubleClicksFollowThePlatformSequence) {
    auto win = shownRecording();
    std::vector<Msg> seen;
    win->answer = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK) seen.push_back({m, w, l});
        return DefWindowProc(win.get(), m, w, l);
    };
    QTest::mousePress(win.get(), Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::mouseRelease(win.get(), Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].msg, WM_RBUTTONDOWN);
    EXPECT_EQ(seen[0].w, MK_RBUTTON | MK_SHIFT);
    EXPECT_EQ(GET_X_LPARAM(seen[0].l), 30);
    EXPECT_EQ(GET_Y_LPARAM(seen[0].l), 40);
    EXPECT_EQ(seen[1].msg, WM_RBUTTONUP);
    EXPECT_EQ(seen[1].w, MK_SHIFT);

    // The platform's sequence for a double click: down, up, double-click, up.
    seen.clear();
    QTest::mousePress(win.get(), Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(win.get(), Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseDClick(win.get(), Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(win.get(), Qt::LeftButton, {}, QPoint(3, 4));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].msg, WM_LBUTTONDOWN);
    EXPECT_EQ(seen[1].msg, WM_LBUTTONUP);
    EXPECT_EQ(seen[2].msg, WM_LBUTTONDBLCLK);
    EXPECT_EQ(seen[2].w, MK_LBUTTON);
    EXPECT_EQ(seen[3].msg, WM_LBUTTONUP);
}

TEST(WindowInput, WheelCarriesTheSignedDeltaInTheHighWord) {
    auto win = shownRecording();
    std::vector<Msg> seen;
    win->answer = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_MOUSEWHEEL) seen.push_back({m, w, l});
        return 0;
    };
    for (int delta : {120, -240}) {
        QWheelEvent ev(QPointF(10, 10), win->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(win.get(), &ev);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(seen[0].w), 120);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(seen[1].w), -240);
    EXPECT_LT(static_cast<int32_t>(seen[1].w), 1) << "read as a signed number, a turn towards the user is negative";
    const QPoint g = win->mapToGlobal(QPoint(10, 10));
    EXPECT_EQ(GET_X_LPARAM(seen[0].l), g.x()) << "the wheel reports screen coordinates";
}

TEST(WindowInput, LeaveTrackingGivesExactlyOneMouseLeave) {
    auto win = shownRecording();
    auto other = shownRecording(200, 120, {400, 400});
    QTest::mouseMove(win.get(), QPoint(20, 20));
    pumpFor(20);
    TRACKMOUSEEVENT tme{16, TME_LEAVE, win.get(), 0};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    QTest::mouseMove(other.get(), QPoint(5, 5));
    QTest::mouseMove(other.get(), QPoint(6, 6));
    pumpFor(50);
    QTest::mouseMove(win.get(), QPoint(21, 21));
    QTest::mouseMove(other.get(), QPoint(7, 7));
    pumpFor(50);
    EXPECT_EQ(win->count(WM_MOUSELEAVE), 1) << "one notification per request";
}

TEST(WindowGeometry, ThickFrameAddsThreePixelsAroundTheClientArea) {
    Window win(nullptr, QStringLiteral("Frame"), WS_OVERLAPPEDWINDOW);
    win.setGeometry(100, 80, 650, 429);
    RECT rc;
    GetWindowRect(&win, &rc);
    EXPECT_EQ(rc, (RECT{97, 77, 753, 512}));
    EXPECT_EQ(rc.width(), 656);
    EXPECT_EQ(rc.height(), 435);
    GetClientRect(&win, &rc);
    EXPECT_EQ(rc, (RECT{0, 0, 650, 429}));

    // Placing takes the window rectangle.
    SetWindowPos(&win, nullptr, 10, 20, 300, 200, SWP_NOZORDER);
    EXPECT_EQ(win.geometry(), QRect(13, 23, 294, 194));

    Window plain(nullptr, QStringLiteral("Plain"), WS_POPUP);
    plain.setGeometry(5, 6, 70, 80);
    GetWindowRect(&plain, &rc);
    EXPECT_EQ(rc, (RECT{5, 6, 75, 86}));
}

TEST(WindowGeometry, SizeAndMoveAreReportedOnceWithTheirValues) {
    RecordingWindow win;
    std::vector<Msg> seen;
    win.answer = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SIZE || m == WM_MOVE) seen.push_back({m, w, l});
        return 0;
    };
    Window child(&win);
    SetWindowPos(&win, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().msg, WM_SIZE);
    EXPECT_EQ(GET_X_LPARAM(seen.back().l), 320);
    EXPECT_EQ(GET_Y_LPARAM(seen.back().l), 240);
    const size_t n = seen.size();
    win.resize(320, 240);
    EXPECT_EQ(seen.size(), n) << "an unchanged size is not reported again";
    EXPECT_EQ(win.surface().width(), 320);
}

TEST(WindowShowState, MaximiseUsesTheMinMaxInfoAndRestoreReturns) {
    RecordingWindow win;
    win.setStyle(WS_OVERLAPPEDWINDOW);
    win.setGeometry(100, 100, 400, 300);
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    struct Limits : ISubclass {
        void zSubclass_Proc(bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM& l) override {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
            mmi->ptMaxPosition = {-3, -3};
            mmi->ptMaxSize = {806, 606};
        }
    } limits;
    Subclasser t(&limits);
    t.Subclass(&win);
    t.AddMsg(&win, WM_GETMINMAXINFO, MsgWhen::After);
    const RECT before = win.windowRect();
    SendMessage(&win, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(&win));
    EXPECT_EQ(win.windowRect(), (RECT{-3, -3, 803, 603}));
    EXPECT_EQ(win.geometry(), QRect(0, 0, 800, 600));
    SendMessage(&win, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(&win));
    EXPECT_EQ(win.windowRect(), before);
}

TEST(WindowShowState, MinimisedWindowReportsSizeMinimized) {
    RecordingWindow win;
    std::vector<WPARAM> kinds;
    win.answer = [&](UINT m, WPARAM w, LPARAM) -> LRESULT {
        if (m == WM_SIZE) kinds.push_back(w);
        return 0;
    };
    win.resize(100, 100);
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    ShowWindow(&win, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(&win));
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.back(), SIZE_MINIMIZED);
    ShowWindow(&win, SW_RESTORE);
    EXPECT_FALSE(IsIconic(&win));
    EXPECT_EQ(kinds.back(), SIZE_RESTORED);
}

// Maximised, minimised and restored, a window is maximised again; the rectangle it had before
// the maximise comes back with the restore after that. Each step tells its WM_SIZE code.
TEST(WindowShowState, MinimisedFromMaximisedRestoresToMaximised) {
    RecordingWindow win;
    std::vector<WPARAM> kinds;
    win.answer = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SIZE) kinds.push_back(w);
        return DefWindowProc(&win, m, w, l);
    };
    win.setStyle(WS_OVERLAPPEDWINDOW);
    win.setGeometry(100, 100, 400, 300);
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    const RECT normal = win.windowRect();
    kinds.clear();
    SendMessage(&win, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    const RECT maximised = win.windowRect();
    SendMessage(&win, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(&win));
    // Off the screen while minimised, with a window manager or without one.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !win.windowHandle()->isExposed(); }, 5000));
    SendMessage(&win, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsZoomed(&win));
    EXPECT_EQ(win.windowRect(), maximised);
    EXPECT_TRUE(QTest::qWaitFor([&] { return win.windowHandle()->isExposed(); }, 5000));
    SendMessage(&win, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(win.showState(), ShowState::Normal);
    EXPECT_EQ(win.windowRect(), normal);
    EXPECT_EQ(kinds, (std::vector<WPARAM>{SIZE_MAXIMIZED, SIZE_MINIMIZED, SIZE_MAXIMIZED, SIZE_RESTORED}));
}

// What the desktop does to a window (a task bar minimises and restores it, a window manager
// maximises it) becomes the layer's own show state, told with its WM_SIZE code; a report that
// changes nothing tells nothing.
TEST(WindowShowState, DesktopChangesBecomeTheLayersOwn) {
    struct Case {
        int before;                // ShowWindow command first, 0 for none
        int before2;               // and a second one
        Qt::WindowStates from, to; // what the desktop reports
        ShowState after;
        std::optional<WPARAM> sizeCode; // the last WM_SIZE, none when nothing is told
    } cases[] = {
        {0, 0, Qt::WindowNoState, Qt::WindowMinimized, ShowState::Minimized, SIZE_MINIMIZED},
        {SW_MINIMIZE, 0, Qt::WindowMinimized, Qt::WindowNoState, ShowState::Normal, SIZE_RESTORED},
        {SW_MAXIMIZE, SW_MINIMIZE, Qt::WindowMinimized, Qt::WindowNoState, ShowState::Maximized, SIZE_MAXIMIZED},
        {0, 0, Qt::WindowNoState, Qt::WindowMaximized, ShowState::Maximized, SIZE_MAXIMIZED},
        {0, 0, Qt::WindowMaximized, Qt::WindowNoState, ShowState::Normal, std::nullopt},
        {SW_MAXIMIZE, 0, Qt::WindowNoState, Qt::WindowNoState, ShowState::Maximized, std::nullopt},
        {SW_MAXIMIZE, 0, Qt::WindowMaximized, Qt::WindowNoState, ShowState::Normal, SIZE_RESTORED},
    };
    for (const Case& c : cases) {
        RecordingWindow win;
        std::vector<WPARAM> kinds;
        win.answer = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_SIZE) kinds.push_back(w);
            return DefWindowProc(&win, m, w, l);
        };
        win.setStyle(WS_OVERLAPPEDWINDOW);
        win.setGeometry(100, 100, 400, 300);
        win.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
        if (c.before) ShowWindow(&win, c.before);
        if (c.before2) ShowWindow(&win, c.before2);
        kinds.clear();
        win.desktopStateChanged(c.from, c.to);
        EXPECT_EQ(win.showState(), c.after) << int(c.from) << " > " << int(c.to);
        if (c.sizeCode) {
            ASSERT_FALSE(kinds.empty()) << int(c.from) << " > " << int(c.to);
            EXPECT_EQ(kinds.back(), *c.sizeCode);
        } else {
            EXPECT_TRUE(kinds.empty());
        }
    }
}

namespace {

// Rewrites the proposed rectangle of moves and sizes and records the loop's messages.
class LoopWatcher : public ISubclass {
public:
    std::vector<UINT> seen;
    RECT lastProposed{};
    WPARAM lastEdge = 0;
    std::function<void(RECT&)> rewrite;
    void zSubclass_Proc(bool before, bool& handled, LRESULT& ret, HWND&, UINT& m, WPARAM& w, LPARAM& l) override {
        seen.push_back(m);
        if (before && (m == WM_MOVING || m == WM_SIZING)) {
            auto* rc = reinterpret_cast<RECT*>(l);
            lastProposed = *rc;
            lastEdge = w;
            if (rewrite) {
                rewrite(*rc);
                handled = true;
                ret = 1;
            }
        }
    }
};

} // namespace

TEST(MoveSizeLoop, MovingFollowsThePointerAndTakesTheRewrittenRectangle) {
    RecordingWindow win;
    win.setStyle(WS_OVERLAPPEDWINDOW);
    win.setGeometry(200, 200, 300, 200);
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    LoopWatcher watch;
    Subclasser table(&watch);
    table.Subclass(&win);
    for (UINT m : {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}) table.AddMsg(&win, m, MsgWhen::After);
    table.AddMsg(&win, WM_MOVING, MsgWhen::Before);

    using testsupport::pointerAt;
    pointerAt(&win, QEvent::MouseButtonPress, {250, 210}, Qt::LeftButton);
    SendMessage(&win, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    EXPECT_EQ(watch.seen.front(), WM_ENTERSIZEMOVE);
    pointerAt(&win, QEvent::MouseMove, {270, 225});
    // 20 right, 15 down from the press: the proposed window rectangle moved by that much.
    EXPECT_EQ(watch.lastProposed, (RECT{217, 212, 523, 418}));
    EXPECT_EQ(win.windowRect(), (RECT{217, 212, 523, 418}));

    watch.rewrite = [](RECT& rc) { rc = {0, 0, rc.right - rc.left, rc.bottom - rc.top}; };
    const int unhandled = win.count(WM_MOVING);
    pointerAt(&win, QEvent::MouseMove, {280, 230});
    EXPECT_EQ(win.windowRect(), (RECT{0, 0, 306, 206})) << "the rewritten rectangle is where the window goes";
    pointerAt(&win, QEvent::MouseButtonRelease, {280, 230}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(watch.seen.back(), WM_EXITSIZEMOVE);
    EXPECT_EQ(win.count(WM_MOVING), unhandled) << "a handled WM_MOVING never reaches the window's own procedure";
}

TEST(MoveSizeLoop, SizingFromTheBottomRightIsClampedToTheMinimumTrackingSize) {
    RecordingWindow win;
    win.setStyle(WS_OVERLAPPEDWINDOW);
    win.setGeometry(100, 100, 300, 200);
    win.answer = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {142, 50};
        return DefWindowProc(&win, m, w, l);
    };
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    LoopWatcher watch;
    Subclasser table(&watch);
    table.Subclass(&win);
    table.AddMsg(&win, WM_SIZING, MsgWhen::Before);

    using testsupport::pointerAt;
    pointerAt(&win, QEvent::MouseButtonPress, {398, 298}, Qt::LeftButton);
    SendMessage(&win, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
    pointerAt(&win, QEvent::MouseMove, {438, 318});
    EXPECT_EQ(watch.lastEdge, WMSZ_BOTTOMRIGHT);
    EXPECT_EQ(win.windowRect(), (RECT{97, 97, 443, 323}));
    pointerAt(&win, QEvent::MouseMove, {100, 100});
    const RECT rc = win.windowRect();
    EXPECT_EQ(rc.left, 97) << "the dragged corner moves, the opposite one stays";
    EXPECT_EQ(rc.width(), 142);
    EXPECT_EQ(rc.height(), 50);
    pointerAt(&win, QEvent::MouseButtonRelease, {100, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(win.count(WM_EXITSIZEMOVE), 1);
}

// The window follows the pointer from the press that began the drag, even when the loop is
// entered only at a move far from it; when the loop ends, Qt has the release too, so the
// next move goes to the widget under the pointer and not to the one that was pressed.
TEST(MoveSizeLoop, ADragCountsFromItsPressAndLeavesQtsPointerGrabBehind) {
    RecordingWindow win;
    win.setStyle(WS_OVERLAPPEDWINDOW);
    win.setGeometry(300, 300, 300, 200);
    RecordingWindow pressed(&win);
    pressed.setGeometry(0, 0, 300, 40);
    RecordingWindow other(&win);
    other.setGeometry(0, 100, 300, 100);
    // The first move with the button held starts the loop, as a frame does.
    pressed.answer = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_MOUSEMOVE && (w & MK_LBUTTON) && !moveSizeLoopWindow())
            SendMessage(&win, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return DefWindowProc(&pressed, m, w, l);
    };
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    pumpFor(20);
    const RECT before = win.windowRect();
    QWindow* handle = win.windowHandle();
    // Through the window system, as the X server delivers it.
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::mouseMove(handle, QPoint(80, 60));
    EXPECT_EQ(win.windowRect(), (RECT{before.left + 30, before.top + 40, before.right + 30, before.bottom + 40}));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_EQ(moveSizeLoopWindow(), nullptr);
    EXPECT_EQ(pressed.count(WM_LBUTTONUP), 0) << "the release belongs to the loop";
    const int before2 = other.count(WM_MOUSEMOVE);
    QTest::mouseMove(handle, QPoint(60, 150));
    EXPECT_GT(other.count(WM_MOUSEMOVE), before2) << "Qt still sends the pointer to the pressed widget";
}

TEST(WindowPainting, InvalidationSendsOnePaintAndBeginPaintValidates) {
    auto win = shownRecording(100, 80);
    pumpFor(20);
    win->messages.clear();
    InvalidateRect(win.get(), nullptr, false);
    InvalidateRect(win.get(), nullptr, false);
    EXPECT_EQ(win->count(WM_PAINT), 0);
    DoEvents();
    EXPECT_EQ(win->count(WM_PAINT), 1) << "invalidations coalesce into one WM_PAINT";
    EXPECT_TRUE(win->updateRegion().isEmpty());
}

TEST(WindowTimers, TimerMessagesCarryTheirIdUntilKilled) {
    RecordingWindow win;
    std::vector<WPARAM> ids;
    win.answer = [&](UINT m, WPARAM w, LPARAM) -> LRESULT {
        if (m == WM_TIMER) ids.push_back(w);
        return 0;
    };
    SetTimer(&win, 3, 10);
    pumpFor(60);
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.front(), 3u);
    EXPECT_TRUE(KillTimer(&win, 3));
    const size_t n = ids.size();
    pumpFor(40);
    EXPECT_EQ(ids.size(), n);
    EXPECT_FALSE(KillTimer(&win, 3));
}

TEST(WindowLifetime, CloseDestroysThroughTheProcedureChain) {
    auto* win = new RecordingWindow;
    auto* child = new RecordingWindow(win);
    win->setDeleteOnDestroy(true);
    QPointer<Window> watch(win);
    SendMessage(win, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(win));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(SendMessage(win, WM_USER, 0, 0), 0) << "messages to a destroyed window go nowhere";
    DoEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}
