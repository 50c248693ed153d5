// The skinned button: sizing to its picture, the two styles' pixels, the pointer state
// machine and its events, repaint rules, persistence.
#include "chrome_test_util.h"
#include "controls/chrome/uc_button.h"

#include "platform/gdi/colors.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace platform;
using controls::ButtonLook;
using controls::ucButton;

namespace {

// Four frames stacked vertically, frame s (0..3) filled with kFrame[s]; pixel (1, 1) of each
// frame is the magenta key.
constexpr COLORREF kFrame[4] = {0x102030, 0x405060, 0x708090, 0xA0B0C0};

Picture framesPicture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    const int fh = h / 4;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) img.setPixel(x, y, toQRgb(kFrame[std::min(3, y / std::max(1, fh))]));
    }
    for (int s = 0; s < 4 && fh > 1; ++s) img.setPixel(1, s * fh + 1, toQRgb(0xFF00FF));
    return Picture::fromBitmap(img);
}

struct ButtonHost : ::testing::Test {
    void SetUp() override {
        host = chrome_test::topLevel({100, 100, 400, 300}, 0);
        button = new ucButton(host.get(), QStringLiteral("Play"));
        button->setGeometry(20, 20, 60, 22);
    }
    // A skin-style button reading its properties at run time.
    void useSkin(const Picture& pic, const QString& caption = QString()) {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("DefaultStyle"), false);
        bag.WriteProperty(QStringLiteral("SkinPicture"), pic);
        bag.WriteProperty(QStringLiteral("Caption"), caption);
        button->ReadProperties(bag);
        button->setSkinPicture(pic);
        pumpFor(10);
    }
    COLORREF px(int x, int y) const { return GetPixel(button->dc(), x, y); }

    std::unique_ptr<Window> host;
    ucButton* button = nullptr;
};

} // namespace

TEST_F(ButtonHost, SkinStyleTakesThePictureWidthAndAQuarterOfItsHeight) {
    struct Case {
        int w, h, bw, bh;
    } cases[] = {{35, 136, 35, 34}, {26, 108, 26, 27}, {24, 72, 24, 18}};
    for (const Case& c : cases) {
        useSkin(framesPicture(c.w, c.h));
        EXPECT_EQ(button->width(), c.bw);
        EXPECT_EQ(button->height(), c.bh);
    }
    // Loading alone keeps the size the button has; the next resize takes the picture's.
    auto* loaded = new ucButton(host.get());
    loaded->setGeometry(100, 20, 60, 22);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("SkinPicture"), framesPicture(35, 136));
    loaded->ReadProperties(bag);
    EXPECT_EQ(loaded->size(), QSize(60, 22));
    SetWindowPos(loaded, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(loaded->size(), QSize(35, 34));
}

TEST_F(ButtonHost, SkinStyleDrawsTheFrameOfEachStateWithTheMagentaKeyTransparent) {
    useSkin(framesPicture(24, 72));
    for (ButtonLook look : {ButtonLook::Normal, ButtonLook::Hot, ButtonLook::Pressed, ButtonLook::Disabled}) {
        button->PaintState(look, true);
        EXPECT_EQ(px(5, 10), kFrame[frameOf(look)]) << "frame " << frameOf(look);
        EXPECT_EQ(px(23, 17), kFrame[frameOf(look)]) << "frame " << frameOf(look);
        EXPECT_EQ(px(1, 1), 0x404040u) << "the key shows the cleared background";
    }
}

