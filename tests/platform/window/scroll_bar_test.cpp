// The platform scrollbar: 16-bit values, clamping, and its change and scroll notifications.
#include "platform/window/scroll_bar.h"
#include "platform/window/window_functions.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QRect subControl(QScrollBar* bar, QStyle::SubControl sc) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, bar);
}

struct PlatformBar : ::testing::Test {
    Window host;
    ScrollBar* bar = nullptr;
    std::vector<std::string> events;
    void SetUp() override {
        host.setGeometry(30, 30, 300, 300);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        bar = new ScrollBar(&host, Qt::Vertical);
        MoveWindow(bar, 10, 10, 20, 250, true);
        bar->setMax(100);
        bar->setLargeChange(10);
        QObject::connect(bar, &ScrollBar::Change, [this] { events.push_back("Change"); });
        QObject::connect(bar, &ScrollBar::Scroll, [this] { events.push_back("Scroll"); });
    }
};

} // namespace

// Setting Value clamps and notifies once per real change.
TEST_F(PlatformBar, ValueClampsAndNotifies) {
    bar->setValue(150);
    EXPECT_EQ(bar->Value(), 100);
    bar->setValue(100);
    bar->setValue(-4);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"Change", "Change"}));
    bar->setValue(60);
    events.clear();
    bar->setMax(40);
    EXPECT_EQ(bar->Value(), 40);
    EXPECT_EQ(events, (std::vector<std::string>{"Change"}));
    bar->setSmallChange(0);
    EXPECT_EQ(bar->SmallChange(), 1);
}

// Arrow and track clicks move by SmallChange and LargeChange and raise Change.
TEST_F(PlatformBar, PointerClicksStep) {
    QScrollBar* q = bar->control();
    QTest::mouseClick(q, Qt::LeftButton, {}, subControl(q, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(bar->Value(), 1);
    QTest::mouseClick(q, Qt::LeftButton, {}, subControl(q, QStyle::SC_ScrollBarAddPage).center());
    EXPECT_EQ(bar->Value(), 11);
    EXPECT_EQ(events, (std::vector<std::string>{"Change", "Change"}));
}

// Dragging the thumb raises Scroll as it moves and Change when it is let go.
TEST_F(PlatformBar, ThumbDragScrollsThenChanges) {
    QScrollBar* q = bar->control();
    const QPoint start = subControl(q, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(q, Qt::LeftButton, {}, start);
    QTest::mouseMove(q, start + QPoint(0, 60));
    QTest::mouseMove(q, start + QPoint(0, 120));
    QTest::mouseRelease(q, Qt::LeftButton, {}, start + QPoint(0, 120));
    ASSERT_GE(events.size(), 2u);
    EXPECT_GT(bar->Value(), 0);
    EXPECT_EQ(events.back(), "Change");
    EXPECT_EQ(std::count(events.begin(), events.end(), "Change"), 1);
    EXPECT_EQ(events.front(), "Scroll");
}

// A reversed range keeps Value between the bounds and Min at the top.
TEST_F(PlatformBar, ReversedRange) {
    bar->setMin(100);
    bar->setMax(0);
    bar->setValue(100);
    EXPECT_EQ(bar->control()->value(), 0);
    bar->setValue(30);
    EXPECT_EQ(bar->Value(), 30);
    bar->setValue(300);
    EXPECT_EQ(bar->Value(), 100);
}
