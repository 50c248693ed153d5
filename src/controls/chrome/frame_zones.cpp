#include "frame_zones.h"

#include "platform/window/window_functions.h"

namespace controls {

using namespace platform;

void FrameZones::layout(int32_t W, int32_t H) {
    m_width = W;
    m_height = H;
    m_zones = {
        RECT{0, 0, 8, 24},         // top-left
        RECT{8, 0, W - 8, 6},      // top
        RECT{W - 8, 0, W, 24},     // top-right
        RECT{0, 24, 8, H - 32},    // left: stops 24 pixels above the bottom-left corner
        RECT{W - 8, 24, W, H - 8}, // right
        RECT{0, H - 8, 8, H},      // bottom-left
        RECT{W - 32, H - 8, W, H}, // bottom-right: the last 32 pixels of the bottom edge
        RECT{8, H - 8, W - 8, H},  // bottom
    };
    // Close at W - 17, then every 17 pixels to the left: maximise, minimise, keep on top, menu.
    const int32_t close = W - 17;
    m_buttons[2] = POINT{close, kButtonTop};
    m_buttons[1] = POINT{close - 17, kButtonTop};
    m_buttons[0] = POINT{close - 34, kButtonTop};
    m_buttons[4] = POINT{close - 51, kButtonTop};
    m_buttons[3] = POINT{close - 68, kButtonTop};
}

int32_t FrameZones::zoneAt(int32_t x, int32_t y) const {
    for (int32_t i = 0; i < kZoneCount; ++i) {
        const RECT& r = m_zones[static_cast<size_t>(i)];
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) return i;
    }
    return -1;
}

int32_t FrameZones::hitCode(int32_t zone) {
    static constexpr int32_t codes[kZoneCount] = {HTTOPLEFT, HTTOP,        HTTOPRIGHT,    HTLEFT,
                                                  HTRIGHT,   HTBOTTOMLEFT, HTBOTTOMRIGHT, HTBOTTOM};
    return zone >= 0 && zone < kZoneCount ? codes[zone] : HTNOWHERE;
}

int32_t FrameZones::pointerShape(int32_t zone) {
    static constexpr int32_t shapes[kZoneCount] = {IDC_SIZENWSE, IDC_SIZENS,   IDC_SIZENESW, IDC_SIZEWE,
                                                   IDC_SIZEWE,   IDC_SIZENESW, IDC_SIZENWSE, IDC_SIZENS};
    return zone >= 0 && zone < kZoneCount ? shapes[zone] : IDC_ARROW;
}

int32_t FrameZones::buttonAt(int32_t x, int32_t y, const std::array<bool, kButtonCount>& visible) const {
    for (int32_t i = 0; i < kButtonCount; ++i) {
        if (!visible[static_cast<size_t>(i)]) continue;
        const POINT p = m_buttons[static_cast<size_t>(i)];
        if (x >= p.x && x < p.x + kButtonSize && y >= p.y && y < p.y + kButtonSize) return i;
    }
    return -1;
}

} // namespace controls
