#include "c_mem_dc.h"

#include "font_conversion.h"

#include "platform/gdi/colors.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/memory_dc.h"
#include "platform/gdi/select_guard.h"

#include <QApplication>
#include <QFontInfo>
#include <algorithm>
#include <utility>

namespace controls {

using namespace platform;

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

// A context for a free-standing bitmap that must not be changed by being selected; the
// bitmap is selected out again before the context goes.
class SelectedBitmap {
public:
    explicit SelectedBitmap(HBITMAP bmp) : m_dc(CreateCompatibleDC(nullptr)), m_select(m_dc.get(), bmp) {}
    HDC dc() const { return m_dc.get(); }

private:
    DcHandle m_dc;
    SelectGuard m_select;
};

// Paints the one-bit image `mono` onto `dst` at (x, y): ink (0 bits) in `ink`, every other
// pixel left alone. The two-colour image uses `spare` as its transparent background.
bool drawInk(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC mono, COLORREF ink, COLORREF spare) {
    const MemoryDC two(w, h, dst);
    if (!two) return false;
    // Monochrome to colour: 0 bits take the destination's text colour, 1 bits its background.
    SetTextColor(two.dc(), ink);
    SetBkColor(two.dc(), spare);
    if (!platform::BitBlt(two.dc(), 0, 0, w, h, mono, 0, 0, SRCCOPY)) return false;
    return transparentCopy(dst, x, y, w, h, two.dc(), 0, 0, spare);
}

} // namespace

bool transparentCopy(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
                     COLORREF key) {
    if (!dst || !src || w <= 0 || h <= 0) return false;
    const MemoryDC work(w, h, dst);
    const MemoryDC source(w, h, dst);
    const MemoryDC mask = MemoryDC::monochrome(w, h);
    if (!work || !source || !mask) return false;
    // 1. The destination area, 2. the source area.
    platform::BitBlt(work.dc(), 0, 0, w, h, dst, x, y, SRCCOPY);
    SetBkColor(source.dc(), GetBkColor(src));
    SetTextColor(source.dc(), GetTextColor(src));
    platform::BitBlt(source.dc(), 0, 0, w, h, src, sx, sy, SRCCOPY);
    // 3. The mask: key pixels 1, all others 0.
    SetBkColor(source.dc(), key & 0xFFFFFF);
    platform::BitBlt(mask.dc(), 0, 0, w, h, source.dc(), 0, 0, SRCCOPY);
    // 4. Key pixels of the source copy become black (destination AND NOT mask, the mask's
    //    1 bits expanding to white).
    SetTextColor(source.dc(), kBlack);
    SetBkColor(source.dc(), kWhite);
    platform::BitBlt(source.dc(), 0, 0, w, h, mask.dc(), 0, 0, DSna);
    // 5. Opaque source pixels become black in the destination copy, then the source is ORed in.
    SetTextColor(work.dc(), kBlack);
    SetBkColor(work.dc(), kWhite);
    platform::BitBlt(work.dc(), 0, 0, w, h, mask.dc(), 0, 0, SRCAND);
    platform::BitBlt(work.dc(), 0, 0, w, h, source.dc(), 0, 0, SRCPAINT);
    // 6. Back to the destination.
    return platform::BitBlt(dst, x, y, w, h, work.dc(), 0, 0, SRCCOPY);
}

