#pragma once
// A form's timer component: ticks every Interval milliseconds while Enabled and Interval > 0.

#include <QObject>
#include <QTimer>
#include <cstdint>

namespace platform {

class Timer : public QObject {
    Q_OBJECT

public:
    explicit Timer(QObject* parent = nullptr, int32_t interval = 0, bool enabled = true);

    int32_t Interval() const { return m_interval; }
    // Setting restarts the count; 0 stops ticking (the timer stays enabled).
    void setInterval(int32_t ms);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);

signals:
    void Tick();

private:
    void apply();

    QTimer m_timer;
    int32_t m_interval;
    bool m_enabled;
};

} // namespace platform
