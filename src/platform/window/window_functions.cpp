#include "window_functions.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/region.h"
#include "platform/intercept/hooks.h"
#include "screens.h"
#include "window_registry.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QThread>
#include <QWindow>
#include <array>

namespace platform {

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return 0;
    if (hasHooks(WH_CALLWNDPROC)) {
        CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
        callHookChain(WH_CALLWNDPROC, HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
        if (!IsWindow(hwnd)) return 0;
    }
    const LRESULT result = CallWindowProc(hwnd->procedure(), hwnd, msg, wParam, lParam);
    if (hasHooks(WH_CALLWNDPROCRET)) {
        CWPRETSTRUCT ret{result, lParam, wParam, msg, hwnd};
        callHookChain(WH_CALLWNDPROCRET, HC_ACTION, 1, reinterpret_cast<LPARAM>(&ret));
    }
    return result;
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return false;
    QPointer<Window> target(hwnd);
    QMetaObject::invokeMethod(
        qApp,
        [target, msg, wParam, lParam] {
            if (!target) return;
            MSG m{target.data(), msg, wParam, lParam, GetTickCount(), {}};
            const uint32_t pos = GetMessagePos();
            m.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
            dispatchQueued(m);
        },
        Qt::QueuedConnection);
    return true;
}

bool DestroyWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    hwnd->destroyWindow();
    return true;
}

int32_t GetWindowLong(HWND hwnd, int32_t index) {
    if (!IsWindow(hwnd)) return 0;
    if (index == GWL_STYLE) return static_cast<int32_t>(hwnd->style());
    if (index == GWL_EXSTYLE) return static_cast<int32_t>(hwnd->exStyle());
    return 0;
}

int32_t SetWindowLong(HWND hwnd, int32_t index, int32_t value) {
    if (!IsWindow(hwnd)) return 0;
    const int32_t old = GetWindowLong(hwnd, index);
    if (index == GWL_STYLE) hwnd->setStyle(static_cast<uint32_t>(value));
    else if (index == GWL_EXSTYLE) hwnd->setExStyle(static_cast<uint32_t>(value));
    return old;
}

QString GetClassName(HWND hwnd) { return IsWindow(hwnd) ? hwnd->className() : QString(); }
HWND GetParent(HWND hwnd) { return IsWindow(hwnd) ? hwnd->parentWindow() : nullptr; }
QString GetWindowText(HWND hwnd) { return IsWindow(hwnd) ? hwnd->text() : QString(); }
bool SetWindowText(HWND hwnd, const QString& text) {
    if (!IsWindow(hwnd)) return false;
    hwnd->setText(text);
    return true;
}

namespace {

// A top-level window that is not on the screen yet comes up on top anyway. Asking the X server
// to restack it while a window manager takes it in (reparenting it into its frame) makes Qt
// read the window's position mid-way, at the frame's corner, and keep that wrong position.
void raiseIfShown(QWidget* w) {
    if (!w->isWindow() || (w->windowHandle() && w->windowHandle()->isExposed())) w->raise();
}

} // namespace

bool SetWindowPos(HWND hwnd, HWND insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy, UINT flags) {
    if (!IsWindow(hwnd)) return false;
    QPointer<Window> self(hwnd);
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST) {
            hwnd->setTopMost(true);
            hwnd->raise();
        } else if (insertAfter == HWND_NOTOPMOST) {
            hwnd->setTopMost(false);
        } else if (insertAfter == HWND_TOP) {
            raiseIfShown(hwnd);
        } else if (insertAfter == HWND_BOTTOM) {
            hwnd->lower();
        } else if (IsWindow(insertAfter) && insertAfter->parentWidget() == hwnd->parentWidget()) {
            hwnd->stackUnder(insertAfter);
        }
    }
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        RECT wr = hwnd->windowRect();
        int32_t px = wr.left, py = wr.top;
        if (!hwnd->isTopLevelWindow()) {
            const QPoint p = hwnd->geometry().topLeft();
            px = p.x();
            py = p.y();
        }
        const int32_t nx = (flags & SWP_NOMOVE) ? px : x;
        const int32_t ny = (flags & SWP_NOMOVE) ? py : y;
        const int32_t nw = (flags & SWP_NOSIZE) ? wr.right - wr.left : cx;
        const int32_t nh = (flags & SWP_NOSIZE) ? wr.bottom - wr.top : cy;
        hwnd->placeWindow(nx, ny, nw, nh, !(flags & SWP_NOMOVE), !(flags & SWP_NOSIZE));
        if (!self) return true;
    }
    if (flags & SWP_SHOWWINDOW) hwnd->show();
    if (self && (flags & SWP_HIDEWINDOW)) hwnd->hide();
    return true;
}

