#include "draw_text_ellipsis.h"

namespace imaging {

using namespace platform;

namespace {

int32_t extent(HDC hdc, const QString& s) {
    SIZE sz;
    return GetTextExtentPoint32(hdc, s, &sz) ? sz.cx : 0;
}

// Length of a beginning that does not end inside a surrogate pair.
qsizetype wholeCharacters(const QString& text, qsizetype n) {
    if (n > 0 && n < text.size() && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate()) return n - 1;
    return n;
}

} // namespace

int32_t DrawTextEllipsis(HDC hdc, const QString& text, int32_t x, int32_t y, int32_t width, int32_t height,
                         uint32_t format) {
    if (!hdc || text.isEmpty()) return 0;
    // Titles are shown as written: an ampersand is a character, not a mnemonic marker.
    const uint32_t fmt = format | DT_NOPREFIX;
    const int32_t full = extent(hdc, text);
    if (width >= full) {
        RECT rc{x, y, x + width, y + height};
        DrawText(hdc, text, &rc, fmt);
        return full;
    }
    const QString dots = QStringLiteral("...");
    const int32_t e = extent(hdc, dots);
    // The widths of the beginnings grow with their length, so the longest fitting one is
    // found by bisection over the lengths 1..len.
    qsizetype lo = 0, hi = text.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (width - e >= extent(hdc, text.left(mid))) lo = mid;
        else hi = mid - 1;
    }
    qsizetype n = wholeCharacters(text, lo);
    if (n < 1) {
        // Nothing fits: the first character still shows.
        n = (text.size() >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate()) ? 2 : 1;
    }
    const QString head = text.left(n);
    const int32_t w = extent(hdc, head);
    RECT rc{x, y, x + w + e, y + height};
    DrawText(hdc, head + dots, &rc, fmt & ~(DT_CENTER | DT_VCENTER));
    return w + e;
}

} // namespace imaging
