#pragma once
// The play icon of a channel list: the PNG resource "PLAY" of type "PNGICON", drawn at
// 12 x 12 pixels with its per-pixel alpha over the row.
//
// FIXME: load and draw through imaging::c32bppDIB (LoadPicture_Resource, Render) once the
// alpha image is on the main line; until then the two functions below are the only places
// that touch the icon, and they decode the resource with Qt's image reader.

#include "platform/dc.h"

#include <QImage>

namespace controls {

class PlayIcon {
public:
    static constexpr int32_t kSize = 12;

    // Loads the resource once; false (and nothing drawn later) when it is missing or broken.
    bool load();
    bool loaded() const { return !m_image.isNull(); }
    // Blends the icon at (x, y), 12 x 12, opacity 100 %.
    void draw(platform::HDC hdc, int32_t x, int32_t y) const;

private:
    QImage m_image; // premultiplied ARGB, 12 x 12
};

} // namespace controls
