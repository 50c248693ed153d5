#pragma once
// The value model of a scrollbar: Min, Max, Value, SmallChange and LargeChange with their
// setter rules, the two step operations and the Change and Scroll events. It has no window
// and no geometry, so a list can scroll its rows through it whatever paints the bar.

#include <QObject>
#include <cstdint>

namespace controls {

class ScrollValueModel : public QObject {
    Q_OBJECT

public:
    static constexpr int32_t kDefaultMin = 0;
    static constexpr int32_t kDefaultMax = 100;
    static constexpr int32_t kDefaultValue = 0;
    static constexpr int32_t kDefaultSmallChange = 1;
    static constexpr int32_t kDefaultLargeChange = 10;

    explicit ScrollValueModel(QObject* parent = nullptr);

    int32_t Min() const { return m_min; }
    int32_t Max() const { return m_max; }
    int32_t Value() const { return m_value; }
    int32_t SmallChange() const { return m_smallChange; }
    int32_t LargeChange() const { return m_largeChange; }
    // Max - Min. Kept 64 bits wide: a range from the smallest to the largest 32-bit value
    // does not fit in 32 bits.
    int64_t Range() const { return m_range; }

    // A Min above Max becomes Max; a Value below the new Min is raised to it without an event.
    void setMin(int32_t v);
    // A Max below Min becomes Min; a Value above the new Max is lowered to it without an event.
    void setMax(int32_t v);
    // Clamped to Min..Max; raises Change when the stored value changed.
    void setValue(int32_t v);
    // Values below 1 become 1.
    void setSmallChange(int32_t v);
    void setLargeChange(int32_t v);

    // Value = max(Min, Value - n); raises Change and returns true when Value changed.
    bool StepUp(int32_t n);
    // Value = min(Max, Value + n); raises Change and returns true when Value changed.
    bool StepDown(int32_t n);

    // Values read from a property bag are taken as stored, without the setter rules.
    void load(int32_t min, int32_t max, int32_t value, int32_t smallChange, int32_t largeChange);

    // For the painted control's thumb drag: stores `v` clamped to Min..Max without an event
    // and reports whether Value changed. The control raises Scroll and Change itself.
    bool assignQuietly(int32_t v);
    void raiseChange() { emit Change(); }
    void raiseScroll() { emit Scroll(); }

signals:
    void Change();
    void Scroll();

private:
    int32_t clamp(int64_t v) const;

    int32_t m_min = kDefaultMin;
    int32_t m_max = kDefaultMax;
    int32_t m_value = kDefaultValue;
    int32_t m_smallChange = kDefaultSmallChange;
    int32_t m_largeChange = kDefaultLargeChange;
    int64_t m_range = int64_t(kDefaultMax) - kDefaultMin;
};

} // namespace controls
