#include "platform/media/media_player.h"
#include "platform/media/media_test_support.h"

#include "platform/media/video_widget.h"
#include <QColor>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

using platform::MediaPlayer;
using tbtest::PlayerEvents;

namespace {

// Pixel colour of a grabbed frame, in image coordinates of the 320 x 240 picture placed at
// `origin` with scale `scale`.
QColor pictureColour(const QImage& frame, QPoint origin, double scale, int x, int y) {
    return frame.pixelColor(origin.x() + int(x * scale), origin.y() + int(y * scale));
}

void expectColour(const QColor& actual, int r, int g, int b, const char* where) {
    EXPECT_NEAR(actual.red(), r, 40) << where;
    EXPECT_NEAR(actual.green(), g, 40) << where;
    EXPECT_NEAR(actual.blue(), b, 40) << where;
}

// Plays the colour bars, pauses on a frame, and grabs what the video widget shows.
QImage grabBars(bool stretchToFit, QSize size) {
    QWidget window;
    window.resize(size);
    MediaPlayer player;
    player.setStretchToFit(stretchToFit);
    QWidget* video = player.videoWidget(&window);
    video->setGeometry(QRect(QPoint(0, 0), size));
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    PlayerEvents events(player);
    player.setURL(tbtest::barsClip(2));
    EXPECT_TRUE(events.waitForState(MediaPlayer::Playing));
    player.controls().pause();
    QTest::qWait(400);
    // The widget's own framebuffer, as the window shows it (a screen grab could catch
    // another test's window on the shared display).
    auto* gl = qobject_cast<platform::VideoWidget*>(video);
    EXPECT_NE(gl, nullptr);
    return gl ? gl->grabFramebuffer() : QImage();
}

} // namespace

// Stretched to fit, the 4:3 bars fill the height of a 2:1 widget and keep their aspect,
// with black bars left and right; the picture is upright (grey bar top left, the dark
// blue block under it at the bottom).
TEST(VideoWidget, StretchedBarsKeepAspectAndOrientation) {
    const QImage frame = grabBars(true, QSize(480, 240));
    ASSERT_EQ(frame.size(), QSize(480, 240));
    const QPoint origin(80, 0);
    expectColour(frame.pixelColor(40, 120), 0, 0, 0, "left pillar");
    expectColour(frame.pixelColor(440, 120), 0, 0, 0, "right pillar");
    expectColour(pictureColour(frame, origin, 1.0, 10, 10), 190, 190, 190, "grey bar");
    expectColour(pictureColour(frame, origin, 1.0, 68, 10), 192, 190, 0, "yellow bar");
    expectColour(pictureColour(frame, origin, 1.0, 250, 10), 191, 0, 0, "red bar");
    expectColour(pictureColour(frame, origin, 1.0, 10, 230), 0, 61, 103, "bottom-left block");
    expectColour(pictureColour(frame, origin, 1.0, 100, 230), 255, 255, 255, "white block");
}

// Not stretched, the picture keeps its own size in the middle of a larger widget and the
// rest of the widget is black.
TEST(VideoWidget, UnstretchedBarsShowAtTheirOwnSize) {
    const QImage frame = grabBars(false, QSize(640, 480));
    ASSERT_EQ(frame.size(), QSize(640, 480));
    const QPoint origin(160, 120);
    expectColour(frame.pixelColor(20, 20), 0, 0, 0, "corner");
    expectColour(frame.pixelColor(100, 240), 0, 0, 0, "left of picture");
    expectColour(pictureColour(frame, origin, 1.0, 10, 10), 190, 190, 190, "grey bar");
    expectColour(pictureColour(frame, origin, 1.0, 300, 10), 0, 0, 191, "blue bar");
    expectColour(pictureColour(frame, origin, 1.0, 10, 230), 0, 61, 103, "bottom-left block");
}

// Before anything plays the video area is black.
TEST(VideoWidget, EmptyAreaIsBlack) {
    QWidget window;
    window.resize(200, 150);
    MediaPlayer player;
    auto* gl = qobject_cast<platform::VideoWidget*>(player.videoWidget(&window));
    ASSERT_NE(gl, nullptr);
    gl->setGeometry(0, 0, 200, 150);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage frame = gl->grabFramebuffer();
    ASSERT_FALSE(frame.isNull());
    for (QPoint p : {QPoint(0, 0), QPoint(100, 75), QPoint(199, 149)}) {
        EXPECT_EQ(frame.pixelColor(p), QColor(Qt::black));
    }
}

// The widget shows a picture only while a medium with video runs: not while a medium opens,
// not for sound alone, not after a failed open or a stop, so no frame of an earlier medium
// stays on screen.
TEST(VideoWidget, ShowsAPictureOnlyWhileAMediumWithVideoRuns) {
    const QString bars = tbtest::barsClip(8);
    const QString tone =
        tbtest::clip(QStringLiteral("tone5.mp4"),
                     {"-f", "lavfi", "-i", "sine=frequency=500:sample_rate=44100", "-t", "5", "-c:a", "aac"});
    QWidget window;
    window.resize(320, 240);
    MediaPlayer player;
    auto* gl = qobject_cast<platform::VideoWidget*>(player.videoWidget(&window));
    ASSERT_NE(gl, nullptr);
    gl->setGeometry(0, 0, 320, 240);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PlayerEvents events(player);
    const auto black = [&] {
        const QImage frame = gl->grabFramebuffer();
        for (int y = 0; y < frame.height(); y += 11) {
            for (int x = 0; x < frame.width(); x += 11) {
                if (qGray(frame.pixel(x, y)) > 20) return false;
            }
        }
        return true;
    };
    const auto playing = [&](const QString& url) {
        const size_t from = events.states.size();
        player.setURL(url);
        return events.waitForState(MediaPlayer::Playing, 10000, from);
    };

    ASSERT_TRUE(playing(bars));
    EXPECT_TRUE(player.showsVideo());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !black(); }, 5000));
    player.controls().pause();
    EXPECT_TRUE(player.showsVideo()) << "a paused picture is still the current one";

    player.setURL(tone);
    EXPECT_FALSE(player.showsVideo()) << "while the next medium opens";
    EXPECT_TRUE(black());
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 10000, events.states.size() - 1));
    QTest::qWait(300);
    EXPECT_FALSE(player.showsVideo()) << "sound alone";
    EXPECT_TRUE(black());

    ASSERT_TRUE(playing(bars));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !black(); }, 5000));
    player.controls().stop();
    EXPECT_FALSE(player.showsVideo());
    EXPECT_TRUE(black()) << "after stop";

    ASSERT_TRUE(playing(bars));
    const size_t from = events.states.size();
    player.setURL(QStringLiteral("http://127.0.0.1:1/none.ts"));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Ready, 10000, from));
    EXPECT_FALSE(player.showsVideo());
    EXPECT_TRUE(black()) << "after a failed open";
}
