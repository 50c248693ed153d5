// The pointer beyond the thumbs: a click on the seek track seeks, the seek bar tells the
// time under the pointer, the wheel sets the volume, cut titles show whole in a tooltip and
// the status line names what plays.
#include "app_fixture.h"
#include "platform/media/media_test_support.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace {

using namespace platform;

struct Pointer : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
    MediaPlayer* wmp = P::player(*frm);
    tbtest::PlayerEvents events{*wmp};
    // The window goes first: its player reports a last stop to the recorder as it closes.
    ~Pointer() override { frm.reset(); }

    void wheel(QWidget* over, int delta) {
        const QPoint at(over->width() / 2, over->height() / 2);
        QWheelEvent e(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    }
    // A tooltip that shows, or none: a hidden one fades out after a moment, so it is waited
    // for before the next.
    static QString shownTip() {
        const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
        return text;
    }
    // The tooltip a rest of the pointer at `at` over `w` shows; empty for none.
    QString tipAt(QWidget* w, QPoint at) {
        QHelpEvent e(QEvent::ToolTip, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &e);
        return shownTip();
    }
    // The seek bar's hover text with the pointer at x of the control bar.
    // The move may travel through the X server (the pointer really moves), so the text is
    // waited for a little; none shows for media without a length.
    QString seekTipAt(int x) {
        QTest::mouseMove(ui.ImgPro, QPoint(x - ui.ImgPro->x(), 4));
        (void)QTest::qWaitFor([] { return QToolTip::isVisible(); }, 1000);
        return shownTip();
    }
};

} // namespace

// A 30 s clip, paused, on a control bar 400 pixels wide, where the knob's centre is at
// x = 9 + t / 30 * 301.
TEST_F(Pointer, TheSeekTrackSeeksWhereClickedAndTellsTheTime) {
    SetWindowPos(frm.get(), nullptr, 0, 0, 400 + 8 + 6, 429 + 6, SWP_NOMOVE | SWP_NOZORDER);
    pumpFor(20);
    ASSERT_EQ(ui.PicCtr->ScaleWidth(), 400);
    wmp->setURL(tbtest::barsClip(30));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 15000));
    frm->playPause();
    ASSERT_TRUE(events.waitForState(MediaPlayer::Paused, 5000));

    EXPECT_EQ(seekTipAt(160), QStringLiteral("00:15 / 00:30"));
    EXPECT_EQ(seekTipAt(60), QStringLiteral("00:05 / 00:30"));
    QTest::mouseClick(ui.ImgPro, Qt::LeftButton, {}, QPoint(210 - ui.ImgPro->x(), 4));
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(wmp->controls().currentPosition() - 20) < 0.3; }, 5000))
        << wmp->controls().currentPosition();
    EXPECT_EQ(ui.ImgProPt->x(), 5 + static_cast<int>(std::nearbyint(wmp->controls().currentPosition() / 30 * 301)))
        << "the knob is where the click was";

    // A stream without a length: no time to tell, nowhere to seek.
    const std::string live = tbtest::readFile(tbtest::liveClip());
    tbtest::LocalHttpServer source([&](tbtest::HttpExchange& ex) { tbtest::sendPaced(ex, live, 6.0, 6.0); });
    wmp->setURL(QStringLiteral("http://127.0.0.1:%1/live.ts").arg(source.port()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return wmp->playState() == MediaPlayer::Playing && wmp->currentMedia().duration() == 0; }, 15000));
    EXPECT_EQ(seekTipAt(160), QString());
    QTest::mouseClick(ui.ImgPro, Qt::LeftButton, {}, QPoint(300 - ui.ImgPro->x(), 4));
    QTest::qWait(200);
    EXPECT_LT(wmp->controls().currentPosition(), 5);
}

// Five per notch over the volume bar and the video, half notches adding up; the bar shows it.
TEST_F(Pointer, TheWheelSetsTheVolume) {
    wheel(ui.ImgVol, -120);
    EXPECT_EQ(frm->volume(), 95);
    wheel(P::videoWidget(*frm), -240);
    EXPECT_EQ(frm->volume(), 85);
    wheel(ui.ImgVolP, 60);
    EXPECT_EQ(frm->volume(), 85);
    wheel(ui.ImgVolP, 60);
    EXPECT_EQ(frm->volume(), 90);
    EXPECT_EQ(ui.ImgVolP->x(), 98 + static_cast<int>(std::nearbyint(0.9 * 47)));
    wheel(ui.PicTab, -120);
    EXPECT_EQ(frm->volume(), 90) << "elsewhere the wheel is not the volume's";
}

// Only a row whose title the list cuts shows it whole.
TEST_F(Pointer, CutTitlesShowWholeInATooltip) {
    controls::ucListBox* tv = P::list(*frm, 2);
    const QString longTitle = QStringLiteral("一个很长很长的频道名称，长到列表里放不下，只能显示开头和省略号");
    tv->AddItem(longTitle, std::nullopt, QStringLiteral("http://t/1"));
    tv->AddItem(QStringLiteral("短"), std::nullopt, QStringLiteral("http://t/2"));
    frm->selectCategory(2);
    EXPECT_EQ(tipAt(tv, QPoint(40, 1 + tv->ItemHeight() / 2)), longTitle);
    EXPECT_EQ(tipAt(tv, QPoint(40, 1 + tv->ItemHeight() * 3 / 2)), QString());
    EXPECT_EQ(tipAt(tv, QPoint(40, 1 + tv->ItemHeight() * 5)), QString()) << "below the rows";
}

// The status line's tooltip: the playing channel's title and address.
TEST_F(Pointer, TheStatusLineNamesWhatPlays) {
    controls::ucListBox* radio = P::list(*frm, 3);
    radio->AddItem(QStringLiteral("新闻台"), std::nullopt, QStringLiteral("http://127.0.0.1:1/news.aac"));
    radio->setPlayIndex(0);
    EXPECT_EQ(ui.Label1->toolTip(), QStringLiteral("新闻台\nhttp://127.0.0.1:1/news.aac"));
    frm->openAddress(QStringLiteral("http://127.0.0.1:1/other.ts"), false);
    EXPECT_EQ(ui.Label1->toolTip(), QStringLiteral("http://127.0.0.1:1/other.ts"));
}
