// The skinned window frame on a real top-level window: hit zones, size limits, regions,
// caption pixels, caption buttons and their events, pointer handling and the system menu.
#include "chrome_test_util.h"
#include "controls/chrome/c_magnetic_wnd.h"
#include "controls/chrome/skin_menu_receiver.h"
#include "controls/chrome/uc_skin.h"

#include "imaging/skin_catalogue.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/icon.h"

#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace platform;
using controls::ButtonLook;
using controls::FrameZones;
using controls::ucSkin;

namespace {

// Glyph cell (column k, row s) of the test skin, and its caption background.
COLORREF cellColor(int k, int s) { return RGB(30 * k + 10, 50 * s + 20, 99); }
constexpr COLORREF kCaptionBack = 0x203040;

Picture testSkin() {
    QImage img(77, 65, QImage::Format_RGB32);
    for (int y = 0; y < 65; ++y) {
        for (int x = 0; x < 77; ++x) img.setPixel(x, y, toQRgb(y >= 44 ? kCaptionBack : cellColor(x / 11, y / 11)));
    }
    return Picture::fromBitmap(img);
}

constexpr uint32_t kFullStyle = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CAPTION | WS_SYSMENU;

// Ends every menu the receiver is handed with `command`, as soon as it runs.
struct MenuAnswer {
    explicit MenuAnswer(UINT command) {
        QObject::connect(&timer, &QTimer::timeout, [this, command] {
            for (HWND h : receiver.MenuWindows()) {
                auto* menu = static_cast<MenuWindow*>(h);
                colors = menu->colors();
                menu->end(command);
            }
        });
        timer.start(5);
    }
    controls::SkinMenuReceiver receiver;
    QTimer timer;
    MenuColors colors;
};

struct SkinHost : ::testing::Test {
    void make(uint32_t style, PropertyBag bag = {}) {
        form = std::make_unique<Window>(nullptr, QStringLiteral("Form"), style);
        SetWindowPos(form.get(), nullptr, 100, 100, 400, 300, SWP_NOZORDER);
        form->setText(QStringLiteral("HHHHHH"));
        skin = new ucSkin(form.get());
        skin->ReadProperties(bag);
        skin->setSkinImage(testSkin());
        ShowWindow(form.get(), SW_SHOW);
        (void)QTest::qWaitForWindowExposed(form.get());
        pumpFor(20);
        W = skin->width();
        H = skin->height();
    }
    void SetUp() override { make(kFullStyle); }
    COLORREF px(int x, int y) const { return GetPixel(skin->dc(), x, y); }
    QPoint buttonCentre(int i) const {
        const POINT p = skin->Zones().buttonPos(i);
        return {p.x + 5, p.y + 5};
    }
    void click(QPoint at) {
        QTest::mousePress(skin, Qt::LeftButton, {}, at);
        QTest::mouseRelease(skin, Qt::LeftButton, {}, at);
        pumpFor(10);
    }
    // The brightest red channel in the title area: glyph edges blend the title colour into
    // the background, so the stems come close to it and nothing exceeds it.
    int titleRed() const {
        int best = 0;
        for (int y = 6; y < 20; ++y)
            for (int x = 6; x < 80; ++x) best = std::max(best, GetRValue(px(x, y)));
        return best;
    }

    std::unique_ptr<Window> form;
    ucSkin* skin = nullptr;
    int W = 0, H = 0;
};

} // namespace

TEST(FrameZonesLayout, FirstMatchingZoneInTestOrder) {
    FrameZones z;
    z.layout(300, 200);
    struct Case {
        int x, y, zone;
    } cases[] = {
        {8, 0, 0},   {9, 0, 1},     {292, 3, 1},   {293, 3, 2},    {0, 24, 0},
        {0, 25, 3},  {2, 168, 3},   {2, 169, -1},  {2, 191, -1},   {298, 169, 4},
        {2, 192, 5}, {268, 195, 6}, {267, 195, 7}, {150, 100, -1}, {150, 7, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(z.zoneAt(c.x, c.y), c.zone) << c.x << "," << c.y;
    EXPECT_EQ(z.buttonPos(ucSkin::CloseButton), (POINT{283, 6}));
    EXPECT_EQ(z.buttonPos(ucSkin::MenuBtn), (POINT{283 - 68, 6}));
}

TEST_F(SkinHost, CoversTheClientAreaAsAFrame) {
    EXPECT_EQ(W, 394);
    EXPECT_EQ(H, 294);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLong(form.get(), GWL_STYLE)) & WS_CAPTION, 0u);
    HRGN own = skin->windowRegion();
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(PtInRegion(own, 100, 10));
    EXPECT_TRUE(PtInRegion(own, 2, 100));
    EXPECT_FALSE(PtInRegion(own, 100, 100));
    EXPECT_FALSE(PtInRegion(own, 0, 0)) << "rounded in the normal state";
    HRGN frame = form->windowRegion();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(PtInRegion(frame, 10, 3));
    EXPECT_FALSE(PtInRegion(frame, 2, 10)) << "the sizing frame is cut away";
    EXPECT_FALSE(PtInRegion(frame, 3, 3));
}

