#pragma once
// The geometry of the skinned window frame: the eight resize zones along the frame of a
// W x H control and the five caption buttons. Edges belong to their rectangles.
//
//    0      8                      W-8    W
//  0 +------+-----------------------+------+
//    |  TL  |          T (to y 6)   |  TR  |
//    |      |                       |      |
// 24 +------+    caption strip      +------+
//    |  L   |                       |  R   |
//    |      |                       |      |
// H-32      |                       |      |
//    (gap)  |                       |      |
// H-8+------+-----------------+-----+------+
//    |  BL  |       B         |     BR     |
//  H +------+-----------------+------------+
//                          W-32
// Zones are tested in the order TL, T, TR, L, R, BL, BR, B; the first match wins.

#include "platform/window/messages.h"

#include <array>
#include <cstddef>

namespace controls {

class FrameZones {
public:
    static constexpr int32_t kZoneCount = 8;
    static constexpr int32_t kButtonCount = 5;
    static constexpr int32_t kButtonSize = 11;
    static constexpr int32_t kButtonTop = 6;
    static constexpr int32_t kCaptionHeight = 24;

    // Recomputes the zones and button positions for a control of W x H.
    void layout(int32_t W, int32_t H);
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }

    // Zone index (0..7 in test order) containing (x, y), -1 for none.
    int32_t zoneAt(int32_t x, int32_t y) const;
    const platform::RECT& zone(int32_t i) const { return m_zones[static_cast<size_t>(i)]; }
    // The hit code (HT*) and the pointer shape (IDC_*) of a zone.
    static int32_t hitCode(int32_t zone);
    static int32_t pointerShape(int32_t zone);

    // Top-left corner of caption button i (0 minimise, 1 maximise, 2 close, 3 menu,
    // 4 keep on top); positions do not depend on which buttons are shown.
    platform::POINT buttonPos(int32_t i) const { return m_buttons[static_cast<size_t>(i)]; }
    // The button whose 11 x 11 box contains (x, y), among those `visible`; -1 for none.
    int32_t buttonAt(int32_t x, int32_t y, const std::array<bool, kButtonCount>& visible) const;

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::array<platform::RECT, kZoneCount> m_zones{};
    std::array<platform::POINT, kButtonCount> m_buttons{};
};

} // namespace controls
