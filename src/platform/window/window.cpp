#include "window.h"

#include "move_size_loop.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/region.h"
#include "platform/intercept/hooks.h"
#include "window_functions.h"
#include "window_registry.h"
#include "x11_desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

namespace platform {

namespace {

bool g_designMode = false;

// The link that hands a message to the window's own WindowProc.
class OwnProcedure : public WindowProcedure {
public:
    LRESULT call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        return hwnd->WindowProc(msg, wParam, lParam);
    }
};

class FunctionProcedure : public WindowProcedure {
public:
    explicit FunctionProcedure(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> fn) : m_fn(std::move(fn)) {}
    LRESULT call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override { return m_fn(hwnd, msg, wParam, lParam); }

private:
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> m_fn;
};

WPARAM mouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    WPARAM k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
    if (mods & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

uint32_t virtualKey(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<uint32_t>(qtKey);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<uint32_t>(qtKey);
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
    }
}

} // namespace

WNDPROC makeProcedure(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> fn) {
    return std::make_shared<FunctionProcedure>(std::move(fn));
}

Window::Window(Window* parent, const QString& className, uint32_t style, uint32_t exStyle)
    : QWidget(parent), m_className(className), m_exStyle(exStyle), m_parentWindow(parent),
      m_ownProcedure(std::make_shared<OwnProcedure>()), m_procedure(m_ownProcedure) {
    registry::add(this);
    if (parent) {
        m_style = (style ? style : (WS_CHILD | WS_VISIBLE)) | WS_CHILD;
    } else {
        m_style = style;
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    m_surface = std::make_unique<Bitmap>(std::max(1, width()), std::max(1, height()), Bitmap::Format::Device);
    m_surface->resize(width(), height(), toQRgb(m_backColor));
    m_dc = std::make_unique<DeviceContext>(DeviceContext::Kind::Window, this);
    if (parent && (m_style & WS_VISIBLE)) QWidget::show();
    if (m_style & WS_DISABLED) QWidget::setEnabled(false);
}

Window::~Window() {
    if (moveSizeLoopWindow() == this) endMoveSizeLoop(false);
    if (GetCapture() == this) registry::setCapture(nullptr);
    registry::remove(this);
    m_destroyed = true;
    m_timers.clear();
    if (m_region) DeleteObject(m_region);
    m_dc->detachWindow();
}

LRESULT Window::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProc(this, msg, wParam, lParam); }

WNDPROC Window::setProcedure(WNDPROC proc) {
    WNDPROC previous = m_procedure;
    m_procedure = proc ? std::move(proc) : m_ownProcedure;
    return previous;
}

uint32_t Window::style() const {
    uint32_t s = m_style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    if (isVisible() || (!isTopLevelWindow() && !isHidden())) s |= WS_VISIBLE;
    if (!isEnabled()) s |= WS_DISABLED;
    if (m_showState == ShowState::Minimized) s |= WS_MINIMIZE;
    if (m_showState == ShowState::Maximized) s |= WS_MAXIMIZE;
    return s;
}

void Window::setStyle(uint32_t style) {
    m_style = style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    if (!isTopLevelWindow()) m_style |= WS_CHILD;
}

bool Window::hasThickFrame() const { return isTopLevelWindow() && (m_style & WS_THICKFRAME); }

int32_t Window::frameThickness() const { return hasThickFrame() ? 3 : 0; }

Window* Window::parentWindow() const { return m_parentWindow; }

RECT Window::windowRect() const {
    const QPoint origin = isTopLevelWindow() ? geometry().topLeft() : mapToGlobal(QPoint(0, 0));
    const int32_t f = frameThickness();
    return {origin.x() - f, origin.y() - f, origin.x() + width() + f, origin.y() + height() + f};
}

RECT Window::clientRect() const { return {0, 0, width(), height()}; }

void Window::placeWindow(int32_t x, int32_t y, int32_t w, int32_t h, bool move, bool size) {
    const int32_t f = frameThickness();
    QRect g = geometry();
    if (move) g.moveTopLeft(QPoint(x + f, y + f));
    if (size) g.setSize(QSize(std::max(0, w - 2 * f), std::max(0, h - 2 * f)));
    if (g != geometry()) setGeometry(g);
    reportGeometry();
}

ShowState Window::restoreState() const {
    return m_showState == ShowState::Minimized && m_restoreMaximized ? ShowState::Maximized : ShowState::Normal;
}

