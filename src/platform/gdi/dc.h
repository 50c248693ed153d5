#pragma once
// Device contexts: a target bitmap plus the selected objects (pen, brush, font, bitmap),
// colours, modes, the current position and a clip region. Every operation works on whole
// pixels with the platform's conventions — fills and rectangles exclude the right and bottom
// edges, lines exclude their end point — and with exact per-pixel arithmetic (no
// antialiasing except for glyphs).
//
// A window's context draws into the window's retained client image; what it draws becomes
// visible at the window's next repaint, which the context schedules. A memory context draws
// into the bitmap selected into it.

#include "bitmap.h"
#include "brush.h"
#include "font.h"
#include "pen.h"
#include "region.h"

#include <QRegion>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace platform {

// Background modes.
inline constexpr int32_t TRANSPARENT = 1;
inline constexpr int32_t OPAQUE = 2;

// Raster operations of BitBlt (ternary; the high word indexes the truth table).
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint32_t SRCPAINT = 0x00EE0086;
inline constexpr uint32_t SRCAND = 0x008800C6;
inline constexpr uint32_t SRCINVERT = 0x00660046;
inline constexpr uint32_t SRCERASE = 0x00440328;
inline constexpr uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr uint32_t MERGECOPY = 0x00C000CA;
inline constexpr uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr uint32_t PATCOPY = 0x00F00021;
inline constexpr uint32_t PATPAINT = 0x00FB0A09;
inline constexpr uint32_t PATINVERT = 0x005A0049;
inline constexpr uint32_t DSTINVERT = 0x00550009;
inline constexpr uint32_t BLACKNESS = 0x00000042;
inline constexpr uint32_t WHITENESS = 0x00FF0062;
inline constexpr uint32_t DSna = 0x00220326; // destination AND NOT source

// Binary raster operations of pens (SetROP2).
inline constexpr int32_t R2_BLACK = 1;
inline constexpr int32_t R2_NOT = 6;
inline constexpr int32_t R2_XORPEN = 7;
inline constexpr int32_t R2_MASKPEN = 9;
inline constexpr int32_t R2_NOP = 11;
inline constexpr int32_t R2_MERGEPEN = 15;
inline constexpr int32_t R2_COPYPEN = 13;
inline constexpr int32_t R2_WHITE = 16;

// Stretch modes.
inline constexpr int32_t BLACKONWHITE = 1;
inline constexpr int32_t WHITEONBLACK = 2;
inline constexpr int32_t COLORONCOLOR = 3;
inline constexpr int32_t HALFTONE = 4;

// DrawText flags.
inline constexpr uint32_t DT_TOP = 0x0000;
inline constexpr uint32_t DT_LEFT = 0x0000;
inline constexpr uint32_t DT_CENTER = 0x0001;
inline constexpr uint32_t DT_RIGHT = 0x0002;
inline constexpr uint32_t DT_VCENTER = 0x0004;
inline constexpr uint32_t DT_BOTTOM = 0x0008;
inline constexpr uint32_t DT_WORDBREAK = 0x0010;
inline constexpr uint32_t DT_SINGLELINE = 0x0020;
inline constexpr uint32_t DT_EXPANDTABS = 0x0040;
inline constexpr uint32_t DT_NOCLIP = 0x0100;
inline constexpr uint32_t DT_CALCRECT = 0x0400;
inline constexpr uint32_t DT_NOPREFIX = 0x0800;
inline constexpr uint32_t DT_END_ELLIPSIS = 0x8000;

// ExtTextOut flags.
inline constexpr uint32_t ETO_OPAQUE = 0x0002;
inline constexpr uint32_t ETO_CLIPPED = 0x0004;

