// The skinned scrollbar's pixels, read from its retained image and compared with the
// catalogue's slices of the "SCR..." images (whatever art they hold).
#include "controls/list/scroll_bar.h"
#include "list_test_support.h"

#include "imaging/skin_catalogue.h"
#include "platform/forms/runtime_error.h"

#include <gtest/gtest.h>
#include <map>

using namespace platform;
using controls::UcScrollBar;

namespace {

constexpr COLORREF kMagenta = 0x00FF00FF;

struct Skin {
    std::map<QString, QImage> images;
    bool load() {
        try {
            for (const char* n : {"SCRARROWV", "SCRARROWVT", "SCRARROWVB", "SCRBACKV", "SCRTHUMBV", "SCRARROWH",
                                  "SCRARROWHL", "SCRARROWHR"})
                images[n] = imaging::LoadResPicture(n).image();
        } catch (const RuntimeError&) { return false; }
        return true;
    }
    COLORREF at(const char* name, int x, int y) const { return fromQRgb(images.at(name).pixel(x, y)); }
    // An arrow pixel: the glyph where it is not magenta, else the face.
    COLORREF arrowV(const char* glyph, int f, int x, int y) const {
        const COLORREF g = at(glyph, x, 18 * f + y);
        return g != kMagenta ? g : at("SCRARROWV", x, 18 * f + y);
    }
    COLORREF arrowH(const char* glyph, int f, int x, int y) const {
        const COLORREF g = at(glyph, 18 * f + x, y);
        return g != kMagenta ? g : at("SCRARROWH", 18 * f + x, y);
    }
};

struct PaintedBar : ::testing::Test {
    std::unique_ptr<Window> host = listtest::makeHost(300, 300);
    UcScrollBar* bar = nullptr;
    Skin skin;

    void SetUp() override {
        if (!skin.load()) GTEST_SKIP() << "the scrollbar skin images are not in the catalogue";
    }
    void make(int w, int h, int orientation = 0) {
        bar = new UcScrollBar(host.get());
        MoveWindow(bar, 10, 10, w, h, true);
        PropertyBag bag;
        bag.WriteProperty("Orientation", int32_t(orientation));
        bar->ReadProperties(bag);
        settle();
    }
    void settle() {
        platform::pumpFor(10);
        UpdateWindow(bar);
    }
    COLORREF px(int x, int y) const { return listtest::pixel(bar, x, y); }

    // Checks a vertical 17 x 200 bar at value 50 in the given frames.
    void expectVertical(int arrow1, int arrow2, int track1, int track2, int thumb) {
        const int thumbTop = bar->thumbPos();
        const int thumbBottom = thumbTop + bar->thumbLength();
        for (int x = 0; x < 17; ++x) {
            SCOPED_TRACE(x);
            for (int y = 0; y < 18; ++y) {
                ASSERT_EQ(px(x, y), skin.arrowV("SCRARROWVT", arrow1, x, y)) << "arrow 1 at y " << y;
                ASSERT_EQ(px(x, 182 + y), skin.arrowV("SCRARROWVB", arrow2, x, y)) << "arrow 2 at y " << y;
            }
            // Track pieces stretch their two-row frame along the bar.
            EXPECT_EQ(px(x, 18), skin.at("SCRBACKV", x, 2 * track1));
            EXPECT_EQ(px(x, thumbTop - 1), skin.at("SCRBACKV", x, 2 * track1 + 1));
            EXPECT_EQ(px(x, thumbBottom), skin.at("SCRBACKV", x, 2 * track2));
            EXPECT_EQ(px(x, 181), skin.at("SCRBACKV", x, 2 * track2 + 1));
            // The thumb's three-pixel top and bottom borders come from its frame's cell.
            for (int y = 0; y < 3; ++y) {
                EXPECT_EQ(px(x, thumbTop + y), skin.at("SCRTHUMBV", 17 * thumb + x, y));
                EXPECT_EQ(px(x, thumbBottom - 3 + y), skin.at("SCRTHUMBV", 17 * thumb + x, 12 + y));
            }
        }
    }
};

} // namespace