bool embossedCopy(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, COLORREF key,
                  COLORREF hi, COLORREF sh) {
    if (!dst || !src || w <= 0 || h <= 0) return false;
    key &= 0xFFFFFF;
    hi &= 0xFFFFFF;
    sh &= 0xFFFFFF;
    // 1. Ink = every pixel that is neither the key nor white, as 0 bits of a one-bit image.
    const MemoryDC mono = MemoryDC::monochrome(w, h);
    if (!mono) return false;
    if (key == kWhite) {
        const COLORREF oldBk = SetBkColor(src, kWhite);
        platform::BitBlt(mono.dc(), 0, 0, w, h, src, sx, sy, SRCCOPY);
        SetBkColor(src, oldBk);
    } else {
        const MemoryDC white(w, h, dst);
        if (!white) return false;
        platform::PatBlt(white.dc(), 0, 0, w, h, WHITENESS);
        if (!transparentCopy(white.dc(), 0, 0, w, h, src, sx, sy, key)) return false;
        SetBkColor(white.dc(), kWhite);
        platform::BitBlt(mono.dc(), 0, 0, w, h, white.dc(), 0, 0, SRCCOPY);
    }
    // 2. The destination area.
    const MemoryDC work(w, h, dst);
    if (!work) return false;
    platform::BitBlt(work.dc(), 0, 0, w, h, dst, x, y, SRCCOPY);
    // 3. A spare colour that is neither highlight nor shadow serves as the transparent key.
    COLORREF spare = kBlack;
    for (COLORREF c : {kBlack, COLORREF{0x0000FF}, COLORREF{0xFF0000}}) {
        if (c != hi && c != sh) {
            spare = c;
            break;
        }
    }
    // 4. Highlight one pixel down and right, shadow on top.
    if (!drawInk(work.dc(), 1, 1, w - 1, h - 1, mono.dc(), hi, spare)) return false;
    if (!drawInk(work.dc(), 0, 0, w, h, mono.dc(), sh, spare)) return false;
    // 5. Back to the destination.
    return platform::BitBlt(dst, x, y, w, h, work.dc(), 0, 0, SRCCOPY);
}

cMemDC::~cMemDC() { Destroy(); }

HDC cMemDC::Init(int32_t PixelWidth, int32_t PixelHeight, HDC hParentDC, HDC hMemoryDC) {
    if (m_hdc) Destroy();
    m_width = PixelWidth;
    m_height = PixelHeight;
    HDC parent = hParentDC ? hParentDC : GetDC(nullptr);
    if (hMemoryDC) {
        m_hdc = hMemoryDC;
        m_adopted = true;
    } else {
        HDC dc = CreateCompatibleDC(parent);
        HBITMAP bmp = dc ? CreateCompatibleBitmap(parent, PixelWidth, PixelHeight) : nullptr;
        if (!dc || !bmp) {
            if (dc) DeleteDC(dc);
            if (!hParentDC) ReleaseDC(nullptr, parent);
            m_width = m_height = 0;
            return nullptr;
        }
        m_hdc = dc;
        m_adopted = false;
        m_bitmap = bmp;
        m_oldBitmap = SelectObject(m_hdc, m_bitmap);
    }
    // A palette would be built here for a palette-based parent; the layer's contexts are all
    // true colour (no RC_PALETTE), so there is none to build.
    if (hParentDC) {
        m_parent = hParentDC;
        SetBkColor(m_hdc, GetBkColor(hParentDC));
        SetTextColor(m_hdc, GetTextColor(hParentDC));
        SetBkMode(m_hdc, GetBkMode(hParentDC));
        if (hParentDC->font()) setFont(fontDescFromDC(hParentDC));
    } else {
        ReleaseDC(nullptr, parent);
        m_parent = nullptr;
    }
    return m_hdc;
}

void cMemDC::Destroy() {
    if (!m_hdc) return;
    if (m_oldPen) SelectObject(m_hdc, m_oldPen);
    if (m_oldBrush) SelectObject(m_hdc, m_oldBrush);
    if (m_oldBitmap) SelectObject(m_hdc, m_oldBitmap);
    if (m_oldFont) SelectObject(m_hdc, m_oldFont);
    if (m_pen && m_ownPen) DeleteObject(m_pen);
    if (m_brush && m_ownBrush && m_brush != m_dotBrush) DeleteObject(m_brush);
    if (m_dotBrush) DeleteObject(m_dotBrush);
    if (m_font) DeleteObject(m_font);
    if (m_bitmap) DeleteObject(m_bitmap);
    if (!m_adopted) DeleteDC(m_hdc);
    m_hdc = nullptr;
    m_adopted = false;
    m_width = m_height = 0;
    m_parent = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_brush = nullptr;
    m_ownBrush = false;
    m_oldBrush = nullptr;
    m_pen = nullptr;
    m_ownPen = false;
    m_oldPen = nullptr;
    m_font = nullptr;
    m_oldFont = nullptr;
    m_dotBrush = nullptr;
}

