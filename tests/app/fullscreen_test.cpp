// Fullscreen: the video covers the screen, the bar comes with the pointer and goes with it,
// and leaving returns the window to exactly where and how it was.
#include "app_fixture.h"
#include "platform/media/video_surface.h"

#include <QScreen>

namespace {

using namespace platform;

struct Fullscreen : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
    QWidget* video = P::videoWidget(*frm);

    QRect screenRect() const { return frm->screen()->geometry(); }
    QRect globalRect(const QWidget* w) const { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }
    // The window as it was before fullscreen: rectangle, show state and panel.
    void expectBackTo(const RECT& rect, bool maximized) {
        EXPECT_FALSE(frm->isFullscreen());
        EXPECT_EQ(frm->windowRect(), rect);
        EXPECT_EQ(IsZoomed(frm.get()), maximized);
        EXPECT_FALSE(ui.ucSkin1->isHidden());
        EXPECT_FALSE(ui.PicTab->isHidden());
        EXPECT_FALSE(ui.PicCtr->isHidden());
        EXPECT_FALSE(P::list(*frm, 2)->isHidden()) << "the list that was showing";
        EXPECT_EQ(ui.PicCnt->Width(), ui.PicSplit->Left() - controls::ucSkin::SizeLBorder());
    }
};

} // namespace

TEST_F(Fullscreen, TheVideoCoversTheScreenAndEscapeRestoresTheWindow) {
    frm->selectCategory(2);
    const RECT before = frm->windowRect();
    QTest::keyClick(frm.get(), Qt::Key_F);
    ASSERT_TRUE(frm->isFullscreen());
    EXPECT_EQ(globalRect(video), screenRect());
    EXPECT_TRUE(ui.ucSkin1->isHidden()) << "no frame";
    EXPECT_TRUE(ui.PicTab->isHidden() && ui.PicSplit->isHidden() && P::list(*frm, 2)->isHidden()) << "no list panel";
    // The bar lies over the bottom of the picture, the whole width of the screen.
    EXPECT_FALSE(ui.PicCtr->isHidden());
    EXPECT_EQ(globalRect(ui.PicCtr), QRect(screenRect().left(), screenRect().bottom() + 1 - ui.PicCtr->Height(),
                                           screenRect().width(), ui.PicCtr->Height()));

    // A held F repeats nothing; Escape leaves.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, QStringLiteral("f"), true);
    QApplication::sendEvent(frm.get(), &repeat);
    EXPECT_TRUE(frm->isFullscreen());
    QTest::keyClick(P::list(*frm, 2), Qt::Key_Escape);
    expectBackTo(before, false);
    QTest::keyClick(frm.get(), Qt::Key_Escape);
    EXPECT_FALSE(frm->isFullscreen()) << "Escape outside fullscreen changes nothing";
    expectBackTo(before, false);
}

// The bar and the pointer go after two seconds without a move, and come back with the next.
TEST_F(Fullscreen, TheBarFollowsThePointer) {
    frm->selectCategory(2);
    QTest::keyClick(frm.get(), Qt::Key_F11);
    ASSERT_TRUE(frm->isFullscreen());
    const QPoint middle(video->width() / 2, video->height() / 3);
    QTest::mouseMove(video, middle);
    EXPECT_FALSE(ui.PicCtr->isHidden());
    EXPECT_NE(video->cursor().shape(), Qt::BlankCursor);
    // The picture, a native window above the bar, leaves a hole for the bar, then closes it.
    QWindow* picture = nullptr;
    for (QWindow* w : QGuiApplication::allWindows()) {
        if (qobject_cast<platform::VideoSurface*>(w) && w->isVisible()) picture = w;
    }
    ASSERT_NE(picture, nullptr);
    const QPoint onBar = video->mapFromGlobal(ui.PicCtr->mapToGlobal(QPoint(10, 10)));
    EXPECT_FALSE(picture->mask().contains(onBar));
    EXPECT_TRUE(picture->mask().contains(middle));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.PicCtr->isHidden(); }, 5000));
    EXPECT_EQ(video->cursor().shape(), Qt::BlankCursor);
    EXPECT_TRUE(picture->mask().isEmpty()) << "the whole picture shows again";
    // The move may travel through the X server (the pointer really moves): wait for it.
    QTest::mouseMove(video, middle + QPoint(20, 10));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.PicCtr->isHidden(); }, 2000));
    EXPECT_NE(video->cursor().shape(), Qt::BlankCursor);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.PicCtr->isHidden(); }, 5000));
    frm->setFullscreen(false);
    EXPECT_FALSE(ui.PicCtr->isHidden());
    EXPECT_NE(video->cursor().shape(), Qt::BlankCursor);
}

// A double-click on the video enters and leaves; a maximised window comes back maximised,
// keeping the rectangle it restores to.
TEST_F(Fullscreen, DoubleClickAndAMaximisedWindow) {
    frm->selectCategory(2);
    const RECT normal = frm->windowRect();
    QTest::mouseDClick(video, Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_TRUE(frm->isFullscreen());
    EXPECT_EQ(globalRect(video), screenRect());
    QTest::mouseDClick(video, Qt::LeftButton, {}, QPoint(50, 50));
    expectBackTo(normal, false);

    ShowWindow(frm.get(), SW_MAXIMIZE);
    const RECT maximized = frm->windowRect();
    ASSERT_NE(maximized, normal);
    QTest::keyClick(frm.get(), Qt::Key_F);
    EXPECT_EQ(globalRect(video), screenRect());
    QTest::keyClick(frm.get(), Qt::Key_Escape);
    expectBackTo(maximized, true);
    ShowWindow(frm.get(), SW_RESTORE);
    EXPECT_EQ(frm->windowRect(), normal);
}

// The picture is a native window of its own: the pointer's and the wheel's input that the
// window system gives it reaches the window as over the video widget, and the widget's
// hidden pointer is the picture's too.
TEST_F(Fullscreen, InputOnThePicturesOwnWindowActsAsOnTheVideo) {
    QWindow* picture = nullptr;
    for (QWindow* w : QGuiApplication::allWindows()) {
        if (qobject_cast<platform::VideoSurface*>(w) && w->parent() == frm->windowHandle()) picture = w;
    }
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->size(), video->size());
    // Sent to the window as the window system's double-click arrives there, whatever clicks
    // the tests before this one left behind.
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(50, 50), picture->mapToGlobal(QPointF(50, 50)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &twice);
    ASSERT_TRUE(frm->isFullscreen());
    EXPECT_EQ(picture->size(), screenRect().size()) << "the picture follows the widget";
    video->setCursor(Qt::BlankCursor);
    EXPECT_EQ(picture->cursor().shape(), Qt::BlankCursor);
    video->unsetCursor();
    EXPECT_NE(picture->cursor().shape(), Qt::BlankCursor);
    frm->setFullscreen(false);

    const int before = frm->volume();
    QWheelEvent turn(QPointF(20, 20), picture->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &turn);
    EXPECT_EQ(frm->volume(), before - 5);
}
