// The main window's layout, splitter, list panel buttons, minimised state and shutdown.
#include "app_fixture.h"
#include "platform/gdi/dc.h"

#include <QTimer>

namespace {

using namespace platform;

struct Layout : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
    static constexpr int L = 4, R = 4, T = 24, B = 4;
};

} // namespace

TEST_F(Layout, EveryResizeLaysOutTheParts) {
    SetWindowPos(frm.get(), nullptr, 0, 0, 806 + 6, 600 + 6, SWP_NOMOVE | SWP_NOZORDER);
    pumpFor(30);
    const int W = P::innerWidth(*frm), H = P::innerHeight(*frm);
    ASSERT_EQ(W, 806);
    EXPECT_EQ(ui.PicCtr->geometry(), QRect(L, H - 64 - B, W - L - R, 64));
    EXPECT_EQ(ui.PicTab->geometry(), QRect(W - 203 - R, T, 203, 32));
    EXPECT_EQ(ui.PicTool->geometry(), QRect(W - 203 - R, T + 32, 203, 25));
    EXPECT_EQ(ui.PicSplit->geometry(), QRect(W - 203 - R - 3, T, 3, H - 64 - B - T));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(P::list(*frm, i)->geometry(), QRect(W - 203 - R, T + 57, 203, H - 64 - B - T - 57));
    EXPECT_EQ(ui.PicCnt->geometry(), QRect(L, T, W - 203 - R - 3 - L, H - 64 - B - T));
    EXPECT_EQ(P::videoWidget(*frm)->size(), ui.PicCnt->size()) << "the video fills its area";
    EXPECT_EQ(ui.ctr_Lst->x(), W - 26 - 10);
    EXPECT_EQ(ui.ImgPro->geometry(), QRect(5, 5, W - L - R - 107, 8));
}

TEST_F(Layout, SplitterStopsAtThirtyPercentAndShortOfTheRightBorder) {
    app::PictureBox* split = ui.PicSplit;
    const int W = P::innerWidth(*frm);
    QTest::mousePress(split, Qt::LeftButton, {}, QPoint(1, 40));
    QTest::mouseMove(split, QPoint(-400, 40));
    EXPECT_EQ(split->x(), static_cast<int>(std::nearbyint(W * 0.3)));
    QTest::mouseMove(split, QPoint(1000, 40));
    EXPECT_EQ(split->x(), W - 150 - R);
    QTest::mouseMove(split, QPoint(-20, 40));
    const int left = split->x();
    EXPECT_EQ(left, W - 150 - R - 21);
    QTest::mouseRelease(split, Qt::LeftButton, {}, QPoint(-20, 40));
    EXPECT_EQ(ui.PicCnt->width(), left - L);
    EXPECT_EQ(ui.PicTab->x(), left + 3);
    EXPECT_EQ(ui.PicTab->x() + ui.PicTab->width(), W - R) << "the panel ends at the right border";
    EXPECT_EQ(ui.PicTool->width(), ui.PicTab->width());
    EXPECT_EQ(P::list(*frm, 2)->x(), left + 3);
}

TEST_F(Layout, HideAndToggleTheListPanel) {
    const int W = P::innerWidth(*frm);
    QTest::mouseClick(ui.tBt_Cls, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(ui.PicTab->isHidden());
    EXPECT_TRUE(ui.PicSplit->isHidden());
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(P::list(*frm, i)->isHidden());
    EXPECT_EQ(ui.PicCnt->width(), W - L) << "the video area reaches the right edge";

    frm->setTabIndex(2);
    QTest::mouseClick(ui.ctr_Lst, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(ui.PicTab->isHidden());
    EXPECT_EQ(frm->TabIndex(), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(!P::list(*frm, i)->isHidden(), i == 0) << "only the first tab's list";
    EXPECT_EQ(ui.PicCnt->width(), ui.PicSplit->x() - L);

    QTest::mouseClick(ui.ctr_Lst, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(ui.PicTab->isHidden());
    EXPECT_EQ(ui.PicCnt->width(), W - L);
}

TEST_F(Layout, MinimisedWindowIsNotLaidOut) {
    const QRect ctr = ui.PicCtr->geometry();
    ShowWindow(frm.get(), SW_MINIMIZE);
    frm->resize(900, 700);
    SendMessage(frm.get(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(900, 700));
    EXPECT_EQ(ui.PicCtr->geometry(), ctr);
    ShowWindow(frm.get(), SW_RESTORE);
    pumpFor(20);
    EXPECT_EQ(ui.PicCtr->width(), P::innerWidth(*frm) - L - R);
}

// Everything the window made is released when it goes.
TEST(LayoutLifetime, ShutdownReleasesEverything) {
    tbtest::DirectoryServer server;
    { app::FrmMain warm(server.config()); } // stock objects and caches are made once
    pumpFor(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int objects = gdiObjectCount(), contexts = deviceContextCount();
    {
        auto frm = tbtest::loadedMainWindow(server.config());
        QSignalSpy unloaded(frm.get(), &app::FrmMain::Unloaded);
        SendMessage(frm.get(), WM_CLOSE, 0, 0);
        EXPECT_EQ(unloaded.count(), 1);
        EXPECT_FALSE(IsWindow(frm.get()));
        EXPECT_EQ(P::noticeWindow(*frm), nullptr);
    }
    pumpFor(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(gdiObjectCount(), objects);
    EXPECT_EQ(deviceContextCount(), contexts);
}

// The system menu, opened from the frame's menu button, shows in the skin's colours.
TEST_F(Layout, SystemMenuIsRestyledWhileTheWindowLives) {
    ASSERT_NE(P::menus(*frm), nullptr);
    QTimer::singleShot(100, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, Qt::Key_Escape);
    });
    ui.ucSkin1->ShowSystemMenu();
    ASSERT_GE(P::menus(*frm)->MenusSeen(), 1);
    EXPECT_EQ(P::menus(*frm)->MenuWindows().size(), 1u);
}
