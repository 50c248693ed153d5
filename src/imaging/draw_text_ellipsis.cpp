#include "draw_text_ellipsis.h"

#include <vector>

namespace imaging {

using namespace platform;

namespace {

int32_t extent(HDC hdc, const QString& s) {
    SIZE sz;
    return GetTextExtentPoint32(hdc, s, &sz) ? sz.cx : 0;
}

// The lengths of the beginnings that end on a whole character (never between the two
// halves of a surrogate pair), shortest first.
std::vector<qsizetype> wholeLengths(const QString& text) {
    std::vector<qsizetype> lengths;
    for (qsizetype n = 1; n <= text.size(); ++n) {
        if (n < text.size() && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate()) continue;
        lengths.push_back(n);
    }
    return lengths;
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
    // found by bisection. Only whole characters are measured: half a pair measures as a
    // replacement glyph that can be wider than the whole pair.
    const std::vector<qsizetype> lengths = wholeLengths(text);
    size_t lo = 0, hi = lengths.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (width - e >= extent(hdc, text.left(lengths[mid]))) lo = mid + 1;
        else hi = mid;
    }
    // lo beginnings fit; when none does, the first character still shows.
    const qsizetype n = lengths[lo > 0 ? lo - 1 : 0];
    const QString head = text.left(n);
    const int32_t w = extent(hdc, head);
    RECT rc{x, y, x + w + e, y + height};
    DrawText(hdc, head + dots, &rc, fmt & ~(DT_CENTER | DT_VCENTER));
    return w + e;
}

} // namespace imaging
