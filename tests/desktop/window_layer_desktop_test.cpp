// The window layer on a real desktop: a test window tree (a skinned, magnetic window with a
// button and a scrollbar) on an X server of its own, driven through the X server with
// xdotool, with no window manager and under openbox. What the window believes comes from the
// window itself; what the desktop shows comes from the X server.
#include "x_session.h"

#include <gtest/gtest.h>

using namespace desktop;

namespace {

enum class Wm { None, Openbox };

// Client coordinates of the probe's parts (its window is 400 x 300).
constexpr QPoint kCaption{150, 12};
constexpr QPoint kButton{80, 72};     // the skinned button, 80 x 24 at (40, 60)
constexpr QPoint kArrow2{348, 231};   // the scrollbar's lower arrow
constexpr QPoint kMaxButton{371, 11}; // caption buttons: 11 x 11 with their tops at y 6
constexpr QPoint kMinButton{354, 11};
constexpr QPoint kTopMostButton{337, 11};

QRect rectOf(const std::vector<int>& ltrb) {
    return ltrb.size() == 4 ? QRect(QPoint(ltrb[0], ltrb[1]), QPoint(ltrb[2] - 1, ltrb[3] - 1)) : QRect();
}

// One desktop: a server, maybe a window manager, and the probe on it.
class Desk {
public:
    explicit Desk(Wm wm, XServer::Options options = {}, QStringList env = {}) : x(options) {
        if (!x.ok()) return;
        if (wm == Wm::Openbox) {
            m_wm = std::make_unique<WindowManager>(x);
            if (!m_wm->ok()) return;
        }
        probe = std::make_unique<Client>(x, QStringLiteral(TIANBO_DESKTOP_PROBE), env);
        const QString ready = probe->firstLine();
        if (ready.startsWith(QLatin1String("ready "))) id = ready.mid(6).toUInt();
    }
    bool ok() const { return id != 0; }

    State state() const { return State(probe->ask(QStringLiteral("state"))); }
    QString ask(const QString& command) const { return probe->ask(command); }
    // The show-state messages since the last call.
    QString events() const { return probe->ask(QStringLiteral("events")); }
    bool until(const std::function<bool(const State&)>& done, int timeoutMs = 8000) const {
        return waitUntil([&] { return done(state()); }, timeoutMs);
    }
    // The state once the window had time to take in what was sent to it.
    State settled() const {
        waitUntil([] { return false; }, 400);
        return state();
    }
    // A client point of the probe's window on the screen, now.
    QPoint at(QPoint client) const { return state().clientRect().topLeft() + client; }
    void click(QPoint screen, int button = 1) const {
        x.pointerTo(screen);
        x.press(button);
        x.release(button);
    }
    // A left-button drag through the given screen points.
    void drag(QPoint from, std::initializer_list<QPoint> via) const {
        x.pointerTo(from);
        x.press();
        for (QPoint p : via) x.pointerTo(p);
        x.release();
    }

    XServer x;
    std::unique_ptr<Client> probe;
    XWindow id = 0;

private:
    std::unique_ptr<WindowManager> m_wm;
};

class WindowLayerOnDesktop : public ::testing::TestWithParam<Wm> {
protected:
    bool withWm() const { return GetParam() == Wm::Openbox; }
};

} // namespace

// After a caption drag the pointer lights up the button it moves onto, with no click first.
TEST_P(WindowLayerOnDesktop, CaptionDragThenHoverShowsTheHotButton) {
    Desk d(GetParam());
    ASSERT_TRUE(d.ok());
    const QRect c0 = d.state().clientRect();
    const QPoint p = c0.topLeft() + kCaption;
    d.drag(p, {p + QPoint(10, 5), p + QPoint(25, 15), p + QPoint(40, 30)});
    ASSERT_TRUE(d.until([&](const State& s) { return s.clientRect() == c0.translated(40, 30); }));
    const QRect onScreen(c0.topLeft() + QPoint(40, 30) + QPoint(40, 60), QSize(80, 24));
    const QImage normal = d.x.grab(onScreen);

    const QPoint button = d.at(kButton);
    d.x.pointerTo(button - QPoint(0, 4));
    d.x.pointerTo(button);
    EXPECT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("button")) == 2; }))
        << "the button stays normal under the pointer";
    EXPECT_TRUE(waitUntil([&] { return d.x.grab(onScreen) != normal; })) << "the screen shows no hot frame";
    EXPECT_EQ(d.state().number(QStringLiteral("clicks")), 0);
}

