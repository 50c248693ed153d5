// The player itself on a desktop of its own, checked from outside through the X server alone:
// input with xdotool, answers from window geometry, window properties and the screen's pixels.
#include "x_session.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace desktop;

namespace {

enum class Wm { None, Openbox };

// Client points of the main window (650 x 429): the caption, the play button of the control
// bar (35 x 34) and the caption buttons (11 x 11, tops at y 6; close at x = W - 17).
constexpr QPoint kCaption{200, 10};
constexpr QRect kPlayButton{9, 386, 35, 34};
constexpr QRect kVideoArea{4, 24, 436, 337};
// The status text of the control bar, which Qt draws at the device's resolution.
constexpr QRect kStatusText{169, 393, 300, 20};
QPoint captionButton(int width, int fromRight) { return {width - 17 - 17 * fromRight + 5, 11}; }
constexpr int kMaxButton = 1, kMinButton = 2, kTopMostButton = 3;

// The demo directory server on the player's configured port, unless something serves there
// already (another run's server does as well).
class DemoServer {
public:
    DemoServer() {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("python3"),
                        {QStringLiteral(TIANBO_SOURCE_DIR "/tools/demo_server/demo_server.py"),
                         QStringLiteral("--cache"), QStringLiteral(TIANBO_BINARY_DIR "/demo-cache"),
                         QStringLiteral("--quiet")});
        // The first run makes the media, which takes a while; a busy port ends it at once.
        waitUntil([&] { return m_process.canReadLine() || m_process.state() != QProcess::Running; }, 180000);
    }
    ~DemoServer() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
};

class Player {
public:
    explicit Player(Wm wm, XServer::Options options = {}, QStringList env = {}, QRect dock = {}) : x(options) {
        if (!x.ok()) return;
        if (!dock.isNull()) x.addDock(dock, true);
        if (wm == Wm::Openbox) {
            m_wm = std::make_unique<WindowManager>(x);
            if (!m_wm->ok()) return;
        }
        m_player = std::make_unique<Client>(x, QStringLiteral(TIANBO_PLAYER), env);
        waitUntil([&] { return (main = x.findByTitle(QStringLiteral("天播"))) != 0; }, 90000);
        if (!main) return;
        // Settled: shown where it was put.
        QRect last;
        waitUntil(
            [&] {
                const QRect now = x.geometry(main);
                const bool still = now == last && x.viewable(main);
                last = now;
                return still;
            },
            20000);
    }
    bool ok() const { return main != 0; }
    QRect area() const { return x.geometry(main); }
    QPoint at(QPoint client) const { return area().topLeft() + client; }
    // A click once the X server has the player under the pointer: its window may grow before
    // its shape does, and a click in between goes to the desktop behind it.
    void click(QPoint screen) const {
        x.pointerTo(screen);
        waitUntil([&] { return x.pointerOver(main); }, 3000);
        x.press();
        x.release();
    }

    XServer x;
    XWindow main = 0;

private:
    std::unique_ptr<WindowManager> m_wm;
    std::unique_ptr<Client> m_player;
};

class PlayerOnDesktop : public ::testing::TestWithParam<Wm> {
protected:
    static void SetUpTestSuite() { s_server = std::make_unique<DemoServer>(); }
    static void TearDownTestSuite() { s_server.reset(); }
    static std::unique_ptr<DemoServer> s_server;
};
std::unique_ptr<DemoServer> PlayerOnDesktop::s_server;

} // namespace

// After a caption drag, the pointer moving onto the control bar lights the play button up at
// once, no click needed.
TEST_P(PlayerOnDesktop, CaptionDragThenHoverLightsTheControlBar) {
    Player p(GetParam());
    ASSERT_TRUE(p.ok());
    // The button's look at rest, once it has been through its hot look (its first paint may
    // differ from later ones).
    const auto play = [&] { return kPlayButton.translated(p.area().topLeft()); };
    p.x.pointerTo(play().center());
    p.x.pointerTo(QPoint(2, 2));
    waitUntil([] { return false; }, 500);
    const QRect start = p.area();
    const QPoint from = p.at(kCaption);
    p.x.pointerTo(from);
    p.x.press();
    for (QPoint step : {QPoint(10, 8), QPoint(25, 20), QPoint(40, 30)}) p.x.pointerTo(from + step);
    p.x.release();
    ASSERT_TRUE(waitUntil([&] { return p.area() == start.translated(40, 30); }));
    waitUntil([] { return false; }, 300);
    const QImage resting = p.x.grab(play());
    p.x.pointerTo(play().center() - QPoint(0, 5));
    p.x.pointerTo(play().center());
    EXPECT_TRUE(waitUntil([&] { return p.x.grab(play()) != resting; })) << "the play button shows no hot look";
    p.x.pointerTo(QPoint(2, 2));
    EXPECT_TRUE(waitUntil([&] { return p.x.grab(play()) == resting; })) << "the play button stays hot";
}

