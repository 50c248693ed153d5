// Playback and the control bar with the real player on local media.
#include "app_fixture.h"

#include "imaging/skin_catalogue.h"
#include "platform/media/media_test_support.h"
#include <algorithm>

namespace {

using namespace platform;

bool samePixels(const Picture& a, const char* skinName) {
    return a.image() == imaging::LoadResPicture(QString::fromLatin1(skinName)).image();
}

struct Playback : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
    MediaPlayer* wmp = P::player(*frm);
    tbtest::PlayerEvents events{*wmp};
    QString clip = tbtest::barsClip(10);
    // The window goes first: its player reports a last stop to the recorder as it closes.
    ~Playback() override { frm.reset(); }

    void fillLists() {
        P::list(*frm, 2)->AddItem(QStringLiteral("电视"), std::nullopt, clip);
        for (int i = 0; i < 4; ++i)
            P::list(*frm, 1)->AddItem(QStringLiteral("歌%1").arg(i), std::nullopt, clip + QStringLiteral("?%1").arg(i));
        P::list(*frm, 0)->AddItem(QStringLiteral("摄像头"), std::nullopt, clip);
    }
    // Sets the window so the control bar is `w` pixels wide.
    void barWidth(int w) {
        SetWindowPos(frm.get(), nullptr, 0, 0, w + 8 + 6, 429 + 6, SWP_NOMOVE | SWP_NOZORDER);
        pumpFor(20);
        ASSERT_EQ(ui.PicCtr->ScaleWidth(), w);
    }
};

} // namespace

TEST_F(Playback, MusicIndexFollowsOnlyTheMusicList) {
    fillLists();
    P::list(*frm, 2)->setPlayIndex(0);
    EXPECT_EQ(wmp->URL(), clip);
    EXPECT_EQ(P::MusicIndex(*frm), 0) << "starting a TV channel leaves the music index";
    P::list(*frm, 1)->setListIndex(2);
    P::list(*frm, 1)->setPlayIndex(2);
    EXPECT_EQ(P::MusicIndex(*frm), 2) << "the music list's selected row";
    P::list(*frm, 0)->setPlayIndex(0);
    EXPECT_EQ(P::MusicIndex(*frm), 2);
}

// Only a music item that ends by itself moves on: the next item starts once, the mark moves
// with it, and past the last item the player rests stopped with no row marked.
TEST_F(Playback, AMusicItemThatEndsStartsTheNextAndTheListEndsQuietly) {
    const QString tracks[] = {tbtest::barsClip(2), tbtest::barsClip(3)};
    for (int i = 0; i < 2; ++i) P::list(*frm, 1)->AddItem(QStringLiteral("歌%1").arg(i), std::nullopt, tracks[i]);
    P::list(*frm, 1)->setListIndex(0);
    P::list(*frm, 1)->setPlayIndex(0);
    ASSERT_TRUE(events.waitForState(MediaPlayer::MediaEnded, 15000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wmp->URL() == tracks[1]; }, 3000));
    EXPECT_EQ(P::MusicIndex(*frm), 1);
    EXPECT_EQ(P::list(*frm, 1)->PlayIndex(), 1) << "the mark moved with the advance";
    EXPECT_EQ(ui.Timer2->Interval(), 0) << "the advance is one tick";
    const size_t advanced = events.states.size();
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 15000, advanced));
    EXPECT_EQ(std::count(events.states.begin() + static_cast<std::ptrdiff_t>(advanced) - 1, events.states.end(),
                         MediaPlayer::Transitioning),
              1)
        << "started once, not a second time by the mark";

    ASSERT_TRUE(events.waitForState(MediaPlayer::Stopped, 15000, advanced));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Label1->Caption() == QStringLiteral("音乐列表已播放完毕"); }, 3000));
    EXPECT_EQ(P::list(*frm, 1)->PlayIndex(), -1);
    EXPECT_EQ(wmp->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(wmp->URL(), tracks[1]) << "nothing was written after the last item";
}

// The play button offers what a click does: pause while playing, play otherwise.
TEST_F(Playback, PlayButtonFollowsPlayingPausedPlayingStopped) {
    fillLists();
    P::list(*frm, 2)->setPlayIndex(0);
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 15000));
    EXPECT_TRUE(samePixels(ui.ctr_Play->SkinPicture(), "PAUSEBT"));
    QTest::mouseClick(ui.ctr_Play, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Paused, 5000));
    EXPECT_TRUE(samePixels(ui.ctr_Play->SkinPicture(), "PLAYBT"));
    const size_t before = events.states.size();
    QTest::mouseClick(ui.ctr_Play, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 5000, before));
    EXPECT_TRUE(samePixels(ui.ctr_Play->SkinPicture(), "PAUSEBT"));
    QTest::mouseClick(ui.ctr_Stop, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Stopped, 5000, before));
    EXPECT_TRUE(samePixels(ui.ctr_Play->SkinPicture(), "PLAYBT"));
}

