// The tab strip: geometry of the painted tabs, presses, hover with capture, and the rule
// that writing the current tab index paints nothing.
#include "app_fixture.h"
#include "imaging/skin_catalogue.h"
#include "platform/gdi/colors.h"

namespace {

using namespace platform;

struct TabStrip : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
    app::PictureBox* tab = ui.PicTab;
    QImage skin = imaging::LoadResPicture(QStringLiteral("TABBAR")).image();

    uint32_t at(int x, int y) const { return tab->surface().pixel(x, y) & 0xFFFFFF; }
    uint32_t skinAt(int x, int y) const { return skin.pixel(x, y) & 0xFFFFFF; }
    // Whether the strip at (x, 6) shows the skin's `w` x 24 piece from (sx, row), from piece
    // row `firstRow` down (the caption is drawn over the middle of the plate).
    bool shows(int x, int sx, int row, int w, int firstRow = 0) const {
        for (int dy = firstRow; dy < 24; ++dy) {
            for (int dx = 0; dx < w; ++dx) {
                if (at(x + dx, 6 + dy) != skinAt(sx + dx, row + dy)) return false;
            }
        }
        return true;
    }
    // Whether tab `i` (x0, width w) shows the plate of `row` (0 selected, 24 hot).
    bool plate(int x0, int w, int row) const {
        return shows(x0 + 1, 0, row, 5) && shows(x0 + w - 6, 36, row, 5) &&
               shows(x0 + static_cast<int>(std::nearbyint((w - 8) / 2.0)), 17, row, 8, 18);
    }
};

} // namespace

TEST_F(TabStrip, TabsAreCutFromTheStripWidth) {
    ASSERT_EQ(tab->ScaleWidth(), 203);
    EXPECT_EQ(frm->TabIndex(), 0);
    EXPECT_TRUE(plate(0, 50, 0)) << "tab 0 selected, 50 pixels wide from 0";
    frm->setTabIndex(3);
    EXPECT_TRUE(plate(150, 53, 0)) << "the last tab takes the rest: 53 pixels from 150";
    EXPECT_FALSE(plate(0, 50, 0));
    frm->setTabIndex(2);
    EXPECT_TRUE(plate(100, 50, 0));
    for (const auto& t : P::Tabs(*frm)) EXPECT_EQ(t.State, controls::ButtonLook::Normal);
}

TEST_F(TabStrip, PressesSelectByRoundedWidthAndShowOneList) {
    QTest::mouseClick(tab, Qt::LeftButton, {}, QPoint(101, 10));
    EXPECT_EQ(frm->TabIndex(), 1) << "101 div R(203 / 4) = 101 div 51 = 1";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(!P::list(*frm, i)->isHidden(), i == 1) << i;
    QTest::mouseClick(tab, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(frm->TabIndex(), 0);
    EXPECT_FALSE(P::list(*frm, 0)->isHidden());
    QTest::mouseClick(tab, Qt::RightButton, {}, QPoint(160, 10));
    EXPECT_EQ(frm->TabIndex(), 0) << "other buttons change nothing";
    EXPECT_FALSE(P::list(*frm, 0)->isHidden());
    EXPECT_TRUE(P::list(*frm, 3)->isHidden());
}

TEST_F(TabStrip, WritingTheCurrentIndexPaintsNothing) {
    tab->surface().setPixel(25, 2, 0xFF123456);
    frm->setTabIndex(0);
    EXPECT_EQ(at(25, 2), 0x123456u);
    frm->setTabIndex(1);
    EXPECT_EQ(at(25, 2), (toQRgb(RGB(13, 20, 24)) & 0xFFFFFF)) << "repainted with the strip colour";
}

TEST_F(TabStrip, HoverPaintsHotTabsAndLeavingReleasesTheCapture) {
    QTest::mouseMove(tab, QPoint(70, 12));
    pumpFor(30);
    EXPECT_EQ(P::HotTab(*frm), 1);
    EXPECT_EQ(P::Tabs(*frm)[1].State, controls::ButtonLook::Hot);
    EXPECT_TRUE(plate(50, 50, 24)) << "the hot plate";
    EXPECT_EQ(GetCapture(), tab) << "the strip holds the pointer while it is over it";

    QTest::mouseMove(tab, QPoint(120, 12));
    pumpFor(30);
    EXPECT_EQ(P::HotTab(*frm), 2);
    EXPECT_EQ(P::Tabs(*frm)[1].State, controls::ButtonLook::Normal);
    EXPECT_FALSE(plate(50, 50, 24)) << "the old hot tab is plain again";
    EXPECT_TRUE(plate(100, 50, 24));

    // The selected tab under the pointer keeps its selected plate; its state becomes 2.
    QTest::mouseMove(tab, QPoint(10, 12));
    pumpFor(30);
    EXPECT_EQ(P::Tabs(*frm)[0].State, controls::ButtonLook::Hot);
    EXPECT_TRUE(plate(0, 50, 0));

    QTest::mouseMove(tab, QPoint(210, 12)); // beyond the strip's width
    pumpFor(30);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(P::Tabs(*frm)[0].State, controls::ButtonLook::Normal);
}
