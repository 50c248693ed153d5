#include "pc_mem_dc.h"

#include "draw_text_ellipsis.h"

namespace imaging {

using namespace platform;

void pcMemDC::rebuild(int32_t w, int32_t h) {
    m_surface.reset();
    // The platform hands back a 1 x 1 bitmap for a zero-sized request; the surface then
    // exists and simply has nothing worth copying until it is grown.
    m_surface = MemoryDC(std::max(1, w), std::max(1, h));
    if (!m_surface) {
        m_width = 0;
        m_height = 0;
    }
}

void pcMemDC::setWidth(int32_t w) {
    if (w <= m_width) return;
    m_width = w;
    rebuild(m_width, m_height);
}

void pcMemDC::setHeight(int32_t h) {
    if (h <= m_height) return;
    m_height = h;
    rebuild(m_width, m_height);
}

void pcMemDC::CreateFromPicture(const Picture& sPic) {
    m_surface.reset();
    m_width = 0;
    m_height = 0;
    if (sPic.isNothing()) return;
    setWidth(sPic.Width());
    setHeight(sPic.Height());
    if (m_surface) sPic.Render(m_surface.dc(), 0, 0);
}

void pcMemDC::Draw(HDC hdc, int32_t xSrc, int32_t ySrc, int32_t widthSrc, int32_t heightSrc, int32_t xDst, int32_t yDst,
                   bool UseMask) {
    if (!m_surface || !hdc) return;
    if (widthSrc < 1) widthSrc = m_width;
    if (heightSrc < 1) heightSrc = m_height;
    if (UseMask)
        TransparentBlt(hdc, xDst, yDst, widthSrc, heightSrc, m_surface.dc(), xSrc, ySrc, widthSrc, heightSrc,
                       kMaskColor);
    else BitBlt(hdc, xDst, yDst, widthSrc, heightSrc, m_surface.dc(), xSrc, ySrc, SRCCOPY);
}

void pcMemDC::StretchDraw(HDC hdc, int32_t xSrc, int32_t ySrc, int32_t widthSrc, int32_t heightSrc, int32_t xDst,
                          int32_t yDst, int32_t WidthDst, int32_t HeightDst) {
    if (!m_surface || !hdc) return;
    if (widthSrc < 1) widthSrc = m_width;
    if (heightSrc < 1) heightSrc = m_height;
    StretchBlt(hdc, xDst, yDst, WidthDst, HeightDst, m_surface.dc(), xSrc, ySrc, widthSrc, heightSrc, SRCCOPY);
}

void pcMemDC::AlphaDraw(HDC hdc, int32_t Level, int32_t xSrc, int32_t ySrc, int32_t widthSrc, int32_t heightSrc,
                        int32_t xDst, int32_t yDst, int32_t WidthDst, int32_t HeightDst) {
    if (!m_surface || !hdc) return;
    if (widthSrc < 1) widthSrc = m_width;
    if (heightSrc < 1) heightSrc = m_height;
    BLENDFUNCTION bf;
    bf.SourceConstantAlpha = static_cast<uint8_t>(std::clamp(Level, 0, 255));
    AlphaBlend(hdc, xDst, yDst, WidthDst, HeightDst, m_surface.dc(), xSrc, ySrc, widthSrc, heightSrc, bf);
}

int32_t pcMemDC::pDrawText(HDC hdc, const QString& lpStr, int32_t x, int32_t y, int32_t Width, int32_t Height,
                           uint32_t wFormat) {
    return DrawTextEllipsis(hdc, lpStr, x, y, Width, Height, wFormat);
}

} // namespace imaging