TEST_F(SkinHost, MinimumTrackingSize) {
    struct Case {
        int32_t minW, minH, expW, expH;
    } cases[] = {{0, 0, 142, 50}, {1, 1, 1, 1}, {-5, 300, 142, 300}};
    for (const Case& c : cases) {
        skin->setMinWidth(c.minW);
        skin->setMinHeight(c.minH);
        const MINMAXINFO mmi = queryMinMaxInfo(form.get());
        EXPECT_EQ(mmi.ptMinTrackSize, (POINT{c.expW, c.expH}));
        EXPECT_EQ(mmi.ptMaxTrackSize, (POINT{1280 + 6, 1024 + 6}));
    }
}

TEST_F(SkinHost, MaximiseButtonTogglesWithGlyphTooltipAndRegions) {
    const RECT before = form->windowRect();
    EXPECT_EQ(px(buttonCentre(1).x(), buttonCentre(1).y()), cellColor(1, 0));
    click(buttonCentre(1));
    RECT rc;
    GetWindowRect(form.get(), &rc);
    EXPECT_EQ(rc, (RECT{-3, -3, 1283, 1027}));
    EXPECT_EQ(skin->width(), 1280);
    EXPECT_EQ(skin->ButtonToolTip(1), QStringLiteral("向下还原"));
    const QPoint c = buttonCentre(1);
    EXPECT_EQ(px(c.x(), c.y()), cellColor(6, 0)) << "the restore glyph";
    EXPECT_EQ(form->windowRegion(), nullptr);
    EXPECT_TRUE(PtInRegion(skin->windowRegion(), 0, 0)) << "square corners when maximised";
    EXPECT_NE(px(640, 1), 0x888B8Bu) << "no outline when maximised";
    EXPECT_NE(px(640, 1), 0x7D7979u) << "no outline when maximised";

    click(buttonCentre(1));
    GetWindowRect(form.get(), &rc);
    EXPECT_EQ(rc, before);
    EXPECT_EQ(skin->ButtonToolTip(1), QStringLiteral("最大化"));
}

TEST_F(SkinHost, ReleaseOutsideTheButtonDoesNothing) {
    int closes = 0;
    QObject::connect(skin, &ucSkin::CloseButtonClick, [&](bool&) { ++closes; });
    const QPoint c = buttonCentre(2);
    QTest::mousePress(skin, Qt::LeftButton, {}, c);
    EXPECT_EQ(skin->ButtonState(2), ButtonLook::Pressed);
    EXPECT_EQ(px(c.x(), c.y()), cellColor(2, 2));
    QTest::mouseMove(skin, c + QPoint(-40, 10));
    QTest::mouseRelease(skin, Qt::LeftButton, {}, c + QPoint(-40, 10));
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(IsWindow(form.get()));
    EXPECT_EQ(skin->ButtonState(2), ButtonLook::Normal);
    EXPECT_EQ(px(c.x(), c.y()), cellColor(2, 0));
}

TEST_F(SkinHost, CancelledCloseKeepsTheWindowAndTheButtonHot) {
    bool cancel = true;
    QObject::connect(skin, &ucSkin::CloseButtonClick, [&](bool& Cancel) {
        EXPECT_FALSE(Cancel);
        Cancel = cancel;
    });
    const QPoint c = buttonCentre(2);
    click(c);
    EXPECT_TRUE(IsWindow(form.get()));
    EXPECT_EQ(skin->ButtonState(2), ButtonLook::Hot);
    EXPECT_EQ(px(c.x(), c.y()), cellColor(2, 1));
    cancel = false;
    click(c);
    EXPECT_FALSE(IsWindow(form.get()));
}