HBITMAP cMemDC::DetachBitmap(HBITMAP hNewBitmap) {
    if (!m_hdc) return nullptr;
    HBITMAP previous = m_bitmap;
    if (previous && m_oldBitmap) SelectObject(m_hdc, m_oldBitmap);
    m_bitmap = hNewBitmap;
    if (hNewBitmap) {
        HGDIOBJ before = SelectObject(m_hdc, hNewBitmap);
        if (!m_oldBitmap) m_oldBitmap = before;
    }
    return previous;
}

COLORREF cMemDC::BackColor() const { return m_hdc ? GetBkColor(m_hdc) : 0; }
void cMemDC::setBackColor(uint32_t clr) {
    if (m_hdc && clr != kNoColor) SetBkColor(m_hdc, TranslateColor(clr));
}
COLORREF cMemDC::ForeColor() const { return m_hdc ? GetTextColor(m_hdc) : 0; }
void cMemDC::setForeColor(uint32_t clr) {
    if (m_hdc && clr != kNoColor) SetTextColor(m_hdc, TranslateColor(clr));
}
int32_t cMemDC::BackStyle() const { return m_hdc ? GetBkMode(m_hdc) : 0; }
void cMemDC::setBackStyle(int32_t mode) {
    if (m_hdc) SetBkMode(m_hdc, mode);
}
int32_t cMemDC::DrawMode() const { return m_hdc ? GetROP2(m_hdc) : 0; }
void cMemDC::setDrawMode(int32_t rop2) {
    if (m_hdc) SetROP2(m_hdc, rop2);
}

void cMemDC::selectBrush(HBRUSH hbr, bool owned) {
    if (!m_hdc || !hbr) return;
    if (hbr == m_brush) {
        m_ownBrush = m_ownBrush || owned;
        return;
    }
    HGDIOBJ before = SelectObject(m_hdc, hbr);
    if (!m_oldBrush) m_oldBrush = before;
    else if (m_brush && m_ownBrush && m_brush != m_dotBrush) DeleteObject(m_brush);
    m_brush = hbr;
    m_ownBrush = owned;
}

void cMemDC::selectPen(HPEN hpn, bool owned) {
    if (!m_hdc || !hpn) return;
    if (hpn == m_pen) {
        m_ownPen = m_ownPen || owned;
        return;
    }
    HGDIOBJ before = SelectObject(m_hdc, hpn);
    if (!m_oldPen) m_oldPen = before;
    else if (m_pen && m_ownPen) DeleteObject(m_pen);
    m_pen = hpn;
    m_ownPen = owned;
}

FontDesc cMemDC::Font() const {
    if (!m_hdc) return {};
    return fontDescFromDC(m_hdc);
}

void cMemDC::setFont(const FontDesc& font) {
    if (!m_hdc) return;
    HFONT f = CreateFontIndirect(logFontFromDesc(font, GetDeviceCaps(m_hdc, LOGPIXELSY)));
    if (!f) return;
    HGDIOBJ before = SelectObject(m_hdc, f);
    if (!m_oldFont) m_oldFont = before;
    if (m_font) DeleteObject(m_font);
    m_font = f;
}

int32_t cMemDC::FontHeight() const {
    if (!m_hdc) return 0;
    TEXTMETRIC tm;
    return GetTextMetrics(m_hdc, &tm) ? tm.tmHeight : 0;
}

namespace {
FontDesc descFromQFont(const QFont& f) {
    FontDesc d;
    d.Name = QFontInfo(f).family();
    d.Size = f.pointSizeF() > 0 ? f.pointSizeF() : 9.0;
    d.Bold = f.bold();
    d.Weight = static_cast<int16_t>(f.bold() ? FW_BOLD : FW_NORMAL);
    d.Italic = f.italic();
    d.Underline = f.underline();
    d.Strikethrough = f.strikeOut();
    return d;
}
} // namespace

FontDesc cMemDC::SystemMenuFont() { return descFromQFont(QApplication::font("QMenu")); }
FontDesc cMemDC::SystemIconFont() { return descFromQFont(QApplication::font()); }