bool Window::changeShowState(ShowState target, StateChangeBy by) {
    const ShowState from = m_showState;
    if (!isTopLevelWindow() || m_destroyed || from == target) return false;
    QPointer<Window> self(this);
    if (by == StateChangeBy::Desktop) {
        // The desktop has placed the window already (a window manager maximises into the work
        // area and restores what it saved); placing it again would tell Qt the window left the
        // manager's state. The layer records the state and tells the procedures.
        if (from == ShowState::Normal) m_normalRect = windowRect();
        if (target == ShowState::Minimized) m_restoreMaximized = from == ShowState::Maximized;
        else m_restoreMaximized = false;
        m_showState = target;
        m_reportedSize = QSize(-1, -1);
        if (target == ShowState::Minimized) SendMessage(this, WM_SIZE, SIZE_MINIMIZED, 0);
        else reportGeometry();
        return self != nullptr;
    }
    MINMAXINFO mmi{};
    if (target == ShowState::Maximized) {
        mmi = queryMinMaxInfo(this);
        if (!self) return false;
    }
    if (from == ShowState::Normal) m_normalRect = windowRect();
    m_showState = target;
    // Every change is reported, even one that keeps the size (minimised to maximised).
    m_reportedSize = QSize(-1, -1);
    switch (target) {
    case ShowState::Minimized:
        m_restoreMaximized = from == ShowState::Maximized;
        showMinimized();
        // On X11 only a window manager iconifies; without one the window would stay on screen,
        // shown as it was while the layer thought it minimised (its frame no longer painted).
        // The layer then takes it off the screen itself.
        if (self && isVisible()) x11::iconifyWithoutWindowManager(winId());
        if (self) SendMessage(this, WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case ShowState::Maximized:
        m_restoreMaximized = false;
        if (windowState() & Qt::WindowMinimized) showNormal();
        if (self) placeWindow(mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxSize.x, mmi.ptMaxSize.y, true, true);
        break;
    case ShowState::Normal:
        m_restoreMaximized = false;
        if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) {
            // Leaves the desktop's own minimised or maximised state as well.
            setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        }
        if (!self) break;
        if (from == ShowState::Maximized) {
            placeWindow(m_normalRect.left, m_normalRect.top, m_normalRect.width(), m_normalRect.height(), true, true);
        } else {
            reportGeometry();
        }
        break;
    }
    return self != nullptr;
}

void Window::desktopStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState) {
    if (!isTopLevelWindow() || m_destroyed) return;
    if (newState & Qt::WindowMinimized) {
        changeShowState(ShowState::Minimized, StateChangeBy::Desktop);
    } else if (m_showState == ShowState::Minimized) {
        // Un-minimised from the task bar: back to the state it was minimised from, or
        // maximised when the desktop maximised it on the way.
        changeShowState(newState & Qt::WindowMaximized ? ShowState::Maximized : restoreState(), StateChangeBy::Desktop);
    } else if ((newState & Qt::WindowMaximized) && !(oldState & Qt::WindowMaximized)) {
        changeShowState(ShowState::Maximized, StateChangeBy::Desktop);
    } else if (!(newState & Qt::WindowMaximized) && (oldState & Qt::WindowMaximized)) {
        changeShowState(ShowState::Normal, StateChangeBy::Desktop);
    }
}

void Window::setBackColor(COLORREF c) { m_backColor = c & 0xFFFFFF; }

void Window::clearSurface() {
    const uint32_t fill = toQRgb(m_backColor);
    for (int32_t y = 0; y < m_surface->height(); ++y) std::fill_n(m_surface->row(y), m_surface->width(), fill);
    update();
}

void Window::resizeSurface(int32_t w, int32_t h) {
    const QSize old(m_surface->width(), m_surface->height());
    m_surface->resize(w, h, toQRgb(m_backColor));
    // Newly exposed parts need painting, as on the platform.
    QRegion exposed(0, 0, w, h);
    exposed -= QRegion(0, 0, old.width(), old.height());
    if (!exposed.isEmpty()) invalidate(exposed, true);
}

void Window::invalidate(const QRegion& r, bool erase) {
    const QRegion area = r & QRegion(0, 0, width(), height());
    if (area.isEmpty() && !erase) return;
    m_updateRegion |= area;
    if (erase) m_eraseNeeded = true;
    if (!m_paintPosted && !m_updateRegion.isEmpty()) {
        m_paintPosted = true;
        QPointer<Window> self(this);
        QMetaObject::invokeMethod(
            qApp,
            [self] {
                if (self) self->dispatchPendingPaint();
            },
            Qt::QueuedConnection);
    }
}

void Window::validate(const QRegion& r) { m_updateRegion -= r; }

