#include "snap_layout.h"

#include <algorithm>

namespace controls {

using platform::POINT;
using platform::RECT;

SnapLayout::SnapLayout() : m_entries(1), m_rects(1) {}

size_t SnapLayout::indexOf(uintptr_t id) const {
    for (size_t i = 1; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id) return i;
    }
    return 0;
}

size_t SnapLayout::add(uintptr_t id, uintptr_t parent) {
    m_entries.push_back(Entry{id, parent, false});
    m_rects.push_back(RECT{});
    return m_entries.size() - 1;
}

void SnapLayout::remove(size_t i) {
    if (i == 0 || i >= m_entries.size()) return;
    const uintptr_t id = m_entries[i].id;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
    m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(i));
    for (size_t k = 1; k < m_entries.size(); ++k) {
        if (m_entries[k].parent == id) m_entries[k].parent = 0;
    }
}

void SnapLayout::beginDrag(size_t w, POINT cursor) {
    m_startCursor = cursor;
    m_lastCursor = cursor;
    if (w < m_rects.size()) m_offset = POINT{m_rects[w].left - cursor.x, m_rects[w].top - cursor.y};
}

RECT SnapLayout::checkMove(size_t w, RECT rect, POINT cursor, int32_t f, std::vector<ChildMove>* children) {
    if (children) children->clear();
    if (w == 0 || w >= m_entries.size()) return rect;
    const int32_t s = m_snapWidth;
    const uintptr_t self = m_entries[w].id;
    auto isGluedChild = [&](size_t i) { return i > 0 && m_entries[i].glued && m_entries[i].parent == self; };

    // 1. The rectangle follows the cursor with the offset it had when the move started.
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    rect.left = cursor.x + m_offset.x;
    rect.top = cursor.y + m_offset.y;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    int32_t dx = 0;
    int32_t dy = 0;

    // 2. The window's own edges against every other entry; a later match overwrites.
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (i == w || isGluedChild(i)) continue;
        const RECT& r = m_rects[i];
        if (rect.bottom > r.top - s - f && rect.top < r.bottom + s - f) {
            if (near(rect.left - r.left)) dx = r.left - rect.left - f;
            else if (near(rect.left - r.right)) dx = r.right - rect.left - 2 * f;
            else if (near(rect.right - r.left)) dx = r.left - rect.right + 2 * f;
            else if (near(rect.right - r.right)) dx = r.right - rect.right + f;
        }
        if (rect.right > r.left - s - f && rect.left < r.right + s - f) {
            if (near(rect.top - r.top)) dy = r.top - rect.top - f;
            else if (near(rect.top - r.bottom)) dy = r.bottom - rect.top - 2 * f;
            else if (near(rect.bottom - r.top)) dy = r.top - rect.bottom + f;
            else if (near(rect.bottom - r.bottom)) dy = r.bottom - rect.bottom + f;
        }
    }

    // 3. The glued children's edges, so the group as a whole snaps.
    const int32_t cdx = cursor.x - m_startCursor.x;
    const int32_t cdy = cursor.y - m_startCursor.y;
    for (size_t c = 1; c < m_entries.size(); ++c) {
        if (!isGluedChild(c)) continue;
        RECT cr = m_rects[c];
        cr.left += cdx;
        cr.right += cdx;
        cr.top += cdy;
        cr.bottom += cdy;
        for (size_t j = 0; j < m_entries.size(); ++j) {
            if (j == c || j == w || (j > 0 && m_entries[j].glued)) continue;
            const RECT& r = m_rects[j];
            if (cr.bottom > r.top - s - f && cr.top < r.bottom + s) {
                if (near(cr.left - r.left)) dx = r.left - cr.left;
                else if (near(cr.left - r.right)) dx = r.right - cr.left;
                else if (near(cr.right - r.left)) dx = r.left - cr.right + f;
                else if (near(cr.right - r.right)) dx = r.right - cr.right + f;
            }
            if (cr.right > r.left - s - f && cr.left < r.right + s) {
                if (near(cr.top - r.top)) dy = r.top - cr.top;
                else if (near(cr.top - r.bottom)) dy = r.bottom - cr.top;
                else if (near(cr.bottom - r.top)) dy = r.top - cr.bottom + f;
                else if (near(cr.bottom - r.bottom)) dy = r.bottom - cr.bottom + f;
            }
        }
    }

    // 4. Apply the snap.
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;

    // 5. Glued children keep their captured offset to the window.
    if (children) {
        const RECT& wc = m_rects[w];
        for (size_t c = 1; c < m_entries.size(); ++c) {
            if (!isGluedChild(c)) continue;
            const RECT& cc = m_rects[c];
            children->push_back(ChildMove{c, POINT{cc.left - (wc.left - rect.left), cc.top - (wc.top - rect.top)}});
        }
    }

    // 6.
    m_lastCursor = cursor;
    return rect;
}

