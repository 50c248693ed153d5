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

class MoveSizeLoop : public QObject {
public:
    MoveSizeLoop(HWND hwnd, int32_t hit, bool keyboard)
        : m_window(hwnd), m_hit(hit), m_keyboard(keyboard), m_startRect(hwnd->windowRect()) {
        GetCursorPos(&m_startCursor);
    }

    HWND window() const { return m_window.data(); }

    void begin() {
        SendMessage(m_window, WM_ENTERSIZEMOVE, 0, 0);
        if (!m_window) return;
        const MINMAXINFO mmi = queryMinMaxInfo(m_window);
        m_minTrack = mmi.ptMinTrackSize;
        m_maxTrack = mmi.ptMaxTrackSize;
        qApp->installEventFilter(this);
    }

    void finish(bool cancel) {
        qApp->removeEventFilter(this);
        if (!m_window) return;
        if (cancel) {
            m_window->placeWindow(m_startRect.left, m_startRect.top, m_startRect.width(), m_startRect.height(), true,
                                  true);
        }
        if (m_window) SendMessage(m_window, WM_EXITSIZEMOVE, 0, 0);
    }

    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseMove: {
            const QPoint g = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            registry::setCursor(g);
            track(POINT{g.x(), g.y()});
            return true;
        }
        case QEvent::MouseButtonRelease:
            registry::setCursor(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
            endMoveSizeLoop(false);
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (m_keyboard) {
                endMoveSizeLoop(false);
                return true;
            }
            return false;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
                endMoveSizeLoop(true);
                return true;
            }
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return) {
                endMoveSizeLoop(false);
                return true;
            }
            return false;
        default: return false;
        }
    }

private:
    void track(POINT cursor) {
        if (!m_window) return;
        const int32_t dx = cursor.x - m_startCursor.x;
        const int32_t dy = cursor.y - m_startCursor.y;
        RECT rc = m_startRect;
        if (m_hit == HTCAPTION) {
            rc.left += dx;
            rc.right += dx;
            rc.top += dy;
            rc.bottom += dy;
            SendMessage(m_window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rc));
        } else {
            const WPARAM edge = static_cast<WPARAM>(m_hit) - HTLEFT + 1;
            const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
            const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
            const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
            const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
            if (left) rc.left += dx;
            if (right) rc.right += dx;
            if (top) rc.top += dy;
            if (bottom) rc.bottom += dy;
            SendMessage(m_window, WM_SIZING, edge, reinterpret_cast<LPARAM>(&rc));
            if (!m_window) return;
            // The tracking limits keep the edge that is not being dragged.
            const int32_t w = std::clamp(rc.right - rc.left, m_minTrack.x, std::max(m_minTrack.x, m_maxTrack.x));
            const int32_t h = std::clamp(rc.bottom - rc.top, m_minTrack.y, std::max(m_minTrack.y, m_maxTrack.y));
            if (left) rc.left = rc.right - w;
            else rc.right = rc.left + w;
            if (top) rc.top = rc.bottom - h;
            else rc.bottom = rc.top + h;
        }
        if (!m_window) return;
        m_window->placeWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, true, m_hit != HTCAPTION);
    }

    QPointer<Window> m_window;
    int32_t m_hit;
    bool m_keyboard;
    RECT m_startRect;
    POINT m_startCursor;
    POINT m_minTrack{0, 0};
    POINT m_maxTrack{1 << 20, 1 << 20};
};

std::unique_ptr<MoveSizeLoop> g_loop;

} // namespace

bool startMoveSizeLoop(HWND hwnd, int32_t hitCode, bool keyboard) {
    if (!IsWindow(hwnd) || g_loop) return false;
    if (hwnd->showState() != ShowState::Normal && hitCode != HTCAPTION) return false;
    if (callHookChain(WH_CBT, HCBT_MOVESIZE, reinterpret_cast<WPARAM>(hwnd), 0) != 0) return false;
    if (GetCapture() && GetCapture() != hwnd) ReleaseCapture();
    g_loop = std::make_unique<MoveSizeLoop>(hwnd, hitCode, keyboard);
    g_loop->begin();
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