// A quick upward drag from the caption, whose first move lands in the top border's zone,
// moves the window; it does not size its top edge.
TEST_P(WindowLayerOnDesktop, QuickUpwardCaptionDragMoves) {
    Desk d(GetParam());
    ASSERT_TRUE(d.ok());
    d.ask(QStringLiteral("move 300 400"));
    const State s0 = d.state();
    const QRect w0 = s0.windowRect();
    const QPoint p = s0.clientRect().topLeft() + kCaption;
    d.drag(p, {p + QPoint(0, -9), p + QPoint(3, -60)});
    ASSERT_TRUE(d.until([&](const State& s) { return s.windowRect().topLeft() != w0.topLeft(); }));
    const State s1 = d.settled();
    EXPECT_EQ(s1.windowRect(), w0.translated(3, -60));
}

// A brisk drag from a border zone sizes from that border even when its first move already
// left the zone.
TEST_P(WindowLayerOnDesktop, BriskBorderDragsSize) {
    struct Case {
        QPoint press;             // client point in a border zone
        std::vector<QPoint> path; // moves relative to the press
        QMargins grown;           // how far each edge moves outwards
    } cases[] = {
        {{396, 150}, {{45, 0}, {60, 0}}, QMargins(0, 0, 60, 0)},    // right border, outwards
        {{3, 150}, {{40, 2}, {50, 0}}, QMargins(-50, 0, 0, 0)},     // left border, inwards
        {{4, 296}, {{-30, 30}, {-34, 34}}, QMargins(34, 0, 0, 34)}, // bottom-left corner
        {{200, 297}, {{0, -40}, {0, -60}}, QMargins(0, 0, 0, -60)}, // bottom border, inwards
    };
    for (const Case& c : cases) {
        Desk d(GetParam());
        ASSERT_TRUE(d.ok());
        d.ask(QStringLiteral("move 300 300"));
        ASSERT_TRUE(d.until([](const State& s) { return s.windowRect().topLeft() == QPoint(300, 300); }));
        const State s0 = d.state();
        const QPoint p = s0.clientRect().topLeft() + c.press;
        d.x.pointerTo(p);
        d.x.press();
        for (QPoint step : c.path) d.x.pointerTo(p + step);
        d.x.release();
        const QRect expected = s0.windowRect().marginsAdded(c.grown);
        EXPECT_TRUE(d.until([&](const State& s) { return s.windowRect() == expected; }))
            << "press at " << c.press.x() << "," << c.press.y() << ": "
            << d.state()[QStringLiteral("window")].toStdString();
    }
}

// A skinned button pressed and dragged off keeps its pressed look while the button is held,
// inside the window and out of it, and is normal again after a release outside (no click).
TEST_P(WindowLayerOnDesktop, PressedButtonDraggedOffStaysPressed) {
    Desk d(GetParam());
    ASSERT_TRUE(d.ok());
    const QPoint button = d.at(kButton);
    d.x.pointerTo(button);
    d.x.press();
    ASSERT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("button")) == 3; }));
    for (QPoint off : {button + QPoint(150, 0), QPoint(5, 5)}) {
        d.x.pointerTo(off);
        EXPECT_EQ(d.settled().number(QStringLiteral("button")), 3) << "off at " << off.x() << "," << off.y();
    }
    d.x.release();
    EXPECT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("button")) == 1; }));
    EXPECT_EQ(d.state().number(QStringLiteral("clicks")), 0);
}