void Window::dispatchPendingPaint() {
    m_paintPosted = false;
    if (m_updateRegion.isEmpty() || m_destroyed) return;
    MSG msg{this, WM_PAINT, 0, 0, GetTickCount(), {}};
    dispatchQueued(msg);
    // A procedure that answered WM_PAINT without validating would be asked again and again;
    // the platform's default validates, and so does the layer after the dispatch.
    if (!m_destroyed) {
        m_updateRegion = QRegion();
        m_eraseNeeded = false;
    }
}

void Window::setWindowRegion(HRGN rgn) {
    if (m_region && m_region != rgn) DeleteObject(m_region);
    m_region = rgn;
    if (!rgn) {
        clearMask();
        return;
    }
    const int32_t f = frameThickness();
    QRegion mask = rgn->qregion().translated(-f, -f) & QRegion(0, 0, width(), height());
    // An empty region hides the whole window.
    if (mask.isEmpty()) mask = QRegion(width() + 1, height() + 1, 1, 1);
    setMask(mask);
}

void Window::setTopMost(bool on) {
    if (!isTopLevelWindow()) return;
    m_topMost = on;
    if (on) m_exStyle |= WS_EX_TOPMOST;
    else m_exStyle &= ~WS_EX_TOPMOST;
    if (QWindow* w = windowHandle()) {
        w->setFlag(Qt::WindowStaysOnTopHint, on);
        if (on) w->raise();
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
    }
}

void Window::setText(const QString& t) {
    m_text = t;
    if (isTopLevelWindow()) setWindowTitle(t);
}

void Window::setIcon(int which, HICON icon) {
    if (which == 0) m_smallIcon = icon;
    else m_bigIcon = icon;
    if (icon && isTopLevelWindow()) {
        QIcon qi;
        for (const QImage& img : icon->images()) qi.addPixmap(QPixmap::fromImage(img));
        setWindowIcon(qi);
    }
}

void Window::setTimer(uintptr_t id, uint32_t ms) {
    auto& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, this, [this, id] {
            // Like the platform, a timer that fires while its last WM_TIMER is still queued
            // does not queue another.
            if (m_timerPosted[id]) return;
            m_timerPosted[id] = true;
            QPointer<Window> self(this);
            QMetaObject::invokeMethod(
                qApp,
                [self, id] {
                    if (!self) return;
                    self->m_timerPosted[id] = false;
                    if (self->m_timers.count(id) == 0) return;
                    MSG msg{self.data(), WM_TIMER, id, 0, GetTickCount(), {}};
                    dispatchQueued(msg);
                },
                Qt::QueuedConnection);
        });
    }
    timer->start(static_cast<int>(std::max<uint32_t>(ms, 1)));
}

bool Window::killTimer(uintptr_t id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return false;
    m_timers.erase(it);
    m_timerPosted.erase(id);
    return true;
}

void Window::trackLeave(bool on) { m_trackLeave = on; }

bool Window::designMode() { return g_designMode; }
void Window::setDesignMode(bool on) { g_designMode = on; }

void Window::destroyWindow() {
    if (m_destroyed) return;
    callHookChain(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(this), 0);
    QPointer<Window> self(this);
    SendMessage(this, WM_DESTROY, 0, 0);
    if (!self) return;
    const auto kids = findChildren<Window*>(QString(), Qt::FindDirectChildrenOnly);
    for (Window* child : kids) {
        if (child && IsWindow(child)) child->destroyWindow();
    }
    SendMessage(this, WM_NCDESTROY, 0, 0);
    if (!self) return;
    if (moveSizeLoopWindow() == this) endMoveSizeLoop(false);
    if (GetCapture() == this) ReleaseCapture();
    m_timers.clear();
    m_destroyed = true;
    registry::remove(this);
    hide();
    if (m_deleteOnDestroy) deleteLater();
}

void Window::notifyCreated() {
    if (m_created) return;
    m_created = true;
    CREATESTRUCT cs;
    cs.hwndParent = m_parentWindow;
    const RECT wr = windowRect();
    cs.x = wr.left;
    cs.y = wr.top;
    cs.cx = wr.right - wr.left;
    cs.cy = wr.bottom - wr.top;
    cs.style = style();
    cs.dwExStyle = m_exStyle;
    cs.lpszClass = reinterpret_cast<const char16_t*>(m_className.utf16());
    cs.lpszName = reinterpret_cast<const char16_t*>(m_text.utf16());
    CBT_CREATEWND cbt{&cs, nullptr};
    callHookChain(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&cbt));
    SendMessage(this, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs));
    SendMessage(this, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
}

