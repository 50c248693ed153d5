#pragma once
// Window: the handle type of the windowing layer. Every window of the program is one; its
// behaviour is driven by window messages exactly as on the desktop platform, so controls and
// message interception work unchanged.
//
// Message dispatch, written once:
//   Qt event ──▶ Window::event ──▶ message (platform packing) ──▶ hooks (WH_GETMESSAGE,
//   WH_MOUSE / WH_KEYBOARD for input, WH_CALLWNDPROC for sent messages)
//     ──▶ the window's current procedure (the newest interceptor first; each one may answer
//         the message or call the procedure it replaced)
//     ──▶ … ──▶ the window's own procedure WindowProc() (a control's own handling)
//     ──▶ DefWindowProc (the platform defaults). Qt's own handling of the event runs
//         before the message is sent (show, resize, focus) or not at all (input, close).
//   ──▶ WH_CALLWNDPROCRET hooks see the result of sent messages.
//
// A top-level window with WS_THICKFRAME has an invisible three-pixel sizing frame: its window
// rectangle is its client rectangle grown by 3 on every side. Window regions are in window
// coordinates. Each window keeps a retained client image that its context draws into and
// that its Qt paint event shows.

#include "messages.h"
#include "platform/gdi/bitmap.h"

#include <QPointer>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>

class QTimer;

namespace platform {

// One link of a window's procedure chain.
class WindowProcedure {
public:
    virtual ~WindowProcedure() = default;
    virtual LRESULT call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};
using WNDPROC = std::shared_ptr<WindowProcedure>;

// Show state, owned by the layer.
enum class ShowState { Normal, Minimized, Maximized };

class Window : public QWidget {
    Q_OBJECT

public:
    // A child window when `parent` is given, else a top-level window (frameless; its frame,
    // if any, is drawn by the program). `className` is what GetClassName reports.
    explicit Window(Window* parent = nullptr, const QString& className = QStringLiteral("Window"), uint32_t style = 0,
                    uint32_t exStyle = 0);
    ~Window() override;

    // The window's own message handling, last in the chain before DefWindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The current head of the procedure chain; setting returns the previous head.
    WNDPROC procedure() const { return m_procedure; }
    WNDPROC setProcedure(WNDPROC proc);
    // The link that calls WindowProc(); the tail of every chain.
    WNDPROC ownProcedure() const { return m_ownProcedure; }

    const QString& className() const { return m_className; }
    uint32_t style() const;
    void setStyle(uint32_t style);
    uint32_t exStyle() const { return m_exStyle; }
    void setExStyle(uint32_t exStyle) { m_exStyle = exStyle; }
    bool hasThickFrame() const;
    // Native frame thickness around the client area: 3 for a resizable top-level, else 0.
    int32_t frameThickness() const;

    Window* parentWindow() const;
    bool isTopLevelWindow() const { return m_parentWindow == nullptr; }

    // Window rectangle in screen coordinates, client rectangle (0, 0, w, h).
    RECT windowRect() const;
    RECT clientRect() const;
    // Places the window: x, y relative to the parent's client area for a child, screen
    // coordinates of the window rectangle for a top-level window.
    void placeWindow(int32_t x, int32_t y, int32_t w, int32_t h, bool move, bool size);

    ShowState showState() const { return m_showState; }
    // Who asks for a show-state change: the program (ShowWindow, system commands), or the
    // desktop, which has already made it (the window manager or a task bar minimised,
    // restored or maximised the window) and only tells the window.
    enum class StateChangeBy { Program, Desktop };
    // Moves a top-level window to `target` as the layer's own change: the normal rectangle is
    // saved when leaving the normal state, a maximised window is placed by WM_GETMINMAXINFO,
    // and WM_SIZE tells the procedures with SIZE_MINIMIZED, SIZE_MAXIMIZED or SIZE_RESTORED.
    // Returns whether the state changed.
    bool changeShowState(ShowState target, StateChangeBy by = StateChangeBy::Program);
    // The state a minimised window returns to when restored: maximised when it was maximised.
    ShowState restoreState() const;
    // The window rectangle to return to from a minimised or maximised state.
    RECT normalRect() const { return m_normalRect; }
    // What the desktop reports of the window (Qt's view of it), turned into the layer's own
    // show state; called for the window system's state changes.
    void desktopStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);

