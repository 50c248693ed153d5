// Popup menus: check marks and submenus — their bookkeeping, how they are drawn, and how a
// submenu opens, closes and hands its choice to the whole menu, by keys and by pointer.
#include "platform/gdi/dc.h"
#include "platform/test_support.h"
#include "platform/window/menu.h"
#include "platform/window/menu_window.h"
#include "ui_script.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

using Script = tbtest::UiScript;

std::vector<MenuWindow*> shownMenus() {
    std::vector<MenuWindow*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* m = qobject_cast<MenuWindow*>(w);
        if (m && m->isVisible()) out.push_back(m);
    }
    return out;
}
MenuWindow* innermost() { return qobject_cast<MenuWindow*>(QApplication::activePopupWidget()); }
std::function<bool()> menusOpen(size_t n) {
    return [n] { return shownMenus().size() == n && innermost(); };
}
std::function<void()> key(Qt::Key k) {
    return [k] { QTest::keyClick(innermost(), k); };
}
QPoint centre(const MenuWindow* m, int index) {
    const RECT r = m->itemRect(index);
    return m->mapToGlobal(QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}
void pointer(QEvent::Type type, QPoint global, Qt::MouseButton button = Qt::NoButton) {
    testsupport::pointerAt(innermost(), type, global, button, type == QEvent::MouseMove ? Qt::NoButton : button);
}
void click(QPoint global) {
    pointer(QEvent::MouseButtonPress, global, Qt::LeftButton);
    pointer(QEvent::MouseButtonRelease, global, Qt::LeftButton);
}

// A, ▸ Sub (X, Y), separator, C (checked).
struct Menus {
    HMENU root = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    Menus() {
        AppendMenu(root, MF_STRING, 1, QStringLiteral("甲\tCtrl+A"));
        AppendMenu(sub, MF_STRING, 10, QStringLiteral("十"));
        AppendMenu(sub, MF_STRING, 11, QStringLiteral("十一"));
        AppendSubMenu(root, MF_STRING, sub, QStringLiteral("子菜单"));
        AppendMenu(root, MF_SEPARATOR, 0, QString());
        AppendMenu(root, MF_STRING | MF_CHECKED, 3, QStringLiteral("丙"));
    }
    ~Menus() { DestroyMenu(root); }
    UINT track(Script&) { return TrackPopupMenu(root, TPM_RETURNCMD, 300, 200, 0, nullptr, nullptr); }
};

} // namespace

TEST(Menu, CheckMarksAndSubmenusAreKeptPerItem) {
    Menus m;
    EXPECT_EQ(GetSubMenu(m.root, 1), m.sub);
    EXPECT_EQ(GetSubMenu(m.root, 0), nullptr);
    EXPECT_EQ(GetSubMenu(m.root, 9), nullptr);
    struct Case {
        UINT item;
        UINT flags;
        int32_t result;
    };
    const Case cases[] = {
        {3, MF_UNCHECKED, static_cast<int32_t>(MF_CHECKED)}, // by command: was checked
        {3, MF_UNCHECKED, 0},
        {0, MF_BYPOSITION | MF_CHECKED, 0}, // by position: item 甲
        {0, MF_BYPOSITION | MF_UNCHECKED, static_cast<int32_t>(MF_CHECKED)},
        {2, MF_BYPOSITION | MF_CHECKED, -1}, // a separator has no check mark
        {99, MF_CHECKED, -1},
        {10, MF_CHECKED, -1}, // a submenu's item is not the parent's
    };
    for (const Case& c : cases) EXPECT_EQ(CheckMenuItem(m.root, c.item, c.flags), c.result) << c.item;
    EXPECT_FALSE(AppendSubMenu(m.root, MF_STRING, m.root, QStringLiteral("自己")));
}

// The check mark and the submenu arrow are drawn in the item's text colour; a plain item has
// neither.
TEST(Menu, CheckedAndSubmenuItemsCarryTheirMarks) {
    Menus m;
    MenuColors seen;
    std::array<int, 4> checkInk{}, arrowInk{};
    Script script({{menusOpen(1), [&] {
                        MenuWindow* w = innermost();
                        seen = w->colors();
                        for (int i = 0; i < 4; ++i) {
                            const RECT r = w->itemRect(i);
                            for (int y = r.top; y < r.bottom; ++y) {
                                for (int x = r.left + 4; x < r.left + 20; ++x)
                                    checkInk[size_t(i)] += GetPixel(w->dc(), x, y) == seen.text;
                                for (int x = r.right - 16; x < r.right - 6; ++x)
                                    arrowInk[size_t(i)] += GetPixel(w->dc(), x, y) == seen.text;
                            }
                        }
                        QTest::keyClick(w, Qt::Key_Escape);
                    }}});
    EXPECT_EQ(m.track(script), 0u);
    ASSERT_TRUE(script.finished());
    EXPECT_GT(checkInk[3], 6) << "丙 is checked";
    EXPECT_EQ(checkInk[0], 0);
    EXPECT_EQ(checkInk[1], 0);
    EXPECT_GT(arrowInk[1], 6) << "子菜单 opens a submenu";
    EXPECT_EQ(arrowInk[0], 0);
    EXPECT_EQ(arrowInk[3], 0);
}

// Right opens the submenu, Escape closes only it, and the submenu's Enter ends the whole
// menu with its own command.
TEST(Menu, KeysOpenASubmenuAndItsChoiceEndsTheMenu) {
    Menus m;
    MenuWindow* outer = nullptr;
    Script script({
        {menusOpen(1),
         [&] {
             outer = innermost();
             QTest::keyClick(outer, Qt::Key_Down);
             QTest::keyClick(outer, Qt::Key_Down);
             QTest::keyClick(outer, Qt::Key_Right);
         }},
        {menusOpen(2), key(Qt::Key_Escape)},
        {[&] { return menusOpen(1)() && innermost() == outer && outer->hotItem() == 1; }, key(Qt::Key_Return)},
        {menusOpen(2), key(Qt::Key_Left)},
        {menusOpen(1), key(Qt::Key_Right)},
        {menusOpen(2),
         [] {
             QTest::keyClick(innermost(), Qt::Key_Down);
             QTest::keyClick(innermost(), Qt::Key_Down);
             QTest::keyClick(innermost(), Qt::Key_Return);
         }},
    });
    EXPECT_EQ(m.track(script), 11u);
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(shownMenus().empty());
}

// A click opens the submenu, a click in it chooses; resting on the item opens it too, moving
// back onto another item of the outer menu closes it, and a press outside both closes all.
TEST(Menu, ThePointerOpensLeavesAndDismissesASubmenu) {
    Menus m;
    MenuWindow* outer = nullptr;
    Script clicks({
        {menusOpen(1), [&] { click(centre(outer = innermost(), 1)); }},
        {menusOpen(2), [] { click(centre(innermost(), 0)); }},
    });
    EXPECT_EQ(m.track(clicks), 10u);
    EXPECT_TRUE(clicks.finished());

    Script hover({
        {menusOpen(1), [&] { pointer(QEvent::MouseMove, centre(outer = innermost(), 1)); }},
        {menusOpen(2), [&] { pointer(QEvent::MouseMove, centre(outer, 3)); }},
        {[&] { return menusOpen(1)() && outer->hotItem() == 3; },
         [&] { pointer(QEvent::MouseMove, centre(outer, 1)); }},
        {menusOpen(2), [&] { click(outer->mapToGlobal(QPoint(-40, -40))); }},
    });
    EXPECT_EQ(m.track(hover), 0u);
    EXPECT_TRUE(hover.finished());
    EXPECT_TRUE(shownMenus().empty());
}