bool MoveWindow(HWND hwnd, int32_t x, int32_t y, int32_t w, int32_t h, bool) {
    return SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool GetWindowRect(HWND hwnd, RECT* rc) {
    if (!IsWindow(hwnd) || !rc) return false;
    *rc = hwnd->windowRect();
    return true;
}

bool GetClientRect(HWND hwnd, RECT* rc) {
    if (!IsWindow(hwnd) || !rc) return false;
    *rc = hwnd->clientRect();
    return true;
}

bool ClientToScreen(HWND hwnd, POINT* pt) {
    if (!IsWindow(hwnd) || !pt) return false;
    const QPoint g = hwnd->mapToGlobal(QPoint(pt->x, pt->y));
    *pt = {g.x(), g.y()};
    return true;
}

bool ScreenToClient(HWND hwnd, POINT* pt) {
    if (!IsWindow(hwnd) || !pt) return false;
    const QPoint c = hwnd->mapFromGlobal(QPoint(pt->x, pt->y));
    *pt = {c.x(), c.y()};
    return true;
}

int32_t SetWindowRgn(HWND hwnd, HRGN rgn, bool redraw) {
    if (!IsWindow(hwnd)) return 0;
    hwnd->setWindowRegion(rgn);
    if (redraw) hwnd->update();
    return 1;
}

int32_t GetWindowRgn(HWND hwnd, HRGN rgn) {
    if (!IsWindow(hwnd) || !rgn || !hwnd->windowRegion()) return RGN_ERROR;
    rgn->setQRegion(hwnd->windowRegion()->qregion());
    return rgn->complexity();
}

namespace {

void fillMinMaxDefaults(HWND hwnd, MINMAXINFO* mmi) {
    const RECT work = WorkAreaOf(hwnd);
    const int32_t f = hwnd->frameThickness();
    const int32_t sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    mmi->ptMaxSize = {work.right - work.left + 2 * f, work.bottom - work.top + 2 * f};
    mmi->ptMaxPosition = {work.left - f, work.top - f};
    mmi->ptMinTrackSize = {112, 27};
    mmi->ptMaxTrackSize = {sw + 12, sh + 12};
}

} // namespace

MINMAXINFO queryMinMaxInfo(HWND hwnd) {
    MINMAXINFO mmi;
    fillMinMaxDefaults(hwnd, &mmi);
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi;
}

bool ShowWindow(HWND hwnd, int32_t cmd) {
    if (!IsWindow(hwnd)) return false;
    const bool wasVisible = hwnd->isVisible();
    QPointer<Window> self(hwnd);
    switch (cmd) {
    case SW_HIDE: hwnd->hide(); break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED: {
        if (hwnd->showState() == ShowState::Minimized) break;
        if (callHookChain(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hwnd), cmd) != 0) break;
        hwnd->changeShowState(ShowState::Minimized);
        break;
    }
    case SW_MAXIMIZE: {
        if (hwnd->showState() == ShowState::Maximized) {
            hwnd->show();
            break;
        }
        if (callHookChain(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hwnd), cmd) != 0) break;
        hwnd->changeShowState(ShowState::Maximized);
        if (self) hwnd->show();
        break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL: {
        const ShowState s = hwnd->showState();
        if (s != ShowState::Normal && callHookChain(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hwnd), cmd) != 0)
            break;
        // A window minimised from the maximised state is restored to it, with the rectangle
        // it had before it was maximised kept for the next restore.
        if (s != ShowState::Normal && self) hwnd->changeShowState(hwnd->restoreState());
        if (self) hwnd->show();
        break;
    }
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE: hwnd->show(); break;
    default: return false;
    }
    return wasVisible;
}

bool IsWindowVisible(HWND hwnd) { return IsWindow(hwnd) && hwnd->isVisible(); }
bool IsIconic(HWND hwnd) { return IsWindow(hwnd) && hwnd->showState() == ShowState::Minimized; }
bool IsZoomed(HWND hwnd) { return IsWindow(hwnd) && hwnd->showState() == ShowState::Maximized; }

bool EnableWindow(HWND hwnd, bool enable) {
    if (!IsWindow(hwnd)) return false;
    const bool wasDisabled = !hwnd->isEnabled();
    if (wasDisabled == !enable) return wasDisabled;
    hwnd->setEnabled(enable);
    SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd) { return IsWindow(hwnd) && hwnd->isEnabled(); }

bool BringWindowToTop(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    raiseIfShown(hwnd);
    return true;
}

bool InvalidateRect(HWND hwnd, const RECT* rc, bool erase) {
    if (!IsWindow(hwnd)) return false;
    const QRegion r =
        rc ? QRegion(rc->left, rc->top, std::max(0, rc->right - rc->left), std::max(0, rc->bottom - rc->top))
           : QRegion(0, 0, hwnd->width(), hwnd->height());
    hwnd->invalidate(r, erase);
    return true;
}

