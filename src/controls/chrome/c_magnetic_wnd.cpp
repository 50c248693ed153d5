#include "c_magnetic_wnd.h"

#include "platform/window/screens.h"
#include "platform/window/window_functions.h"

namespace controls {

using namespace platform;

namespace {

// Where the pointer was for the message being handled. During a move the loop keeps it at the
// point it tracks, so the offset taken at the start and every later position agree even when
// the real pointer has run ahead of the events.
POINT messagePoint() {
    const auto pos = static_cast<LPARAM>(GetMessagePos());
    return POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

int32_t frameAllowance(HWND hwnd) {
    return (static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE)) & WS_THICKFRAME) ? 3 : 0;
}

RECT workArea() {
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

} // namespace

cMagneticWnd::cMagneticWnd() = default;

cMagneticWnd::~cMagneticWnd() { m_subclasser.UnsubclassAll(); }

bool cMagneticWnd::IsRegistered(HWND hWnd) const { return hWnd && m_layout.indexOf(key(hWnd)) != 0; }

HWND cMagneticWnd::ParentOf(HWND hWnd) const {
    const size_t i = hWnd ? m_layout.indexOf(key(hWnd)) : 0;
    return i ? window(m_layout.entry(i).parent) : nullptr;
}

bool cMagneticWnd::IsGlued(HWND hWnd) const {
    const size_t i = hWnd ? m_layout.indexOf(key(hWnd)) : 0;
    return i && m_layout.entry(i).glued;
}

bool cMagneticWnd::AddWindow(HWND hWnd, HWND hWndParent) {
    if (!IsWindow(hWnd) || IsRegistered(hWnd)) return false;
    if (hWndParent && !IsWindow(hWndParent)) return false;
    m_layout.add(key(hWnd), key(hWndParent));
    CheckGlueing();
    m_subclasser.Subclass(hWnd);
    m_subclasser.AddMsg(hWnd, WM_ENTERSIZEMOVE, MsgWhen::After);
    m_subclasser.AddMsg(hWnd, WM_EXITSIZEMOVE, MsgWhen::After);
    m_subclasser.AddMsg(hWnd, WM_SYSCOMMAND, MsgWhen::After);
    m_subclasser.AddMsg(hWnd, WM_COMMAND, MsgWhen::After);
    m_subclasser.AddMsg(hWnd, WM_SIZING, MsgWhen::Before);
    m_subclasser.AddMsg(hWnd, WM_MOVING, MsgWhen::Before);
    return true;
}

bool cMagneticWnd::RemoveWindow(HWND hWnd) {
    const size_t i = hWnd ? m_layout.indexOf(key(hWnd)) : 0;
    if (i == 0) return false;
    m_layout.remove(i);
    m_subclasser.Unsubclass(hWnd);
    CheckGlueing();
    return true;
}

void cMagneticWnd::CheckGlueing() {
    for (size_t i = 1; i <= m_layout.count(); ++i) {
        RECT rc;
        if (GetWindowRect(window(m_layout.entry(i).id), &rc)) m_layout.setRect(i, rc);
    }
    // The work area is the reference of children whose parent is not registered.
    m_layout.setRect(0, workArea());
    m_layout.checkGlueing();
}

void cMagneticWnd::captureRects(HWND moving) {
    m_screens.clear();
    for (HMONITOR m : DisplayMonitors()) {
        MONITORINFO mi;
        if (GetMonitorInfo(m, &mi)) m_screens.push_back({mi.rcMonitor, mi.rcWork});
    }
    // The reference edges are those of the screen the window is on.
    m_layout.setRect(0, WorkAreaOf(moving));
    for (size_t i = 1; i <= m_layout.count(); ++i) {
        HWND h = window(m_layout.entry(i).id);
        RECT rc = WorkAreaOf(h);
        if (!IsZoomed(h)) GetWindowRect(h, &rc);
        m_layout.setRect(i, rc);
        if (h == moving) {
            const POINT cursor = messagePoint();
            m_layout.beginDrag(i, cursor);
        }
    }
}

void cMagneticWnd::followScreen(const RECT& rc) {
    // A window dragged onto another screen snaps to that screen's edges.
    const ScreenArea* best = nullptr;
    int64_t bestArea = 0;
    for (const ScreenArea& s : m_screens) {
        const int64_t w = std::min(rc.right, s.screen.right) - std::max(rc.left, s.screen.left);
        const int64_t h = std::min(rc.bottom, s.screen.bottom) - std::max(rc.top, s.screen.top);
        if (w > 0 && h > 0 && w * h > bestArea) {
            bestArea = w * h;
            best = &s;
        }
    }
    if (best) m_layout.setRect(0, best->work);
}

void cMagneticWnd::zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg,
                                  WPARAM& wParam, LPARAM& lParam) {
    const size_t w = m_layout.indexOf(key(lng_hWnd));
    if (w == 0) return;
    if (bBefore) {
        if ((uMsg != WM_MOVING && uMsg != WM_SIZING) || lParam == 0) return;
        RECT* proposed = reinterpret_cast<RECT*>(lParam);
        const int32_t f = frameAllowance(lng_hWnd);
        followScreen(*proposed);
        if (uMsg == WM_MOVING) {
            const POINT cursor = messagePoint();
            std::vector<SnapLayout::ChildMove> children;
            *proposed = m_layout.checkMove(w, *proposed, cursor, f, &children);
            // The glued children move in one batch: no size, z-order or activation change.
            for (const auto& c : children) {
                SetWindowPos(window(m_layout.entry(c.index).id), nullptr, c.topLeft.x, c.topLeft.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        } else {
            *proposed = m_layout.checkSize(w, *proposed, static_cast<int32_t>(wParam), f);
        }
        bHandled = true;
        lReturn = 1;
        return;
    }
    switch (uMsg) {
    case WM_ENTERSIZEMOVE: captureRects(lng_hWnd); break;
    case WM_EXITSIZEMOVE:
    case WM_COMMAND: CheckGlueing(); break;
    case WM_SYSCOMMAND:
        if (wParam == SC_MINIMIZE || wParam == SC_RESTORE) CheckGlueing();
        break;
    default: break;
    }
}

} // namespace controls