int32_t cMemDC::TextWidth(const QString& sText) const {
    SIZE sz;
    return m_hdc && GetTextExtentPoint32(m_hdc, sText, &sz) ? sz.cx : 0;
}

int32_t cMemDC::TextHeight(const QString& sText) const {
    SIZE sz;
    return m_hdc && GetTextExtentPoint32(m_hdc, sText, &sz) ? sz.cy : 0;
}

HBRUSH cMemDC::DotBrush() {
    if (!m_hdc) return nullptr;
    if (!m_dotBrush) {
        m_dotBrush = createCheckerBrush();
        if (!m_dotBrush) return static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    }
    return m_dotBrush;
}

HBRUSH cMemDC::CreateBrush(uint32_t clrFill, uint32_t lStyle, int32_t lHatch) const {
    LOGBRUSH lb;
    lb.lbStyle = lStyle;
    lb.lbColor = clrFill == kNoColor ? 0 : TranslateColor(clrFill);
    lb.lbHatch = lHatch;
    return CreateBrushIndirect(lb);
}

HPEN cMemDC::CreatePen(uint32_t clrOutline, int32_t lStyle, int32_t lWidth) const {
    return platform::CreatePen(lStyle, lWidth, clrOutline == kNoColor ? 0 : TranslateColor(clrOutline));
}

void cMemDC::fixRect(int32_t& l, int32_t& t, int32_t& r, int32_t& b) const {
    if (r < l) r = m_width;
    if (b < t) b = m_height;
}

void cMemDC::Cls(uint32_t clrFill, HBRUSH hbrFill) { FillRect(0, 0, m_width, m_height, clrFill, hbrFill); }

void cMemDC::FillRect(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFill, HBRUSH hbrFill) {
    if (!m_hdc) return;
    fixRect(LeftX, TopY, RightX, BottomY);
    const RECT rc{LeftX, TopY, RightX, BottomY};
    if (hbrFill) {
        platform::FillRect(m_hdc, rc, hbrFill);
    } else if (clrFill != kNoColor) {
        const BrushHandle b(CreateSolidBrush(TranslateColor(clrFill)));
        platform::FillRect(m_hdc, rc, b.get());
    }
}

void cMemDC::FrameRect(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFill,
                       HBRUSH hbrFrame) {
    if (!m_hdc) return;
    fixRect(LeftX, TopY, RightX, BottomY);
    const RECT rc{LeftX, TopY, RightX, BottomY};
    if (hbrFrame) {
        platform::FrameRect(m_hdc, rc, hbrFrame);
    } else if (clrFill != kNoColor) {
        const BrushHandle b(CreateSolidBrush(TranslateColor(clrFill)));
        platform::FrameRect(m_hdc, rc, b.get());
    }
}

void cMemDC::Rectangle(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFill, HBRUSH hbrFill,
                       uint32_t clrOutline, HPEN hpnOutline) {
    if (!m_hdc) return;
    fixRect(LeftX, TopY, RightX, BottomY);
    if (hbrFill) selectBrush(hbrFill, false);
    else if (clrFill != kNoColor) selectBrush(CreateSolidBrush(TranslateColor(clrFill)), true);
    if (hpnOutline) selectPen(hpnOutline, false);
    else if (clrOutline != kNoColor) selectPen(platform::CreatePen(PS_SOLID, 1, TranslateColor(clrOutline)), true);
    platform::Rectangle(m_hdc, LeftX, TopY, RightX, BottomY);
}

void cMemDC::DrawEllipse(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrOutline,
                         HPEN hpnOutline) {
    if (!m_hdc) return;
    fixRect(LeftX, TopY, RightX, BottomY);
    if (hpnOutline) selectPen(hpnOutline, false);
    else if (clrOutline != kNoColor) selectPen(platform::CreatePen(PS_SOLID, 1, TranslateColor(clrOutline)), true);
    // Equal start and end rays draw the whole ellipse.
    Arc(m_hdc, LeftX, TopY, RightX, BottomY, LeftX, TopY, LeftX, TopY);
}