bool InvalidateRgn(HWND hwnd, HRGN rgn, bool erase) {
    if (!IsWindow(hwnd)) return false;
    hwnd->invalidate(rgn ? rgn->qregion() : QRegion(0, 0, hwnd->width(), hwnd->height()), erase);
    return true;
}

bool ValidateRect(HWND hwnd, const RECT* rc) {
    if (!IsWindow(hwnd)) return false;
    hwnd->validate(rc ? QRegion(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top)
                      : QRegion(0, 0, hwnd->width(), hwnd->height()));
    return true;
}

bool UpdateWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    if (!hwnd->updateRegion().isEmpty()) hwnd->dispatchPendingPaint();
    return true;
}

bool RedrawWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    hwnd->invalidate(QRegion(0, 0, hwnd->width(), hwnd->height()), true);
    return UpdateWindow(hwnd);
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (!IsWindow(hwnd) || !ps) return nullptr;
    HDC hdc = hwnd->dc();
    const QRect b = hwnd->updateRegion().boundingRect();
    ps->hdc = hdc;
    ps->rcPaint = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    ps->fErase = hwnd->eraseNeeded();
    const QRegion update = hwnd->updateRegion();
    hwnd->validate(update);
    if (hwnd->eraseNeeded()) {
        hwnd->clearEraseNeeded();
        SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    }
    hdc->setClip(update.isEmpty() ? QRegion(0, 0, 0, 0) : update);
    return hdc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!IsWindow(hwnd) || !ps || !ps->hdc) return false;
    ps->hdc->setClip(std::nullopt);
    return true;
}

bool GetUpdateRect(HWND hwnd, RECT* rc, bool) {
    if (!IsWindow(hwnd)) return false;
    const QRect b = hwnd->updateRegion().boundingRect();
    if (rc) *rc = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    return !b.isEmpty();
}

uintptr_t SetTimer(HWND hwnd, uintptr_t id, uint32_t ms) {
    if (!IsWindow(hwnd)) return 0;
    hwnd->setTimer(id, ms);
    return id;
}

bool KillTimer(HWND hwnd, uintptr_t id) { return IsWindow(hwnd) && hwnd->killTimer(id); }

bool GetCursorPos(POINT* pt) {
    if (!pt) return false;
    // The pointer as the X server has it now, wherever it is: a program that stopped seeing
    // pointer events (the pointer left it) must not read where it was last seen.
    const QPoint p = QCursor::pos();
    *pt = {p.x(), p.y()};
    return true;
}

uint32_t GetMessagePos() {
    const QPoint p = registry::messagePos();
    return static_cast<uint32_t>(MAKELPARAM(p.x(), p.y()));
}

bool SetCursorPos(int32_t x, int32_t y) {
    QCursor::setPos(x, y);
    return true;
}

HWND SetCapture(HWND hwnd) {
    Window* previous = registry::capture();
    if (!IsWindow(hwnd)) return previous;
    if (previous == hwnd) return previous;
    if (previous && IsWindow(previous)) {
        previous->releaseMouse();
        registry::setCapture(nullptr);
        SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    }
    registry::setCapture(hwnd);
    if (hwnd->isVisible()) hwnd->grabMouse();
    return previous;
}

bool ReleaseCapture() {
    Window* previous = registry::capture();
    if (!previous) return true;
    registry::setCapture(nullptr);
    if (IsWindow(previous)) {
        previous->releaseMouse();
        SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return true;
}

HWND GetCapture() {
    Window* c = registry::capture();
    return IsWindow(c) ? c : nullptr;
}

bool TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    if (!tme || !IsWindow(tme->hwndTrack)) return false;
    HWND hwnd = tme->hwndTrack;
    if (tme->dwFlags & TME_CANCEL) {
        if (tme->dwFlags & TME_LEAVE) hwnd->trackLeave(false);
        return true;
    }
    if (tme->dwFlags & TME_LEAVE) {
        POINT pt;
        GetCursorPos(&pt);
        // A window that holds the pointer (by capture, or by the button pressed on it and still
        // held) is not left until it lets go: a pressed button dragged off stays pressed.
        const bool holds = GetCapture() == hwnd || registry::pressWidget() == hwnd;
        if (WindowFromPoint(pt) != hwnd && !holds) {
            // Already outside: the notification comes at once.
            hwnd->trackLeave(false);
            PostMessage(hwnd, WM_MOUSELEAVE, 0, 0);
        } else {
            hwnd->trackLeave(true);
        }
    }
    return true;
}

