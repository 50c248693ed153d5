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
bool g_messagePosKnown = false;
QPoint g_messagePos;
QPointer<QWidget> g_pressWidget;
QPointer<QWidget> g_leftPressWidget;
QPoint g_leftPressPoint;

// Remembers where the pointer was at every pointer event the program sees, and which widget
// holds the pointer between a press and the release of the last button.
class PointerTracker : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            const auto* me = static_cast<QMouseEvent*>(e);
            if (obj->isWidgetType()) {
                g_messagePos = me->globalPosition().toPoint();
                g_messagePosKnown = true;
                const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
                if (press && me->buttons() == me->button()) g_pressWidget = static_cast<QWidget*>(obj);
                if (press && me->button() == Qt::LeftButton) {
                    g_leftPressWidget = static_cast<QWidget*>(obj);
                    g_leftPressPoint = g_messagePos;
                }
            }
            // The window system's own release (to the top-level window) comes first; a loop
            // that keeps the widget's copy to itself does not keep the grab alive here.
            if (e->type() == QEvent::MouseButtonRelease && me->buttons() == Qt::NoButton) g_pressWidget = nullptr;
            break;
        }
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

QPoint messagePos() { return g_messagePosKnown ? g_messagePos : QCursor::pos(); }
void setMessagePos(QPoint p) {
    g_messagePos = p;
    g_messagePosKnown = true;
}

QWidget* pressWidget() { return g_pressWidget.data(); }
void clearPressed() { g_pressWidget = nullptr; }
QWidget* leftPressWidget() { return g_leftPressWidget.data(); }
QPoint leftPressPoint() { return g_leftPressPoint; }

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
