#include "scroll_bar.h"

#include "platform/window/window_functions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace controls {

using namespace platform;

namespace {

bool contains(const RECT& r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Real results land in 32 bits; values a loaded, inconsistent model could push past the
// ends are held at them instead of overflowing.
int32_t toInt32(double v) {
    v = std::nearbyint(v);
    if (!(v >= double(std::numeric_limits<int32_t>::min()))) return std::numeric_limits<int32_t>::min();
    if (v > double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

} // namespace

UcScrollBar::UcScrollBar(Window* parent) : Window(parent, QStringLiteral("UcScrollBar")) {
    // The control's own reaction comes first, so an owner's handler sees the new thumb.
    connect(&m_model, &ScrollValueModel::Change, this, &UcScrollBar::onModelChange, Qt::DirectConnection);
    connect(&m_model, &ScrollValueModel::Scroll, this, &UcScrollBar::Scroll, Qt::DirectConnection);
    layout();
}

UcScrollBar::~UcScrollBar() {
    m_subclass.reset();
    m_draw.reset();
}

void UcScrollBar::InitProperties() {
    m_model.load(ScrollValueModel::kDefaultMin, ScrollValueModel::kDefaultMax, ScrollValueModel::kDefaultValue,
                 ScrollValueModel::kDefaultSmallChange, ScrollValueModel::kDefaultLargeChange);
    m_enabled = true;
    m_changeDelay = kDefaultChangeDelay;
    m_changeFrequency = kDefaultChangeFrequency;
    m_orientation = ScrollOrientation::Vertical;
    m_showButtons = true;
    EnableWindow(this, true);
    layout();
}

void UcScrollBar::ReadProperties(const PropertyBag& bag) {
    m_enabled = bag.ReadBool(QStringLiteral("Enabled"), true);
    const int32_t min = bag.ReadInt(QStringLiteral("Min"), ScrollValueModel::kDefaultMin);
    const int32_t max = bag.ReadInt(QStringLiteral("Max"), ScrollValueModel::kDefaultMax);
    const int32_t value = bag.ReadInt(QStringLiteral("Value"), ScrollValueModel::kDefaultValue);
    const int32_t small = bag.ReadInt(QStringLiteral("SmallChange"), ScrollValueModel::kDefaultSmallChange);
    const int32_t large = bag.ReadInt(QStringLiteral("LargeChange"), ScrollValueModel::kDefaultLargeChange);
    m_model.load(min, max, value, small, large);
    m_changeDelay = bag.ReadInt(QStringLiteral("ChangeDelay"), kDefaultChangeDelay);
    m_changeFrequency = bag.ReadInt(QStringLiteral("ChangeFrequency"), kDefaultChangeFrequency);
    m_orientation = bag.ReadInt(QStringLiteral("Orientation"), 0) == 1 ? ScrollOrientation::Horizontal
                                                                       : ScrollOrientation::Vertical;
    m_showButtons = bag.ReadBool(QStringLiteral("ShowButtons"), true);
    EnableWindow(this, m_enabled);
    layout();
    if (!Window::designMode()) startInterception();
}

void UcScrollBar::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.WriteProperty(QStringLiteral("Min"), m_model.Min(), ScrollValueModel::kDefaultMin);
    bag.WriteProperty(QStringLiteral("Max"), m_model.Max(), ScrollValueModel::kDefaultMax);
    bag.WriteProperty(QStringLiteral("Value"), m_model.Value(), ScrollValueModel::kDefaultValue);
    bag.WriteProperty(QStringLiteral("SmallChange"), m_model.SmallChange(), ScrollValueModel::kDefaultSmallChange);
    bag.WriteProperty(QStringLiteral("LargeChange"), m_model.LargeChange(), ScrollValueModel::kDefaultLargeChange);
    bag.WriteProperty(QStringLiteral("ChangeDelay"), m_changeDelay, kDefaultChangeDelay);
    bag.WriteProperty(QStringLiteral("ChangeFrequency"), m_changeFrequency, kDefaultChangeFrequency);
    bag.WriteProperty(QStringLiteral("Orientation"), static_cast<int32_t>(m_orientation), 0);
    bag.WriteProperty(QStringLiteral("ShowButtons"), m_showButtons, true);
}

void UcScrollBar::startInterception() {
    if (!m_subclass) m_subclass = std::make_unique<Subclasser>(this);
    if (m_subclass->IsSubclassed(this)) return;
    m_subclass->Subclass(this);
    m_subclass->AddMsg(this, WM_PAINT, MsgWhen::Before);
    m_subclass->AddMsg(this, WM_SIZE, MsgWhen::Before);
    for (UINT msg :
         {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_CANCELMODE, WM_LBUTTONDBLCLK, WM_TIMER, WM_SYSCOLORCHANGE})
        m_subclass->AddMsg(this, msg, MsgWhen::After);
    invalidateAll();
}

// --- Properties -------------------------------------------------------------------------

void UcScrollBar::setMin(int32_t v) {
    m_model.setMin(v);
    computeThumb();
    invalidateAll();
}

void UcScrollBar::setMax(int32_t v) {
    m_model.setMax(v);
    computeThumb();
    invalidateAll();
}

void UcScrollBar::setSmallChange(int32_t v) {
    m_model.setSmallChange(v);
    computeThumb();
    invalidateAll();
}

void UcScrollBar::setLargeChange(int32_t v) {
    m_model.setLargeChange(v);
    computeThumb();
    invalidateAll();
}

void UcScrollBar::setEnabled(bool v) {
    m_enabled = v;
    EnableWindow(this, v);
    invalidateAll();
}

void UcScrollBar::setChangeDelay(int32_t v) { m_changeDelay = std::max(v, 0); }

void UcScrollBar::setChangeFrequency(int32_t v) { m_changeFrequency = std::max(v, kMinChangeFrequency); }

void UcScrollBar::setOrientation(int32_t v) {
    m_orientation = v == 1 ? ScrollOrientation::Horizontal : ScrollOrientation::Vertical;
    layout();
}

void UcScrollBar::setShowButtons(bool v) {
    m_showButtons = v;
    layout();
}

void UcScrollBar::Refresh() { invalidateAll(); }

void UcScrollBar::invalidateAll() { InvalidateRect(this, nullptr, false); }

// --- Geometry ---------------------------------------------------------------------------

void UcScrollBar::layout() {
    const int32_t L = vertical() ? height() : width();
    const int32_t W = vertical() ? width() : height();
    const int32_t a = m_showButtons ? kButtonLength : 0;
    // A rectangle spanning [from, to) along the bar and the whole thickness across it.
    auto span = [&](int32_t from, int32_t to) -> RECT {
        return vertical() ? RECT{0, from, W, to} : RECT{from, 0, to, W};
    };
    m_gap = {};
    if (L >= 2 * a + kMinTrackLength) {
        m_arrow1 = span(0, a);
        m_arrow2 = span(L - a, L);
        m_hasThumbArea = true;
        m_hasGap = false;
    } else if (L > 2 * a) {
        m_arrow1 = span(0, a);
        m_arrow2 = span(L - a, L);
        m_hasThumbArea = false;
        m_hasGap = true;
        m_gap = span(a, L - a);
    } else {
        m_arrow1 = span(0, L / 2);
        m_arrow2 = span(L / 2 + L % 2, L);
        m_hasThumbArea = false;
        m_hasGap = (L % 2) != 0;
        if (m_hasGap) m_gap = span(L / 2, L / 2 + 1);
    }
    m_dragZone = vertical() ? RECT{-kDragZoneAcross, -kDragZoneAlong, W + kDragZoneAcross, L + kDragZoneAlong}
                            : RECT{-kDragZoneAlong, -kDragZoneAcross, L + kDragZoneAlong, W + kDragZoneAcross};
    m_trackStart = vertical() ? m_arrow1.bottom : m_arrow1.right;
    m_trackEnd = vertical() ? m_arrow2.top : m_arrow2.left;
    computeThumb();
    invalidateAll();
}

void UcScrollBar::computeThumbLength() {
    const int64_t trackLength = int64_t(m_trackEnd) - m_trackStart;
    const int64_t large = m_model.LargeChange();
    int64_t len = kMinThumbLength;
    // Integer divisions; a division that cannot be made leaves the minimum length.
    if (large != 0) {
        const int64_t parts = m_model.Range() / large + 1;
        if (parts != 0) len = trackLength / parts;
    }
    m_thumbLength =
        static_cast<int32_t>(std::clamp<int64_t>(len, kMinThumbLength, std::numeric_limits<int32_t>::max()));
}

int32_t UcScrollBar::valueToPos() const {
    const int64_t range = m_model.Range();
    if (range == 0) return m_trackStart;
    const double trackLength = double(m_trackEnd) - m_trackStart;
    return toInt32(m_trackStart + std::nearbyint((trackLength - m_thumbLength) / double(range) *
                                                 (double(m_model.Value()) - m_model.Min())));
}

int32_t UcScrollBar::posToValue(int32_t pos) const {
    const int64_t free = int64_t(m_trackEnd) - m_trackStart - m_thumbLength;
    if (free == 0) return 0;
    return toInt32(double(m_model.Min()) + (double(pos) - m_trackStart) / double(free) * double(m_model.Range()));
}

void UcScrollBar::computeRects() {
    if (!m_hasThumbArea) {
        m_track1 = m_track2 = m_thumb = {};
        return;
    }
    const int32_t W = vertical() ? width() : height();
    auto span = [&](int32_t from, int32_t to) -> RECT {
        return vertical() ? RECT{0, from, W, to} : RECT{from, 0, to, W};
    };
    m_track1 = span(m_trackStart, m_thumbPos);
    m_track2 = span(m_thumbPos + m_thumbLength, m_trackEnd);
    m_thumb = span(m_thumbPos, m_thumbPos + m_thumbLength);
}

void UcScrollBar::computeThumb() {
    computeThumbLength();
    m_thumbPos = valueToPos();
    computeRects();
}

RECT UcScrollBar::partRect(Part p) const {
    switch (p) {
    case Part::Arrow1: return m_arrow1;
    case Part::Arrow2: return m_arrow2;
    case Part::Track1: return m_track1;
    case Part::Track2: return m_track2;
    case Part::Thumb: return m_thumb;
    default: return {};
    }
}

UcScrollBar::Part UcScrollBar::partAt(int32_t x, int32_t y) const {
    for (Part p : {Part::Arrow1, Part::Arrow2, Part::Track1, Part::Track2, Part::Thumb}) {
        if (contains(partRect(p), x, y)) return p;
    }
    return Part::None;
}

// --- Messages ---------------------------------------------------------------------------

void UcScrollBar::zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND&, UINT& uMsg, WPARAM& wParam,
                                 LPARAM& lParam) {
    if (bBefore) {
        switch (uMsg) {
        case WM_PAINT:
            paint();
            bHandled = true;
            lReturn = 0;
            break;
        case WM_SIZE:
            layout();
            bHandled = true;
            lReturn = 0;
            break;
        default: break;
        }
        return;
    }
    const int32_t x = GET_X_LPARAM(lParam);
    const int32_t y = GET_Y_LPARAM(lParam);
    switch (uMsg) {
    case WM_LBUTTONDOWN:
        if (wParam & MK_LBUTTON) onPress(x, y);
        break;
    case WM_LBUTTONDBLCLK:
        // The second press of a double-click counts as one more press.
        onPress(x, y);
        break;
    case WM_MOUSEMOVE: onMove(wParam, x, y); break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE: onRelease(); break;
    case WM_TIMER: onTimer(wParam); break;
    default: break;
    }
}

void UcScrollBar::onModelChange() {
    m_thumbPos = valueToPos();
    computeRects();
    invalidateAll();
    emit Change();
}

bool UcScrollBar::step(bool up, int32_t n, bool fromArrowPress) {
    const bool changed = up ? m_model.StepUp(n) : m_model.StepDown(n);
    if (!changed && fromArrowPress) invalidateAll();
    return changed;
}

void UcScrollBar::onPress(int32_t x, int32_t y) {
    m_lastPoint = {x, y};
    m_pressed = partAt(x, y);
    if (m_pressed == Part::None) return;
    m_pressedLook = true;
    // A pressed arrow or thumb is no longer drawn hot.
    if (m_hovered == m_pressed) m_hovered = Part::None;
    switch (m_pressed) {
    case Part::Arrow1: step(true, m_model.SmallChange(), true); break;
    case Part::Arrow2: step(false, m_model.SmallChange(), true); break;
    case Part::Track1: step(true, m_model.LargeChange()); break;
    case Part::Track2: step(false, m_model.LargeChange()); break;
    case Part::Thumb:
        m_dragOffset = m_thumbPos - along(x, y);
        m_dragStartValue = m_model.Value();
        invalidateAll();
        return;
    case Part::None: return;
    }
    // Arrows and track repeat: a first pause of ChangeDelay, then one step per ChangeFrequency.
    KillTimer(this, kTimerDelay);
    SetTimer(this, kTimerDelay, static_cast<uint32_t>(m_changeDelay));
}

void UcScrollBar::onMove(WPARAM keys, int32_t x, int32_t y) {
    m_lastPoint = {x, y};
    if (keys != 0) {
        if (m_pressed == Part::Arrow1 || m_pressed == Part::Arrow2) {
            // The held arrow looks released while the pointer is off it; the repeat pauses.
            const bool inside = contains(partRect(m_pressed), x, y);
            if (m_pressedLook != inside) {
                m_pressedLook = inside;
                invalidateAll();
            }
        } else if (m_pressed == Part::Thumb) {
            const int32_t oldPos = m_thumbPos;
            bool changed;
            if (contains(m_dragZone, x, y)) {
                int32_t pos = along(x, y) + m_dragOffset;
                if (pos < m_trackStart) pos = m_trackStart;
                if (pos > m_trackEnd - m_thumbLength) pos = m_trackEnd - m_thumbLength;
                m_thumbPos = pos;
                changed = m_model.assignQuietly(posToValue(pos));
            } else {
                // Far outside the bar the drag is undone until the pointer comes back.
                changed = m_model.assignQuietly(m_dragStartValue);
                m_thumbPos = valueToPos();
            }
            if (m_thumbPos != oldPos) {
                computeRects();
                invalidateAll();
            }
            if (changed) m_model.raiseScroll();
        }
        return;
    }
    const Part part = partAt(x, y);
    if (!m_mouseOver) {
        m_mouseOver = true;
        invalidateAll();
        SetTimer(this, kTimerLeave, kCheckPeriod);
    }
    // Only the arrows and the thumb have a hot look; over a track piece the last hot part
    // stays hot until the hover check finds the pointer off it.
    if ((part == Part::Arrow1 || part == Part::Arrow2 || part == Part::Thumb) && part != m_hovered) {
        m_hovered = part;
        invalidateAll();
        SetTimer(this, kTimerHover, kCheckPeriod);
    }
}

void UcScrollBar::onRelease() {
    KillTimer(this, kTimerHover);
    KillTimer(this, kTimerDelay);
    KillTimer(this, kTimerRepeat);
    if (m_pressed == Part::Thumb && m_model.Value() != m_dragStartValue) m_model.raiseChange();
    m_pressed = Part::None;
    m_pressedLook = false;
    m_thumbPos = valueToPos();
    computeRects();
    invalidateAll();
}

void UcScrollBar::onTimer(uintptr_t id) {
    switch (id) {
    case kTimerDelay:
        KillTimer(this, kTimerDelay);
        SetTimer(this, kTimerRepeat, static_cast<uint32_t>(m_changeFrequency));
        break;
    case kTimerRepeat:
        switch (m_pressed) {
        case Part::Arrow1:
        case Part::Arrow2:
            if (contains(partRect(m_pressed), m_lastPoint.x, m_lastPoint.y)) {
                if (!step(m_pressed == Part::Arrow1, m_model.SmallChange())) KillTimer(this, kTimerRepeat);
            }
            break;
        case Part::Track1:
            // Paging stops once the thumb has reached the pointer.
            if (along(m_lastPoint.x, m_lastPoint.y) >= m_thumbPos) {
                m_pressedLook = false;
                invalidateAll();
            } else {
                m_pressedLook = true;
                step(true, m_model.LargeChange());
            }
            break;
        case Part::Track2:
            if (along(m_lastPoint.x, m_lastPoint.y) > m_thumbPos + m_thumbLength) {
                m_pressedLook = true;
                step(false, m_model.LargeChange());
            } else {
                m_pressedLook = false;
                invalidateAll();
            }
            break;
        default: break;
        }
        break;
    case kTimerHover: {
        if (m_hovered == Part::None) {
            // Nothing is hot any more (a press took it): the check has nothing left to watch.
            KillTimer(this, kTimerHover);
            break;
        }
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(this, &pt);
        if (!contains(partRect(m_hovered), pt.x, pt.y)) {
            m_hovered = Part::None;
            KillTimer(this, kTimerHover);
            invalidateAll();
        }
        break;
    }
    case kTimerLeave: {
        POINT pt;
        GetCursorPos(&pt);
        if (WindowFromPoint(pt) != this && m_mouseOver && m_pressed == Part::None) {
            m_mouseOver = false;
            KillTimer(this, kTimerLeave);
            invalidateAll();
        }
        break;
    }
    default: break;
    }
}

// --- Painting ---------------------------------------------------------------------------

void UcScrollBar::paint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(this, &ps);
    if (!hdc) return;
    if (!m_draw) m_draw = std::make_unique<cScrollbarDraw>();
    const ScrollOrientation o = m_orientation;
    const auto pressedLook = [this](Part p) { return m_pressed == p && m_pressedLook; };
    if (m_enabled) {
        const auto arrow = [&](Part p) {
            if (m_hovered == p) return ArrowFrame::Hot;
            if (pressedLook(p)) return ArrowFrame::Pressed;
            return m_mouseOver ? ArrowFrame::PointerOver : ArrowFrame::Normal;
        };
        const auto track = [&](Part p) { return pressedLook(p) ? TrackFrame::Pressed : TrackFrame::Normal; };
        m_draw->DrawArrow1(hdc, o, arrow(Part::Arrow1), m_arrow1);
        m_draw->DrawArrow2(hdc, o, arrow(Part::Arrow2), m_arrow2);
        if (m_hasThumbArea) {
            m_draw->DrawTrack(hdc, o, track(Part::Track1), m_track1);
            m_draw->DrawTrack(hdc, o, track(Part::Track2), m_track2);
            const ThumbFrame thumb = m_hovered == Part::Thumb   ? ThumbFrame::Hot
                                     : pressedLook(Part::Thumb) ? ThumbFrame::Pressed
                                                                : ThumbFrame::Normal;
            m_draw->DrawThumb(hdc, o, thumb, m_thumb);
        }
    } else {
        m_draw->DrawArrow1(hdc, o, ArrowFrame::Disabled, m_arrow1);
        m_draw->DrawArrow2(hdc, o, ArrowFrame::Disabled, m_arrow2);
        if (m_hasThumbArea) {
            m_draw->DrawTrack(hdc, o, TrackFrame::Normal, m_track1);
            m_draw->DrawTrack(hdc, o, TrackFrame::Normal, m_track2);
            m_draw->DrawThumb(hdc, o, ThumbFrame::Disabled, m_thumb);
        }
    }
    if (m_hasGap) {
        // The monochrome pattern takes the context's colours: black on white, the defaults
        // of a fresh paint context.
        SetTextColor(hdc, 0x000000);
        SetBkColor(hdc, 0xFFFFFF);
        FillRect(hdc, m_gap, m_gapBrush.get());
    }
    EndPaint(this, &ps);
}

} // namespace controls