// The pointer leaving the program straight from a hot scrollbar arrow clears the hot look.
TEST_P(WindowLayerOnDesktop, PointerLeavingTheProgramClearsAHotScrollArrow) {
    Desk d(GetParam());
    ASSERT_TRUE(d.ok());
    const QString rest = d.state()[QStringLiteral("bararrow")];
    const QPoint arrow = d.at(kArrow2);
    d.x.pointerTo(arrow - QPoint(0, 3));
    d.x.pointerTo(arrow);
    ASSERT_TRUE(d.until([&](const State& s) {
        return s.number(QStringLiteral("barover")) == 1 && s[QStringLiteral("bararrow")] != rest;
    }));
    d.x.pointerTo(QPoint(5, 5));
    EXPECT_TRUE(d.until([&](const State& s) {
        return s.number(QStringLiteral("barover")) == 0 && s[QStringLiteral("bararrow")] == rest;
    })) << d.state()[QStringLiteral("barover")].toStdString();
}

// Maximise, minimise, restore: maximised again (glyph, tip, geometry), and the rectangle from
// before the maximise comes back with the next restore. The caption buttons are painted when
// the window returns, with or without a window manager.
TEST_P(WindowLayerOnDesktop, MaximiseMinimiseRestoreIsMaximisedAgain) {
    Desk d(GetParam());
    ASSERT_TRUE(d.ok());
    const State s0 = d.state();
    d.click(d.at(kMaxButton));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("max"); }));
    const State s1 = d.state();
    const QRect work = rectOf(s1.numbers(QStringLiteral("work")));
    EXPECT_EQ(s1.clientRect(), work);
    EXPECT_EQ(s1.windowRect(), work.marginsAdded(QMargins(3, 3, 3, 3)));
    EXPECT_NE(s1[QStringLiteral("maxglyph")], s0[QStringLiteral("maxglyph")]);
    EXPECT_EQ(s1[QStringLiteral("maxtip")], QStringLiteral("向下还原"));
    EXPECT_EQ(d.x.geometry(d.id), work) << "the X server shows the window over the work area";
    // The caption buttons at rest, as the screen shows them.
    d.x.pointerTo(work.center());
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("caption")] == QLatin1String("1,1,1,1,1"); }));
    const QRect buttons(work.topLeft() + QPoint(work.width() - 90, 6), QSize(85, 11));
    waitUntil([] { return false; }, 200);
    const QImage restingButtons = d.x.grab(buttons);
    d.events();

    d.click(work.topLeft() + QPoint(work.width() - 400, 0) + kMinButton);
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("min"); }));
    EXPECT_TRUE(waitUntil([&] { return !d.x.viewable(d.id); })) << "a minimised window leaves the screen";

    if (withWm()) {
        // Back from the task bar: the window manager maps it again.
        d.x.xdotool({QStringLiteral("windowactivate"), QString::number(d.id)});
    } else {
        d.ask(QStringLiteral("show 9"));
    }
    ASSERT_TRUE(d.until([](const State& s) {
        return s[QStringLiteral("show")] == QLatin1String("max") && s.number(QStringLiteral("exposed")) == 1;
    }));
    const State s2 = d.state();
    EXPECT_EQ(s2.clientRect(), work);
    EXPECT_EQ(s2[QStringLiteral("maxglyph")], s1[QStringLiteral("maxglyph")]);
    const QString events = d.events();
    EXPECT_TRUE(events.contains(QLatin1String("size:1")) && events.contains(QLatin1String("size:2")))
        << events.toStdString();
    d.x.pointerTo(work.center() + QPoint(1, 1));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("caption")] == QLatin1String("1,1,1,1,1"); }));
    EXPECT_TRUE(waitUntil([&] { return d.x.grab(buttons) == restingButtons; }))
        << "the caption buttons are not painted as they were";

    d.click(work.topLeft() + QPoint(work.width() - 400, 0) + kMaxButton);
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("normal"); }));
    EXPECT_EQ(d.state().windowRect(), s0.windowRect());
    EXPECT_EQ(d.state()[QStringLiteral("maxtip")], QStringLiteral("最大化"));
}