// Stock objects.
inline constexpr int32_t WHITE_BRUSH = 0;
inline constexpr int32_t LTGRAY_BRUSH = 1;
inline constexpr int32_t GRAY_BRUSH = 2;
inline constexpr int32_t DKGRAY_BRUSH = 3;
inline constexpr int32_t BLACK_BRUSH = 4;
inline constexpr int32_t NULL_BRUSH = 5;
inline constexpr int32_t HOLLOW_BRUSH = 5;
inline constexpr int32_t WHITE_PEN = 6;
inline constexpr int32_t BLACK_PEN = 7;
inline constexpr int32_t NULL_PEN = 8;
inline constexpr int32_t SYSTEM_FONT = 13;
inline constexpr int32_t DEFAULT_GUI_FONT = 17;

// GetDeviceCaps.
inline constexpr int32_t HORZRES = 8;
inline constexpr int32_t VERTRES = 10;
inline constexpr int32_t BITSPIXEL = 12;
inline constexpr int32_t PLANES = 14;
inline constexpr int32_t NUMCOLORS = 24;
inline constexpr int32_t RASTERCAPS = 38;
inline constexpr int32_t LOGPIXELSX = 88;
inline constexpr int32_t LOGPIXELSY = 90;
inline constexpr int32_t SIZEPALETTE = 104;
inline constexpr int32_t RC_PALETTE = 0x0100;

// AlphaBlend.
inline constexpr uint8_t AC_SRC_OVER = 0x00;
inline constexpr uint8_t AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
    uint8_t BlendOp = AC_SRC_OVER;
    uint8_t BlendFlags = 0;
    uint8_t SourceConstantAlpha = 255;
    uint8_t AlphaFormat = 0;
};

// GradientFill.
struct TRIVERTEX {
    int32_t x = 0;
    int32_t y = 0;
    uint16_t Red = 0;
    uint16_t Green = 0;
    uint16_t Blue = 0;
    uint16_t Alpha = 0;
};
struct GRADIENT_RECT {
    uint32_t UpperLeft = 0;
    uint32_t LowerRight = 1;
};
inline constexpr uint32_t GRADIENT_FILL_RECT_H = 0;
inline constexpr uint32_t GRADIENT_FILL_RECT_V = 1;

// DrawEdge.
inline constexpr uint32_t BDR_RAISEDOUTER = 0x0001;
inline constexpr uint32_t BDR_SUNKENOUTER = 0x0002;
inline constexpr uint32_t BDR_RAISEDINNER = 0x0004;
inline constexpr uint32_t BDR_SUNKENINNER = 0x0008;
inline constexpr uint32_t EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr uint32_t EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr uint32_t EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr uint32_t EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr uint32_t BF_LEFT = 0x0001;
inline constexpr uint32_t BF_TOP = 0x0002;
inline constexpr uint32_t BF_RIGHT = 0x0004;
inline constexpr uint32_t BF_BOTTOM = 0x0008;
inline constexpr uint32_t BF_RECT = 0x000F;
inline constexpr uint32_t BF_MIDDLE = 0x0800;

// DrawFrameControl.
inline constexpr uint32_t DFC_MENU = 2;
inline constexpr uint32_t DFC_SCROLL = 3;
inline constexpr uint32_t DFC_BUTTON = 4;
inline constexpr uint32_t DFCS_MENUARROW = 0x0000;
inline constexpr uint32_t DFCS_MENUCHECK = 0x0001;
inline constexpr uint32_t DFCS_MENUBULLET = 0x0002;
inline constexpr uint32_t DFCS_SCROLLUP = 0x0000;
inline constexpr uint32_t DFCS_SCROLLDOWN = 0x0001;
inline constexpr uint32_t DFCS_SCROLLLEFT = 0x0002;
inline constexpr uint32_t DFCS_SCROLLRIGHT = 0x0003;
inline constexpr uint32_t DFCS_BUTTONCHECK = 0x0000;
inline constexpr uint32_t DFCS_BUTTONPUSH = 0x0010;
inline constexpr uint32_t DFCS_INACTIVE = 0x0100;
inline constexpr uint32_t DFCS_PUSHED = 0x0200;
inline constexpr uint32_t DFCS_CHECKED = 0x0400;

