#pragma once
// pcMemDC: an off-screen surface in the screen's format, usually filled once from a skin
// picture and then copied piecewise onto windows — whole tiles, stretched strips, tiles with
// the magenta key, or blended with a constant opacity.

#include "platform/gdi/memory_dc.h"
#include "platform/gdi/picture.h"

#include <QString>

namespace imaging {

class pcMemDC {
public:
    pcMemDC() = default;
    pcMemDC(const pcMemDC&) = delete;
    pcMemDC& operator=(const pcMemDC&) = delete;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    // Grow only: a larger value rebuilds the surface (its contents are lost); a smaller or
    // equal one does nothing.
    void setWidth(int32_t w);
    void setHeight(int32_t h);
    platform::HDC hdc() const { return m_surface.dc(); }

    // Destroys the surface, then (for a picture that is not Nothing) sizes it to the picture
    // and copies the picture to (0, 0).
    void CreateFromPicture(const platform::Picture& sPic);

    // widthSrc / heightSrc below 1 mean the surface's own width / height. A missing surface
    // or target draws nothing.
    void Draw(platform::HDC hdc, int32_t xSrc = 0, int32_t ySrc = 0, int32_t widthSrc = 0, int32_t heightSrc = 0,
              int32_t xDst = 0, int32_t yDst = 0, bool UseMask = false);
    void StretchDraw(platform::HDC hdc, int32_t xSrc, int32_t ySrc, int32_t widthSrc, int32_t heightSrc, int32_t xDst,
                     int32_t yDst, int32_t WidthDst, int32_t HeightDst);
    // Stretched copy blended with constant opacity `Level` (0..255), no per-pixel alpha.
    void AlphaDraw(platform::HDC hdc, int32_t Level, int32_t xSrc, int32_t ySrc, int32_t widthSrc, int32_t heightSrc,
                   int32_t xDst, int32_t yDst, int32_t WidthDst, int32_t HeightDst);
    // The shared ellipsis text rule (DrawTextEllipsis).
    int32_t pDrawText(platform::HDC hdc, const QString& lpStr, int32_t x, int32_t y, int32_t Width, int32_t Height,
                      uint32_t wFormat);

    // The magenta key of masked copies.
    static constexpr platform::COLORREF kMaskColor = 0x00FF00FF;

private:
    void rebuild(int32_t w, int32_t h);

    platform::MemoryDC m_surface;
    int32_t m_width = 0;
    int32_t m_height = 0;
};

} // namespace imaging
