#include "window_registry.h"

#include "platform/intercept/hooks.h"
#include "window_functions.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <unordered_set>

namespace platform {

namespace {

std::unordered_set<const Window*>& liveWindows() {
    static std::unordered_set<const Window*> set;
    return set;
}

QPointer<Window> g_capture;
QPointer<Window> g_lastMouse;
bool g_cursorKnown = false;
QPoint g_cursor;

// Remembers where the pointer was at every pointer event the program sees.
class PointerTracker : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (obj->isWidgetType()) {
                g_cursor = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
                g_cursorKnown = true;
            }
            break;
        default: break;
        }
        return false;
    }
};

} // namespace

LRESULT dispatchQueued(MSG& msg) {
    if (!IsWindow(msg.hwnd)) return 0;
    if (hasHooks(WH_GETMESSAGE)) {
        callHookChain(WH_GETMESSAGE, HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
        if (!IsWindow(msg.hwnd)) return 0;
    }
    const bool pointer = (msg.message >= WM_MOUSEMOVE && msg.message <= WM_MOUSEWHEEL);
    if (pointer && hasHooks(WH_MOUSE)) {
        MOUSEHOOKSTRUCT mhs{msg.pt, msg.hwnd, static_cast<UINT>(HTCLIENT), 0};
        if (callHookChain(WH_MOUSE, HC_ACTION, msg.message, reinterpret_cast<LPARAM>(&mhs)) != 0) return 0;
        if (!IsWindow(msg.hwnd)) return 0;
    }
    return CallWindowProc(msg.hwnd->procedure(), msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

namespace registry {

void add(const Window* w) {
    ensureTracker();
    liveWindows().insert(w);
}
void remove(const Window* w) { liveWindows().erase(w); }
bool contains(const Window* w) { return liveWindows().count(w) != 0; }

void setCapture(Window* w) { g_capture = w; }
Window* capture() { return g_capture.data(); }

void setLastMouseWindow(Window* w) { g_lastMouse = w; }
Window* lastMouseWindow() { return g_lastMouse.data(); }

bool cursorKnown() { return g_cursorKnown; }
QPoint cursor() { return g_cursorKnown ? g_cursor : QCursor::pos(); }
void setCursor(QPoint p) {
    g_cursor = p;
    g_cursorKnown = true;
}

void ensureTracker() {
    static PointerTracker* tracker = nullptr;
    if (!tracker && qApp) {
        tracker = new PointerTracker;
        tracker->setParent(qApp);
        qApp->installEventFilter(tracker);
    }
}

} // namespace registry
} // namespace platform