// DrawIconEx.
inline constexpr uint32_t DI_MASK = 0x0001;
inline constexpr uint32_t DI_IMAGE = 0x0002;
inline constexpr uint32_t DI_NORMAL = 0x0003;

class DeviceContext {
public:
    enum class Kind { Window, Memory, Screen };

    DeviceContext(Kind kind, Window* window);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    Kind kind() const { return m_kind; }
    Window* window() const { return m_window; }
    // The bitmap drawn into (the window's surface for a window context); null for the screen
    // context and after the window is gone.
    Bitmap* target() const;

    HGDIOBJ select(HGDIOBJ obj);
    Pen* pen() const { return m_pen; }
    Brush* brush() const { return m_brush; }
    Font* font() const { return m_font; }
    Bitmap* selectedBitmap() const { return m_bitmap; }

    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int32_t bkMode = OPAQUE;
    int32_t rop2 = R2_COPYPEN;
    int32_t stretchMode = BLACKONWHITE;
    POINT currentPosition;
    POINT brushOrigin;

    // Clip region in the context's coordinates; nullopt = no clipping.
    const std::optional<QRegion>& clip() const { return m_clip; }
    void setClip(std::optional<QRegion> clip) { m_clip = std::move(clip); }
    // The area drawing may touch: the target's bounds intersected with the clip.
    QRegion drawableArea() const;
    // Tells the owning window that `r` (context coordinates) changed.
    void touched(const QRect& r);
    // Runs `paint` with a QPainter on the target, clipped, antialiasing off, the coordinate
    // system top-down whatever the bitmap's memory order. Returns false without a target.
    bool paint(const std::function<void(QPainter&)>& paint, const QRect& touchedArea);

    // Used by the window when its surface changes or it goes away.
    void detachWindow() { m_window = nullptr; }

private:
    Kind m_kind;
    Window* m_window;
    Pen* m_pen = nullptr;
    Brush* m_brush = nullptr;
    Font* m_font = nullptr;
    Bitmap* m_bitmap = nullptr;
    std::optional<QRegion> m_clip;
};

// Contexts.
HDC CreateCompatibleDC(HDC hdc);
HDC CreateDC(const QString& driver); // "DISPLAY": the screen context
bool DeleteDC(HDC hdc);
HDC GetDC(HWND hwnd); // null hwnd: the screen context
int32_t ReleaseDC(HWND hwnd, HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC hdc, GdiObject::Type type);
HGDIOBJ GetStockObject(int32_t index);
int32_t GetDeviceCaps(HDC hdc, int32_t index);
int32_t SaveDCState(HDC hdc);

// Context state.
COLORREF SetTextColor(HDC hdc, COLORREF c);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF c);
COLORREF GetBkColor(HDC hdc);
int32_t SetBkMode(HDC hdc, int32_t mode);
int32_t GetBkMode(HDC hdc);
int32_t SetROP2(HDC hdc, int32_t mode);
int32_t GetROP2(HDC hdc);
int32_t SetStretchBltMode(HDC hdc, int32_t mode);
int32_t GetStretchBltMode(HDC hdc);
bool SetBrushOrgEx(HDC hdc, int32_t x, int32_t y, POINT* old);
bool MoveToEx(HDC hdc, int32_t x, int32_t y, POINT* old);
bool GetCurrentPositionEx(HDC hdc, POINT* pt);

// Clipping.
int32_t SelectClipRgn(HDC hdc, HRGN rgn); // null removes the clip
int32_t IntersectClipRect(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b);
int32_t ExcludeClipRect(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b);
int32_t GetClipBox(HDC hdc, RECT* rc);

