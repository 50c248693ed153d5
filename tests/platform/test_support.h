#pragma once
// Helpers shared by the platform tests.

#include "platform/window/window_functions.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <vector>

namespace testsupport {

// Sends a pointer event with an explicit screen position (the move/size loop reads screen
// positions; QTest maps local positions through the window system, which lags behind a
// window that was just moved or resized).
inline void pointerAt(QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButton button = Qt::NoButton,
                      Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent ev(type, QPointF(target->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &ev);
}

// A top-level window shown and exposed on the test display.
inline platform::Window* shownTopLevel(int w = 200, int h = 120, uint32_t style = 0) {
    auto* win = new platform::Window(nullptr, QStringLiteral("TestWindow"), style);
    win->resize(w, h);
    win->move(100, 100);
    win->show();
    (void)QTest::qWaitForWindowExposed(win);
    return win;
}

// A window whose own procedure records every message and answers with `answer`.
class RecordingWindow : public platform::Window {
public:
    explicit RecordingWindow(platform::Window* parent = nullptr) : platform::Window(parent) {}
    std::vector<platform::UINT> messages;
    std::function<platform::LRESULT(platform::UINT, platform::WPARAM, platform::LPARAM)> answer;
    platform::LRESULT WindowProc(platform::UINT m, platform::WPARAM w, platform::LPARAM l) override {
        messages.push_back(m);
        if (answer) return answer(m, w, l);
        return platform::Window::WindowProc(m, w, l);
    }
    int count(platform::UINT m) const { return static_cast<int>(std::count(messages.begin(), messages.end(), m)); }
};

} // namespace testsupport
