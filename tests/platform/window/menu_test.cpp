// Tracked popup menus: where they open, which button's release picks an item, and what
// dismisses them.
#include "platform/test_support.h"
#include "platform/window/menu.h"
#include "platform/window/menu_window.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

// A menu goes right of and below the point when it fits; otherwise it flips to the other
// side, ending at the point, so the pointer that opened it is never over it.
TEST(MenuPlacement, StaysOnTheScreenAndClearOfThePointer) {
    const RECT screen{0, 0, 1280, 1024};
    const SIZE menu{140, 160};
    struct Case {
        POINT at;
        POINT expected;
    } cases[] = {
        {{400, 300}, {400, 300}},    // room everywhere
        {{1272, 300}, {1132, 300}},  // at the right edge: leftwards
        {{400, 1000}, {400, 840}},   // at the bottom: upwards
        {{1279, 1023}, {1139, 863}}, // the corner: both
        {{1140, 864}, {1140, 864}},  // just fits
    };
    for (const Case& c : cases) {
        const POINT p = MenuWindow::placement(c.at, menu, screen);
        EXPECT_EQ(p, c.expected) << c.at.x << "," << c.at.y;
        const bool underPointer = c.at.x >= p.x && c.at.x < p.x + menu.cx && c.at.y >= p.y && c.at.y < p.y + menu.cy;
        EXPECT_FALSE(underPointer && (c.at.x + menu.cx > screen.right || c.at.y + menu.cy > screen.bottom))
            << "a flipped menu lies under the pointer at " << c.at.x << "," << c.at.y;
    }
    // A second screen to the right keeps a menu opened near its left edge on it.
    EXPECT_EQ(MenuWindow::placement({1290, 100}, menu, RECT{1280, 0, 2304, 768}), (POINT{1290, 100}));
    EXPECT_EQ(MenuWindow::placement({2300, 100}, menu, RECT{1280, 0, 2304, 768}), (POINT{2160, 100}));
}

namespace {

HMENU threeItems() {
    HMENU m = CreatePopupMenu();
    AppendMenu(m, MF_STRING, 11, QStringLiteral("一"));
    AppendMenu(m, MF_STRING, 12, QStringLiteral("二"));
    AppendMenu(m, MF_STRING, 13, QStringLiteral("三"));
    return m;
}

// Once the menu is up, runs `act` on its window, then dismisses it with Escape if it is
// still open.
void whenOpen(const std::function<void(MenuWindow*)>& act) {
    QTimer::singleShot(50, [act] {
        auto* popup = qobject_cast<MenuWindow*>(QApplication::activePopupWidget());
        if (!popup) return;
        QPointer<MenuWindow> alive(popup);
        act(popup);
        QTimer::singleShot(100, [alive] {
            if (alive && alive->isVisible()) QTest::keyClick(alive.data(), Qt::Key_Escape);
        });
    });
}

QPoint centreOf(MenuWindow* popup, int index) {
    const RECT r = popup->itemRect(index);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

// A release over an item picks it with the left button always, with the right one only when
// the menu was tracked for it; a release elsewhere leaves the menu open, a press outside
// dismisses it.
TEST(TrackPopupMenu, WhichPointerActionsPickAndDismiss) {
    struct Case {
        UINT flags;
        Qt::MouseButton button;
        bool outside;
        bool press; // a press instead of a release
        UINT expected;
    } cases[] = {
        {TPM_RETURNCMD, Qt::LeftButton, false, false, 12},
        {TPM_RETURNCMD, Qt::RightButton, false, false, 0},
        {TPM_RETURNCMD | TPM_RIGHTBUTTON, Qt::RightButton, false, false, 12},
        {TPM_RETURNCMD, Qt::LeftButton, true, false, 0},
        {TPM_RETURNCMD, Qt::LeftButton, true, true, 0},
    };
    auto* owner = testsupport::shownTopLevel(300, 200, WS_OVERLAPPEDWINDOW);
    HMENU menu = threeItems();
    for (const Case& c : cases) {
        bool stillOpen = false;
        whenOpen([&](MenuWindow* popup) {
            const QPoint at = c.outside ? QPoint(-20, -20) : centreOf(popup, 1);
            if (c.press) QTest::mousePress(popup, c.button, {}, at);
            else QTest::mouseRelease(popup, c.button, {}, at);
            QCoreApplication::processEvents();
            stillOpen = popup->isVisible();
            if (c.press) QTest::mouseRelease(popup, c.button, {}, at);
        });
        EXPECT_EQ(TrackPopupMenu(menu, c.flags, 400, 300, 0, owner, nullptr), c.expected)
            << c.flags << " " << c.button << " outside " << c.outside << " press " << c.press;
        EXPECT_EQ(stillOpen, c.expected == 0 && !c.press) << "the menu after the action";
    }
    DestroyMenu(menu);
    delete owner;
}

// The arrow keys walk the enabled items (wrapping, skipping separators and greyed items),
// Enter picks the highlighted one and Escape dismisses.
TEST(TrackPopupMenu, ArrowKeysEnterAndEscape) {
    auto* owner = testsupport::shownTopLevel(300, 200, WS_OVERLAPPEDWINDOW);
    HMENU menu = GetSystemMenu(owner, false); // Restore is greyed in the normal state
    struct Case {
        std::vector<Qt::Key> keys;
        UINT expected;
    } cases[] = {
        {{Qt::Key_Down, Qt::Key_Return}, SC_MOVE},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, SC_MAXIMIZE},
        {{Qt::Key_Up, Qt::Key_Return}, SC_CLOSE},
        {{Qt::Key_Down, Qt::Key_Escape}, 0},
    };
    for (const Case& c : cases) {
        whenOpen([&](MenuWindow* popup) {
            for (Qt::Key k : c.keys) QTest::keyClick(popup, k);
        });
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 400, 300, 0, owner, nullptr), c.expected);
    }
    delete owner;
}
