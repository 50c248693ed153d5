#pragma once
// The rectangle arithmetic of window snapping, free of any window: edges of a window being
// moved or sized jump to the edges of the work area and of the other registered windows when
// they come nearer than the snap width, and children that touch their parent (directly or
// through touching siblings) are glued to it.
//
// Entry 0 is the screen work area; entries 1..N are the registered windows in registration
// order. All rectangles are screen rectangles (left, top, right, bottom).
//
// The frame allowance f (3 for a resizable window, else 0) stands for the invisible sizing
// frame a skinned window hides with its window region: the visible edge lies f pixels inside
// the window rectangle, so snapping aims the visible edges at each other.

#include "platform/window/messages.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace controls {

class SnapLayout {
public:
    struct Entry {
        uintptr_t id = 0;     // the window
        uintptr_t parent = 0; // its parent window, 0 for none (need not be registered)
        bool glued = false;
    };
    // Where a glued child goes when its parent moves.
    struct ChildMove {
        size_t index = 0;
        platform::POINT topLeft;
    };

    SnapLayout();

    int32_t snapWidth() const { return m_snapWidth; }
    void setSnapWidth(int32_t s) { m_snapWidth = s; }

    // Entries 1..N.
    size_t count() const { return m_entries.size() - 1; }
    const Entry& entry(size_t i) const { return m_entries[i]; }
    // Index of a registered id, 0 when it is not registered.
    size_t indexOf(uintptr_t id) const;
    // Appends an entry (not glued) with an empty rectangle; returns its index.
    size_t add(uintptr_t id, uintptr_t parent);
    // Removes entry i (later entries move down) and clears the parent of its children.
    void remove(size_t i);

    // Rectangles: entry 0 the work area, entry i the window's captured rectangle.
    const platform::RECT& rect(size_t i) const { return m_rects[i]; }
    void setRect(size_t i, const platform::RECT& r) { m_rects[i] = r; }

    // The drag state of the window being moved, captured when its move starts.
    void beginDrag(size_t w, platform::POINT cursor);
    platform::POINT startCursor() const { return m_startCursor; }
    platform::POINT cursorOffset() const { return m_offset; }
    platform::POINT lastCursor() const { return m_lastCursor; }

    // The proposed rectangle of window w, re-anchored to `cursor` and snapped; `children`
    // receives the new top-left corners of w's glued children.
    platform::RECT checkMove(size_t w, platform::RECT rect, platform::POINT cursor, int32_t f,
                             std::vector<ChildMove>* children);
    // The proposed rectangle of window w sized on `edge` (WMSZ_*), snapped.
    platform::RECT checkSize(size_t w, platform::RECT rect, int32_t edge, int32_t f) const;
    // Recomputes every glued flag from the current rectangles (set them first).
    void checkGlueing();

    // Whether two rectangles overlap or meet on both axes and share at least one edge
    // coordinate.
    static bool Touching(const platform::RECT& a, const platform::RECT& b);

private:
    bool near(int32_t d) const { return (d < 0 ? -d : d) < m_snapWidth; }

    int32_t m_snapWidth = 10;
    std::vector<Entry> m_entries;        // [0] unused
    std::vector<platform::RECT> m_rects; // [0] the work area
    platform::POINT m_startCursor;
    platform::POINT m_offset;
    platform::POINT m_lastCursor;
};

} // namespace controls
