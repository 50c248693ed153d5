// Playback as a user meets it: the demo server's channels, double-clicks on the lists, the
// transport buttons, and the real player.
#include "app_fixture.h"
#include "imaging/skin_catalogue.h"
#include "platform/http/demo_server_process.h"
#include "platform/media/media_test_support.h"

#include "platform/media/video_widget.h"

namespace {

using namespace platform;

enum List { Cameras = 0, Music = 1, Tv = 2, Radio = 3 };

struct DemoPlayback : ::testing::Test {
    tbtest::DemoServerProcess demo;
    std::unique_ptr<app::FrmMain> frm =
        tbtest::loadedMainWindow(app::DirectoryConfig::forHost(demo.base().mid(QStringLiteral("http://").size())));
    const P::MainControls& ui = P::ui(*frm);
    MediaPlayer* wmp = P::player(*frm);
    tbtest::PlayerEvents events{*wmp};
    ~DemoPlayback() override { frm.reset(); }

    controls::ucListBox* list(int i) const { return P::list(*frm, i); }

    // Shows the list's tab and double-clicks its row, as a user does.
    void doubleClick(int listIndex, int row) {
        QTest::mouseClick(ui.PicTab, Qt::LeftButton, {}, QPoint(listIndex * 50 + 25, 16));
        controls::ucListBox* l = list(listIndex);
        const QPoint at(40, 1 + row * 27 + 13);
        QTest::mousePress(l, Qt::LeftButton, {}, at);
        QTest::mouseRelease(l, Qt::LeftButton, {}, at);
        QTest::mouseDClick(l, Qt::LeftButton, {}, at);
        QTest::mouseRelease(l, Qt::LeftButton, {}, at);
    }
    // Starts a row and waits until it plays; false if it does not.
    bool play(int listIndex, int row) {
        const size_t from = events.states.size();
        doubleClick(listIndex, row);
        return events.waitForState(MediaPlayer::Playing, 20000, from) && wmp->URL() == list(listIndex)->URL(row);
    }
    // Every marked row of the four lists, as (list, row).
    std::vector<std::pair<int, int>> marks() const {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < 4; ++i) {
            if (list(i)->PlayIndex() >= 0) out.emplace_back(i, list(i)->PlayIndex());
        }
        return out;
    }
    bool playButtonShows(const char* skin) const {
        return ui.ctr_Play->SkinPicture().image() == imaging::LoadResPicture(QString::fromLatin1(skin)).image();
    }
    // The share of sampled video pixels brighter than dark grey.
    double litShare() const {
        auto* gl = qobject_cast<platform::VideoWidget*>(P::videoWidget(*frm));
        const QImage frame = gl ? gl->grabFramebuffer() : QImage();
        int lit = 0, all = 0;
        for (int y = 0; y < frame.height(); y += 7) {
            for (int x = 0; x < frame.width(); x += 7, ++all) lit += qGray(frame.pixel(x, y)) > 40 ? 1 : 0;
        }
        return all ? double(lit) / all : 0;
    }
    bool showsPicture() const {
        return QTest::qWaitFor([&] { return litShare() > 0.3; }, 10000);
    }
    bool isBlack() const { return litShare() == 0; }
};

} // namespace

// Stop leaves the player stopped on the same item with its mark, for a music item and a TV
// channel alike; Play then plays the same address again, and so does a double-click on the
// marked row after another Stop.
TEST_F(DemoPlayback, StopStopsAndPlayOrADoubleClickPlaysAgain) {
    for (const auto& [listIndex, row] : {std::pair{Music, 1}, std::pair{Tv, 0}}) {
        SCOPED_TRACE(listIndex);
        ASSERT_TRUE(play(listIndex, row));
        const QString url = wmp->URL();
        const int16_t musicIndex = P::MusicIndex(*frm);
        QTest::mouseClick(ui.ctr_Stop, Qt::LeftButton, {}, QPoint(5, 5));
        const size_t stopped = events.states.size();
        EXPECT_EQ(wmp->playState(), MediaPlayer::Stopped);
        QTest::qWait(2000);
        EXPECT_EQ(events.states.size(), stopped) << "nothing started after the stop";
        EXPECT_EQ(wmp->URL(), url);
        EXPECT_EQ(P::MusicIndex(*frm), musicIndex);
        EXPECT_EQ(marks(), (std::vector<std::pair<int, int>>{{listIndex, row}}));
        EXPECT_TRUE(playButtonShows("PLAYBT"));

        QTest::mouseClick(ui.ctr_Play, Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 20000, stopped));
        EXPECT_EQ(wmp->URL(), url);

        QTest::mouseClick(ui.ctr_Stop, Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_EQ(wmp->playState(), MediaPlayer::Stopped);
        EXPECT_TRUE(play(listIndex, row)) << "a double-click on the marked row plays it again";
        EXPECT_EQ(wmp->URL(), url);
        QTest::mouseClick(ui.ctr_Stop, Qt::LeftButton, {}, QPoint(5, 5));
    }
}

// Exactly one row carries the playing mark: TV, then radio, back to the same TV row (a
// double-click on it plays it again), a music item that ends and hands over to the next,
// then a camera.
TEST_F(DemoPlayback, ThePlayingMarkFollowsWhatPlays) {
    using Marks = std::vector<std::pair<int, int>>;
    ASSERT_TRUE(play(Tv, 0));
    EXPECT_EQ(marks(), (Marks{{Tv, 0}}));
    ASSERT_TRUE(play(Radio, 0));
    EXPECT_EQ(marks(), (Marks{{Radio, 0}}));
    ASSERT_TRUE(play(Tv, 0)) << "the TV row lost its mark, so its double-click starts it";
    EXPECT_EQ(marks(), (Marks{{Tv, 0}}));

    ASSERT_TRUE(play(Music, 0));
    EXPECT_EQ(marks(), (Marks{{Music, 0}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wmp->currentMedia().duration() > 5; }, 5000));
    wmp->controls().setCurrentPosition(wmp->currentMedia().duration() - 0.5);
    const QString next = list(Music)->URL(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return wmp->URL() == next; }, 10000));
    const size_t advanced = events.states.size();
    EXPECT_EQ(marks(), (Marks{{Music, 1}}));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 20000, advanced - 1));

    ASSERT_TRUE(play(Cameras, 0));
    EXPECT_EQ(marks(), (Marks{{Cameras, 0}}));
    wmp->controls().stop();
}

// The video area shows no picture that is not playing: black while a channel opens, for a
// radio channel, after a failed open and after Stop.
TEST_F(DemoPlayback, TheVideoAreaIsBlackWithoutAPictureToShow) {
    ASSERT_TRUE(play(Tv, 0));
    ASSERT_TRUE(showsPicture()) << "the colour bars";
    doubleClick(Radio, 0);
    EXPECT_TRUE(isBlack()) << "while the radio channel opens";
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 20000, events.states.size() - 1));
    QTest::qWait(500);
    EXPECT_TRUE(isBlack()) << "a radio channel has no picture";

    ASSERT_TRUE(play(Tv, 0));
    ASSERT_TRUE(showsPicture());
    const size_t before = events.states.size();
    doubleClick(Tv, 2); // the dead channel
    ASSERT_TRUE(events.waitForState(MediaPlayer::Ready, 20000, before));
    EXPECT_TRUE(isBlack()) << "after a failed open";

    ASSERT_TRUE(play(Tv, 0));
    ASSERT_TRUE(showsPicture());
    QTest::mouseClick(ui.ctr_Stop, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(isBlack()) << "after Stop";
}
