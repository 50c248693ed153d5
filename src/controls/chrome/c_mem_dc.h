#pragma once
// cMemDC: an off-screen drawing surface — a memory context with its own bitmap (or an adopted
// context) plus the drawing operations the owner-drawn menus use, and the bookkeeping of the
// pens, brushes and fonts selected into it.
//
// Conventions of every member:
// - called while no surface exists, a member does nothing and returns 0 / an empty value;
// - destination (or source) context null means the parent context;
// - a width or height of 0 means the surface's width or height;
// - for rectangles, a right edge left of the left edge means the surface's width and a bottom
//   above the top means the surface's height;
// - colours are 0x00BBGGRR or system colours (0x80000000 + n); kNoColor (-1) means "no
//   colour": no pen or brush is made for it.
// Failures end the member quietly.

#include "platform/forms/property_bag.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/picture.h"

#include <QString>
#include <vector>

namespace controls {

class cMemDC {
public:
    static constexpr uint32_t kNoColor = 0xFFFFFFFFu;

    cMemDC() = default;
    ~cMemDC();
    cMemDC(const cMemDC&) = delete;
    cMemDC& operator=(const cMemDC&) = delete;

    // Destroys an existing surface, then creates one of the given size compatible with
    // `hParentDC` (the screen when null), or adopts `hMemoryDC` when given (no own bitmap).
    platform::HDC Init(int32_t PixelWidth, int32_t PixelHeight, platform::HDC hParentDC = nullptr,
                       platform::HDC hMemoryDC = nullptr);
    void Destroy();

    bool IsCreated() const { return m_hdc != nullptr; }
    bool IsMemoryDC() const { return m_hdc && !m_adopted; }
    platform::HDC hdc() const { return m_hdc; }
    int32_t Width() const { return m_hdc ? m_width : 0; }
    int32_t Height() const { return m_hdc ? m_height : 0; }

    // Gives the own bitmap away (the bitmap that was there before is selected back) and adopts
    // `hNewBitmap` (selected when not null). The caller owns the returned bitmap.
    platform::HBITMAP DetachBitmap(platform::HBITMAP hNewBitmap);

    platform::COLORREF BackColor() const;
    void setBackColor(uint32_t clr);
    platform::COLORREF ForeColor() const;
    void setForeColor(uint32_t clr);
    int32_t BackStyle() const;
    void setBackStyle(int32_t mode);
    int32_t DrawMode() const;
    void setDrawMode(int32_t rop2);

    // Selecting a brush or pen through these gives it to the surface: it is deleted when the
    // next one replaces it and on destruction (the dot brush excepted). The object selected
    // before the first replacement is restored on destruction.
    platform::HBRUSH Brush() const { return m_brush; }
    void setBrush(platform::HBRUSH hbr) { selectBrush(hbr, true); }
    platform::HPEN Pen() const { return m_pen; }
    void setPen(platform::HPEN hpn) { selectPen(hpn, true); }

    platform::FontDesc Font() const;
    void setFont(const platform::FontDesc& font);
    int32_t FontHeight() const;
    static platform::FontDesc SystemMenuFont();
    static platform::FontDesc SystemIconFont();
    int32_t TextWidth(const QString& sText) const;
    int32_t TextHeight(const QString& sText) const;

    // An 8 x 8 checkerboard pattern brush, made once and owned by the surface.
    platform::HBRUSH DotBrush();
    // New objects the caller owns.
    platform::HBRUSH CreateBrush(uint32_t clrFill, uint32_t lStyle = platform::BS_SOLID, int32_t lHatch = 0) const;
    platform::HPEN CreatePen(uint32_t clrOutline, int32_t lStyle = platform::PS_SOLID, int32_t lWidth = 1) const;

    void Cls(uint32_t clrFill = kNoColor, platform::HBRUSH hbrFill = nullptr);
    void FillRect(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFill = kNoColor,
                  platform::HBRUSH hbrFill = nullptr);
    void FrameRect(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFill = kNoColor,
                   platform::HBRUSH hbrFrame = nullptr);
    void Rectangle(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFill = kNoColor,
                   platform::HBRUSH hbrFill = nullptr, uint32_t clrOutline = kNoColor,
                   platform::HPEN hpnOutline = nullptr);
    void DrawEllipse(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrOutline = kNoColor,
                     platform::HPEN hpnOutline = nullptr);
    // X1 < 0 continues from the current position.
    void DrawLine(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, uint32_t clrLine = kNoColor,
                  platform::HPEN hpnLine = nullptr);
    bool DrawEdge(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t edge, uint32_t flags);
    bool DrawFrameControl(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t Type_, uint32_t Flags);
    // Draws with the extended text call and writes the rectangle it returns back (with
    // DT_CALCRECT: the text's bounding rectangle). Returns the text height.
    int32_t DrawText(const QString& Text, int32_t& LeftX, int32_t& TopY, int32_t& RightX, int32_t& BottomY,
                     uint32_t dtFlags);
    bool ExtTextOut(const QString& Text, int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, int32_t xOffset,
                    int32_t yOffset, uint32_t etoFlags);
    platform::COLORREF GetPixel(int32_t x, int32_t y) const;
    platform::COLORREF SetPixel(int32_t x, int32_t y, uint32_t clrColor);

    static void NormalizeRect(int32_t& LeftX, int32_t& TopY, int32_t& RightX, int32_t& BottomY);
    // LeftX < 0 removes clipping; otherwise clips to the normalised rectangle.
    void SetClipRect(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY);