// A panel's strip along the top moves the work area's origin: maximising puts the window at
// the work area's top and a drag snaps to it.
TEST_P(WindowLayerOnDesktop, TopStripMovesTheWorkAreaForMaximiseAndSnapping) {
    Desk d(GetParam());
    ASSERT_TRUE(d.ok());
    if (withWm()) d.ask(QStringLiteral("dock top 0 0 1280 40"));
    else d.x.setWorkArea(QRect(0, 40, 1280, 984));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("work")] == QLatin1String("0,40,1280,1024"); }))
        << d.state()[QStringLiteral("work")].toStdString();

    d.ask(QStringLiteral("show 3"));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("max"); }));
    EXPECT_EQ(d.state().clientRect(), QRect(0, 40, 1280, 984));
    EXPECT_EQ(d.state()[QStringLiteral("window")], QStringLiteral("-3,37,1283,1027"));
    EXPECT_EQ(d.x.geometry(d.id), QRect(0, 40, 1280, 984));
    d.ask(QStringLiteral("show 9"));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("normal"); }));

    // Dragged to 6 pixels below the strip, the visible top edge jumps onto it.
    const QRect c = d.state().clientRect();
    const QPoint p = c.topLeft() + kCaption;
    const int dy = 46 - c.top();
    d.drag(p, {p + QPoint(0, dy / 2), p + QPoint(0, dy)});
    EXPECT_TRUE(d.until([](const State& s) { return s.clientRect().top() == 40; }))
        << d.state()[QStringLiteral("client")].toStdString();
}

// With two screens side by side (and a strip on the second one only), a window on the second
// screen maximises into that screen's work area and snaps to its edges; the first screen keeps
// all of its area.
TEST_P(WindowLayerOnDesktop, SecondScreenMaximisesAndSnapsThere) {
    XServer::Options twoScreens;
    twoScreens.size = QSize(2304, 1024);
    twoScreens.monitors = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1024, 768)};
    Desk d(GetParam(), twoScreens);
    ASSERT_TRUE(d.ok());
    d.ask(QStringLiteral("dock top 1280 0 1024 30"));
    d.ask(QStringLiteral("move 100 100"));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("work")] == QLatin1String("0,0,1280,1024"); }))
        << d.state()[QStringLiteral("work")].toStdString();
    d.ask(QStringLiteral("move 1500 200"));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("work")] == QLatin1String("1280,30,2304,768"); }))
        << d.state()[QStringLiteral("work")].toStdString();

    d.ask(QStringLiteral("show 3"));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("max"); }));
    EXPECT_EQ(d.state().clientRect(), QRect(1280, 30, 1024, 738));
    EXPECT_EQ(d.x.geometry(d.id), QRect(1280, 30, 1024, 738));
    d.ask(QStringLiteral("show 9"));
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("normal"); }));

    // Dragged to 6 pixels short of the second screen's right edge, the window snaps to it.
    const QRect c = d.state().clientRect();
    const QPoint p = c.topLeft() + kCaption;
    const int dx = 2304 - 6 - (c.left() + c.width());
    d.drag(p, {p + QPoint(dx / 2, 0), p + QPoint(dx, 0)});
    EXPECT_TRUE(d.until([](const State& s) {
        const QRect r = s.clientRect();
        return r.left() + r.width() == 2304;
    })) << d.state()[QStringLiteral("client")].toStdString();
}

