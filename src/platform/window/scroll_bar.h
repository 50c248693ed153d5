#pragma once
// ScrollBar: the platform's own horizontal or vertical scrollbar, a child window over a
// QScrollBar with 16-bit Value, Min, Max, SmallChange and LargeChange.
//
// Notifications: Change after every change of Value except those made by dragging the
// thumb, which raise Scroll as they happen and one Change when the thumb is let go (when the
// drag left Value different). Min may be above Max: the bar then runs from Min at its
// top (left) end down to Max.

#include "window.h"

class QScrollBar;

namespace platform {

class ScrollBar : public Window {
    Q_OBJECT

public:
    ScrollBar(Window* parent, Qt::Orientation orientation);

    Qt::Orientation orientation() const { return m_orientation; }

    int16_t Value() const { return m_value; }
    // Clamped to the range between Min and Max.
    void setValue(int16_t v);
    int16_t Min() const { return m_min; }
    void setMin(int16_t v);
    int16_t Max() const { return m_max; }
    void setMax(int16_t v);
    int16_t SmallChange() const { return m_smallChange; }
    // Steps below 1 become 1.
    void setSmallChange(int16_t v);
    int16_t LargeChange() const { return m_largeChange; }
    void setLargeChange(int16_t v);

    // The Qt control inside, for pointer input in tests.
    QScrollBar* control() const { return m_bar; }

signals:
    void Change();
    void Scroll();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Qt counts from the smaller bound to the larger.
    int fromValue(int16_t v) const;
    int16_t toValue(int q) const;
    void applyRange();
    void onQtValueChanged(int q);

    Qt::Orientation m_orientation;
    QScrollBar* m_bar;
    int16_t m_value = 0;
    int16_t m_min = 0;
    int16_t m_max = 32767;
    int16_t m_smallChange = 1;
    int16_t m_largeChange = 1;
    int16_t m_dragStartValue = 0;
    bool m_syncing = false;
};

} // namespace platform
