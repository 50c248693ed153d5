// The skinned scrollbar: layout, thumb arithmetic, pointer input, timers, persistence.
#include "controls/list/scroll_bar.h"
#include "list_test_support.h"

#include <QCursor>
#include <gtest/gtest.h>

using namespace platform;
using controls::UcScrollBar;
using Part = UcScrollBar::Part;

namespace {

struct BarFixture : ::testing::Test {
    std::unique_ptr<Window> host = listtest::makeHost(300, 400);
    UcScrollBar* bar = nullptr;
    std::vector<std::string> events;

    void make(int w, int h, PropertyBag bag = {}) {
        bar = new UcScrollBar(host.get());
        MoveWindow(bar, 10, 10, w, h, true);
        bar->ReadProperties(bag);
        QObject::connect(bar, &UcScrollBar::Change, [this] { events.push_back("Change"); });
        QObject::connect(bar, &UcScrollBar::Scroll, [this] { events.push_back("Scroll"); });
        platform::pumpFor(5);
    }
    int count(const std::string& e) const { return int(std::count(events.begin(), events.end(), e)); }
};

} // namespace

// Each row: a bar of the given length (17 thick, vertical) and the parts its layout gives.
TEST_F(BarFixture, LayoutByLength) {
    struct Case {
        int length;
        bool buttons;
        RECT arrow1, arrow2, gap;
        bool thumbArea, hasGap;
    };
    const std::vector<Case> cases = {
        {200, true, {0, 0, 17, 18}, {0, 182, 17, 200}, {}, true, false},
        {44, true, {0, 0, 17, 18}, {0, 26, 17, 44}, {}, true, false},
        {40, true, {0, 0, 17, 18}, {0, 22, 17, 40}, {0, 18, 17, 22}, false, true},
        {36, true, {0, 0, 17, 18}, {0, 18, 17, 36}, {}, false, false},
        {35, true, {0, 0, 17, 17}, {0, 18, 17, 35}, {0, 17, 17, 18}, false, true},
        {100, false, {0, 0, 17, 0}, {0, 100, 17, 100}, {}, true, false},
        {5, false, {0, 0, 17, 0}, {0, 5, 17, 5}, {0, 0, 17, 5}, false, true},
    };
    make(17, 10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        bar->setShowButtons(c.buttons);
        MoveWindow(bar, 10, 10, 17, c.length, true);
        EXPECT_EQ(bar->partRect(Part::Arrow1), c.arrow1);
        EXPECT_EQ(bar->partRect(Part::Arrow2), c.arrow2);
        EXPECT_EQ(bar->hasThumbArea(), c.thumbArea);
        EXPECT_EQ(bar->hasGap(), c.hasGap);
        if (c.hasGap) { EXPECT_EQ(bar->gapRect(), c.gap); }
        if (!c.thumbArea) { EXPECT_EQ(bar->partRect(Part::Thumb), RECT{}); }
    }
}

// The defaults in a 17 x 200 bar: 164-pixel track, thumb 164 div 11 = 14, value 50 at 93.
TEST_F(BarFixture, ThumbLengthAndPosition) {
    make(17, 200);
    EXPECT_EQ(bar->trackStart(), 18);
    EXPECT_EQ(bar->trackEnd(), 182);
    EXPECT_EQ(bar->thumbLength(), 14);
    bar->setValue(50);
    EXPECT_EQ(bar->thumbPos(), 93);
    EXPECT_EQ(bar->partRect(Part::Thumb), (RECT{0, 93, 17, 107}));
    EXPECT_EQ(bar->partRect(Part::Track1), (RECT{0, 18, 17, 93}));
    EXPECT_EQ(bar->partRect(Part::Track2), (RECT{0, 107, 17, 182}));
    // Halves go to the even neighbour: value 1 gives 1.5 -> 2, value 3 gives 4.5 -> 4.
    bar->setValue(1);
    EXPECT_EQ(bar->thumbPos(), 20);
    bar->setValue(3);
    EXPECT_EQ(bar->thumbPos(), 22);
    // A large step relative to the range makes a long thumb; an impossible one the minimum.
    bar->setLargeChange(100);
    EXPECT_EQ(bar->thumbLength(), 82);
    bar->setMax(0);
    EXPECT_EQ(bar->thumbPos(), bar->trackStart());
    bar->setLargeChange(1);
    bar->setMax(100000);
    EXPECT_EQ(bar->thumbLength(), 8);
}

