#include "move_size_loop.h"

#include "platform/intercept/hooks.h"
#include "window_functions.h"
#include "window_registry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <memory>

namespace platform {

namespace {

// One step of the arrow keys while moving or sizing from the keyboard, in pixels.
constexpr int32_t kKeyStep = 8;

class MoveSizeLoop : public QObject {
public:
    MoveSizeLoop(HWND hwnd, int32_t hit, bool keyboard, POINT start)
        : m_window(hwnd), m_hit(hit), m_keyboard(keyboard), m_startRect(hwnd->windowRect()), m_startCursor(start) {
        // From the keyboard a size starts with no edge picked (HTNOWHERE).
        if (m_hit != HTCAPTION && m_hit != HTNOWHERE) decideEdges(m_hit);
    }

    HWND window() const { return m_window.data(); }

    void begin(POINT current) {
        const MINMAXINFO mmi = queryMinMaxInfo(m_window);
        if (!m_window) return;
        m_minTrack = mmi.ptMinTrackSize;
        m_maxTrack = mmi.ptMaxTrackSize;
        if (!m_keyboard && current != m_startCursor) {
            // The operation began at the press; the pointer may have travelled some way before
            // the loop was entered (a brisk drag's first move event lands far off). The window
            // catches up first, so the loop and those watching it start where the pointer is.
            const RECT rc = clamped(proposed(current));
            m_window->placeWindow(rc.left, rc.top, rc.width(), rc.height(), true, m_hit != HTCAPTION);
            if (!m_window) return;
        }
        if (m_keyboard) {
            // From the system menu the pointer starts at the window's centre, put there before
            // the loop is announced so that those who note where the pointer started (window
            // snapping) see it there; sizing waits for a direction to pick its edges.
            const RECT wr = m_window->windowRect();
            m_startCursor = {wr.left + wr.width() / 2, wr.top + wr.height() / 2};
            m_startRect = wr;
            m_last = m_startCursor;
            SetCursorPos(m_startCursor.x, m_startCursor.y);
            registry::setMessagePos(QPoint(m_startCursor.x, m_startCursor.y));
        }
        SendMessage(m_window, WM_ENTERSIZEMOVE, 0, 0);
        if (!m_window) return;
        qApp->installEventFilter(this);
        if (m_keyboard) {
            // The loop owns pointer and keyboard until it ends.
            m_window->window()->grabMouse();
            m_window->window()->grabKeyboard();
        } else {
            track(current);
        }
    }

    // Ends the loop. `drain` keeps the filter until the pointer events that belong to the
    // ending action have passed (see eventFilter).
    void finish(bool cancel) {
        if (m_drain == Drain::None) qApp->removeEventFilter(this);
        if (!m_window) return;
        if (m_keyboard) {
            m_window->window()->releaseKeyboard();
            m_window->window()->releaseMouse();
        }
        if (cancel) {
            m_window->placeWindow(m_startRect.left, m_startRect.top, m_startRect.width(), m_startRect.height(), true,
                                  true);
        }
        if (m_window) SendMessage(m_window, WM_EXITSIZEMOVE, 0, 0);
    }

