#include "skin_menu_receiver.h"

#include <algorithm>

namespace controls {

using namespace platform;

SkinMenuReceiver::SkinMenuReceiver() = default;

SkinMenuReceiver::~SkinMenuReceiver() { m_hook.setReceiver(nullptr); }

MenuColors SkinMenuReceiver::SkinColors() {
    MenuColors c;
    c.background = 0x302C2B;
    c.text = 0xDCDCDC;
    c.disabledText = 0x7D7979;
    c.highlight = 0x3C9A3C;
    c.highlightText = 0xFFFFFF;
    c.separator = 0x4B4949;
    c.border = 0x000000;
    return c;
}

void SkinMenuReceiver::MenuWindowCreated(HWND menuWindow) {
    auto* menu = qobject_cast<MenuWindow*>(menuWindow);
    if (!menu) return;
    // The hook reports a menu window at its creation and again when it is sized; it is
    // recorded and restyled once.
    m_menus.erase(std::remove_if(m_menus.begin(), m_menus.end(), [](const QPointer<Window>& w) { return !w; }),
                  m_menus.end());
    const bool known =
        std::any_of(m_menus.begin(), m_menus.end(), [&](const QPointer<Window>& w) { return w.data() == menuWindow; });
    if (known) return;
    m_menus.emplace_back(menu);
    ++m_seen;
    menu->setColors(SkinColors());
}

std::vector<HWND> SkinMenuReceiver::MenuWindows() const {
    std::vector<HWND> out;
    for (const auto& w : m_menus) {
        if (w) out.push_back(w.data());
    }
    return out;
}

} // namespace controls