// Normal frames everywhere when the pointer is elsewhere.
TEST_F(PaintedBar, VerticalPartsFromTheirSlices) {
    make(17, 200);
    bar->setValue(50);
    settle();
    expectVertical(0, 0, 0, 0, 0);
}

// A pressed track piece shows its pressed frame; a disabled bar the disabled frames.
TEST_F(PaintedBar, PressedAndDisabledFrames) {
    make(17, 200);
    bar->setValue(40);
    bar->setChangeDelay(10000);
    listtest::press(bar, {8, 150}); // Track2: pages to 50
    settle();
    EXPECT_EQ(bar->Value(), 50);
    expectVertical(0, 0, 0, 1, 0);
    listtest::release(bar, {8, 150});
    bar->setEnabled(false);
    settle();
    expectVertical(4, 4, 0, 0, 3);
}

// Hovering an arrow shows it hot and the other one in the pointer-over frame.
TEST_F(PaintedBar, HotArrowFrames) {
    make(17, 200);
    bar->setValue(50);
    listtest::moveWithButtons(bar, {8, 5}, Qt::NoButton);
    settle();
    EXPECT_EQ(px(8, 9), skin.arrowV("SCRARROWVT", 2, 8, 9));
    EXPECT_EQ(px(8, 191), skin.arrowV("SCRARROWVB", 1, 8, 9));
}

// The horizontal arrows use the horizontal images, frame f at x = 18 f.
TEST_F(PaintedBar, HorizontalArrows) {
    make(200, 17, 1);
    for (int x = 0; x < 18; ++x) {
        for (int y = 0; y < 17; ++y) {
            ASSERT_EQ(px(x, y), skin.arrowH("SCRARROWHL", 0, x, y)) << x << "," << y;
            ASSERT_EQ(px(182 + x, y), skin.arrowH("SCRARROWHR", 0, x, y)) << x << "," << y;
        }
    }
}

// A press takes the hot look from the arrow it presses; the held arrow looks released while
// the pointer is off it and pressed again when it comes back; the release ends the press.
TEST_F(PaintedBar, HeldArrowFollowsThePointer) {
    using Part = UcScrollBar::Part;
    make(17, 200);
    bar->setValue(50);
    bar->setChangeDelay(100000); // no repeat steps while the test looks
    enum class Act { Hover, Press, Drag, Release };
    struct Step {
        Act act;
        QPoint at;
        Part hovered, pressed;
        int arrow2Frame;
    } steps[] = {
        {Act::Hover, {8, 190}, Part::Arrow2, Part::None, 2}, {Act::Press, {8, 190}, Part::None, Part::Arrow2, 3},
        {Act::Drag, {8, 100}, Part::None, Part::Arrow2, 1},  {Act::Drag, {8, 185}, Part::None, Part::Arrow2, 3},
        {Act::Release, {8, 185}, Part::None, Part::None, 1},
    };
    for (const Step& s : steps) {
        switch (s.act) {
        case Act::Hover: listtest::moveWithButtons(bar, s.at, Qt::NoButton); break;
        case Act::Press: listtest::press(bar, s.at); break;
        case Act::Drag: listtest::moveWithButtons(bar, s.at, Qt::LeftButton); break;
        case Act::Release: listtest::release(bar, s.at); break;
        }
        UpdateWindow(bar);
        SCOPED_TRACE(s.at.y());
        EXPECT_EQ(bar->hoveredPart(), s.hovered);
        EXPECT_EQ(bar->pressedPart(), s.pressed);
        EXPECT_EQ(px(8, 191), skin.arrowV("SCRARROWVB", s.arrow2Frame, 8, 9));
        EXPECT_EQ(px(8, 9), skin.arrowV("SCRARROWVT", 1, 8, 9)) << "the other arrow: pointer over the bar";
    }
    EXPECT_EQ(bar->Value(), 51) << "one step, from the press";
}
