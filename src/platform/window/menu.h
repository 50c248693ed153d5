#pragma once
// Menus: popup menus, a window's system menu, and TrackPopupMenu, whose popup is a window of
// class "#32768" (MenuWindow) created through the layer, so thread hooks see it being made.

#include "messages.h"

#include <QString>
#include <vector>

namespace platform {

struct MenuItem {
    UINT id = 0;
    QString text;
    UINT flags = MF_STRING;
    HMENU submenu = nullptr;
    bool isSeparator() const { return (flags & MF_SEPARATOR) != 0; }
    bool isDisabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
    bool isChecked() const { return (flags & MF_CHECKED) != 0; }
    bool isPopup() const { return (flags & MF_POPUP) != 0 && submenu != nullptr; }
};

class Menu {
public:
    std::vector<MenuItem> items;
};

HMENU CreatePopupMenu();
bool DestroyMenu(HMENU menu);
bool AppendMenu(HMENU menu, UINT flags, UINT id, const QString& text);
// Appends an item that opens `submenu` (MF_POPUP is implied; the platform passes the submenu
// in AppendMenu's command argument, which a 32-bit command cannot hold here). The menu owns the submenu from
// then on: DestroyMenu destroys it with its parent.
bool AppendSubMenu(HMENU menu, UINT flags, HMENU submenu, const QString& text);
// The submenu an item at `pos` opens, null for none.
HMENU GetSubMenu(HMENU menu, int32_t pos);
int32_t GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int32_t pos);
// Returns the previous state flags, or -1 when there is no such item.
int32_t EnableMenuItem(HMENU menu, UINT item, UINT flags);
// Sets (MF_CHECKED) or clears (MF_UNCHECKED) an item's check mark; the item by command or,
// with MF_BYPOSITION, by position. Returns the previous state, or -1 when there is no such item.
int32_t CheckMenuItem(HMENU menu, UINT item, UINT flags);

// The window's system menu (Restore, Move, Size, Minimize, Maximize, Close), its items
// enabled for the window's styles and show state. The window owns it; `revert` rebuilds it.
HMENU GetSystemMenu(HWND hwnd, bool revert);

// Shows `menu` at (x, y) and runs until an item is chosen or the menu is dismissed. With
// TPM_RETURNCMD returns the chosen command (0 when dismissed); otherwise posts WM_COMMAND
// (WM_SYSCOMMAND for the owner's system menu) to `owner` and returns whether one was chosen.
// A left-button release picks an item, a right-button one only with TPM_RIGHTBUTTON; a press
// outside the menu or Escape dismisses it; the arrow keys move the highlight and Enter picks.
UINT TrackPopupMenu(HMENU menu, UINT flags, int32_t x, int32_t y, int32_t reserved, HWND owner, const RECT* rc);

} // namespace platform