// The hidden advance button keeps its place and its click, and never shows, however large
// the window grows.
TEST_F(Playback, Command1NeverShowsButStillAdvances) {
    fillLists();
    SetWindowPos(frm.get(), nullptr, 0, 0, 1000, 900, SWP_NOMOVE | SWP_NOZORDER);
    pumpFor(30);
    EXPECT_EQ(ui.Command1->geometry(), QRect(288, 520, 73, 25));
    EXPECT_FALSE(ui.Command1->isVisible());
    EXPECT_NE(frm->childAt(300, 530), ui.Command1);
    ui.Command1->click();
    EXPECT_EQ(P::MusicIndex(*frm), 1);
    EXPECT_EQ(wmp->URL(), P::list(*frm, 1)->URL(1));
    EXPECT_EQ(P::list(*frm, 1)->PlayIndex(), 1);
}

TEST_F(Playback, VolumeThumbDragsFromSilenceToFull) {
    app::ImageArea* thumb = ui.ImgVolP;
    ASSERT_EQ(thumb->x(), 145) << "volume 100 at start";
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseMove(thumb, QPoint(4 - 1000, 4));
    EXPECT_EQ(wmp->settings().volume(), 0);
    EXPECT_EQ(thumb->x(), 98);
    QTest::mouseMove(thumb, QPoint(5, 4));
    EXPECT_EQ(wmp->settings().volume(), 2) << "one pixel right of the start: R(100 / 47)";
    QTest::mouseMove(thumb, QPoint(1000, 4));
    EXPECT_EQ(wmp->settings().volume(), 100);
    EXPECT_EQ(thumb->x(), 145);
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(1000, 4));

    QTest::mouseClick(ui.ctr_Vol, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(wmp->settings().mute());
    EXPECT_TRUE(samePixels(ui.ctr_Vol->SkinPicture(), "SLIBT"));
}

// With a 400-pixel bar, half the duration fills 150 pixels with the thumb at 155; releasing
// the thumb at its leftmost place (10) seeks to 5 / 301 of the duration.
TEST_F(Playback, SeekBarPaintsAndSeeksInProportion) {
    barWidth(400);
    fillLists();
    P::list(*frm, 2)->setPlayIndex(0);
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 15000));
    wmp->controls().pause();
    ASSERT_TRUE(events.waitForState(MediaPlayer::Paused, 5000));
    const double duration = wmp->currentMedia().duration();
    ASSERT_GT(duration, 9.0);
    wmp->controls().setCurrentPosition(duration / 2);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return std::abs(wmp->controls().currentPosition() - duration / 2) < 0.01; }, 5000));
    P::DrawProgressBar(*frm);
    app::ImageArea* thumb = ui.ImgProPt;
    EXPECT_EQ(thumb->x(), 155);
    // The played part is the seek fill slice stretched over 5 .. 154.
    const QImage skin = imaging::LoadResPicture(QStringLiteral("PLAYCTR")).image();
    const Bitmap& bar = ui.PicCtr->surface();
    for (int x : {5, 80, 154}) EXPECT_EQ(bar.pixel(x, 8) & 0xFFFFFF, skin.pixel(1, 3) & 0xFFFFFF) << x;
    EXPECT_EQ(bar.pixel(155, 8) & 0xFFFFFF, skin.pixel(2, 3) & 0xFFFFFF) << "the knob";

    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(P::SeekDragging(*frm));
    QTest::mouseMove(thumb, QPoint(-1000, 4));
    EXPECT_EQ(thumb->x(), 10);
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(P::SeekDragging(*frm));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::abs(wmp->controls().currentPosition() - 5.0 / 301 * duration) < 0.05; }, 5000))
        << wmp->controls().currentPosition();
}

TEST_F(Playback, AnAddressThatCannotPlayShowsTheFailureText) {
    P::list(*frm, 2)->AddItem(QStringLiteral("失效"), std::nullopt, QStringLiteral("http://127.0.0.1:1/none.ts"));
    P::list(*frm, 2)->setPlayIndex(0);
    ASSERT_TRUE(events.waitForState(MediaPlayer::Ready, 15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Label1->Caption() == QStringLiteral("播放失败"); }, 2000));
}

// While the player buffers, the half-second timer writes the progress into the status line.
TEST_F(Playback, BufferingShowsItsProgress) {
    tbtest::LocalHttpServer silent([](tbtest::HttpExchange& ex) {
        ex.send("HTTP/1.1 200 OK\r\nContent-Type: video/mp2t\r\nConnection: close\r\n\r\n");
        ex.stall();
    });
    P::list(*frm, 2)->AddItem(QStringLiteral("慢"), std::nullopt, QString::fromStdString(silent.url("/slow.ts")));
    P::list(*frm, 2)->setPlayIndex(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.Timer1->Enabled(); }, 10000)) << "buffering turns the timer on";
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.Label1->Caption().startsWith(QStringLiteral("缓冲... ")); }, 3000))
        << ui.Label1->Caption().toStdString() << " state " << wmp->playState();
    const QString text = ui.Label1->Caption();
    EXPECT_TRUE(text.endsWith(QLatin1Char('%')));
    bool ok = false;
    const int percent = text.mid(6, text.size() - 7).toInt(&ok);
    EXPECT_TRUE(ok) << text.toStdString();
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
    wmp->controls().stop();
}
