#pragma once
// SelectGuard: selects a drawing object into a context for the guard's lifetime and selects
// the object it replaced back when the guard goes, so a context never keeps a pen, brush,
// font or bitmap that its owner is about to delete.

#include "dc.h"

namespace platform {

class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : m_dc(dc), m_previous(SelectObject(dc, obj)) {}
    ~SelectGuard() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

    // The object the selection replaced (null when nothing was selected, e.g. a null object
    // or context).
    HGDIOBJ previous() const { return m_previous; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace platform
