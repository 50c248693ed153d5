#pragma once
// The windowing layer's functions, named and shaped as the desktop platform's: messages,
// geometry, show states, timers, capture, pointer, foreground window, screen metrics.

#include "window.h"

#include <QString>
#include <functional>

namespace platform {

// Messages. SendMessage runs the window's procedure chain now (with the WH_CALLWNDPROC and
// WH_CALLWNDPROCRET hooks); PostMessage queues the message for the event loop. A message to a
// window that is gone returns 0 / false.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates a window of type T with the given constructor arguments and sends its creation
// notifications (WH_CBT HCBT_CREATEWND, WM_NCCREATE, WM_CREATE).
template <class T, class... Args> T* CreateWindowOf(Args&&... args) {
    T* w = new T(std::forward<Args>(args)...);
    w->notifyCreated();
    return w;
}
bool DestroyWindow(HWND hwnd);

// Styles.
int32_t GetWindowLong(HWND hwnd, int32_t index);
int32_t SetWindowLong(HWND hwnd, int32_t index, int32_t value);
QString GetClassName(HWND hwnd);
HWND GetParent(HWND hwnd);
QString GetWindowText(HWND hwnd);
bool SetWindowText(HWND hwnd, const QString& text);

// Geometry. Child windows take coordinates relative to the parent's client area; top-level
// windows take the screen coordinates of their window rectangle.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy, UINT flags);
bool MoveWindow(HWND hwnd, int32_t x, int32_t y, int32_t w, int32_t h, bool repaint);
bool GetWindowRect(HWND hwnd, RECT* rc);
bool GetClientRect(HWND hwnd, RECT* rc);
bool ClientToScreen(HWND hwnd, POINT* pt);
bool ScreenToClient(HWND hwnd, POINT* pt);
// The window's region, in window coordinates; the window owns `rgn` afterwards (null
// removes it). Applied to the window as its shape.
int32_t SetWindowRgn(HWND hwnd, HRGN rgn, bool redraw);
int32_t GetWindowRgn(HWND hwnd, HRGN rgn);

// Visibility and show states.
bool ShowWindow(HWND hwnd, int32_t cmd);
// The tracking limits and maximised placement: the platform's defaults, then WM_GETMINMAXINFO.
MINMAXINFO queryMinMaxInfo(HWND hwnd);
bool IsWindowVisible(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);
bool BringWindowToTop(HWND hwnd);

// Painting.
bool InvalidateRect(HWND hwnd, const RECT* rc, bool erase);
bool InvalidateRgn(HWND hwnd, HRGN rgn, bool erase);
bool ValidateRect(HWND hwnd, const RECT* rc);
bool UpdateWindow(HWND hwnd);
bool RedrawWindow(HWND hwnd);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
bool GetUpdateRect(HWND hwnd, RECT* rc, bool erase);

// Timers: WM_TIMER with wParam = id through the window's chain.
uintptr_t SetTimer(HWND hwnd, uintptr_t id, uint32_t ms);
bool KillTimer(HWND hwnd, uintptr_t id);

// Pointer and capture. The cursor position is the pointer's true position on the screen now;
// the message position (x in the low, y in the high 16 bits, signed) is where the pointer was
// at the last pointer event the program took, as the message being handled saw it.
bool GetCursorPos(POINT* pt);
uint32_t GetMessagePos();
bool SetCursorPos(int32_t x, int32_t y);
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();
bool TrackMouseEvent(TRACKMOUSEEVENT* tme);
HWND WindowFromPoint(POINT pt);
uint16_t GetKeyState(uint32_t vk);
uint16_t GetAsyncKeyState(uint32_t vk);

// Standard pointer shapes (LoadCursor with a null instance) and the current pointer.
inline constexpr int32_t IDC_ARROW = 32512;
inline constexpr int32_t IDC_IBEAM = 32513;
inline constexpr int32_t IDC_WAIT = 32514;
inline constexpr int32_t IDC_CROSS = 32515;
inline constexpr int32_t IDC_SIZENWSE = 32642;
inline constexpr int32_t IDC_SIZENESW = 32643;
inline constexpr int32_t IDC_SIZEWE = 32644;
inline constexpr int32_t IDC_SIZENS = 32645;
inline constexpr int32_t IDC_SIZEALL = 32646;
inline constexpr int32_t IDC_HAND = 32649;
HCURSOR LoadCursor(int32_t id);
// Sets the pointer shown over the window that last received pointer input (or holds the
// capture); returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);

// Activation.
HWND GetForegroundWindow();
bool SetForegroundWindow(HWND hwnd);
HWND GetActiveWindow();
HWND SetFocus(HWND hwnd);
HWND GetFocus();

// Screen.
bool SystemParametersInfo(UINT action, UINT param, void* out, UINT winIni);
int32_t GetSystemMetrics(int32_t index);
// Milliseconds since the layer started (GetTickCount).
uint32_t GetTickCount();
uint32_t GetDoubleClickTime();

// Runs pending events (the message loop's one turn).
void DoEvents();
// Runs events for about `ms` milliseconds (tests and animations).
void pumpFor(int ms);

} // namespace platform
