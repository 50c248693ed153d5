#pragma once
// The receiver of the menu windows the menu hook spots: while it lives, every menu the
// platform opens on this thread (the frame's system menu in practice) is restyled in the
// skin's colours — dark background, light text, green highlight.

#include "platform/intercept/menu_hook.h"
#include "platform/window/menu_window.h"

#include <QPointer>
#include <vector>

namespace controls {

class SkinMenuReceiver : public platform::IMenuReceiver {
public:
    SkinMenuReceiver();
    ~SkinMenuReceiver() override;
    SkinMenuReceiver(const SkinMenuReceiver&) = delete;
    SkinMenuReceiver& operator=(const SkinMenuReceiver&) = delete;

    static platform::MenuColors SkinColors();

    void MenuWindowCreated(platform::HWND menuWindow) override;

    // The menu windows handed over that still exist, oldest first.
    std::vector<platform::HWND> MenuWindows() const;
    // How many distinct menu windows were handed over in all.
    int32_t MenusSeen() const { return m_seen; }

private:
    std::vector<QPointer<platform::Window>> m_menus;
    int32_t m_seen = 0;
    platform::cMenuHook m_hook{this};
};

} // namespace controls
