#pragma once
// The play icon of a channel list: the PNG resource "PLAY" of type "PNGICON", decoded into a
// 32-bit alpha image and drawn at 12 x 12 pixels with its per-pixel alpha over the row.

#include "imaging/dib_32bpp.h"
#include "platform/gdi/dc.h"

namespace controls {

class PlayIcon {
public:
    static constexpr int32_t kSize = 12;

    PlayIcon();
    // Loads the resource once; false (and nothing drawn later) when it is missing or broken.
    bool load();
    bool loaded() const { return m_image.Handle() != nullptr; }
    // Blends the icon at (x, y), 12 x 12, opacity 100 %.
    void draw(platform::HDC hdc, int32_t x, int32_t y);
    const imaging::c32bppDIB& image() const { return m_image; }

private:
    imaging::c32bppDIB m_image;
};

} // namespace controls
