// The program as a user meets it: the main window against the demo directory server, its
// four lists filled, a TV channel double-clicked and playing on screen.
#include "app_fixture.h"
#include "platform/http/demo_server_process.h"
#include "platform/media/media_test_support.h"

#include "platform/media/video_widget.h"

using namespace platform;

TEST(EndToEnd, DemoChannelsListAndPlay) {
    tbtest::DemoServerProcess demo;
    ASSERT_TRUE(demo.ready());
    const QString host = demo.base().mid(QStringLiteral("http://").size());
    auto frm = tbtest::loadedMainWindow(app::DirectoryConfig::forHost(host));

    const auto& directory = tbtest::demoDirectory();
    for (int i = 0; i < 4; ++i) {
        const auto& cat = directory[static_cast<size_t>(i)];
        ASSERT_EQ(P::list(*frm, i)->ListCount(), static_cast<int>(cat.channels.size())) << i;
        for (size_t k = 0; k < cat.channels.size(); ++k) {
            EXPECT_EQ(P::list(*frm, i)->Title(static_cast<int16_t>(k)), cat.channels[k].title);
            EXPECT_TRUE(P::list(*frm, i)->URL(static_cast<int16_t>(k)).endsWith(cat.channels[k].path));
        }
    }

    // The TV tab, then a double-click on its first row.
    tbtest::PlayerEvents events(*P::player(*frm));
    QTest::mouseClick(P::ui(*frm).PicTab, Qt::LeftButton, {}, QPoint(125, 16));
    controls::ucListBox* tv = P::list(*frm, 2);
    ASSERT_FALSE(tv->isHidden());
    QTest::mousePress(tv, Qt::LeftButton, {}, QPoint(40, 14));
    QTest::mouseRelease(tv, Qt::LeftButton, {}, QPoint(40, 14));
    QTest::mouseDClick(tv, Qt::LeftButton, {}, QPoint(40, 14));
    QTest::mouseRelease(tv, Qt::LeftButton, {}, QPoint(40, 14));
    EXPECT_EQ(tv->PlayIndex(), 0);
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 20000));
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), P::player(*frm)->status());

    auto* gl = qobject_cast<platform::VideoWidget*>(P::videoWidget(*frm));
    ASSERT_NE(gl, nullptr);
    bool lit = false;
    (void)QTest::qWaitFor(
        [&] {
            const QImage frame = gl->grabFramebuffer();
            int bright = 0;
            for (int y = 0; y < frame.height(); y += 7) {
                for (int x = 0; x < frame.width(); x += 7) bright += qGray(frame.pixel(x, y)) > 60 ? 1 : 0;
            }
            lit = bright > 50;
            return lit;
        },
        10000);
    EXPECT_TRUE(lit) << "the video area shows the colour bars";
    P::player(*frm)->controls().stop();
    frm.reset(); // before the event recorder goes
}