void cMemDC::DrawLine(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, uint32_t clrLine, HPEN hpnLine) {
    if (!m_hdc) return;
    if (hpnLine) selectPen(hpnLine, false);
    else if (clrLine != kNoColor) selectPen(platform::CreatePen(PS_SOLID, 1, TranslateColor(clrLine)), true);
    if (X1 >= 0) MoveToEx(m_hdc, X1, Y1, nullptr);
    LineTo(m_hdc, X2, Y2);
}

bool cMemDC::DrawEdge(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t edge, uint32_t flags) {
    if (!m_hdc) return false;
    fixRect(LeftX, TopY, RightX, BottomY);
    RECT rc{LeftX, TopY, RightX, BottomY};
    return platform::DrawEdge(m_hdc, &rc, edge, flags);
}

bool cMemDC::DrawFrameControl(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t Type_,
                              uint32_t Flags) {
    if (!m_hdc) return false;
    fixRect(LeftX, TopY, RightX, BottomY);
    RECT rc{LeftX, TopY, RightX, BottomY};
    return platform::DrawFrameControl(m_hdc, &rc, Type_, Flags);
}

int32_t cMemDC::DrawText(const QString& Text, int32_t& LeftX, int32_t& TopY, int32_t& RightX, int32_t& BottomY,
                         uint32_t dtFlags) {
    if (!m_hdc) return 0;
    RECT rc{LeftX, TopY, RightX, BottomY};
    DRAWTEXTPARAMS params;
    const int32_t h = DrawTextEx(m_hdc, Text, &rc, dtFlags, &params);
    LeftX = rc.left;
    TopY = rc.top;
    RightX = rc.right;
    BottomY = rc.bottom;
    return h;
}

bool cMemDC::ExtTextOut(const QString& Text, int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY,
                        int32_t xOffset, int32_t yOffset, uint32_t etoFlags) {
    if (!m_hdc) return false;
    fixRect(LeftX, TopY, RightX, BottomY);
    const RECT rc{LeftX, TopY, RightX, BottomY};
    return platform::ExtTextOut(m_hdc, xOffset, yOffset, etoFlags, &rc, Text);
}

COLORREF cMemDC::GetPixel(int32_t x, int32_t y) const { return m_hdc ? platform::GetPixel(m_hdc, x, y) : 0; }

COLORREF cMemDC::SetPixel(int32_t x, int32_t y, uint32_t clrColor) {
    if (!m_hdc || clrColor == kNoColor) return 0;
    return platform::SetPixel(m_hdc, x, y, TranslateColor(clrColor));
}

void cMemDC::NormalizeRect(int32_t& LeftX, int32_t& TopY, int32_t& RightX, int32_t& BottomY) {
    if (LeftX > RightX) std::swap(LeftX, RightX);
    if (TopY > BottomY) std::swap(TopY, BottomY);
}

void cMemDC::SetClipRect(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY) {
    if (!m_hdc) return;
    if (LeftX < 0) {
        SelectClipRgn(m_hdc, nullptr);
        return;
    }
    NormalizeRect(LeftX, TopY, RightX, BottomY);
    // The context keeps a copy of the clip; the region itself goes at once.
    const RegionHandle rgn(CreateRectRgn(LeftX, TopY, RightX, BottomY));
    if (rgn) SelectClipRgn(m_hdc, rgn.get());
}

bool cMemDC::BitBlt(HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight, int32_t xSrc,
                    int32_t ySrc, uint32_t dwRop) {
    HDC dst = destination(hdcDest);
    if (!m_hdc || !dst) return false;
    if (nWidth == 0) nWidth = m_width;
    if (nHeight == 0) nHeight = m_height;
    return platform::BitBlt(dst, xDest, yDest, nWidth, nHeight, m_hdc, xSrc, ySrc, dwRop);
}

bool cMemDC::StretchBlt(HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nDestWidth, int32_t nDestHeight,
                        int32_t xSrc, int32_t ySrc, int32_t nSrcWidth, int32_t nSrcHeight, uint32_t dwRop) {
    HDC dst = destination(hdcDest);
    if (!m_hdc || !dst) return false;
    if (nSrcWidth == 0) nSrcWidth = m_width;
    if (nSrcHeight == 0) nSrcHeight = m_height;
    if (nDestWidth == 0) nDestWidth = m_width;
    if (nDestHeight == 0) nDestHeight = m_height;
    return platform::StretchBlt(dst, xDest, yDest, nDestWidth, nDestHeight, m_hdc, xSrc, ySrc, nSrcWidth, nSrcHeight,
                                dwRop);
}