// The system menu opened at the right edge of the screen opens leftwards, clear of the
// pointer, and stays open after the right button's release; Escape closes it, and the arrow
// keys with Enter pick "最大化".
TEST_P(WindowLayerOnDesktop, SystemMenuAtTheScreenEdgeAndFromTheKeyboard) {
    Desk d(GetParam());
    ASSERT_TRUE(d.ok());
    d.ask(QStringLiteral("move 1000 300"));
    ASSERT_TRUE(d.until([](const State& s) { return s.windowRect().left() == 1000; }));
    const QPoint p(1272, d.state().clientRect().top() + 12);
    d.x.pointerTo(p);
    d.x.press(3);
    ASSERT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("menu")) == 1; }));
    const QRect menu = rectOf(d.state().numbers(QStringLiteral("menurect")));
    EXPECT_LE(menu.right(), p.x() - 1) << "the menu lies under the pointer";
    EXPECT_GE(menu.left(), 0);
    EXPECT_LE(menu.bottom(), 1023);
    d.x.release(3);
    EXPECT_EQ(d.settled().number(QStringLiteral("menu")), 1) << "the right button's release closed the menu";
    d.events();
    d.x.key(QStringLiteral("Escape"));
    ASSERT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("menu")) == 0; }));
    EXPECT_TRUE(d.events().contains(QLatin1String("syscommand:0")));
    EXPECT_EQ(d.state()[QStringLiteral("show")], QStringLiteral("normal"));

    d.click(p, 3);
    ASSERT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("menu")) == 1; }));
    d.x.key(QStringLiteral("Down Down Down Down Return"));
    EXPECT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("max"); }));
    EXPECT_TRUE(d.events().contains(QLatin1String("syscommand:f030")));
}

// "移动" and "大小" from the system menu take pointer and keyboard: the arrow keys move the
// window or the edge the first arrow picked, 8 pixels a step; Enter ends, Escape cancels.
TEST_P(WindowLayerOnDesktop, MoveAndSizeFromTheSystemMenuFollowTheArrowKeys) {
    struct Case {
        const char* item; // keys that pick the menu item
        const char* keys;
        QMargins change; // edges moved: left and top outwards negative
    } cases[] = {
        {"Down Return", "Right Right Right Down Return", QMargins(-24, -8, 24, 8)},
        {"Down Return", "Left Up Escape", QMargins(0, 0, 0, 0)},
        {"Down Down Return", "Left Left Left Return", QMargins(16, 0, 0, 0)},
        {"Down Down Return", "Down Down Right Return", QMargins(0, 0, 0, 8)},
    };
    for (const Case& c : cases) {
        Desk d(GetParam());
        ASSERT_TRUE(d.ok());
        d.ask(QStringLiteral("move 300 300"));
        ASSERT_TRUE(d.until([](const State& s) { return s.windowRect().topLeft() == QPoint(300, 300); }));
        const State s0 = d.state();
        d.click(s0.clientRect().topLeft() + kCaption, 3);
        ASSERT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("menu")) == 1; }));
        d.events();
        d.x.key(QString::fromLatin1(c.item));
        ASSERT_TRUE(waitUntil([&] { return d.events().contains(QLatin1String("entersizemove")); }));
        d.x.key(QString::fromLatin1(c.keys));
        ASSERT_TRUE(waitUntil([&] { return d.events().contains(QLatin1String("exitsizemove")); }));
        const QRect expected = s0.windowRect().marginsAdded(c.change);
        EXPECT_TRUE(d.until([&](const State& s) { return s.windowRect() == expected; }))
            << c.item << " / " << c.keys << ": " << d.state()[QStringLiteral("window")].toStdString();
    }
}