// A horizontal bar lays its parts out along x.
TEST_F(BarFixture, HorizontalLayout) {
    PropertyBag bag;
    bag.WriteProperty("Orientation", int32_t(1));
    make(200, 17, bag);
    bar->setValue(50);
    EXPECT_EQ(bar->partRect(Part::Arrow1), (RECT{0, 0, 18, 17}));
    EXPECT_EQ(bar->partRect(Part::Arrow2), (RECT{182, 0, 200, 17}));
    EXPECT_EQ(bar->partRect(Part::Thumb), (RECT{93, 0, 107, 17}));
    EXPECT_EQ(bar->partAt(100, 8), Part::Thumb);
    EXPECT_EQ(bar->partAt(8, 8), Part::Arrow1);
}

// Presses on the arrows step by SmallChange and on the track by LargeChange.
TEST_F(BarFixture, PressStepsByPart) {
    make(17, 200);
    bar->setChangeDelay(5000);
    struct Case {
        QPoint at;
        int32_t before, after;
    };
    const std::vector<Case> cases = {
        {{8, 190}, 0, 1}, {{8, 5}, 1, 0}, {{8, 150}, 0, 10}, {{8, 20}, 10, 0}, {{8, 5}, 0, 0},
    };
    for (const Case& c : cases) {
        bar->setValue(c.before);
        events.clear();
        listtest::press(bar, c.at);
        listtest::release(bar, c.at);
        EXPECT_EQ(bar->Value(), c.after) << c.at.y();
        EXPECT_EQ(count("Change"), c.after != c.before ? 1 : 0);
    }
}

// A double-click counts as a fresh press: two presses on an arrow, two steps.
TEST_F(BarFixture, DoubleClickIsAnotherPress) {
    make(17, 200);
    bar->setChangeDelay(5000);
    listtest::doubleClick(bar, {8, 190});
    EXPECT_EQ(bar->Value(), 2);
    EXPECT_EQ(count("Change"), 2);
}

// Holding an arrow: one step at the press, a pause of ChangeDelay, then one step per
// ChangeFrequency; off the arrow the repeat pauses and the arrow shows released.
TEST_F(BarFixture, ArrowHoldRepeats) {
    make(17, 200);
    bar->setChangeDelay(300);
    bar->setChangeFrequency(40);
    QElapsedTimer t;
    t.start();
    listtest::press(bar, {8, 190});
    EXPECT_EQ(bar->Value(), 1);
    platform::pumpFor(150);
    EXPECT_EQ(bar->Value(), 1) << "no repeat before ChangeDelay";
    ASSERT_TRUE(listtest::waitFor([&] { return bar->Value() >= 2; }, 2000));
    EXPECT_GE(t.elapsed(), 300);
    ASSERT_TRUE(listtest::waitFor([&] { return bar->Value() >= 5; }, 2000));
    const qint64 elapsed = t.elapsed();
    // Steps after the first repeat come at most once per ChangeFrequency.
    EXPECT_LE(bar->Value(), 2 + (elapsed - 300) / 40 + 1);

    listtest::moveWithButtons(bar, {8, 100}, Qt::LeftButton);
    const int32_t paused = bar->Value();
    platform::pumpFor(200);
    EXPECT_EQ(bar->Value(), paused) << "no steps while the pointer is off the arrow";
    listtest::moveWithButtons(bar, {8, 190}, Qt::LeftButton);
    ASSERT_TRUE(listtest::waitFor([&] { return bar->Value() > paused; }, 1000));
    listtest::release(bar, {8, 190});
    const int32_t released = bar->Value();
    platform::pumpFor(150);
    EXPECT_EQ(bar->Value(), released);
}

// Holding the track below the thumb pages down until the thumb reaches the pointer.
TEST_F(BarFixture, TrackHoldPagesUntilThumbPassesPointer) {
    make(17, 200);
    bar->setChangeDelay(30);
    bar->setChangeFrequency(25);
    listtest::press(bar, {8, 100});
    // Pages 10, 20, ... while the thumb's far end (32 + 1.5 v) lies above y = 100: v = 50
    // puts the thumb at 93..107, over the pointer.
    ASSERT_TRUE(listtest::waitFor([&] { return bar->Value() >= 50; }, 3000));
    platform::pumpFor(200);
    EXPECT_EQ(bar->Value(), 50);
    listtest::release(bar, {8, 100});

    // Above the thumb the same holds upwards: from 100 (thumb at 168) up to y = 60.
    bar->setValue(100);
    listtest::press(bar, {8, 60});
    ASSERT_TRUE(listtest::waitFor([&] { return bar->Value() <= 30; }, 3000));
    platform::pumpFor(200);
    EXPECT_EQ(bar->Value(), 20);
    EXPECT_LE(bar->thumbPos(), 60);
    listtest::release(bar, {8, 60});
}