    bool eventFilter(QObject* obj, QEvent* e) override {
        if (m_drain != Drain::None) return drain(obj, e);
        switch (e->type()) {
        case QEvent::MouseMove: {
            const QPoint g = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            registry::setMessagePos(g);
            track(POINT{g.x(), g.y()});
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const QPoint g = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            registry::setMessagePos(g);
            if (m_keyboard) {
                end(Drain::None);
                return true;
            }
            // The window system's release goes on to Qt, which ends its own grab of the pointer
            // with it (otherwise Qt keeps sending every move to the frame that was pressed and
            // nothing else under the pointer lights up until the next click); its copy for the
            // pressed widget is the loop's and is dropped. A release sent straight to a widget
            // has no window-system copy. The window system's release also places the window
            // where the button was let go, should the last move before it not have reached us.
            if (obj->isWindowType()) {
                track(POINT{g.x(), g.y()});
                end(Drain::WidgetRelease);
                return false;
            }
            registry::clearPressed();
            end(Drain::None);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (m_keyboard) {
                // The click that ends a keyboard move or size is the loop's, release included.
                end(Drain::UntilRelease);
                return true;
            }
            return false;
        case QEvent::KeyPress: return key(static_cast<QKeyEvent*>(e)->key());
        default: return false;
        }
    }

private:
    enum class Drain { None, WidgetRelease, UntilRelease };

    void end(Drain drain) {
        m_drain = drain;
        endMoveSizeLoop(false);
    }

    bool drain(QObject* obj, QEvent* e) {
        switch (e->type()) {
        case QEvent::MouseButtonRelease: {
            // A widget's copy follows the window system's release that was let through; a
            // swallowed press has its release swallowed at the same level.
            if (m_drain == Drain::WidgetRelease && obj->isWindowType()) return false;
            if (static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton) {
                stopDraining();
                registry::clearPressed();
            }
            return true;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (m_drain == Drain::UntilRelease) return true;
            stopDraining();
            return false;
        default: return false;
        }
    }

    void stopDraining() {
        m_drain = Drain::None;
        qApp->removeEventFilter(this);
    }

    bool key(int k) {
        switch (k) {
        case Qt::Key_Escape: endMoveSizeLoop(true); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: endMoveSizeLoop(false); return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down: {
            if (!m_keyboard) return true;
            const int32_t dx = k == Qt::Key_Left ? -kKeyStep : (k == Qt::Key_Right ? kKeyStep : 0);
            const int32_t dy = k == Qt::Key_Up ? -kKeyStep : (k == Qt::Key_Down ? kKeyStep : 0);
            const POINT to{m_last.x + dx, m_last.y + dy};
            SetCursorPos(to.x, to.y);
            // The warp reaches the program as a move later (or not at all off the X server);
            // the step is taken now and the echo finds nothing left to do.
            track(to);
            return true;
        }
        default: return m_keyboard;
        }
    }

    // Sizing from the keyboard picks its edges from the first movement along each axis, and
    // the pointer jumps to the picked edge so that it moves the edge from there.
    void pickEdgesFrom(POINT& cursor) {
        if (!m_keyboard || m_hit == HTCAPTION) return;
        const int32_t dx = cursor.x - m_startCursor.x;
        const int32_t dy = cursor.y - m_startCursor.y;
        bool warp = false;
        if (!m_left && !m_right && dx != 0) {
            (dx < 0 ? m_left : m_right) = true;
            m_startCursor.x = dx < 0 ? m_startRect.left : m_startRect.right - 1;
            cursor.x = m_startCursor.x;
            warp = true;
        }
        if (!m_top && !m_bottom && dy != 0) {
            (dy < 0 ? m_top : m_bottom) = true;
            m_startCursor.y = dy < 0 ? m_startRect.top : m_startRect.bottom - 1;
            cursor.y = m_startCursor.y;
            warp = true;
        }
        if (warp) SetCursorPos(cursor.x, cursor.y);
    }

    void decideEdges(int32_t hit) {
        const WPARAM edge = static_cast<WPARAM>(hit) - HTLEFT + 1;
        m_left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
        m_right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
        m_top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
        m_bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    }

    // The WMSZ_* code of the edges being dragged, 0 while none is picked.
    WPARAM sizingEdge() const {
        if (m_top) return m_left ? WMSZ_TOPLEFT : (m_right ? WMSZ_TOPRIGHT : WMSZ_TOP);
        if (m_bottom) return m_left ? WMSZ_BOTTOMLEFT : (m_right ? WMSZ_BOTTOMRIGHT : WMSZ_BOTTOM);
        if (m_left) return WMSZ_LEFT;
        if (m_right) return WMSZ_RIGHT;
        return 0;
    }

    RECT proposed(POINT cursor) const {
        const int32_t dx = cursor.x - m_startCursor.x;
        const int32_t dy = cursor.y - m_startCursor.y;
        RECT rc = m_startRect;
        if (m_hit == HTCAPTION) {
            rc.left += dx;
            rc.right += dx;
            rc.top += dy;
            rc.bottom += dy;
            return rc;
        }
        if (m_left) rc.left += dx;
        if (m_right) rc.right += dx;
        if (m_top) rc.top += dy;
        if (m_bottom) rc.bottom += dy;
        return rc;
    }

    // The tracking limits keep the edge that is not being dragged.
    RECT clamped(RECT rc) const {
        if (m_hit == HTCAPTION) return rc;
        const int32_t w = std::clamp(rc.right - rc.left, m_minTrack.x, std::max(m_minTrack.x, m_maxTrack.x));
        const int32_t h = std::clamp(rc.bottom - rc.top, m_minTrack.y, std::max(m_minTrack.y, m_maxTrack.y));
        if (m_left) rc.left = rc.right - w;
        else rc.right = rc.left + w;
        if (m_top) rc.top = rc.bottom - h;
        else rc.bottom = rc.top + h;
        return rc;
    }

    void track(POINT cursor) {
        if (!m_window) return;
        pickEdgesFrom(cursor);
        // Those watching the loop (window snapping) read where the pointer is from the message
        // position: the point being tracked, not wherever the real pointer has got to since.
        registry::setMessagePos(QPoint(cursor.x, cursor.y));
        if (m_tracked && cursor == m_last) return;
        m_tracked = true;
        m_last = cursor;
        RECT rc = proposed(cursor);
        if (m_hit == HTCAPTION) {
            SendMessage(m_window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rc));
        } else {
            const WPARAM edge = sizingEdge();
            if (edge == 0) return;
            SendMessage(m_window, WM_SIZING, edge, reinterpret_cast<LPARAM>(&rc));
            rc = clamped(rc);
        }
        if (!m_window) return;
        m_window->placeWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, true, m_hit != HTCAPTION);
    }

