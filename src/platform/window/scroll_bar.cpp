#include "scroll_bar.h"

#include <QScrollBar>
#include <algorithm>

namespace platform {

ScrollBar::ScrollBar(Window* parent, Qt::Orientation orientation)
    : Window(parent, orientation == Qt::Horizontal ? QStringLiteral("HScrollBar") : QStringLiteral("VScrollBar")),
      m_orientation(orientation), m_bar(new QScrollBar(orientation, this)) {
    m_bar->setGeometry(0, 0, width(), height());
    m_bar->setTracking(true);
    applyRange();
    connect(m_bar, &QScrollBar::valueChanged, this, &ScrollBar::onQtValueChanged);
    connect(m_bar, &QScrollBar::sliderPressed, this, [this] { m_dragStartValue = m_value; });
    connect(m_bar, &QScrollBar::sliderReleased, this, [this] {
        if (m_value != m_dragStartValue) emit Change();
    });
    m_bar->show();
}

LRESULT ScrollBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) m_bar->setGeometry(0, 0, width(), height());
    return Window::WindowProc(msg, wParam, lParam);
}

// A reversed bar (Min above Max) maps Min to Qt's lower end, so Min stays at the top.
int ScrollBar::fromValue(int16_t v) const { return m_min <= m_max ? v : m_min + m_max - v; }

int16_t ScrollBar::toValue(int q) const { return static_cast<int16_t>(m_min <= m_max ? q : m_min + m_max - q); }

void ScrollBar::applyRange() {
    m_syncing = true;
    m_bar->setRange(std::min(m_min, m_max), std::max(m_min, m_max));
    m_bar->setSingleStep(m_smallChange);
    m_bar->setPageStep(m_largeChange);
    m_bar->setValue(fromValue(m_value));
    m_syncing = false;
}

void ScrollBar::onQtValueChanged(int q) {
    if (m_syncing) return;
    const int16_t v = toValue(q);
    if (v == m_value) return;
    m_value = v;
    if (m_bar->isSliderDown()) emit Scroll();
    else emit Change();
}

void ScrollBar::setValue(int16_t v) {
    const int16_t lo = std::min(m_min, m_max);
    const int16_t hi = std::max(m_min, m_max);
    v = std::clamp(v, lo, hi);
    if (v == m_value) return;
    m_value = v;
    m_syncing = true;
    m_bar->setValue(fromValue(v));
    m_syncing = false;
    emit Change();
}

void ScrollBar::setMin(int16_t v) {
    m_min = v;
    const int16_t before = m_value;
    m_value = std::clamp(m_value, std::min(m_min, m_max), std::max(m_min, m_max));
    applyRange();
    if (m_value != before) emit Change();
}

void ScrollBar::setMax(int16_t v) {
    m_max = v;
    const int16_t before = m_value;
    m_value = std::clamp(m_value, std::min(m_min, m_max), std::max(m_min, m_max));
    applyRange();
    if (m_value != before) emit Change();
}

void ScrollBar::setSmallChange(int16_t v) {
    m_smallChange = std::max<int16_t>(v, 1);
    m_bar->setSingleStep(m_smallChange);
}

void ScrollBar::setLargeChange(int16_t v) {
    m_largeChange = std::max<int16_t>(v, 1);
    m_bar->setPageStep(m_largeChange);
}

} // namespace platform
