#include "play_icon.h"

namespace controls {

PlayIcon::PlayIcon() {
    // The icon is the program's own PNG: it goes through the program's own decoder rather
    // than the platform's image reader.
    m_image.setIsGDIplusEnabled(false);
    m_image.setManageOwnDC(true);
}

bool PlayIcon::load() { return m_image.LoadPicture_Resource(QStringLiteral("PLAY"), QStringLiteral("PNGICON")); }

void PlayIcon::draw(platform::HDC hdc, int32_t x, int32_t y) {
    if (!hdc || !loaded()) return;
    m_image.Render(hdc, x, y, kSize, kSize, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, 0, false);
}

} // namespace controls
