#include "scroll_value_model.h"

#include <algorithm>

namespace controls {

ScrollValueModel::ScrollValueModel(QObject* parent) : QObject(parent) {}

int32_t ScrollValueModel::clamp(int64_t v) const {
    // A model loaded as stored may hold Min above Max; the lower bound wins then, as the
    // setter rules would leave it.
    if (v > m_max) v = m_max;
    if (v < m_min) v = m_min;
    return static_cast<int32_t>(v);
}

void ScrollValueModel::setMin(int32_t v) {
    m_min = std::min(v, m_max);
    m_range = int64_t(m_max) - m_min;
    if (m_value < m_min) m_value = m_min;
}

void ScrollValueModel::setMax(int32_t v) {
    m_max = std::max(v, m_min);
    m_range = int64_t(m_max) - m_min;
    if (m_value > m_max) m_value = m_max;
}

void ScrollValueModel::setValue(int32_t v) {
    const int32_t c = clamp(v);
    if (c == m_value) return;
    m_value = c;
    emit Change();
}

void ScrollValueModel::setSmallChange(int32_t v) { m_smallChange = std::max(v, 1); }

void ScrollValueModel::setLargeChange(int32_t v) { m_largeChange = std::max(v, 1); }

bool ScrollValueModel::StepUp(int32_t n) {
    const int32_t next = static_cast<int32_t>(std::max<int64_t>(m_min, int64_t(m_value) - n));
    if (next == m_value) return false;
    m_value = next;
    emit Change();
    return true;
}

bool ScrollValueModel::StepDown(int32_t n) {
    const int32_t next = static_cast<int32_t>(std::min<int64_t>(m_max, int64_t(m_value) + n));
    if (next == m_value) return false;
    m_value = next;
    emit Change();
    return true;
}

void ScrollValueModel::load(int32_t min, int32_t max, int32_t value, int32_t smallChange, int32_t largeChange) {
    m_min = min;
    m_max = max;
    m_value = value;
    m_smallChange = smallChange;
    m_largeChange = largeChange;
    m_range = int64_t(m_max) - m_min;
}

bool ScrollValueModel::assignQuietly(int32_t v) {
    const int32_t c = clamp(v);
    if (c == m_value) return false;
    m_value = c;
    return true;
}

} // namespace controls
