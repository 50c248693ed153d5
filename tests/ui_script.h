#pragma once
// Steps that drive modal UI (a menu's or a dialog's own event loop) from outside: each step
// waits for its condition, then acts.

#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

namespace tbtest {

// Each step's action runs from a timer of its own: one that opens a menu, a submenu or a
// dialog returns only when that closes, and a timer does not fire again inside its own handler.
class UiScript {
public:
    using Step = std::pair<std::function<bool()>, std::function<void()>>;
    explicit UiScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_next < m_steps.size() && m_steps[m_next].first()) QTimer::singleShot(0, m_steps[m_next++].second);
        });
        m_timer.start(10);
    }
    bool finished() const { return m_next == m_steps.size(); }

private:
    std::vector<Step> m_steps;
    size_t m_next = 0;
    QTimer m_timer;
};

} // namespace tbtest
