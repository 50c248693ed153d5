#include "timer.h"

namespace platform {

Timer::Timer(QObject* parent, int32_t interval, bool enabled)
    : QObject(parent), m_interval(interval), m_enabled(enabled) {
    connect(&m_timer, &QTimer::timeout, this, &Timer::Tick);
    apply();
}

void Timer::setInterval(int32_t ms) {
    m_interval = ms;
    apply();
}

void Timer::setEnabled(bool on) {
    m_enabled = on;
    apply();
}

void Timer::apply() {
    if (m_enabled && m_interval > 0) m_timer.start(m_interval);
    else m_timer.stop();
}

} // namespace platform
