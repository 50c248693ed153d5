#include "menu.h"

#include "menu_window.h"
#include "window_functions.h"

#include <QObject>
#include <map>
#include <memory>

namespace platform {

namespace {

// System menus belong to their windows and go away with them.
std::map<HWND, std::unique_ptr<Menu>>& systemMenus() {
    static std::map<HWND, std::unique_ptr<Menu>> menus;
    return menus;
}

bool isSystemMenuOf(HMENU menu, HWND owner) {
    auto it = systemMenus().find(owner);
    return it != systemMenus().end() && it->second.get() == menu;
}

// The item `item` names: by position with MF_BYPOSITION, else the first with that command.
MenuItem* findItem(HMENU menu, UINT item, UINT flags) {
    if (flags & MF_BYPOSITION) return item < menu->items.size() ? &menu->items[item] : nullptr;
    for (MenuItem& m : menu->items) {
        if (m.id == item && !m.isSeparator() && !m.isPopup()) return &m;
    }
    return nullptr;
}

} // namespace

HMENU CreatePopupMenu() { return new Menu; }

bool DestroyMenu(HMENU menu) {
    if (!menu) return false;
    for (auto& [hwnd, owned] : systemMenus()) {
        if (owned.get() == menu) return false; // owned by its window
    }
    for (MenuItem& item : menu->items) {
        if (item.submenu) DestroyMenu(item.submenu);
    }
    delete menu;
    return true;
}

bool AppendMenu(HMENU menu, UINT flags, UINT id, const QString& text) {
    if (!menu) return false;
    menu->items.push_back(MenuItem{id, text, flags & ~MF_POPUP, nullptr});
    return true;
}

bool AppendSubMenu(HMENU menu, UINT flags, HMENU submenu, const QString& text) {
    if (!menu || !submenu || submenu == menu) return false;
    menu->items.push_back(MenuItem{0, text, flags | MF_POPUP, submenu});
    return true;
}

HMENU GetSubMenu(HMENU menu, int32_t pos) {
    if (!menu || pos < 0 || pos >= static_cast<int32_t>(menu->items.size())) return nullptr;
    const MenuItem& item = menu->items[static_cast<size_t>(pos)];
    return item.isPopup() ? item.submenu : nullptr;
}

int32_t GetMenuItemCount(HMENU menu) { return menu ? static_cast<int32_t>(menu->items.size()) : -1; }

UINT GetMenuItemID(HMENU menu, int32_t pos) {
    if (!menu || pos < 0 || pos >= static_cast<int32_t>(menu->items.size())) return 0xFFFFFFFFu;
    return menu->items[static_cast<size_t>(pos)].id;
}

int32_t EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    if (!menu) return -1;
    MenuItem* target = findItem(menu, item, flags);
    if (!target) return -1;
    const int32_t old = static_cast<int32_t>(target->flags & (MF_GRAYED | MF_DISABLED));
    target->flags = (target->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return old;
}

int32_t CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    if (!menu) return -1;
    MenuItem* target = findItem(menu, item, flags);
    if (!target || target->isSeparator()) return -1;
    const int32_t old = static_cast<int32_t>(target->flags & MF_CHECKED);
    target->flags = (target->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return old;
}

HMENU GetSystemMenu(HWND hwnd, bool revert) {
    if (!IsWindow(hwnd)) return nullptr;
    auto& menus = systemMenus();
    auto it = menus.find(hwnd);
    if (it == menus.end()) {
        it = menus.emplace(hwnd, std::make_unique<Menu>()).first;
        QObject::connect(hwnd, &QObject::destroyed, [hwnd] { systemMenus().erase(hwnd); });
    }
    Menu& m = *it->second;
    (void)revert;
    const uint32_t style = hwnd->style();
    const ShowState s = hwnd->showState();
    auto flag = [](bool enabled) { return enabled ? MF_STRING : (MF_STRING | MF_GRAYED); };
    m.items = {
        {static_cast<UINT>(SC_RESTORE), QStringLiteral("还原(&R)"), flag(s != ShowState::Normal), nullptr},
        {static_cast<UINT>(SC_MOVE), QStringLiteral("移动(&M)"), flag(s != ShowState::Maximized), nullptr},
        {static_cast<UINT>(SC_SIZE), QStringLiteral("大小(&S)"),
         flag((style & WS_THICKFRAME) && s == ShowState::Normal), nullptr},
        {static_cast<UINT>(SC_MINIMIZE), QStringLiteral("最小化(&N)"),
         flag((style & WS_MINIMIZEBOX) && s != ShowState::Minimized), nullptr},
        {static_cast<UINT>(SC_MAXIMIZE), QStringLiteral("最大化(&X)"),
         flag((style & WS_MAXIMIZEBOX) && s != ShowState::Maximized), nullptr},
        {0, QString(), MF_SEPARATOR, nullptr},
        {static_cast<UINT>(SC_CLOSE), QStringLiteral("关闭(&C)\tAlt+F4"), MF_STRING | MF_DEFAULT, nullptr},
    };
    return &m;
}

UINT TrackPopupMenu(HMENU menu, UINT flags, int32_t x, int32_t y, int32_t, HWND owner, const RECT*) {
    if (!menu || menu->items.empty()) return 0;
    // A menu takes the pointer: whoever held the capture is told to stop what it was doing.
    if (HWND cap = GetCapture()) {
        SendMessage(cap, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    if (IsWindow(owner)) SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    auto* popup = CreateWindowOf<MenuWindow>(*menu);
    popup->setDeleteOnDestroy(true);
    SendMessage(popup, MN_SIZEWINDOW, 0, 0);
    const UINT command = popup->run(x, y, flags);
    if (IsWindow(popup)) popup->destroyWindow();
    if (IsWindow(owner)) SendMessage(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    if (flags & TPM_RETURNCMD) return command;
    if (command && IsWindow(owner) && !(flags & TPM_NONOTIFY))
        PostMessage(owner, isSystemMenuOf(menu, owner) ? WM_SYSCOMMAND : WM_COMMAND, command, 0);
    return command ? 1 : 0;
}

} // namespace platform
