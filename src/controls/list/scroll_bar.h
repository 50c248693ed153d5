#pragma once
// UcScrollBar: a scrollbar painted entirely from the "SCR..." skin images, with two arrow
// buttons, a track and a draggable thumb, auto-repeat while an arrow or the track is held,
// hover highlighting, and the Change and Scroll events of its value model.
//
// Layout along the bar (vertical shown; a horizontal bar swaps x and y):
//
//   0 ┌─────┐            a = 18 with buttons, else 0
//     │ ▲   │ Arrow1     L >= 2a + 8 : arrows, track and thumb
//   a ├─────┤ TrackStart L >  2a     : arrows and a checkered Gap between them
//     │     │ Track1     otherwise   : two arrows of L div 2, a one-pixel Gap when L is odd
//     ├─────┤ ThumbPos
//     │ ▓▓▓ │ Thumb (ThumbLength)
//     ├─────┤
//     │     │ Track2
// L-a ├─────┤ TrackEnd
//     │ ▼   │ Arrow2
//   L └─────┘
//
// Messages of its own window are intercepted at run time: WM_PAINT and WM_SIZE before the
// window's own handling (answered), pointer and timer messages after it.

#include "scroll_value_model.h"
#include "scrollbar_draw.h"

#include "platform/forms/property_bag.h"
#include "platform/gdi/gdi_handle.h"
#include "platform/intercept/interception.h"
#include "platform/window/window.h"

#include <memory>

namespace controls {

class UcScrollBar : public platform::Window, public platform::ISubclass {
    Q_OBJECT

public:
    enum class Part : int32_t { None = 0, Arrow1 = 1, Arrow2 = 2, Track1 = 3, Track2 = 4, Thumb = 5 };

    // Timer numbers on the control's window.
    static constexpr uintptr_t kTimerDelay = 1;
    static constexpr uintptr_t kTimerRepeat = 2;
    static constexpr uintptr_t kTimerHover = 3;
    static constexpr uintptr_t kTimerLeave = 4;
    static constexpr uint32_t kCheckPeriod = 25;

    static constexpr int32_t kDefaultChangeDelay = 500;
    static constexpr int32_t kDefaultChangeFrequency = 50;
    static constexpr int32_t kMinChangeFrequency = 25;
    static constexpr int32_t kButtonLength = 18;
    static constexpr int32_t kMinTrackLength = 8;
    static constexpr int32_t kMinThumbLength = 8;
    // DragZone: the client area grown across and along the bar; outside it a drag snaps
    // back to its start value.
    static constexpr int32_t kDragZoneAcross = 25;
    static constexpr int32_t kDragZoneAlong = 250;

    explicit UcScrollBar(platform::Window* parent);
    ~UcScrollBar() override;

    // Lifecycle: a new control takes the defaults, a loaded one reads its ten keys. Both lay
    // the control out; at run time they start the message interception.
    void InitProperties();
    void ReadProperties(const platform::PropertyBag& bag);
    // Writes the ten keys, each only when it differs from its default.
    void WriteProperties(platform::PropertyBag& bag) const;

    // Value model.
    int32_t Min() const { return m_model.Min(); }
    int32_t Max() const { return m_model.Max(); }
    int32_t Value() const { return m_model.Value(); }
    int32_t SmallChange() const { return m_model.SmallChange(); }
    int32_t LargeChange() const { return m_model.LargeChange(); }
    int64_t Range() const { return m_model.Range(); }
    void setMin(int32_t v);
    void setMax(int32_t v);
    void setValue(int32_t v) { m_model.setValue(v); }
    void setSmallChange(int32_t v);
    void setLargeChange(int32_t v);

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool v);
    int32_t ChangeDelay() const { return m_changeDelay; }
    void setChangeDelay(int32_t v);
    int32_t ChangeFrequency() const { return m_changeFrequency; }
    void setChangeFrequency(int32_t v);
    int32_t Orientation() const { return static_cast<int32_t>(m_orientation); }
    void setOrientation(int32_t v);
    bool ShowButtons() const { return m_showButtons; }
    void setShowButtons(bool v);
    platform::HWND hWnd() { return this; }
    // Has the whole window repainted.
    void Refresh();

    // Geometry, shared by painting and hit-testing (client pixels).
    platform::RECT partRect(Part p) const;
    platform::RECT gapRect() const { return m_gap; }
    platform::RECT dragZone() const { return m_dragZone; }
    bool hasThumbArea() const { return m_hasThumbArea; }
    bool hasGap() const { return m_hasGap; }
    int32_t thumbPos() const { return m_thumbPos; }
    int32_t thumbLength() const { return m_thumbLength; }
    int32_t trackStart() const { return m_trackStart; }
    int32_t trackEnd() const { return m_trackEnd; }
    Part partAt(int32_t x, int32_t y) const;
    // The part that took the press, until the release (None while no press is held).
    Part pressedPart() const { return m_pressed; }
    // The arrow or thumb drawn hot under the pointer (None when there is none).
    Part hoveredPart() const { return m_hovered; }
    bool mouseOver() const { return m_mouseOver; }

    void zSubclass_Proc(bool bBefore, bool& bHandled, platform::LRESULT& lReturn, platform::HWND& lng_hWnd,
                        platform::UINT& uMsg, platform::WPARAM& wParam, platform::LPARAM& lParam) override;

signals:
    void Change();
    void Scroll();

private:
    bool vertical() const { return m_orientation == ScrollOrientation::Vertical; }
    // Coordinate along the bar of a client point.
    int32_t along(int32_t x, int32_t y) const { return vertical() ? y : x; }
    void startInterception();
    void layout();
    void computeThumb();
    void computeThumbLength();
    int32_t valueToPos() const;
    int32_t posToValue(int32_t pos) const;
    void computeRects();
    void invalidateAll();

    void paint();
    void onPress(int32_t x, int32_t y);
    void onMove(platform::WPARAM keys, int32_t x, int32_t y);
    void onRelease();
    void onTimer(uintptr_t id);
    // A step through the model; `fromArrowPress` repaints even when nothing changed.
    bool step(bool up, int32_t n, bool fromArrowPress = false);
    void onModelChange();

    ScrollValueModel m_model;
    std::unique_ptr<platform::Subclasser> m_subclass;
    std::unique_ptr<cScrollbarDraw> m_draw;
    // The checkered gap between the arrows of a bar too short for a track.
    platform::BrushHandle m_gapBrush{platform::createCheckerBrush()};

    bool m_enabled = true;
    int32_t m_changeDelay = kDefaultChangeDelay;
    int32_t m_changeFrequency = kDefaultChangeFrequency;
    ScrollOrientation m_orientation = ScrollOrientation::Vertical;
    bool m_showButtons = true;

    platform::RECT m_arrow1, m_arrow2, m_track1, m_track2, m_thumb, m_gap, m_dragZone;
    bool m_hasThumbArea = false;
    bool m_hasGap = false;
    int32_t m_trackStart = 0;
    int32_t m_trackEnd = 0;
    int32_t m_thumbPos = 0;
    int32_t m_thumbLength = kMinThumbLength;

    Part m_hovered = Part::None;
    Part m_pressed = Part::None;
    // Whether the pressed part is drawn pressed: an arrow while the pointer is on it, a track
    // piece while it still pages toward the pointer, the thumb throughout the drag.
    bool m_pressedLook = false;
    bool m_mouseOver = false;
    platform::POINT m_lastPoint;
    int32_t m_dragOffset = 0;
    int32_t m_dragStartValue = 0;
};

} // namespace controls
