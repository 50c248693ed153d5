#pragma once
// The popup window of a tracked menu (class "#32768"): draws its items through its own
// context and reports the chosen one. Its colours may be restyled by an owner-drawn menu
// control while it lives.

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
    int32_t itemAt(int32_t y) const;

    Menu m_menu;
    MenuColors m_colors;
    int32_t m_hot = -1;
    bool m_done = false;
    UINT m_flags = 0;
    UINT m_result = 0;
    std::vector<RECT> m_rects;
};

} // namespace platform