HWND WindowFromPoint(POINT pt) {
    QWidget* w = QApplication::widgetAt(QPoint(pt.x, pt.y));
    while (w) {
        if (auto* win = qobject_cast<Window*>(w)) {
            if (IsWindow(win)) return win;
        }
        w = w->parentWidget();
    }
    return nullptr;
}

uint16_t GetKeyState(uint32_t vk) {
    const Qt::MouseButtons b = QGuiApplication::mouseButtons();
    const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
    bool down = false;
    switch (vk) {
    case VK_LBUTTON: down = b & Qt::LeftButton; break;
    case VK_RBUTTON: down = b & Qt::RightButton; break;
    case VK_MBUTTON: down = b & Qt::MiddleButton; break;
    case VK_SHIFT: down = m & Qt::ShiftModifier; break;
    case VK_CONTROL: down = m & Qt::ControlModifier; break;
    case VK_MENU: down = m & Qt::AltModifier; break;
    default: break;
    }
    return down ? 0x8000 : 0;
}

uint16_t GetAsyncKeyState(uint32_t vk) { return GetKeyState(vk); }

HCURSOR LoadCursor(int32_t id) {
    static std::map<int32_t, Cursor*> cursors;
    auto it = cursors.find(id);
    if (it != cursors.end()) return it->second;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (id) {
    case IDC_IBEAM: shape = Qt::IBeamCursor; break;
    case IDC_WAIT: shape = Qt::WaitCursor; break;
    case IDC_CROSS: shape = Qt::CrossCursor; break;
    case IDC_SIZENWSE: shape = Qt::SizeFDiagCursor; break;
    case IDC_SIZENESW: shape = Qt::SizeBDiagCursor; break;
    case IDC_SIZEWE: shape = Qt::SizeHorCursor; break;
    case IDC_SIZENS: shape = Qt::SizeVerCursor; break;
    case IDC_SIZEALL: shape = Qt::SizeAllCursor; break;
    case IDC_HAND: shape = Qt::PointingHandCursor; break;
    case IDC_ARROW: break;
    default: return nullptr;
    }
    auto* c = new Cursor(QCursor(shape));
    cursors[id] = c;
    return c;
}

HCURSOR SetCursor(HCURSOR cursor) {
    static HCURSOR current = nullptr;
    HCURSOR previous = current;
    current = cursor;
    Window* target = GetCapture() ? GetCapture() : registry::lastMouseWindow();
    if (IsWindow(target)) {
        if (cursor) target->setCursor(cursor->qcursor());
        else target->setCursor(Qt::BlankCursor);
    }
    return previous;
}

namespace {
Window* topWindowOf(QWidget* w) {
    if (!w) return nullptr;
    auto* win = qobject_cast<Window*>(w->window());
    return IsWindow(win) ? win : nullptr;
}
} // namespace

HWND GetForegroundWindow() { return topWindowOf(QApplication::activeWindow()); }

bool SetForegroundWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    hwnd->window()->activateWindow();
    raiseIfShown(hwnd->window());
    return true;
}

HWND GetActiveWindow() { return GetForegroundWindow(); }

HWND SetFocus(HWND hwnd) {
    HWND previous = GetFocus();
    if (IsWindow(hwnd)) hwnd->setFocus(Qt::OtherFocusReason);
    return previous;
}

HWND GetFocus() {
    QWidget* w = QApplication::focusWidget();
    while (w) {
        if (auto* win = qobject_cast<Window*>(w)) return IsWindow(win) ? win : nullptr;
        w = w->parentWidget();
    }
    return nullptr;
}

bool SystemParametersInfo(UINT action, UINT, void* out, UINT) {
    if (action == SPI_GETWORKAREA && out) {
        // The primary screen's, as on the platform; windows ask for their own screen's.
        MONITORINFO mi;
        const bool known = GetMonitorInfo(PrimaryMonitor(), &mi);
        *static_cast<RECT*>(out) = known ? mi.rcWork : RECT{0, 0, 1280, 1024};
        return true;
    }
    return false;
}

int32_t GetSystemMetrics(int32_t index) {
    QScreen* s = QGuiApplication::primaryScreen();
    const QRect g = s ? s->geometry() : QRect(0, 0, 1280, 1024);
    switch (index) {
    case SM_CXSCREEN: return g.width();
    case SM_CYSCREEN: return g.height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 17;
    case SM_CYCAPTION: return 24;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    default: return 0;
    }
}

uint32_t GetTickCount() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<uint32_t>(clock.elapsed());
}

uint32_t GetDoubleClickTime() {
    const int ms = QGuiApplication::styleHints() ? QGuiApplication::styleHints()->mouseDoubleClickInterval() : 500;
    return static_cast<uint32_t>(ms > 0 ? ms : 500);
}

void DoEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void pumpFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, std::max<int>(1, ms - static_cast<int>(t.elapsed())));
        QThread::msleep(1);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace platform
