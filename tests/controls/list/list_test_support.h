#pragma once
// Shared helpers of the channel-list tests: a shown host window, real pointer events and
// pixel reads of a window's retained image.

#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/window/window_functions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <memory>

namespace listtest {

// A top-level window that hosts the control under test, shown on the test display.
inline std::unique_ptr<platform::Window> makeHost(int w = 400, int h = 500) {
    auto host = std::make_unique<platform::Window>();
    host->setGeometry(40, 40, w, h);
    host->show();
    (void)QTest::qWaitForWindowExposed(host.get());
    return host;
}

// Event timestamps: presses far apart unless a double-click is meant.
inline quint64& eventTime() {
    static quint64 t = 1000000;
    return t;
}

inline void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton b, Qt::MouseButtons held, quint64 advance,
                 Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), b, held, mods);
    eventTime() += advance;
    e.setTimestamp(eventTime());
    QApplication::sendEvent(w, &e);
}

// A pointer move with the given buttons held, delivered as the display would deliver it.
inline void moveWithButtons(QWidget* w, QPoint pos, Qt::MouseButtons buttons) {
    send(w, QEvent::MouseMove, pos, Qt::NoButton, buttons, 1);
}

inline void press(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers mods = Qt::NoModifier) {
    send(w, QEvent::MouseButtonPress, pos, b, b, 5000, mods);
}

inline void release(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
    send(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton, 1);
}

// A double-click as the display reports it: press, release, press, double-click, release.
inline void doubleClick(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
    press(w, pos, b);
    release(w, pos, b);
    send(w, QEvent::MouseButtonPress, pos, b, b, 50);
    send(w, QEvent::MouseButtonDblClick, pos, b, b, 0);
    release(w, pos, b);
}

// One wheel notch; a positive delta turns the wheel away from the user.
inline void wheel(QWidget* w, QPoint pos, int delta) {
    QWheelEvent e(QPointF(pos), QPointF(w->mapToGlobal(pos)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// The colour (0x00BBGGRR) of a pixel of the window's retained image.
inline platform::COLORREF pixel(platform::Window* w, int x, int y) { return platform::GetPixel(w->dc(), x, y); }

// Runs events until `done` holds or `ms` pass; returns whether it held.
inline bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        platform::pumpFor(2);
    }
    return true;
}

} // namespace listtest