    // Background colour (0x00BBGGRR) of newly exposed parts of the retained image.
    COLORREF backColor() const { return m_backColor; }
    void setBackColor(COLORREF c);
    // Clears the retained image to the background colour.
    void clearSurface();

    // The retained client image and the window's own context (kept for its lifetime).
    Bitmap& surface() { return *m_surface; }
    HDC dc() const { return m_dc.get(); }

    // Update region (client coordinates) and the pending-paint bookkeeping.
    const QRegion& updateRegion() const { return m_updateRegion; }
    void invalidate(const QRegion& r, bool erase);
    void validate(const QRegion& r);
    bool eraseNeeded() const { return m_eraseNeeded; }
    void clearEraseNeeded() { m_eraseNeeded = false; }
    void dispatchPendingPaint();

    // Window region (window coordinates); null for none. The window owns it.
    HRGN windowRegion() const { return m_region; }
    void setWindowRegion(HRGN rgn);

    // Keep-on-top flag of a top-level window.
    bool topMost() const { return m_topMost; }
    void setTopMost(bool on);

    // The window's text (its caption for a top-level window).
    QString text() const { return m_text; }
    void setText(const QString& t);

    // Icons for WM_GETICON (0 small, 1 big); not owned.
    HICON icon(int which) const { return which == 0 ? m_smallIcon : m_bigIcon; }
    void setIcon(int which, HICON icon);

    // Timers: SetTimer / KillTimer of the layer.
    void setTimer(uintptr_t id, uint32_t ms);
    bool killTimer(uintptr_t id);

    // Leave tracking: one WM_MOUSELEAVE after the pointer leaves.
    void trackLeave(bool on);
    bool trackingLeave() const { return m_trackLeave; }

    // Design mode of a window's controls (a form being designed): controls stay inert.
    static bool designMode();
    static void setDesignMode(bool on);

    bool isDestroyed() const { return m_destroyed; }
    // Sends WM_DESTROY and WM_NCDESTROY, hides the window and its children and, when the
    // window was made with deleteOnDestroy, deletes it later.
    void destroyWindow();
    void setDeleteOnDestroy(bool on) { m_deleteOnDestroy = on; }

    // Sends the creation notifications (hooks and WM_CREATE); windows made by the layer's
    // creation function get them automatically.
    void notifyCreated();

    // Sends WM_MOVE / WM_SIZE when the geometry changed since they were last sent.
    void reportGeometry();
    // Sends them whatever was sent before.
    void reportGeometryForced();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    friend LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM);

    LRESULT translateMouse(QEvent* e);
    LRESULT deliverInput(QEvent* e, UINT msg, WPARAM wParam, LPARAM lParam);
    void resizeSurface(int32_t w, int32_t h);

    QString m_className;
    uint32_t m_style;
    uint32_t m_exStyle;
    Window* m_parentWindow;
    WNDPROC m_ownProcedure;
    WNDPROC m_procedure;
    ShowState m_showState = ShowState::Normal;
    bool m_restoreMaximized = false;
    RECT m_normalRect;
    COLORREF m_backColor = 0x000000;
    std::unique_ptr<Bitmap> m_surface;
    std::unique_ptr<DeviceContext> m_dc;
    QRegion m_updateRegion;
    bool m_eraseNeeded = false;
    bool m_paintPosted = false;
    HRGN m_region = nullptr;
    bool m_topMost = false;
    QString m_text;
    HICON m_smallIcon = nullptr;
    HICON m_bigIcon = nullptr;
    std::map<uintptr_t, std::unique_ptr<QTimer>> m_timers;
    std::map<uintptr_t, bool> m_timerPosted;
    bool m_trackLeave = false;
    bool m_destroyed = false;
    bool m_deleteOnDestroy = false;
    bool m_created = false;
    QSize m_reportedSize{-1, -1};
    QPoint m_reportedPos{INT32_MIN, INT32_MIN};
    // Double-click detection, the platform's own: the second press within the interval and
    // distance becomes a double-click message.
    struct ClickMemory {
        Qt::MouseButton button = Qt::NoButton;
        uint64_t time = 0;
        QPoint pos;
        bool convertedNextDblClick = false;
    } m_click;
};

// Whether `hwnd` is a live window of this program.
bool IsWindow(HWND hwnd);

// The platform defaults for a message.
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A procedure link made from a function; handy for tests and small subclassers.
WNDPROC makeProcedure(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> fn);

} // namespace platform