// Shapes. Rectangles exclude their right and bottom edges.
int32_t FillRect(HDC hdc, const RECT& rc, HBRUSH brush);
int32_t FrameRect(HDC hdc, const RECT& rc, HBRUSH brush);
bool InvertRect(HDC hdc, const RECT& rc);
bool Rectangle(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b);
bool RoundRect(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh);
bool Ellipse(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b);
// Arc of the ellipse in (l, t, r, b) counter-clockwise from the ray towards (xs, ys) to the
// ray towards (xe, ye); equal rays draw the whole ellipse.
bool Arc(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t xs, int32_t ys, int32_t xe, int32_t ye);
bool LineTo(HDC hdc, int32_t x, int32_t y);
bool Polyline(HDC hdc, const std::vector<POINT>& pts);
bool Polygon(HDC hdc, const std::vector<POINT>& pts);
bool DrawFocusRect(HDC hdc, const RECT& rc);
bool DrawEdge(HDC hdc, RECT* rc, uint32_t edge, uint32_t flags);
bool DrawFrameControl(HDC hdc, RECT* rc, uint32_t type, uint32_t state);
bool FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
bool FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int32_t w, int32_t h);
bool PatBlt(HDC hdc, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop);

// Pixels. GetPixel returns CLR_INVALID outside the target or clip.
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
COLORREF GetPixel(HDC hdc, int32_t x, int32_t y);
COLORREF SetPixel(HDC hdc, int32_t x, int32_t y, COLORREF c);

// Blits. Source pixels outside the source bitmap are not copied.
bool BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, uint32_t rop);
// Nearest-neighbour stretch; a negative width or height on one side mirrors.
bool StretchBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, int32_t sw,
                int32_t sh, uint32_t rop);
// Copies pixels that differ from `key` (stretching nearest-neighbour when sizes differ); key
// pixels leave the destination unchanged.
bool TransparentBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, int32_t sw,
                    int32_t sh, COLORREF key);
// Source-over blending (nearest-neighbour when sizes differ). With s = source, d = dest,
// k = SourceConstantAlpha, every channel c computes, in integers rounded to nearest:
//   AC_SRC_ALPHA set:   s' = s*k/255 (for B, G, R and A), d = s' + d*(255 - A')/255
//   AC_SRC_ALPHA clear: d = s*k/255 + d*(255 - k)/255
// The source is taken as premultiplied, as on the platform.
bool AlphaBlend(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy, int32_t sw,
                int32_t sh, BLENDFUNCTION bf);
// Rectangle gradients between the colours of two vertices; the first and last column (row)
// carry the vertex colours exactly.
bool GradientFill(HDC hdc, const std::vector<TRIVERTEX>& vertices, const std::vector<GRADIENT_RECT>& rects,
                  uint32_t mode);
// Copies a device-independent pixel array onto the context (stretching nearest-neighbour).
int32_t StretchDIBits(HDC hdc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, int32_t sw,
                      int32_t sh, const void* bits, const BITMAPINFOHEADER& header, uint32_t rop);

// Text. Positions count UTF-16 units.
struct DRAWTEXTPARAMS {
    uint32_t cbSize = 20;
    int32_t iTabLength = 8;
    int32_t iLeftMargin = 0;
    int32_t iRightMargin = 0;
    uint32_t uiLengthDrawn = 0;
};
int32_t DrawText(HDC hdc, const QString& text, RECT* rc, uint32_t format);
int32_t DrawTextEx(HDC hdc, const QString& text, RECT* rc, uint32_t format, const DRAWTEXTPARAMS* params);
bool TextOut(HDC hdc, int32_t x, int32_t y, const QString& text);
bool ExtTextOut(HDC hdc, int32_t x, int32_t y, uint32_t options, const RECT* rc, const QString& text);
bool GetTextExtentPoint32(HDC hdc, const QString& text, SIZE* size);
bool GetTextMetrics(HDC hdc, TEXTMETRIC* tm);
QString GetTextFace(HDC hdc);

// Icons and cursors drawn through a context.
bool DrawIconEx(HDC hdc, int32_t x, int32_t y, HICON icon, int32_t cx, int32_t cy, uint32_t step, HBRUSH flicker,
                uint32_t flags);

} // namespace platform
