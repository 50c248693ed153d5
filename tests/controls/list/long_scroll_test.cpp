// The long-range scroll adapter driving a real platform scrollbar.
#include "controls/list/long_scroll.h"
#include "list_test_support.h"

#include "platform/forms/runtime_error.h"
#include "platform/window/scroll_bar.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

using namespace platform;
using controls::CLongScroll;

namespace {

struct AdapterFixture : ::testing::Test {
    std::unique_ptr<Window> host = listtest::makeHost(400, 200);
    ScrollBar* client = nullptr;
    CLongScroll adapter;
    int changes = 0;

    void SetUp() override {
        client = new ScrollBar(host.get(), Qt::Horizontal);
        MoveWindow(client, 10, 10, 300, 20, true);
        QObject::connect(&adapter, &CLongScroll::Change, [this] { ++changes; });
        adapter.setClient(client);
        adapter.setMax(1000000);
        changes = 0;
    }
};

} // namespace

// 0..1,000,000 over the client's 0..32767: the thumb sits proportionally, and reaches an
// end only when the value is exactly there.
TEST_F(AdapterFixture, ValueToClientMapping) {
    const std::vector<std::pair<int32_t, int16_t>> cases = {
        {500000, 16384}, {1, 1}, {999999, 32766}, {0, 0}, {1000000, 32767}, {2000000, 32767}, {-5, 0},
    };
    for (auto [value, thumb] : cases) {
        adapter.setValue(value);
        EXPECT_EQ(client->Value(), thumb) << value;
    }
    EXPECT_EQ(adapter.Value(), 0);
    EXPECT_EQ(changes, int(cases.size()));
}

// Client arrow clicks step by SmallChange, track clicks by LargeChange; a thumb drag to the
// far end gives Max.
TEST_F(AdapterFixture, ClientClicksAndDrags) {
    adapter.setSmallChange(7);
    adapter.setLargeChange(5000);
    adapter.setValue(500000);
    changes = 0;
    client->setValue(int16_t(client->Value() + 1)); // what an arrow click does
    EXPECT_EQ(adapter.Value(), 500007);
    client->setValue(int16_t(client->Value() - 10)); // a track click
    EXPECT_EQ(adapter.Value(), 495007);
    EXPECT_EQ(changes, 2);

    // Real pointer input on the client's arrows.
    QScrollBar* qbar = client->control();
    QStyleOptionSlider opt;
    opt.initFrom(qbar);
    opt.orientation = Qt::Horizontal;
    opt.minimum = qbar->minimum();
    opt.maximum = qbar->maximum();
    opt.sliderPosition = qbar->sliderPosition();
    opt.sliderValue = qbar->value();
    opt.singleStep = qbar->singleStep();
    opt.pageStep = qbar->pageStep();
    const QRect addLine = qbar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarAddLine, qbar);
    if (addLine.isValid()) {
        QTest::mouseClick(qbar, Qt::LeftButton, {}, addLine.center());
        EXPECT_EQ(adapter.Value(), 495014);
    }

    // Thumb drag to the far end: the client jumps to its Max.
    client->setValue(32767);
    EXPECT_EQ(adapter.Value(), 1000000);
}

// A reversed range maps the client's low end to Min.
TEST_F(AdapterFixture, ReversedRange) {
    adapter.setMax(0);
    adapter.setMin(100);
    adapter.setValue(30);
    client->setValue(0);
    EXPECT_EQ(adapter.Value(), 100);
    client->setValue(32767);
    EXPECT_EQ(adapter.Value(), 0);
    // An arrow click towards the client's high end lowers the value by SmallChange.
    adapter.setValue(50);
    client->setValue(int16_t(client->Value() + 1));
    EXPECT_EQ(adapter.Value(), 49);
}

// Max and Min setters pull Value into the new range.
TEST_F(AdapterFixture, BoundsPullValue) {
    adapter.setValue(800);
    adapter.setMax(500);
    EXPECT_EQ(adapter.Value(), 500);
    adapter.setMin(600); // above Max: a value below Max moves to the new Min
    EXPECT_EQ(adapter.Value(), 500);
    adapter.setMin(0);
    adapter.setMax(0);
    EXPECT_EQ(adapter.Value(), 0);
}

// Only platform scrollbars are clients; anything else fails and leaves the client.
TEST_F(AdapterFixture, NonScrollbarClientIsRefused) {
    Window picture(host.get());
    QObject plain;
    for (QObject* wrong : {static_cast<QObject*>(&picture), &plain}) {
        try {
            adapter.setClient(wrong);
            FAIL() << "accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 0x80040201u);
            EXPECT_EQ(e.Source(), "CLongScroll");
            EXPECT_EQ(e.Description(), "Client object must be a scrollbar.");
        }
        EXPECT_EQ(adapter.Client(), client);
    }
    adapter.setClient(nullptr);
    EXPECT_EQ(adapter.Client(), nullptr);
    client->setValue(100);
    EXPECT_EQ(adapter.Value(), 0) << "a detached client no longer drives the value";
}

// Attaching resets the client; overflowing ranges are reported.
TEST_F(AdapterFixture, AttachResetsClientAndOverflowIsReported) {
    ScrollBar other(host.get(), Qt::Vertical);
    other.setMax(50);
    other.setValue(20);
    adapter.setClient(&other);
    EXPECT_EQ(other.Min(), 0);
    EXPECT_EQ(other.Max(), 32767);
    EXPECT_EQ(other.SmallChange(), 1);
    EXPECT_EQ(other.LargeChange(), 10);
    EXPECT_EQ(other.Value(), 0);
    EXPECT_EQ(changes, 0);

    adapter.setMin(INT32_MIN);
    adapter.setMax(INT32_MAX);
    EXPECT_THROW(adapter.setValue(5), RuntimeError) << "a span wider than 32 bits";
    adapter.setMin(0);
    adapter.setMax(1000);
    adapter.setLargeChange(INT32_MAX);
    adapter.setValue(1); // the client sits at 1
    EXPECT_THROW(other.setValue(int16_t(other.Value() + 10)), RuntimeError) << "a step past the 32-bit range";
    adapter.setClient(nullptr);
}