TEST_F(ButtonHost, DefaultStyleFaceAndOutlines) {
    // 60 x 22: the face strip's 20 rows map one to one onto rows 2..21.
    button->setCaption(QString());
    struct Case {
        ButtonLook state;
        COLORREF faceTop, faceRow17, outer, inner;
    } cases[] = {
        {ButtonLook::Normal, 0x757575, 0x6F6F6F, 0x000000, 0x868585},
        {ButtonLook::Hot, 0x686868, 0x515151, 0x000000, 0x868585},
        {ButtonLook::Pressed, 0x6C6C6C, 0x676767, 0x000000, 0x868585},
        {ButtonLook::Disabled, 0xD8E9EC, 0xD8E9EC, GetSysColor(COLOR_BTNSHADOW), 0xF1F0F0},
    };
    for (const Case& c : cases) {
        button->PaintState(c.state, true);
        EXPECT_EQ(px(30, 2), c.faceTop) << "frame " << frameOf(c.state);
        EXPECT_EQ(px(30, 19), c.faceRow17) << "frame " << frameOf(c.state);
        EXPECT_EQ(px(30, 0), c.outer) << "frame " << frameOf(c.state);
        EXPECT_EQ(px(30, 1), c.inner) << "frame " << frameOf(c.state);
        EXPECT_EQ(px(30, 20), c.inner) << "frame " << frameOf(c.state);
        EXPECT_EQ(px(30, 21), c.outer) << "frame " << frameOf(c.state);
    }
    // The corners are cut away by the 3 x 3 rounded window region.
    ASSERT_NE(button->windowRegion(), nullptr);
    EXPECT_FALSE(PtInRegion(button->windowRegion(), 0, 0));
    EXPECT_TRUE(PtInRegion(button->windowRegion(), 30, 0));
}

TEST_F(ButtonHost, PressMoveOutAndBackReleaseInsideClicksOnceInOrder) {
    useSkin(framesPicture(24, 72));
    std::vector<QString> events;
    QObject::connect(button, &ucButton::Click, [&] { events.push_back("Click"); });
    QObject::connect(button, &ucButton::MouseDown, [&](int16_t& b, int16_t&, float& x, float& y) {
        events.push_back(QStringLiteral("Down %1 %2,%3").arg(b).arg(x).arg(y));
    });
    QObject::connect(button, &ucButton::MouseUp,
                     [&](int16_t& b, int16_t&, float&, float&) { events.push_back(QStringLiteral("Up %1").arg(b)); });
    chrome_test::hover(button, {5, 5});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Hot);
    QTest::mousePress(button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Pressed);
    QTest::mouseMove(button, {60, 40});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Pressed) << "outside the state does not change";
    QTest::mouseMove(button, {24, 18});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Pressed) << "edges belong to the button";
    QTest::mouseRelease(button, Qt::LeftButton, {}, {24, 18});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Hot);
    EXPECT_EQ(events, (std::vector<QString>{"Down 1 5,5", "Click", "Up 1"}));

    events.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, {5, 5});
    QTest::mouseMove(button, {25, 5});
    QTest::mouseRelease(button, Qt::LeftButton, {}, {25, 5});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Normal);
    EXPECT_EQ(events, (std::vector<QString>{"Down 1 5,5", "Up 1"}));
}

TEST_F(ButtonHost, RightReleasePaintsHotWithoutClick) {
    useSkin(framesPicture(24, 72));
    int clicks = 0, ups = 0;
    int16_t upButton = 0;
    QObject::connect(button, &ucButton::Click, [&] { ++clicks; });
    QObject::connect(button, &ucButton::MouseUp, [&](int16_t& b, int16_t&, float&, float&) {
        ++ups;
        upButton = b;
    });
    button->PaintState(ButtonLook::Normal, true);
    QTest::mousePress(button, Qt::RightButton, {}, {5, 5});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Normal) << "only the left button presses";
    QTest::mouseRelease(button, Qt::RightButton, {}, {5, 5});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Hot);
    EXPECT_EQ(px(5, 10), kFrame[1]);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(upButton, 2);
}

