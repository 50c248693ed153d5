#pragma once
// Helpers of the chrome tests: top-level windows placed on the Xvfb screen and pointer drags
// through the real event path.

#include "platform/window/window_functions.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <memory>

namespace chrome_test {

// A shown top-level window with the given style whose window rectangle is `rc`.
inline std::unique_ptr<platform::Window> topLevel(const platform::RECT& rc, uint32_t style) {
    auto w = std::make_unique<platform::Window>(nullptr, QStringLiteral("Form"), style);
    w->show();
    platform::SetWindowPos(w.get(), nullptr, rc.left, rc.top, rc.width(), rc.height(), platform::SWP_NOZORDER);
    (void)QTest::qWaitForWindowExposed(w.get());
    platform::pumpFor(20);
    return w;
}

// A pointer move with no button held, delivered at once (QTest warps the real pointer for
// such moves, which arrives later and only through the X server).
inline void hover(QWidget* w, QPoint pos) {
    QMouseEvent me(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &me);
}

// A pointer event at a screen position, delivered at once.
inline void pointerAt(QWidget* w, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent me(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &me);
}

// Drags with the left button from `from` to `to` (client coordinates of `w` at the start),
// starting the platform's move loop for `hit` after the press. Snapping reads the pointer
// itself, so the real pointer is put where the drag goes as well.
inline void dragLoop(platform::Window* w, QPoint from, QPoint to, int32_t hit) {
    const QPoint globalFrom = w->mapToGlobal(from);
    const QPoint globalTo = globalFrom + (to - from);
    QCursor::setPos(globalFrom);
    pointerAt(w, QEvent::MouseButtonPress, globalFrom, Qt::LeftButton, Qt::LeftButton);
    platform::SendMessage(w, platform::WM_NCLBUTTONDOWN, static_cast<platform::WPARAM>(hit), 0);
    QCursor::setPos(globalTo);
    pointerAt(w, QEvent::MouseMove, globalTo, Qt::NoButton, Qt::LeftButton);
    pointerAt(w, QEvent::MouseButtonRelease, globalTo, Qt::LeftButton, Qt::NoButton);
    platform::pumpFor(20);
}

} // namespace chrome_test
