// Painting faults once seen on screen: a sliver of the last tab's plate, a bare strip under
// the play button, a list row shown twice while the scrollbar repeats, and buttons that
// kept their hot look after a click.
#include "app_fixture.h"
#include "controls/list/scroll_bar.h"
#include "imaging/skin_catalogue.h"
#include "platform/gdi/colors.h"

#include <QPaintEvent>
#include <set>

namespace {

using namespace platform;

struct Painting : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
};

// The pixels of one list row that differ from the row's own background: its text and icon.
std::set<std::pair<int, int>> inkOfRow(const QImage& image, int top, int height, int width) {
    const QRgb background = image.pixel(2, top + 1);
    std::set<std::pair<int, int>> ink;
    for (int y = top; y < top + height && y < image.height(); ++y) {
        for (int x = 1; x < width; ++x) {
            if (image.pixel(x, y) != background) ink.emplace(x, y - top);
        }
    }
    return ink;
}

// Counts the frames a list shows in which two neighbouring rows show the same thing.
class DuplicateRowWatch : public QObject {
public:
    explicit DuplicateRowWatch(controls::ucListBox* list) : m_list(list) { list->installEventFilter(this); }
    int frames = 0;
    int framesWithDuplicates = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Paint) return false;
        ++frames;
        const QImage image = m_list->surface().toImage();
        const int rows = (m_list->height() - 2) / 27;
        const int width = m_list->width() - controls::ucListBox::kScrollBarWidth - 1;
        for (int k = 0; k + 1 < rows; ++k) {
            const auto a = inkOfRow(image, 1 + k * 27, 27, width);
            if (!a.empty() && a == inkOfRow(image, 1 + (k + 1) * 27, 27, width)) {
                ++framesWithDuplicates;
                break;
            }
        }
        return false;
    }

private:
    controls::ucListBox* m_list;
};

int greenPixels(const Bitmap& surface) {
    int n = 0;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const QColor c = QColor::fromRgb(surface.pixel(x, y));
            n += c.green() > c.red() + 40 && c.green() > c.blue() + 40 ? 1 : 0;
        }
    }
    return n;
}

} // namespace

// The last tab is wider than the others; once another tab is selected, nothing of its plate
// stays at the strip's right end.
TEST_F(Painting, DeselectingTheLastTabLeavesNoSliver) {
    frm->setTabIndex(3);
    frm->setTabIndex(1);
    const uint32_t background = toQRgb(RGB(13, 20, 24)) & 0xFFFFFF;
    for (int x = 195; x < ui.PicTab->ScaleWidth(); ++x) {
        for (int y = 6; y < 29; ++y)
            ASSERT_EQ(ui.PicTab->surface().pixel(x, y) & 0xFFFFFF, background) << x << "," << y;
    }
}

// Before any playback the play button shows the whole first frame of its picture, down to
// its last row.
TEST_F(Painting, ThePlayButtonShowsItsWholeFirstFrame) {
    const QImage skin = imaging::LoadResPicture(QStringLiteral("PLAYBT")).image();
    const Bitmap& button = ui.ctr_Play->surface();
    ASSERT_EQ(ui.ctr_Play->size(), QSize(35, 34));
    for (int y = 0; y < 34; ++y) {
        for (int x = 0; x < 35; ++x)
            ASSERT_EQ(button.pixel(x, y) & 0xFFFFFF, skin.pixel(x, y) & 0xFFFFFF) << x << "," << y;
    }
}

// Holding the scrollbar's down arrow scrolls the list row by row; no frame on screen shows a
// row twice.
TEST_F(Painting, ScrollbarAutoRepeatNeverShowsARowTwice) {
    controls::ucListBox* tv = P::list(*frm, 2);
    for (int i = 0; i < 60; ++i)
        tv->AddItem(QStringLiteral("频道 %1").arg(i, 2, 10, QLatin1Char('0')), std::nullopt, {});
    QTest::mouseClick(ui.PicTab, Qt::LeftButton, {}, QPoint(125, 16));
    pumpFor(50);
    auto* bar = tv->findChild<controls::UcScrollBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    DuplicateRowWatch watch(tv);
    const QPoint downArrow(bar->width() / 2, bar->height() - 6);
    QTest::mousePress(bar, Qt::LeftButton, {}, downArrow);
    pumpFor(1500);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, downArrow);
    pumpFor(100);
    EXPECT_GT(tv->FirstIndex(), 3) << "the arrow repeated";
    EXPECT_GT(watch.frames, 3);
    EXPECT_EQ(watch.framesWithDuplicates, 0) << "of " << watch.frames << " frames";
}

// A click by the real pointer that comes back to the very spot it left (so the button hears
// of it only through the press) still ends in the normal look once the pointer has gone.
TEST(PaintingOnScreen, ButtonsLoseTheirHotLookWhenThePointerLeavesAfterAClick) {
    if (!tbtest::onPrivateDisplay()) {
        EXPECT_EQ(tbtest::runOnPrivateDisplay(QStringLiteral("PaintingOnScreen.*")), 0);
        return;
    }
    tbtest::DirectoryServer server;
    auto frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
    for (controls::ucButton* button : {ui.ctr_Stop, ui.ctr_Lst}) {
        const QPoint at = button->mapToGlobal(QPoint(13, 13));
        const QString x = QString::number(at.x()), y = QString::number(at.y());
        for (const char* pause : {"0", "0.3"}) {
            tbtest::run(QStringLiteral("xdotool"),
                        {QStringLiteral("mousemove"), x, y, QStringLiteral("sleep"), QString::fromLatin1(pause),
                         QStringLiteral("click"), QStringLiteral("1"), QStringLiteral("sleep"), QStringLiteral("0.2"),
                         QStringLiteral("mousemove"), QStringLiteral("5"), QStringLiteral("5")});
            pumpFor(400);
            EXPECT_EQ(greenPixels(button->surface()), 0) << button->objectName().toStdString() << " pause " << pause;
        }
    }
}
