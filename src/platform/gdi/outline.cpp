#include "outline.h"

#include "gdi_handle.h"
#include "select_guard.h"

namespace platform {

void drawOutline(HDC dc, const RECT& rc, COLORREF color, int32_t width, int32_t corner) {
    const PenHandle pen(CreatePen(PS_SOLID, width, color));
    const SelectGuard usePen(dc, pen.get());
    const SelectGuard hollow(dc, GetStockObject(HOLLOW_BRUSH));
    if (corner > 0) RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, corner, corner);
    else Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
}

void drawLine(HDC dc, POINT from, POINT to, COLORREF color, int32_t width) {
    const PenHandle pen(CreatePen(PS_SOLID, width, color));
    const SelectGuard usePen(dc, pen.get());
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

} // namespace platform
