#pragma once
// The popup window of a tracked menu (class "#32768"): draws its items through its own
// context and reports the chosen one. Its colours may be restyled by an owner-drawn menu
// control while it lives.
//
// An item column holds, left to right: a check mark for MF_CHECKED, the label, the text after
// a TAB right-aligned (a shortcut), and an arrow for an item that opens a submenu. A submenu
// opens beside its item when the item is clicked, when the pointer rests on it, or on Right
// or Enter; it runs as a popup of its own, and what it returns ends the whole menu, except
// Escape and Left, which close only the submenu.

#include "menu.h"
#include "window.h"

namespace platform {

struct MenuColors {
    COLORREF background = 0xF0F0F0;
    COLORREF text = 0x000000;
    COLORREF disabledText = 0x808080;
    COLORREF highlight = 0xC56A31;
    COLORREF highlightText = 0xFFFFFF;
    COLORREF separator = 0xA0A0A0;
    COLORREF border = 0x808080;
};

class MenuWindow : public Window {
    Q_OBJECT

public:
    explicit MenuWindow(const Menu& menu);

    static constexpr int32_t kItemHeight = 22;
    static constexpr int32_t kSeparatorHeight = 7;
    // How long the pointer rests on an item before its submenu opens (the platform's default).
    static constexpr uint32_t kSubmenuDelayMs = 400;

    const MenuColors& colors() const { return m_colors; }
    void setColors(const MenuColors& c);
    // Client rectangle of item `index`.
    RECT itemRect(int32_t index) const;
    int32_t hotItem() const { return m_hot; }

    // Shows the window at (x, y) and runs until an item is chosen or the menu is dismissed;
    // returns the item's command, 0 when dismissed. `flags` are TrackPopupMenu's.
    UINT run(int32_t x, int32_t y, UINT flags = 0);
    // Where a menu of `size` opened at `at` goes on `screen`: to the right of and below the
    // point when it fits, else flipped to its left or above it, so it stays on the screen and
    // never lies under the pointer that opened it.
    static POINT placement(POINT at, SIZE size, const RECT& screen);
    // Ends a running menu as if dismissed (or with `command`).
    void end(UINT command = 0);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void layout();
    void paintItems();
    void paintMarks(HDC hdc, const MenuItem& item, const RECT& r, COLORREF color);
    int32_t itemAt(int32_t y) const;
    // Runs the submenu of item `index` beside it; ends this menu with its command.
    void openSubmenu(int32_t index);
    // In a submenu, the pointer at `global` outside it: over the menu it came from, on another
    // item of that menu.
    bool pointerBackOnParent(const QPoint& global) const;

    Menu m_menu;
    MenuColors m_colors;
    int32_t m_hot = -1;
    bool m_done = false;
    UINT m_flags = 0;
    UINT m_result = 0;
    std::vector<RECT> m_rects;
    // Submenus: the menu this one was opened from and its item, how this one ended (by the
    // pointer outside it, and where), and the item whose submenu the hover timer will open.
    MenuWindow* m_parentMenu = nullptr;
    int32_t m_openedFrom = -1;
    bool m_endedOutside = false;
    QPoint m_endPoint;
    int32_t m_hoverItem = -1;
};

} // namespace platform