TEST_F(SkinHost, HoverLeaveAndTooltip) {
    const QPoint c = buttonCentre(0);
    chrome_test::hover(skin, c);
    EXPECT_EQ(skin->ButtonState(0), ButtonLook::Hot);
    EXPECT_EQ(px(c.x(), c.y()), cellColor(0, 1));
    SendMessage(skin, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(skin->ButtonState(0), ButtonLook::Normal);
    QHelpEvent help(QEvent::ToolTip, buttonCentre(2), skin->mapToGlobal(buttonCentre(2)));
    QApplication::sendEvent(skin, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("关闭"));
    QToolTip::hideText();
}

TEST_F(SkinHost, CaptionColoursFollowActivation) {
    struct Case {
        WPARAM wParam;
        COLORREF title, outer, inner;
    } cases[] = {
        {0, 0xBEBEBF, 0x4B4949, 0x7D7979}, {1, 0xDCDCDC, 0x000000, 0x888B8B}, {2, 0xDCDCDC, 0x000000, 0x888B8B}};
    for (const Case& c : cases) {
        SendMessage(form.get(), WM_NCACTIVATE, c.wParam, 0);
        const int red = titleRed();
        EXPECT_LE(red, GetRValue(c.title)) << "wParam " << c.wParam;
        EXPECT_GT(red, GetRValue(c.title) - 25) << "wParam " << c.wParam;
        EXPECT_EQ(px(W / 2, 0), c.outer);
        EXPECT_EQ(px(W / 2, 1), c.inner);
        EXPECT_EQ(px(W / 2, H - 4), 0x333939u);
        EXPECT_EQ(px(3, 100), 0x333939u);
        EXPECT_EQ(px(W / 2, 10), kCaptionBack);
    }
    const QImage before = skin->surface().toImage();
    SendMessage(form.get(), WM_NCACTIVATE, 3, 0);
    EXPECT_EQ(skin->surface().toImage(), before);
}

TEST_F(SkinHost, KeepOnTopButtonTogglesTheFlagAndGlyph) {
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TopMostButton"), true);
    make(kFullStyle, bag);
    EXPECT_TRUE(skin->ButtonVisible(ucSkin::TopMostBtn));
    EXPECT_FALSE(skin->ButtonVisible(ucSkin::MenuBtn));
    std::vector<bool> told;
    QObject::connect(skin, &ucSkin::KeepOnTopChanged, [&](bool on) { told.push_back(on); });
    const QPoint c = buttonCentre(ucSkin::TopMostBtn);
    click(c);
    EXPECT_TRUE(skin->KeepOnTop());
    EXPECT_TRUE(form->topMost());
    EXPECT_EQ(px(c.x(), c.y()), cellColor(5, 0));
    click(c);
    EXPECT_FALSE(skin->KeepOnTop());
    EXPECT_FALSE(form->topMost());
    EXPECT_EQ(px(c.x(), c.y()), cellColor(4, 0));
    // The host's own switch does what the button does; setting the current state is no change.
    skin->setKeepOnTop(true);
    skin->setKeepOnTop(true);
    EXPECT_TRUE(form->topMost());
    EXPECT_EQ(px(c.x(), c.y()), cellColor(5, 0));
    EXPECT_EQ(told, (std::vector<bool>{true, false, true}));
}

TEST_F(SkinHost, MinimiseButtonMinimisesAndHiddenButtonsTakeNoInput) {
    make(WS_THICKFRAME | WS_MINIMIZEBOX);
    EXPECT_FALSE(skin->ButtonVisible(ucSkin::MaxButton));
    int maxClicks = 0;
    QObject::connect(skin, &ucSkin::MaxButtonClick, [&](bool&) { ++maxClicks; });
    click(buttonCentre(ucSkin::MaxButton));
    EXPECT_EQ(maxClicks, 0);
    EXPECT_FALSE(IsZoomed(form.get()));
    const QPoint c = buttonCentre(ucSkin::MaxButton);
    EXPECT_EQ(px(c.x(), c.y()), cellColor(1, 2)) << "a missing box paints its glyph pressed";
    click(buttonCentre(ucSkin::MinButton));
    EXPECT_TRUE(IsIconic(form.get()));
}

TEST_F(SkinHost, CaptionDragMovesAndBorderDragSizesTheWindow) {
    // A drag is measured from its press: the first move event, which starts the move, may
    // land anywhere on the way.
    using chrome_test::pointerAt;
    const RECT before = form->windowRect();
    const QPoint press = skin->mapToGlobal(QPoint(150, 10));
    pointerAt(skin, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseMove, press + QPoint(2, 1), Qt::NoButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseMove, press + QPoint(30, 30), Qt::NoButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseButtonRelease, press + QPoint(30, 30), Qt::LeftButton, Qt::NoButton);
    pumpFor(10);
    RECT rc = form->windowRect();
    EXPECT_EQ(rc.left, before.left + 30);
    EXPECT_EQ(rc.top, before.top + 30);
    EXPECT_EQ(rc.width(), before.width());

    const int h = H;
    const QPoint edge = skin->mapToGlobal(QPoint(150, h - 2));
    pointerAt(skin, QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseMove, edge + QPoint(0, 1), Qt::NoButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseMove, edge + QPoint(0, 40), Qt::NoButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseButtonRelease, edge + QPoint(0, 40), Qt::LeftButton, Qt::NoButton);
    pumpFor(10);
    EXPECT_EQ(form->windowRect().height(), before.height() + 40);
    EXPECT_EQ(skin->height(), h + 40);
}

// Move or which resize is decided where the button went down, not where the first move event
// lands: a quick drag up from the caption whose first move lands in the top border's zone
// moves the window, and a brisk drag from a border whose first move already left the zone
// sizes from that border.
TEST_F(SkinHost, DragDecidesMoveOrSizeAtThePress) {
    using chrome_test::pointerAt;
    struct Case {
        QPoint press, firstMove, end; // client points
        QMargins grown;               // how far each edge of the window moves outwards
    } cases[] = {
        {{150, 12}, {150, 3}, {150, -40}, QMargins(0, 52, 0, -52)},
        {{-3, 100}, {30, 100}, {40, 100}, QMargins(0, 0, 43, 0)},
        {{3, 100}, {40, 102}, {50, 100}, QMargins(-47, 0, 0, 0)},
    };
    for (Case c : cases) {
        make(kFullStyle);
        if (c.press.x() < 0) { // measured from the right border
            c.press.rx() += W;
            c.firstMove.rx() += W;
            c.end.rx() += W;
        }
        const RECT r = form->windowRect();
        const QRect before(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
        const QPoint origin = skin->mapToGlobal(QPoint(0, 0));
        pointerAt(skin, QEvent::MouseButtonPress, origin + c.press, Qt::LeftButton, Qt::LeftButton);
        pointerAt(skin, QEvent::MouseMove, origin + c.firstMove, Qt::NoButton, Qt::LeftButton);
        pointerAt(skin, QEvent::MouseMove, origin + c.end, Qt::NoButton, Qt::LeftButton);
        pointerAt(skin, QEvent::MouseButtonRelease, origin + c.end, Qt::LeftButton, Qt::NoButton);
        pumpFor(10);
        const RECT a = form->windowRect();
        EXPECT_EQ(QRect(QPoint(a.left, a.top), QPoint(a.right - 1, a.bottom - 1)), before.marginsAdded(c.grown))
            << "press at " << c.press.x() << "," << c.press.y();
    }
}

TEST_F(SkinHost, PointerShapesOverTheFrame) {
    struct Case {
        int x, y;
        Qt::CursorShape shape;
    } cases[] = {{2, 100, Qt::SizeHorCursor},     {2, H - 30, Qt::ArrowCursor}, {W - 2, H - 30, Qt::SizeHorCursor},
                 {100, 2, Qt::SizeVerCursor},     {2, 2, Qt::SizeFDiagCursor},  {W - 20, H - 2, Qt::SizeFDiagCursor},
                 {2, H - 2, Qt::SizeBDiagCursor}, {100, 15, Qt::ArrowCursor}};
    for (const Case& c : cases) {
        chrome_test::hover(skin, {c.x, c.y});
        EXPECT_EQ(skin->cursor().shape(), c.shape) << c.x << "," << c.y;
    }
}

TEST_F(SkinHost, RightPressOnAButtonOpensTheSystemMenuAndSendsTheChoice) {
    const RECT before = form->windowRect();
    {
        MenuAnswer dismiss(0);
        QTest::mousePress(skin, Qt::RightButton, {}, buttonCentre(ucSkin::CloseButton));
        EXPECT_EQ(dismiss.receiver.MenusSeen(), 1);
    }
    // The release went to the menu; the caption still drags afterwards.
    using chrome_test::pointerAt;
    const QPoint press = skin->mapToGlobal(QPoint(150, 10));
    pointerAt(skin, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseMove, press + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseMove, press + QPoint(20, 0), Qt::NoButton, Qt::LeftButton);
    pointerAt(skin, QEvent::MouseButtonRelease, press + QPoint(20, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->windowRect().left, before.left + 20);
    EXPECT_EQ(skin->ButtonState(ucSkin::CloseButton), ButtonLook::Normal);

    MenuAnswer answer(static_cast<UINT>(SC_MAXIMIZE));
    QTest::mousePress(skin, Qt::RightButton, {}, buttonCentre(ucSkin::CloseButton));
    QTest::mouseRelease(skin, Qt::RightButton, {}, buttonCentre(ucSkin::CloseButton));
    pumpFor(10);
    EXPECT_EQ(answer.receiver.MenusSeen(), 1);
    EXPECT_EQ(answer.colors.background, controls::SkinMenuReceiver::SkinColors().background);
    EXPECT_EQ(answer.colors.highlight, controls::SkinMenuReceiver::SkinColors().highlight);
    EXPECT_TRUE(IsZoomed(form.get()));
    EXPECT_TRUE(IsWindow(form.get()));
}

TEST_F(SkinHost, DoubleClicksOnTheCaption) {
    struct Case {
        uint32_t style;
        bool withIcon;
        QPoint at;
        bool closed, maximised;
    } cases[] = {
        {kFullStyle, true, {10, 10}, true, false},      // the icon closes
        {kFullStyle, true, {150, 10}, false, true},     // elsewhere maximises
        {WS_THICKFRAME, true, {150, 10}, false, false}, // ... unless there is no maximise box
        {kFullStyle, false, {10, 10}, false, true},     // no icon: the icon area is caption
    };
    QImage iconImage(16, 16, QImage::Format_ARGB32_Premultiplied);
    iconImage.fill(qRgb(0, 200, 0));
    HICON icon = Picture::fromIcon({iconImage}).CreateIcon();
    for (const Case& c : cases) {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("DrawIcon"), true);
        form.reset();
        form = std::make_unique<Window>(nullptr, QStringLiteral("Form"), c.style);
        if (c.withIcon) form->setIcon(0, icon);
        SetWindowPos(form.get(), nullptr, 100, 100, 400, 300, SWP_NOZORDER);
        skin = new ucSkin(form.get());
        skin->ReadProperties(bag);
        skin->setSkinImage(testSkin());
        ShowWindow(form.get(), SW_SHOW);
        pumpFor(20);
        if (c.withIcon) { EXPECT_EQ(px(10, 10), RGB(0, 200, 0)) << "icon drawn"; }
        MenuAnswer answer(0); // the press on the icon opens the system menu first
        QTest::mouseClick(skin, Qt::LeftButton, {}, c.at);
        QTest::mouseDClick(skin, Qt::LeftButton, {}, c.at);
        if (IsWindow(skin)) QTest::mouseRelease(skin, Qt::LeftButton, {}, c.at);
        pumpFor(10);
        EXPECT_EQ(!IsWindow(form.get()), c.closed) << c.at.x();
        EXPECT_EQ(IsZoomed(form.get()), c.maximised) << c.at.x();
        EXPECT_EQ(answer.receiver.MenusSeen(), c.withIcon && c.at.x() < 20 ? 1 : 0);
    }
    form.reset();
    DestroyIcon(icon);
}

TEST(SkinPersistence, SixKeysAndDesignMode) {
    Window host;
    PropertyBag bag;
    {
        ucSkin s(&host);
        EXPECT_TRUE(s.DrawIcon());
        EXPECT_TRUE(s.DrawBorder());
        s.setMinWidth(300);
        s.setMenuButton(true);
        s.WriteProperties(bag);
    }
    EXPECT_EQ(bag.size(), 6u);
    EXPECT_EQ(bag.ReadInt(QStringLiteral("minwidth"), 0), 300);
    EXPECT_TRUE(bag.ReadBool(QStringLiteral("MenuButton"), false));

    Window::setDesignMode(true);
    auto form = std::make_unique<Window>(nullptr, QStringLiteral("Form"), kFullStyle);
    form->resize(300, 200);
    auto* s = new ucSkin(form.get());
    s->ReadProperties(PropertyBag{});
    form->show();
    pumpFor(10);
    Window::setDesignMode(false);
    EXPECT_EQ(s->size(), QSize(90, 24));
    EXPECT_FALSE(s->DrawIcon()) << "an absent key reads as False";
    EXPECT_EQ(s->windowRegion(), nullptr);
    EXPECT_EQ(queryMinMaxInfo(form.get()).ptMinTrackSize.x, 112) << "no interception in design mode";
}

TEST(SkinResources, FrameReleasesWhatItDrawsWith) {
    auto scenario = [] {
        auto form = std::make_unique<Window>(nullptr, QStringLiteral("Form"), kFullStyle);
        SetWindowPos(form.get(), nullptr, 100, 100, 300, 200, SWP_NOZORDER);
        auto* s = new ucSkin(form.get());
        s->ReadProperties(PropertyBag{});
        s->setSkinImage(testSkin());
        ShowWindow(form.get(), SW_SHOW);
        pumpFor(10);
        for (WPARAM a : {0, 1, 0}) SendMessage(form.get(), WM_NCACTIVATE, a, 0);
        SetWindowPos(form.get(), nullptr, 0, 0, 350, 250, SWP_NOMOVE | SWP_NOZORDER);
        ShowWindow(form.get(), SW_MAXIMIZE);
        ShowWindow(form.get(), SW_RESTORE);
        form.reset();
        pumpFor(10);
    };
    scenario(); // the layer makes its stock objects on first use
    const int objects = gdiObjectCount();
    const int contexts = deviceContextCount();
    scenario();
    EXPECT_EQ(gdiObjectCount(), objects);
    EXPECT_EQ(deviceContextCount(), contexts);
}

TEST(SkinWithSnapping, CaptionDragOfASkinnedWindowSnapsToTheWorkArea) {
    auto form = std::make_unique<Window>(nullptr, QStringLiteral("Form"), kFullStyle);
    SetWindowPos(form.get(), nullptr, 200, 200, 300, 200, SWP_NOZORDER);
    auto* s = new ucSkin(form.get());
    s->ReadProperties(PropertyBag{});
    ShowWindow(form.get(), SW_SHOW);
    pumpFor(10);
    controls::cMagneticWnd mag;
    ASSERT_TRUE(mag.AddWindow(form.get()));
    // The visible top edge (window top + 3) is dragged to y = 7 of the screen. Snapping reads
    // the pointer itself, so the real pointer goes along.
    using chrome_test::pointerAt;
    const QPoint press = s->mapToGlobal(QPoint(100, 10));
    QCursor::setPos(press);
    pointerAt(s, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    QCursor::setPos(press + QPoint(0, -1));
    pointerAt(s, QEvent::MouseMove, press + QPoint(0, -1), Qt::NoButton, Qt::LeftButton);
    QCursor::setPos(press + QPoint(0, -196));
    pointerAt(s, QEvent::MouseMove, press + QPoint(0, -196), Qt::NoButton, Qt::LeftButton);
    pointerAt(s, QEvent::MouseButtonRelease, press + QPoint(0, -196), Qt::LeftButton, Qt::NoButton);
    pumpFor(10);
    EXPECT_EQ(form->windowRect().top, -3) << "the hidden frame goes past the edge";
    EXPECT_EQ(form->windowRect().left, 200);
}

TEST(SkinArt, FrameDrawsFromTheCompiledInSkinOrSurvivesItsAbsence) {
    auto form = std::make_unique<Window>(nullptr, QStringLiteral("Form"), kFullStyle);
    SetWindowPos(form.get(), nullptr, 100, 100, 300, 200, SWP_NOZORDER);
    auto* s = new ucSkin(form.get());
    s->ReadProperties(PropertyBag{});
    ShowWindow(form.get(), SW_SHOW);
    pumpFor(10);
    SendMessage(form.get(), WM_NCACTIVATE, 1, 0);
    const int W = s->width();
    EXPECT_EQ(GetPixel(s->dc(), W / 2, 0), 0x000000u);
    EXPECT_EQ(GetPixel(s->dc(), W / 2, 1), 0x888B8Bu);
    Picture art;
    try {
        art = imaging::LoadResPicture(QStringLiteral("SKIN"));
    } catch (const RuntimeError&) {
        GTEST_SKIP() << "no skin art compiled in yet; the frame drew its outlines without it";
    }
    // The close glyph in its normal state is the 11 x 11 cell at (22, 0) of the art.
    const POINT p = s->Zones().buttonPos(ucSkin::CloseButton);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 11; ++x)
            ASSERT_EQ(GetPixel(s->dc(), p.x + x, p.y + y), fromQRgb(art.image().pixel(22 + x, y))) << x << "," << y;
    }
}