bool cMemDC::LoadBlt(HDC hdcSrc, int32_t xSrc, int32_t ySrc, int32_t xDest, int32_t yDest, int32_t nWidth,
                     int32_t nHeight, uint32_t dwRop) {
    HDC src = destination(hdcSrc);
    if (!m_hdc || !src) return false;
    if (nWidth == 0) nWidth = m_width;
    if (nHeight == 0) nHeight = m_height;
    return platform::BitBlt(m_hdc, xDest, yDest, nWidth, nHeight, src, xSrc, ySrc, dwRop);
}

bool cMemDC::SetDIBits(int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight,
                       const std::vector<uint32_t>& aBits, int32_t bitsWidth, int32_t bitsHeight, uint32_t dwRop) {
    if (!m_hdc || bitsWidth <= 0 || bitsHeight <= 0) return false;
    if (static_cast<uint64_t>(bitsWidth) * static_cast<uint64_t>(bitsHeight) > aBits.size()) return false;
    if (nWidth == 0) nWidth = m_width;
    if (nHeight == 0) nHeight = m_height;
    BITMAPINFOHEADER h;
    h.biWidth = bitsWidth;
    h.biHeight = -bitsHeight;
    h.biBitCount = 32;
    return StretchDIBits(m_hdc, xDest, yDest, nWidth, nHeight, 0, 0, bitsWidth, bitsHeight, aBits.data(), h, dwRop) !=
           0;
}

bool cMemDC::TransBlt(HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight, int32_t xSrc,
                      int32_t ySrc, uint32_t clrMask) {
    HDC dst = destination(hdcDest);
    if (!m_hdc || !dst) return false;
    if (nWidth == 0) nWidth = m_width;
    if (nHeight == 0) nHeight = m_height;
    return transparentCopy(dst, xDest, yDest, nWidth, nHeight, m_hdc, xSrc, ySrc, TranslateColor(clrMask));
}

bool cMemDC::DisabledBlt(HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight, int32_t xSrc,
                         int32_t ySrc, uint32_t clrMask, uint32_t clrHighlight, uint32_t clrShadow) {
    HDC dst = destination(hdcDest);
    if (!m_hdc || !dst) return false;
    if (nWidth == 0) nWidth = m_width;
    if (nHeight == 0) nHeight = m_height;
    return embossedCopy(dst, xDest, yDest, nWidth, nHeight, m_hdc, xSrc, ySrc, TranslateColor(clrMask),
                        TranslateColor(clrHighlight), TranslateColor(clrShadow));
}

bool cMemDC::PaintBitmap(HBITMAP hBmp, int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight, int32_t xSrc,
                         int32_t ySrc, uint32_t dwRop, uint32_t clrMask) {
    if (!m_hdc || !hBmp) return false;
    if (nWidth == 0) nWidth = m_width;
    if (nHeight == 0) nHeight = m_height;
    // A bitmap that is selected elsewhere is read through a context of its own only when it
    // is free; otherwise copying it would take it from its context.
    if (hBmp->isSelected()) return false;
    SelectedBitmap src(hBmp);
    if (!src.dc()) return false;
    if (clrMask != kNoColor)
        return transparentCopy(m_hdc, xDest, yDest, nWidth, nHeight, src.dc(), xSrc, ySrc, TranslateColor(clrMask));
    return platform::BitBlt(m_hdc, xDest, yDest, nWidth, nHeight, src.dc(), xSrc, ySrc, dwRop);
}