    bool BitBlt(platform::HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nWidth = 0, int32_t nHeight = 0,
                int32_t xSrc = 0, int32_t ySrc = 0, uint32_t dwRop = platform::SRCCOPY);
    bool StretchBlt(platform::HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nDestWidth, int32_t nDestHeight,
                    int32_t xSrc, int32_t ySrc, int32_t nSrcWidth, int32_t nSrcHeight,
                    uint32_t dwRop = platform::SRCCOPY);
    bool LoadBlt(platform::HDC hdcSrc, int32_t xSrc = 0, int32_t ySrc = 0, int32_t xDest = 0, int32_t yDest = 0,
                 int32_t nWidth = 0, int32_t nHeight = 0, uint32_t dwRop = platform::SRCCOPY);
    // Stretches a top-down array of bitsWidth x bitsHeight pixels (0x00RRGGBB, the order of
    // a 32-bit device-independent row) onto the surface.
    bool SetDIBits(int32_t xDest, int32_t yDest, int32_t nWidth, int32_t nHeight, const std::vector<uint32_t>& aBits,
                   int32_t bitsWidth, int32_t bitsHeight, uint32_t dwRop = platform::SRCCOPY);
    // Copies from the surface; source pixels of `clrMask` leave the destination unchanged.
    bool TransBlt(platform::HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nWidth = 0, int32_t nHeight = 0,
                  int32_t xSrc = 0, int32_t ySrc = 0, uint32_t clrMask = 0x00FF00FF);
    // Embossed copy from the surface: every pixel that is neither the key nor white is ink,
    // drawn in the highlight colour one pixel down and right and in the shadow colour on top.
    bool DisabledBlt(platform::HDC hdcDest, int32_t xDest, int32_t yDest, int32_t nWidth = 0, int32_t nHeight = 0,
                     int32_t xSrc = 0, int32_t ySrc = 0, uint32_t clrMask = 0x00FF00FF,
                     uint32_t clrHighlight = 0x80000000u + 20, uint32_t clrShadow = 0x80000000u + 16);
    bool PaintBitmap(platform::HBITMAP hBmp, int32_t xDest, int32_t yDest, int32_t nWidth = 0, int32_t nHeight = 0,
                     int32_t xSrc = 0, int32_t ySrc = 0, uint32_t dwRop = platform::SRCCOPY,
                     uint32_t clrMask = kNoColor);
    bool PaintPicture(const platform::Picture& oPic, int32_t xDest, int32_t yDest, int32_t nWidth = 0,
                      int32_t nHeight = 0, int32_t xSrc = 0, int32_t ySrc = 0, uint32_t dwRop = platform::SRCCOPY,
                      uint32_t clrMask = kNoColor);
    // Pictures are keyed on magenta (and white, which is never ink).
    bool PaintDisabledPicture(const platform::Picture& oPic, int32_t xDest, int32_t yDest, int32_t nWidth = 0,
                              int32_t nHeight = 0, uint32_t clrHighlight = 0x80000000u + 20,
                              uint32_t clrShadow = 0x80000000u + 16);
    void FillGradient(int32_t LeftX, int32_t TopY, int32_t RightX, int32_t BottomY, uint32_t clrFirst,
                      uint32_t clrSecond, bool bVertical);

    // kNoColor is returned unchanged; anything else is translated (system colours resolved)
    // and masked to 0x00BBGGRR.
    uint32_t TranslateColor(uint32_t clrColor) const;

    platform::Picture Image() const;
    // Wrap a handle as a picture that owns it: the handle is consumed.
    static platform::Picture BitmapToPicture(platform::HBITMAP hBmp, void* hPal = nullptr);
    static platform::Picture IconToPicture(platform::HICON hIcon);
    // A new icon (caller owns) made from the surface, pixels of `clrMask` transparent.
    platform::HICON ExtractIcon(uint32_t clrMask) const;

private:
    void selectBrush(platform::HBRUSH hbr, bool owned);
    void selectPen(platform::HPEN hpn, bool owned);
    void fixRect(int32_t& l, int32_t& t, int32_t& r, int32_t& b) const;
    platform::HDC destination(platform::HDC hdc) const { return hdc ? hdc : m_parent; }

    platform::HDC m_hdc = nullptr;
    bool m_adopted = false;
    int32_t m_width = 0;
    int32_t m_height = 0;
    platform::HDC m_parent = nullptr;
    platform::HBITMAP m_bitmap = nullptr;
    platform::HGDIOBJ m_oldBitmap = nullptr;
    platform::HBRUSH m_brush = nullptr;
    bool m_ownBrush = false;
    platform::HGDIOBJ m_oldBrush = nullptr;
    platform::HPEN m_pen = nullptr;
    bool m_ownPen = false;
    platform::HGDIOBJ m_oldPen = nullptr;
    platform::HFONT m_font = nullptr;
    platform::HGDIOBJ m_oldFont = nullptr;
    platform::HBRUSH m_dotBrush = nullptr;
};

// The copies of the surface, usable on any pair of contexts.
// Copies (sx, sy, w, h) of `src` to (x, y) of `dst`; source pixels of `key` leave the
// destination unchanged. Built from a one-bit mask as the platform's raster operations do.
bool transparentCopy(platform::HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, platform::HDC src, int32_t sx,
                     int32_t sy, platform::COLORREF key);
// The embossed disabled copy with highlight `hi` and shadow `sh`.
bool embossedCopy(platform::HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, platform::HDC src, int32_t sx,
                  int32_t sy, platform::COLORREF key, platform::COLORREF hi, platform::COLORREF sh);

} // namespace controls