// Dragging the thumb raises Scroll for each value change and one Change at the release.
TEST_F(BarFixture, ThumbDragScrollsThenChangesOnce) {
    make(17, 200);
    listtest::press(bar, {8, 25}); // thumb at 18..32, pointer 7 below its top
    EXPECT_EQ(bar->pressedPart(), Part::Thumb);
    listtest::moveWithButtons(bar, {8, 40}, Qt::LeftButton);  // thumb 33 -> value 10
    listtest::moveWithButtons(bar, {8, 40}, Qt::LeftButton);  // no change
    listtest::moveWithButtons(bar, {8, 100}, Qt::LeftButton); // thumb 93 -> 50
    listtest::moveWithButtons(bar, {8, 420}, Qt::LeftButton); // past the end, inside the zone: 100
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(bar->thumbPos(), 168);
    EXPECT_EQ(events, (std::vector<std::string>{"Scroll", "Scroll", "Scroll"}));
    listtest::release(bar, {8, 420});
    EXPECT_EQ(events.back(), "Change");
    EXPECT_EQ(count("Change"), 1);
}

// Far sideways (more than 25 pixels beside a vertical bar) the thumb snaps back to the
// value it had at the press, and comes back when the pointer returns.
TEST_F(BarFixture, DragFarSidewaysSnapsBack) {
    make(17, 200);
    bar->setValue(20); // thumb at 48
    listtest::press(bar, {8, 50});
    listtest::moveWithButtons(bar, {8, 110}, Qt::LeftButton);
    EXPECT_EQ(bar->Value(), 60);
    listtest::moveWithButtons(bar, {17 + 24, 110}, Qt::LeftButton); // still inside the zone
    EXPECT_EQ(bar->Value(), 60);
    listtest::moveWithButtons(bar, {17 + 26, 110}, Qt::LeftButton);
    EXPECT_EQ(bar->Value(), 20);
    EXPECT_EQ(bar->thumbPos(), 48);
    events.clear();
    listtest::release(bar, {17 + 26, 110});
    EXPECT_TRUE(events.empty()) << "a drag that ends at its start value raises no Change";
}

// The hover and leave checks: hot parts and MouseOver clear once the pointer has gone.
TEST_F(BarFixture, HoverAndLeaveChecks) {
    make(17, 200);
    listtest::moveWithButtons(bar, {8, 5}, Qt::NoButton);
    EXPECT_TRUE(bar->mouseOver());
    // Move the pointer onto the host, outside the bar. The leave check asks the X server where
    // the pointer really is, so the real pointer goes there too.
    QCursor::setPos(host->mapToGlobal(QPoint(200, 300)));
    listtest::moveWithButtons(host.get(), {200, 300}, Qt::NoButton);
    ASSERT_TRUE(listtest::waitFor([&] { return !bar->mouseOver(); }, 1000));
}

// Setter rules of the timing properties.
TEST_F(BarFixture, TimingSetterRules) {
    make(17, 200);
    bar->setChangeFrequency(10);
    EXPECT_EQ(bar->ChangeFrequency(), 25);
    bar->setChangeDelay(-5);
    EXPECT_EQ(bar->ChangeDelay(), 0);
}

// Keys are written only when they differ from their defaults and read back as stored.
TEST_F(BarFixture, PersistenceOfTheTenKeys) {
    make(17, 200);
    PropertyBag defaults;
    bar->WriteProperties(defaults);
    EXPECT_EQ(defaults.size(), 0u);

    PropertyBag stored;
    stored.WriteProperty("ChangeFrequency", int32_t(10));
    stored.WriteProperty("SmallChange", int32_t(0));
    stored.WriteProperty("Value", int32_t(40));
    stored.WriteProperty("Max", int32_t(60));
    stored.WriteProperty("showbuttons", false);
    bar->ReadProperties(stored);
    EXPECT_EQ(bar->ChangeFrequency(), 10);
    EXPECT_EQ(bar->SmallChange(), 0);
    EXPECT_EQ(bar->Value(), 40);
    EXPECT_EQ(bar->Range(), 60);
    EXPECT_FALSE(bar->ShowButtons());
    PropertyBag out;
    bar->WriteProperties(out);
    EXPECT_EQ(out.names(), (std::vector<QString>{"Max", "Value", "SmallChange", "ChangeFrequency", "ShowButtons"}));
    EXPECT_EQ(out.ReadInt("ChangeFrequency", 0), 10);
}

// The gap between the arrows of a short bar is a one-pixel black and white checkerboard.
TEST_F(BarFixture, GapIsCheckered) {
    make(17, 40);
    platform::pumpFor(30);
    for (int y = 18; y < 22; ++y) {
        for (int x = 0; x < 17; ++x) {
            EXPECT_EQ(listtest::pixel(bar, x, y), ((x + y) % 2 == 0) ? 0xFFFFFFu : 0x000000u) << x << "," << y;
        }
    }
}