void Window::reportGeometry() {
    if (m_destroyed) return;
    const QPoint pos = isTopLevelWindow() ? geometry().topLeft() : geometry().topLeft();
    const QSize size = this->size();
    if (size != QSize(m_surface->width(), m_surface->height())) resizeSurface(size.width(), size.height());
    QPointer<Window> self(this);
    if (pos != m_reportedPos) {
        m_reportedPos = pos;
        SendMessage(this, WM_MOVE, 0, MAKELPARAM(pos.x(), pos.y()));
        if (!self) return;
    }
    // A minimised window is not told about sizes; restoring it tells the size it comes back with.
    if (size != m_reportedSize && m_showState != ShowState::Minimized) {
        m_reportedSize = size;
        WPARAM kind = SIZE_RESTORED;
        if (m_showState == ShowState::Maximized) kind = SIZE_MAXIMIZED;
        if (m_showState == ShowState::Minimized) kind = SIZE_MINIMIZED;
        SendMessage(this, WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
    }
}

void Window::reportGeometryForced() {
    m_reportedSize = QSize(-1, -1);
    m_reportedPos = QPoint(INT32_MIN, INT32_MIN);
    reportGeometry();
}

LRESULT Window::deliverInput(QEvent* e, UINT msg, WPARAM wParam, LPARAM lParam) {
    (void)e;
    MSG m{this, msg, wParam, lParam, GetTickCount(), {}};
    const uint32_t pos = GetMessagePos();
    m.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    return dispatchQueued(m);
}

LRESULT Window::translateMouse(QEvent* e) {
    auto* me = static_cast<QMouseEvent*>(e);
    const QPoint pos = me->position().toPoint();
    const LPARAM lp = MAKELPARAM(pos.x(), pos.y());
    const WPARAM keys = mouseKeys(me->buttons(), me->modifiers());
    registry::setLastMouseWindow(this);
    const Qt::MouseButton b = me->button();
    auto downMsg = [](Qt::MouseButton button, bool dbl) -> UINT {
        switch (button) {
        case Qt::LeftButton: return dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        case Qt::RightButton: return dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
        case Qt::MiddleButton: return dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
        default: return 0;
        }
    };
    switch (e->type()) {
    case QEvent::MouseMove: return deliverInput(e, WM_MOUSEMOVE, keys, lp);
    case QEvent::MouseButtonPress: {
        // The platform's double-click rule: a second press of the same button within the
        // double-click time and a 4 x 4 pixel box.
        const uint64_t t = me->timestamp();
        const bool dbl = m_click.button == b && t - m_click.time <= static_cast<uint64_t>(GetDoubleClickTime()) &&
                         std::abs(pos.x() - m_click.pos.x()) <= 2 && std::abs(pos.y() - m_click.pos.y()) <= 2;
        if (dbl) {
            m_click = {};
            m_click.convertedNextDblClick = true;
        } else {
            m_click = {b, t, pos, false};
        }
        const UINT msg = downMsg(b, dbl);
        return msg ? deliverInput(e, msg, keys, lp) : 0;
    }
    case QEvent::MouseButtonDblClick: {
        if (m_click.convertedNextDblClick) {
            m_click.convertedNextDblClick = false;
            return 0;
        }
        m_click = {};
        const UINT msg = downMsg(b, true);
        return msg ? deliverInput(e, msg, keys, lp) : 0;
    }
    case QEvent::MouseButtonRelease: {
        UINT msg = 0;
        switch (b) {
        case Qt::LeftButton: msg = WM_LBUTTONUP; break;
        case Qt::RightButton: msg = WM_RBUTTONUP; break;
        case Qt::MiddleButton: msg = WM_MBUTTONUP; break;
        default: break;
        }
        return msg ? deliverInput(e, msg, keys, lp) : 0;
    }
    default: return 0;
    }
}

bool Window::event(QEvent* e) {
    QPointer<Window> self(this);
    switch (e->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (!m_destroyed) translateMouse(e);
        e->accept();
        return true;
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(e);
        const int delta = we->angleDelta().y() != 0 ? we->angleDelta().y() : we->angleDelta().x();
        const QPoint g = we->globalPosition().toPoint();
        registry::setLastMouseWindow(this);
        if (!m_destroyed && delta != 0)
            deliverInput(e, WM_MOUSEWHEEL,
                         MAKEWPARAM(static_cast<int32_t>(mouseKeys(we->buttons(), we->modifiers())), delta),
                         MAKELPARAM(g.x(), g.y()));
        e->accept();
        return true;
    }
    case QEvent::Leave:
        if (m_trackLeave) {
            m_trackLeave = false;
            PostMessage(this, WM_MOUSELEAVE, 0, 0);
        }
        return QWidget::event(e);
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        const uint32_t vk = virtualKey(ke->key());
        if (!m_destroyed && vk) {
            const bool down = e->type() == QEvent::KeyPress;
            const LPARAM lp = static_cast<LPARAM>(ke->isAutoRepeat() ? 0x40000001 : 1) |
                              (down ? 0 : static_cast<LPARAM>(0xC0000000u));
            if (callHookChain(WH_KEYBOARD, HC_ACTION, vk, lp) == 0) {
                deliverInput(e, down ? WM_KEYDOWN : WM_KEYUP, vk, lp);
                if (self && down && !ke->text().isEmpty()) deliverInput(e, WM_CHAR, ke->text().at(0).unicode(), lp);
            }
        }
        e->accept();
        return true;
    }
    case QEvent::Resize:
    case QEvent::Move:
        QWidget::event(e);
        reportGeometry();
        return true;
    case QEvent::Show:
        QWidget::event(e);
        if (!m_destroyed) {
            reportGeometry();
            if (self) invalidate(QRegion(0, 0, width(), height()), true);
            if (self) SendMessage(this, WM_SHOWWINDOW, 1, 0);
        }
        return true;
    case QEvent::Hide:
        QWidget::event(e);
        if (!m_destroyed) SendMessage(this, WM_SHOWWINDOW, 0, 0);
        return true;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: {
        QWidget::event(e);
        if (isTopLevelWindow() && !m_destroyed) {
            const bool active = e->type() == QEvent::WindowActivate;
            if (active) callHookChain(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(this), 0);
            if (self) SendMessage(this, WM_NCACTIVATE, active ? 1 : 0, 0);
            if (self) SendMessage(this, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
        }
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        QWidget::event(e);
        if (!m_destroyed) SendMessage(this, e->type() == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
        return true;
    case QEvent::Close:
        // Closing is the window procedure's decision (WM_CLOSE; its default destroys).
        e->ignore();
        if (!m_destroyed) SendMessage(this, WM_CLOSE, 0, 0);
        return true;
    case QEvent::WindowStateChange:
        QWidget::event(e);
        // The layer's own requests to Qt come back as plain events; the window system's (a
        // window manager or task bar acting on the window) as spontaneous ones.
        if (e->spontaneous()) desktopStateChanged(static_cast<QWindowStateChangeEvent*>(e)->oldState(), windowState());
        return true;
    default: return QWidget::event(e);
    }
}

void Window::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    // On a scaled screen (a whole-number factor) each pixel of the retained image becomes a
    // square of device pixels: replicated, never smoothed, so skin edges stay sharp steps.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    QImage view = m_surface->memoryView();
    for (const QRect& r : e->region()) p.drawImage(r, view, r);
}

bool IsWindow(HWND hwnd) { return hwnd && registry::contains(hwnd); }

LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return DefWindowProc(hwnd, msg, wParam, lParam);
    // A copy on purpose: the link may be replaced, and freed, while it runs.
    WNDPROC keep = proc; // NOLINT(performance-unnecessary-copy-initialization)
    return keep->call(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return 0;
    switch (msg) {
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_NCLBUTTONDOWN: {
        const int32_t hit = static_cast<int32_t>(wParam);
        if (hit == HTCAPTION || (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)) startMoveSizeLoop(hwnd, hit, false);
        return 0;
    }
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); return 0;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
        case SC_CLOSE: PostMessage(hwnd, WM_CLOSE, 0, 0); return 0;
        case SC_MOVE: startMoveSizeLoop(hwnd, HTCAPTION, true); return 0;
        case SC_SIZE: startMoveSizeLoop(hwnd, HTNOWHERE, true); return 0;
        default: return 0;
        }
    case WM_MOUSEWHEEL:
        // Unhandled wheel messages go up to the parent, as on the platform.
        if (Window* parent = hwnd->parentWindow()) return SendMessage(parent, msg, wParam, lParam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        // The retained image keeps what was drawn; nothing is erased.
        return 0;
    case WM_GETICON: return reinterpret_cast<LRESULT>(hwnd->icon(wParam == 0 ? 0 : 1));
    case WM_SETICON: {
        HICON old = hwnd->icon(wParam == 0 ? 0 : 1);
        hwnd->setIcon(wParam == 0 ? 0 : 1, reinterpret_cast<HICON>(lParam));
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_NCHITTEST: return HTCLIENT;
    case WM_MOUSEACTIVATE: return 1;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd) ReleaseCapture();
        if (moveSizeLoopWindow() == hwnd) endMoveSizeLoop(false);
        return 0;
    default: break;
    }
    return 0;
}

} // namespace platform
