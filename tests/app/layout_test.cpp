// The main window's layout, splitter, list panel buttons, minimised state and shutdown.
#include "app_fixture.h"
#include "platform/gdi/dc.h"

#include <QTimer>

namespace {

using namespace platform;

struct Layout : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow();
    app::PictureBox* box(const char* name) const { return frm->picture(QString::fromLatin1(name)); }
    static constexpr int L = 4, R = 4, T = 24, B = 4;
};

} // namespace

TEST_F(Layout, EveryResizeLaysOutTheParts) {
    SetWindowPos(frm.get(), nullptr, 0, 0, 806 + 6, 600 + 6, SWP_NOMOVE | SWP_NOZORDER);
    pumpFor(30);
    const int W = frm->innerWidth(), H = frm->innerHeight();
    ASSERT_EQ(W, 806);
    EXPECT_EQ(box("PicCtr")->geometry(), QRect(L, H - 64 - B, W - L - R, 64));
    EXPECT_EQ(box("PicTab")->geometry(), QRect(W - 203 - R, T, 203, 32));
    EXPECT_EQ(box("PicTool")->geometry(), QRect(W - 203 - R, T + 32, 203, 25));
    EXPECT_EQ(box("PicSplit")->geometry(), QRect(W - 203 - R - 3, T, 3, H - 64 - B - T));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frm->list(i)->geometry(), QRect(W - 203 - R, T + 57, 203, H - 64 - B - T - 57));
    EXPECT_EQ(box("PicCnt")->geometry(), QRect(L, T, W - 203 - R - 3 - L, H - 64 - B - T));
    EXPECT_EQ(frm->videoWidget()->size(), box("PicCnt")->size()) << "the video fills its area";
    EXPECT_EQ(frm->button(QStringLiteral("ctr_Lst"))->x(), W - 26 - 10);
    EXPECT_EQ(frm->imageArea(QStringLiteral("ImgPro"))->geometry(), QRect(5, 5, W - L - R - 107, 8));
}

TEST_F(Layout, SplitterStopsAtThirtyPercentAndShortOfTheRightBorder) {
    app::PictureBox* split = box("PicSplit");
    const int W = frm->innerWidth();
    QTest::mousePress(split, Qt::LeftButton, {}, QPoint(1, 40));
    QTest::mouseMove(split, QPoint(-400, 40));
    EXPECT_EQ(split->x(), static_cast<int>(std::nearbyint(W * 0.3)));
    QTest::mouseMove(split, QPoint(1000, 40));
    EXPECT_EQ(split->x(), W - 150 - R);
    QTest::mouseMove(split, QPoint(-20, 40));
    const int left = split->x();
    EXPECT_EQ(left, W - 150 - R - 21);
    QTest::mouseRelease(split, Qt::LeftButton, {}, QPoint(-20, 40));
    EXPECT_EQ(box("PicCnt")->width(), left - L);
    EXPECT_EQ(box("PicTab")->x(), left + 3);
    EXPECT_EQ(box("PicTab")->x() + box("PicTab")->width(), W - R) << "the panel ends at the right border";
    EXPECT_EQ(box("PicTool")->width(), box("PicTab")->width());
    EXPECT_EQ(frm->list(2)->x(), left + 3);
}

TEST_F(Layout, HideAndToggleTheListPanel) {
    const int W = frm->innerWidth();
    QTest::mouseClick(frm->button(QStringLiteral("tBt_Cls")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(box("PicTab")->isHidden());
    EXPECT_TRUE(box("PicSplit")->isHidden());
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(frm->list(i)->isHidden());
    EXPECT_EQ(box("PicCnt")->width(), W - L) << "the video area reaches the right edge";

    frm->setTabIndex(2);
    QTest::mouseClick(frm->button(QStringLiteral("ctr_Lst")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box("PicTab")->isHidden());
    EXPECT_EQ(frm->TabIndex(), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(!frm->list(i)->isHidden(), i == 0) << "only the first tab's list";
    EXPECT_EQ(box("PicCnt")->width(), box("PicSplit")->x() - L);

    QTest::mouseClick(frm->button(QStringLiteral("ctr_Lst")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(box("PicTab")->isHidden());
    EXPECT_EQ(box("PicCnt")->width(), W - L);
}

TEST_F(Layout, MinimisedWindowIsNotLaidOut) {
    const QRect ctr = box("PicCtr")->geometry();
    ShowWindow(frm.get(), SW_MINIMIZE);
    frm->resize(900, 700);
    SendMessage(frm.get(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(900, 700));
    EXPECT_EQ(box("PicCtr")->geometry(), ctr);
    ShowWindow(frm.get(), SW_RESTORE);
    pumpFor(20);
    EXPECT_EQ(box("PicCtr")->width(), frm->innerWidth() - L - R);
}

// Everything the window made is released when it goes.
TEST(LayoutLifetime, ShutdownReleasesEverything) {
    tbtest::DirectoryServer server;
    { app::FrmMain warm; } // stock objects and caches are made once
    pumpFor(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int objects = gdiObjectCount(), contexts = deviceContextCount();
    {
        auto frm = tbtest::loadedMainWindow();
        QSignalSpy unloaded(frm.get(), &app::FrmMain::Unloaded);
        SendMessage(frm.get(), WM_CLOSE, 0, 0);
        EXPECT_EQ(unloaded.count(), 1);
        EXPECT_FALSE(IsWindow(frm.get()));
        EXPECT_EQ(frm->noticeWindow(), nullptr);
    }
    pumpFor(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(gdiObjectCount(), objects);
    EXPECT_EQ(deviceContextCount(), contexts);
}

// The system menu, opened from the frame's menu button, shows in the skin's colours.
TEST_F(Layout, SystemMenuIsRestyledWhileTheWindowLives) {
    ASSERT_NE(frm->menus(), nullptr);
    QTimer::singleShot(100, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, Qt::Key_Escape);
    });
    frm->skin()->ShowSystemMenu();
    ASSERT_GE(frm->menus()->MenusSeen(), 1);
    EXPECT_EQ(frm->menus()->MenuWindows().size(), 1u);
}