// What the window manager and a task bar see: a window with no frame of the manager's around
// it, listed as a normal window, and keep-on-top as the manager's "above" state.
TEST(WindowLayerUnderOpenbox, WindowManagerSeesAnUnframedTaskBarWindowKeptOnTop) {
    Desk d(Wm::Openbox);
    ASSERT_TRUE(d.ok());
    const std::vector<uint32_t> extents = d.x.cardinals(d.id, "_NET_FRAME_EXTENTS");
    EXPECT_EQ(extents, (std::vector<uint32_t>{0, 0, 0, 0}));
    const XWindow frame = d.x.parentOf(d.id);
    EXPECT_EQ(d.x.geometry(frame), d.x.geometry(d.id)) << "the manager's frame is larger than the window";
    EXPECT_EQ(d.x.geometry(d.id), d.state().clientRect());
    const auto clients = d.x.windows(d.x.root(), "_NET_CLIENT_LIST");
    EXPECT_NE(std::find(clients.begin(), clients.end(), d.id), clients.end()) << "not in the task bar's list";
    EXPECT_FALSE(d.x.atoms(d.id, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")));

    d.click(d.at(kTopMostButton));
    EXPECT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("topmost")) == 1; }));
    EXPECT_TRUE(
        waitUntil([&] { return d.x.atoms(d.id, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_ABOVE")); }));
    d.click(d.at(kTopMostButton));
    EXPECT_TRUE(d.until([](const State& s) { return s.number(QStringLiteral("topmost")) == 0; }));
    EXPECT_TRUE(
        waitUntil([&] { return !d.x.atoms(d.id, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_ABOVE")); }));
}

// Minimise, un-minimise and maximise made by the window manager (a task bar, a key binding)
// reach the window as its own show-state changes, with their WM_SIZE codes.
TEST(WindowLayerUnderOpenbox, ChangesMadeByTheWindowManagerReachTheWindow) {
    Desk d(Wm::Openbox);
    ASSERT_TRUE(d.ok());
    const State s0 = d.state();
    d.events();
    d.x.xdotool({QStringLiteral("windowminimize"), QString::number(d.id)});
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("min"); }));
    EXPECT_TRUE(d.events().contains(QLatin1String("size:1")));
    d.x.xdotool({QStringLiteral("windowactivate"), QString::number(d.id)});
    ASSERT_TRUE(d.until([](const State& s) {
        return s[QStringLiteral("show")] == QLatin1String("normal") && s.number(QStringLiteral("exposed")) == 1;
    }));
    EXPECT_TRUE(d.events().contains(QLatin1String("size:0")));
    EXPECT_EQ(d.state().windowRect(), s0.windowRect());

    d.x.requestWmState(d.id, true, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("max"); }));
    const State s1 = d.state();
    EXPECT_EQ(s1.clientRect(), rectOf(s1.numbers(QStringLiteral("work"))));
    EXPECT_EQ(s1[QStringLiteral("maxtip")], QStringLiteral("向下还原"));
    EXPECT_TRUE(d.events().contains(QLatin1String("size:2")));
    d.x.requestWmState(d.id, false, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    ASSERT_TRUE(d.until([](const State& s) { return s[QStringLiteral("show")] == QLatin1String("normal"); }));
    EXPECT_TRUE(d.until([&](const State& s) { return s.windowRect() == s0.windowRect(); }));
}

INSTANTIATE_TEST_SUITE_P(Desktop, WindowLayerOnDesktop, ::testing::Values(Wm::None, Wm::Openbox),
                         [](const ::testing::TestParamInfo<Wm>& info) {
                             return info.param == Wm::None ? std::string("Bare") : std::string("Openbox");
                         });

// At a whole-number scale factor (and a fractional one, rounded) every pixel of the window is
// a square of device pixels: the skin is scaled by whole pixels, nothing is smoothed.
TEST(WindowLayerScaled, EveryPixelIsASquareOfDevicePixels) {
    struct Case {
        const char* factor;
        int expected;
    } cases[] = {{"2", 2}, {"1.5", 2}, {"1.25", 1}};
    for (const Case& c : cases) {
        Desk d(Wm::None, {}, {QStringLiteral("QT_SCALE_FACTOR=") + QLatin1String(c.factor)});
        ASSERT_TRUE(d.ok()) << c.factor;
        EXPECT_EQ(d.state().number(QStringLiteral("dpr")), c.expected) << c.factor;
        const QRect area = d.x.geometry(d.id);
        EXPECT_EQ(area.size(), QSize(400, 300) * c.expected) << c.factor;
        const QImage shot = d.x.grab(area);
        ASSERT_FALSE(shot.isNull());
        int broken = 0;
        for (int y = 0; y + c.expected <= shot.height(); y += c.expected) {
            for (int x = 0; x + c.expected <= shot.width(); x += c.expected) {
                const QRgb first = shot.pixel(x, y);
                for (int k = 0; k < c.expected * c.expected; ++k) {
                    if (shot.pixel(x + k % c.expected, y + k / c.expected) != first) ++broken;
                }
            }
        }
        EXPECT_EQ(broken, 0) << "pixels that are not whole squares at factor " << c.factor;
    }
}