TEST_F(ButtonHost, DoubleClickRaisesClickTwiceAndLeaveRestoresNormal) {
    useSkin(framesPicture(24, 72));
    int clicks = 0;
    QObject::connect(button, &ucButton::Click, [&] { ++clicks; });
    // The platform's sequence: press, release, double-click, release.
    QTest::mouseClick(button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(button->ButtonState(), ButtonLook::Pressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(button->ButtonState(), ButtonLook::Hot);
    // The leave notification reaches the button through its interception.
    SendMessage(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->ButtonState(), ButtonLook::Normal);
}

TEST_F(ButtonHost, CaptionFontAndColourRepaintNormalEvenWhenDisabled) {
    useSkin(framesPicture(24, 72), QStringLiteral("A"));
    button->setEnabled(false);
    EXPECT_EQ(button->ButtonState(), ButtonLook::Disabled);
    EXPECT_EQ(px(5, 10), kFrame[3]);

    // An unchanged caption draws nothing: a marker pixel survives.
    SetPixel(button->dc(), 0, 17, 0x00FF00);
    button->setCaption(QStringLiteral("A"));
    EXPECT_EQ(px(0, 17), 0x00FF00u);
    EXPECT_EQ(button->ButtonState(), ButtonLook::Disabled);

    button->setCaption(QStringLiteral("B"));
    EXPECT_EQ(button->ButtonState(), ButtonLook::Normal);
    EXPECT_EQ(px(0, 17), kFrame[0]);
    button->PaintState(ButtonLook::Disabled, true);
    FontDesc f = button->Font();
    f.Bold = true;
    button->setFont(f);
    EXPECT_EQ(button->ButtonState(), ButtonLook::Normal);
    button->PaintState(ButtonLook::Disabled, true);
    button->setForeColor(0x0000FF);
    EXPECT_EQ(button->ButtonState(), ButtonLook::Normal);
    EXPECT_FALSE(button->Enabled());
    button->setEnabled(true);
    EXPECT_EQ(button->ButtonState(), ButtonLook::Normal);
}

TEST_F(ButtonHost, TooWideCaptionIsCutAndLeftAligned) {
    // Leftmost and rightmost columns with caption ink (white text on a uniform frame).
    auto inkColumns = [&](const QString& caption) {
        useSkin(framesPicture(80, 88), caption);
        button->setForeColor(0xFFFFFF);
        int first = -1, last = -1;
        for (int x = 0; x < button->width(); ++x) {
            for (int y = 0; y < button->height(); ++y) {
                if (px(x, y) != kFrame[0] && !(x == 1 && y == 1)) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
            }
        }
        return std::make_pair(first, last);
    };
    const auto [shortFirst, shortLast] = inkColumns(QStringLiteral("I"));
    EXPECT_GT(shortFirst, 30) << "a fitting caption is centred";
    EXPECT_LT(shortLast, 50);
    const auto [longFirst, longLast] = inkColumns(QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"));
    EXPECT_LE(longFirst, 3) << "a cut caption starts at the left edge";
    EXPECT_LE(longLast, 78);
    EXPECT_GT(longLast, 60);
}

TEST(ButtonPersistence, SixKeysRoundTripAndAbsentKeysTakeTheirDefaults) {
    Window host;
    PropertyBag bag;
    {
        ucButton b(&host, QStringLiteral("Stop"));
        EXPECT_EQ(b.Caption(), QStringLiteral("Stop"));
        EXPECT_TRUE(b.DefaultStyle());
        b.setCaption(QStringLiteral("停止"));
        b.setForeColor(0x123456);
        b.setSkinPicture(framesPicture(24, 72));
        b.setEnabled(false);
        b.WriteProperties(bag);
    }
    EXPECT_EQ(bag.size(), 6u);
    ucButton c(&host);
    c.ReadProperties(bag);
    EXPECT_EQ(c.Caption(), QStringLiteral("停止"));
    EXPECT_EQ(c.ForeColor(), 0x123456u);
    EXPECT_TRUE(c.DefaultStyle());
    EXPECT_EQ(c.SkinPicture().Width(), 24);
    EXPECT_FALSE(c.Enabled());
    EXPECT_EQ(c.ButtonState(), ButtonLook::Disabled);

    ucButton d(&host, QStringLiteral("Named"));
    d.ReadProperties(PropertyBag{});
    EXPECT_EQ(d.Caption(), QString());
    EXPECT_FALSE(d.DefaultStyle());
    EXPECT_TRUE(d.Enabled());
}

TEST(ButtonResources, DestroyedButtonsReleaseWhatTheyMade) {
    Window host;
    auto scenario = [&] {
        for (bool defaultStyle : {true, false}) {
            auto b = std::make_unique<ucButton>(&host);
            PropertyBag bag;
            bag.WriteProperty(QStringLiteral("DefaultStyle"), defaultStyle);
            bag.WriteProperty(QStringLiteral("SkinPicture"), framesPicture(24, 72));
            b->ReadProperties(bag);
            b->setCaption(QStringLiteral("x"));
            b->setDefaultStyle(!defaultStyle);
            b->setEnabled(false);
        }
    };
    scenario(); // the layer makes its stock objects on first use
    const int objects = gdiObjectCount();
    const int contexts = deviceContextCount();
    scenario();
    EXPECT_EQ(gdiObjectCount(), objects);
    EXPECT_EQ(deviceContextCount(), contexts);
}