bool cMemDC::PaintPicture(const Picture& oPic, int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight,
                          int32_t xSrc, int32_t ySrc, uint32_t dwRop, uint32_t clrMask) {
    if (!m_hdc || oPic.isNothing()) return false;
    if (oPic.kind() == Picture::Kind::Bitmap) {
        const BitmapHandle bmp(oPic.CreateBitmap());
        if (!bmp) return false;
        return PaintBitmap(bmp.get(), xDest, yDest, nWidth == 0 ? oPic.Width() : nWidth,
                           nHeight == 0 ? oPic.Height() : nHeight, xSrc, ySrc, dwRop, clrMask);
    }
    HICON icon = oPic.CreateIcon();
    if (!icon) return false;
    const bool ok = DrawIconEx(m_hdc, xDest, yDest, icon, nWidth, nHeight, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    return ok;
}

bool cMemDC::PaintDisabledPicture(const Picture& oPic, int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight,
                                  uint32_t clrHighlight, uint32_t clrShadow) {
    if (!m_hdc || oPic.isNothing()) return false;
    const int32_t w = nWidth == 0 ? oPic.Width() : nWidth;
    const int32_t h = nHeight == 0 ? oPic.Height() : nHeight;
    const MemoryDC src(w, h, m_hdc);
    if (!src) return false;
    constexpr COLORREF kKey = 0x00FF00FF;
    const BrushHandle key(CreateSolidBrush(kKey));
    platform::FillRect(src.dc(), RECT{0, 0, w, h}, key.get());
    if (oPic.kind() == Picture::Kind::Bitmap) {
        oPic.Render(src.dc(), 0, 0);
    } else {
        HICON icon = oPic.CreateIcon();
        if (!icon) return false;
        DrawIconEx(src.dc(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }
    return embossedCopy(m_hdc, xDest, yDest, w, h, src.dc(), 0, 0, kKey, TranslateColor(clrHighlight),
                        TranslateColor(clrShadow));
}

void cMemDC::FillGradient(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFirst,
                          uint32_t clrSecond, bool bVertical) {
    if (!m_hdc) return;
    fixRect(LeftX, TopY, RightX, BottomY);
    const COLORREF a = TranslateColor(clrFirst);
    const COLORREF b = TranslateColor(clrSecond);
    // Each 8-bit channel goes to the high byte of the vertex's 16-bit channel.
    auto vertex = [](int32_t x, int32_t y, COLORREF c) {
        TRIVERTEX v;
        v.x = x;
        v.y = y;
        v.Red = static_cast<uint16_t>(GetRValue(c) << 8);
        v.Green = static_cast<uint16_t>(GetGValue(c) << 8);
        v.Blue = static_cast<uint16_t>(GetBValue(c) << 8);
        v.Alpha = 0;
        return v;
    };
    const std::vector<TRIVERTEX> vertices{vertex(LeftX, TopY, a), vertex(RightX, BottomY, b)};
    const std::vector<GRADIENT_RECT> rects{GRADIENT_RECT{0, 1}};
    GradientFill(m_hdc, vertices, rects, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

uint32_t cMemDC::TranslateColor(uint32_t clrColor) const {
    if (clrColor == kNoColor) return kNoColor;
    return platform::TranslateColor(clrColor) & 0x00FFFFFFu;
}

Picture cMemDC::Image() const {
    if (!m_hdc) return {};
    const Bitmap* target = m_hdc->target();
    if (!target) return {};
    return Picture::fromBitmap(target->toImage());
}

Picture cMemDC::BitmapToPicture(HBITMAP hBmp, void*) {
    if (!hBmp) return {};
    Picture p = Picture::fromBitmap(hBmp->toImage());
    DeleteObject(hBmp);
    return p;
}

Picture cMemDC::IconToPicture(HICON hIcon) {
    if (!hIcon) return {};
    Picture p = Picture::fromIcon(hIcon->images());
    DestroyIcon(hIcon);
    return p;
}

HICON cMemDC::ExtractIcon(uint32_t clrMask) const {
    if (!m_hdc) return nullptr;
    const Bitmap* target = m_hdc->target();
    if (!target) return nullptr;
    const QRgb key = toQRgb(TranslateColor(clrMask)) & 0xFFFFFF;
    QImage img = target->toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) { row[x] = (row[x] & 0xFFFFFF) == key ? 0u : (row[x] | 0xFF000000u); }
    }
    return Picture::fromIcon({img}).CreateIcon();
}

} // namespace controls