// Maximising fills the work area below a panel along the top; a minimised player leaves the
// screen, and under a window manager comes back from the task bar maximised.
TEST_P(PlayerOnDesktop, MaximiseFillsTheWorkAreaAndMinimiseLeavesTheScreen) {
    const QRect strip(0, 0, 1280, 36);
    Player p(GetParam(), {}, {}, GetParam() == Wm::Openbox ? strip : QRect());
    ASSERT_TRUE(p.ok());
    if (GetParam() == Wm::None) p.x.setWorkArea(QRect(0, 36, 1280, 988));
    const QRect work(0, 36, 1280, 988);
    const QRect normal = p.area();
    p.click(p.at(captionButton(normal.width(), kMaxButton)));
    ASSERT_TRUE(waitUntil([&] { return p.area() == work; })) << "maximised to " << p.area().x() << "," << p.area().y()
                                                             << " " << p.area().width() << "x" << p.area().height();
    // The window manager sets the new geometry before the player has laid out its caption for
    // it; a click in between finds no button yet, so a busy machine may need a second one.
    bool minimised = false;
    for (int attempt = 0; attempt < 3 && !minimised; ++attempt) {
        p.click(p.at(captionButton(work.width(), kMinButton)));
        minimised = waitUntil([&] { return !p.x.viewable(p.main); }, 3000);
    }
    ASSERT_TRUE(minimised) << "the minimised player stays on the screen";
    if (GetParam() == Wm::Openbox) {
        p.x.xdotool({QStringLiteral("windowactivate"), QString::number(p.main)});
        EXPECT_TRUE(waitUntil([&] { return p.x.viewable(p.main) && p.area() == work; }));
        p.click(p.at(captionButton(work.width(), kMaxButton)));
        EXPECT_TRUE(waitUntil([&] { return p.area() == normal; })) << "not back to the rectangle before";
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, PlayerOnDesktop, ::testing::Values(Wm::None, Wm::Openbox),
                         [](const ::testing::TestParamInfo<Wm>& param) {
                             return param.param == Wm::None ? std::string("Bare") : std::string("Openbox");
                         });

// Under a window manager the player keeps its own frame (none of the manager's), is listed for
// the task bar, keeps on top through the manager's "above" state, and its notice window ends
// where the player puts it: its right edge on the screen's right edge, its bottom at the
// screen's bottom (not wherever the manager would place a new window).
TEST(PlayerUnderOpenbox, OwnFrameTaskBarKeepOnTopAndTheNoticeWhereItWasPut) {
    Player p(Wm::Openbox);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.x.cardinals(p.main, "_NET_FRAME_EXTENTS"), (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(p.x.geometry(p.x.parentOf(p.main)), p.area()) << "the manager's frame is larger than the player";
    const auto clients = p.x.windows(p.x.root(), "_NET_CLIENT_LIST");
    EXPECT_NE(std::find(clients.begin(), clients.end(), p.main), clients.end());
    EXPECT_FALSE(p.x.atoms(p.main, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")));

    // Right after start the manager may still be handing focus between the player and its
    // notice, and a busy machine may lose the first click to that; one that changed nothing
    // is given again.
    bool above = false;
    for (int attempt = 0; attempt < 3 && !above; ++attempt) {
        p.click(p.at(captionButton(p.area().width(), kTopMostButton)));
        above = waitUntil(
            [&] { return p.x.atoms(p.main, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_ABOVE")); }, 3000);
    }
    EXPECT_TRUE(above);

    XWindow notice = 0;
    ASSERT_TRUE(waitUntil([&] { return (notice = p.x.findByTitle(QStringLiteral("温馨提示"))) != 0; }, 30000));
    // The notice slides up 50 twips a step until its bottom reaches the screen's bottom.
    EXPECT_TRUE(waitUntil(
        [&] {
            const QRect r = p.x.geometry(notice);
            return r.x() + r.width() == 1280 && r.y() + r.height() <= 1024 && r.y() + r.height() >= 1020;
        },
        15000))
        << p.x.geometry(notice).x() << "," << p.x.geometry(notice).y();
}

// At QT_SCALE_FACTOR=2 every pixel of the player's skin is a square of 2 x 2 device pixels:
// scaled by whole pixels, nothing smoothed. (The video area and the status text draw at the
// device's resolution.)
TEST(PlayerScaled, TheSkinIsScaledByWholePixels) {
    XServer::Options big;
    big.size = QSize(2560, 2048);
    Player p(Wm::None, big, {QStringLiteral("QT_SCALE_FACTOR=2")});
    ASSERT_TRUE(p.ok());
    const QRect area = p.area();
    EXPECT_EQ(area.size(), QSize(650, 429) * 2);
    const QRect video(kVideoArea.topLeft() * 2, kVideoArea.size() * 2);
    const QRect status(kStatusText.topLeft() * 2, kStatusText.size() * 2);
    // Once the window shows its skin (a software renderer draws the first frame late).
    QImage shot;
    const auto colours = [&] {
        QSet<QRgb> seen;
        for (int y = 0; y < shot.height(); y += 4) {
            for (int x = 0; x < shot.width(); x += 4) seen.insert(shot.pixel(x, y));
        }
        return seen.size();
    };
    EXPECT_TRUE(waitUntil([&] {
        shot = p.x.grab(area);
        return colours() > 20;
    })) << "the window shows hardly anything";
    int broken = 0;
    for (int y = 0; y + 1 < shot.height(); y += 2) {
        for (int x = 0; x + 1 < shot.width(); x += 2) {
            if (video.contains(x, y) || status.contains(x, y)) continue;
            const QRgb c = shot.pixel(x, y);
            if (shot.pixel(x + 1, y) != c || shot.pixel(x, y + 1) != c || shot.pixel(x + 1, y + 1) != c) ++broken;
        }
    }
    EXPECT_EQ(broken, 0) << "2 x 2 squares that are not one colour";
}
