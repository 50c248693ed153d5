#pragma once
// Colours are 0x00BBGGRR (red in the low byte). A value with the top bit set names system
// colour n (0x80000000 + n). Conversions to Qt's 0xAARRGGBB happen only through the helpers
// here, at the Qt boundary.

#include "platform/window/messages.h"

#include <QColor>
#include <QRgb>

namespace platform {

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return c & 0xFF; }
constexpr int GetGValue(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(COLORREF c) { return (c >> 16) & 0xFF; }

// 0x00BBGGRR <-> Qt's opaque 0xFFRRGGBB.
constexpr QRgb toQRgb(COLORREF c) {
    return 0xFF000000u | (static_cast<QRgb>(GetRValue(c)) << 16) | (static_cast<QRgb>(GetGValue(c)) << 8) |
           static_cast<QRgb>(GetBValue(c));
}
constexpr COLORREF fromQRgb(QRgb q) { return RGB(qRed(q), qGreen(q), qBlue(q)); }
inline QColor toQColor(COLORREF c) { return QColor::fromRgb(toQRgb(c)); }
inline COLORREF fromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// System colour indexes.
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVEBORDER = 10;
inline constexpr int COLOR_INACTIVEBORDER = 11;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;
inline constexpr int COLOR_HOTLIGHT = 26;
inline constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
inline constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
inline constexpr int COLOR_MENUHILIGHT = 29;
inline constexpr int COLOR_MENUBAR = 30;
inline constexpr int kSystemColorCount = 31;

// The colour of system colour n, 0 for an unknown index.
COLORREF GetSysColor(int index);

// OLE colour translation: a system colour value (0x80000000 + n) becomes that colour, any
// other value is kept. Returns false (and leaves *out alone) for an invalid system index or
// a value whose high byte is neither 0x00 nor 0x80.
bool OleTranslateColor(uint32_t oleColor, COLORREF* out);

// The translation the controls apply before drawing: system colours resolved, result in the
// low 24 bits. Invalid values give black.
COLORREF TranslateColor(uint32_t oleColor);

} // namespace platform