    QPointer<Window> m_window;
    int32_t m_hit;
    bool m_keyboard;
    RECT m_startRect;
    POINT m_startCursor;
    POINT m_last;
    bool m_tracked = false;
    bool m_left = false;
    bool m_right = false;
    bool m_top = false;
    bool m_bottom = false;
    Drain m_drain = Drain::None;
    POINT m_minTrack{0, 0};
    POINT m_maxTrack{1 << 20, 1 << 20};
};

std::unique_ptr<MoveSizeLoop> g_loop;

POINT toPoint(QPoint p) { return {p.x(), p.y()}; }

} // namespace

bool startMoveSizeLoop(HWND hwnd, int32_t hitCode, bool keyboard) {
    if (!IsWindow(hwnd) || g_loop) return false;
    if (hwnd->showState() != ShowState::Normal && hitCode != HTCAPTION) return false;
    if (callHookChain(WH_CBT, HCBT_MOVESIZE, reinterpret_cast<WPARAM>(hwnd), 0) != 0) return false;
    if (GetCapture() && GetCapture() != hwnd) ReleaseCapture();
    // A drag starts where its button went down on this window, which may be some way behind the
    // move that asked for the loop.
    const POINT current = toPoint(registry::messagePos());
    QWidget* pressed = registry::leftPressWidget();
    const bool held = pressed && pressed->window() == hwnd->window() && !keyboard;
    const POINT start = held ? toPoint(registry::leftPressPoint()) : current;
    g_loop = std::make_unique<MoveSizeLoop>(hwnd, hitCode, keyboard, start);
    g_loop->begin(current);
    return true;
}

HWND moveSizeLoopWindow() { return g_loop ? g_loop->window() : nullptr; }

void endMoveSizeLoop(bool cancel) {
    if (!g_loop) return;
    // The loop may be ending from inside its own event filter: it goes away later.
    MoveSizeLoop* loop = g_loop.release();
    loop->finish(cancel);
    loop->deleteLater();
}

} // namespace platform