RECT SnapLayout::checkSize(size_t w, RECT rect, int32_t edge, int32_t f) const {
    if (w == 0 || w >= m_entries.size()) return rect;
    const int32_t s = m_snapWidth;
    const RECT o = rect;
    // The edge is a WMSZ_* number; a negative one names no edge.
    const auto e = static_cast<platform::WPARAM>(edge);
    const bool leftEdge = e == platform::WMSZ_LEFT || e == platform::WMSZ_TOPLEFT || e == platform::WMSZ_BOTTOMLEFT;
    const bool rightEdge = e == platform::WMSZ_RIGHT || e == platform::WMSZ_TOPRIGHT || e == platform::WMSZ_BOTTOMRIGHT;
    const bool bottomEdge =
        e == platform::WMSZ_BOTTOM || e == platform::WMSZ_BOTTOMLEFT || e == platform::WMSZ_BOTTOMRIGHT;
    const bool topEdge = e == platform::WMSZ_TOP || e == platform::WMSZ_TOPLEFT || e == platform::WMSZ_TOPRIGHT;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (i == w) continue;
        const RECT& r = m_rects[i];
        if (rect.top < r.bottom + s && rect.bottom > r.top - s) {
            if (leftEdge) {
                if (near(o.left - r.left)) rect.left = r.left - f;
                else if (near(o.left - r.right)) rect.left = r.right - f;
            }
            if (rightEdge) {
                if (near(o.right - r.left)) rect.right = r.left + f;
                else if (near(o.right - r.right)) rect.right = r.right + f;
            }
        }
        if (rect.left < r.right + s && rect.right > r.left - s && (topEdge || bottomEdge)) {
            if (bottomEdge) {
                if (near(o.bottom - r.top)) rect.bottom = r.top + f;
                else if (near(o.bottom - r.bottom)) rect.bottom = r.bottom + f;
            }
            if (topEdge) {
                if (near(o.top - r.top)) rect.top = r.top - f;
                else if (near(o.top - r.bottom)) rect.top = r.bottom - f;
            }
        }
    }
    return rect;
}

void SnapLayout::checkGlueing() {
    const size_t n = count();
    for (size_t i = 1; i <= n; ++i) m_entries[i].glued = false;
    for (size_t i = 1; i <= n; ++i) {
        if (m_entries[i].parent == 0) continue;
        // An unregistered parent makes the work area the reference.
        const size_t k = indexOf(m_entries[i].parent);
        m_entries[i].glued = Touching(m_rects[k], m_rects[i]);
    }
    // Siblings touching a glued sibling become glued; N passes let chains propagate.
    for (size_t pass = 0; pass < n; ++pass) {
        for (size_t i = 1; i <= n; ++i) {
            if (!m_entries[i].glued) continue;
            for (size_t k = 1; k <= n; ++k) {
                if (k == i || m_entries[k].glued || m_entries[k].parent != m_entries[i].parent) continue;
                m_entries[k].glued = Touching(m_rects[i], m_rects[k]);
            }
        }
    }
}

bool SnapLayout::Touching(const RECT& a, const RECT& b) {
    const RECT u{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
    const int64_t wa = int64_t{a.right} - a.left, wb = int64_t{b.right} - b.left, wu = int64_t{u.right} - u.left;
    const int64_t ha = int64_t{a.bottom} - a.top, hb = int64_t{b.bottom} - b.top, hu = int64_t{u.bottom} - u.top;
    if (!(wa + wb >= wu && ha + hb >= hu)) return false;
    return b.left == a.left || b.right == a.left || b.left == a.right || b.right == a.right || a.top == b.top ||
           a.top == b.bottom || b.top == a.bottom || b.bottom == a.bottom;
}

} // namespace controls
