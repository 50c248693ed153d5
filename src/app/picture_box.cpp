#include "picture_box.h"

#include "platform/gdi/colors.h"
#include "platform/window/mouse_args.h"
#include "platform/window/window_functions.h"

namespace app {

using namespace platform;

PictureBox::PictureBox(Window* parent, const QString& name)
    : Window(parent, QStringLiteral("PictureBox")), m_name(name) {
    setObjectName(name);
}

void PictureBox::setBackColor(COLORREF c) {
    Window::setBackColor(TranslateColor(c));
    clearSurface();
}

void PictureBox::Cls() { clearSurface(); }

void PictureBox::Move(int32_t left, int32_t top, int32_t w, int32_t h) {
    MoveWindow(this, left, top, w < 0 ? width() : w, h < 0 ? height() : h, true);
}

void PictureBox::Refresh() { repaint(); }

LRESULT PictureBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const MouseArgs a = MouseArgs::fromMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) emit Resize();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: emit MouseDown(a.Button, a.Shift, a.X, a.Y); return 0;
    case WM_MOUSEMOVE: emit MouseMove(a.Button, a.Shift, a.X, a.Y); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: emit MouseUp(a.Button, a.Shift, a.X, a.Y); return 0;
    default: return Window::WindowProc(msg, wParam, lParam);
    }
}

} // namespace app
