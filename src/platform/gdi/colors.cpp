#include "colors.h"

#include <array>

namespace platform {

namespace {

// A classic grey desktop scheme; the program draws almost everything from its skin, so only
// the few places that ask for system colours (disabled outlines, menus) see these.
constexpr std::array<COLORREF, kSystemColorCount> kSystemColors = {
    RGB(200, 200, 200), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(212, 208, 200), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(212, 208, 200), // COLOR_ACTIVEBORDER
    RGB(212, 208, 200), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(10, 36, 106),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),    // COLOR_3DDKSHADOW
    RGB(212, 208, 200), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(181, 181, 181), // 25 (unused)
    RGB(0, 0, 128),     // COLOR_HOTLIGHT
    RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),  // COLOR_MENUHILIGHT
    RGB(236, 233, 216), // COLOR_MENUBAR
};

} // namespace

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= kSystemColorCount) return 0;
    return kSystemColors[static_cast<size_t>(index)];
}

bool OleTranslateColor(uint32_t oleColor, COLORREF* out) {
    const uint32_t high = oleColor & 0xFF000000u;
    if (high == 0x80000000u) {
        const uint32_t index = oleColor & 0x00FFFFFFu;
        if (index >= static_cast<uint32_t>(kSystemColorCount)) return false;
        *out = GetSysColor(static_cast<int>(index));
        return true;
    }
    if (high != 0) return false;
    *out = oleColor;
    return true;
}

COLORREF TranslateColor(uint32_t oleColor) {
    COLORREF c = 0;
    if (!OleTranslateColor(oleColor, &c)) return 0;
    return c & 0x00FFFFFFu;
}

} // namespace platform
