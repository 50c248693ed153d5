#include "picture_box.h"

#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/window/mouse_args.h"
#include "platform/window/window_functions.h"

#include <QCursor>
#include <QPixmap>

namespace app {

using namespace platform;

PictureBox::PictureBox(Window* parent, const QString& name)
    : Window(parent, QStringLiteral("PictureBox")), m_name(name) {
    setObjectName(name);
}

void PictureBox::ReadProperties(const PropertyBag& p) {
    setBackColor(p.ReadColor(QStringLiteral("BackColor"), 0));
    const QString tip = p.ReadString(QStringLiteral("ToolTipText"), {});
    if (!tip.isEmpty()) setToolTip(tip);
    const Picture pointer = p.ReadPicture(QStringLiteral("MouseIcon"), {});
    if (!pointer.isNothing())
        setCursor(QCursor(QPixmap::fromImage(pointer.image()), pointer.hotSpot().x(), pointer.hotSpot().y()));
    if (p.contains(QStringLiteral("Font"))) {
        const FontDesc fd = p.ReadFont(QStringLiteral("Font"), {});
        LOGFONT lf;
        lf.lfHeight = pointsToLogicalHeight(fd.Size);
        lf.lfWeight = fd.Bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = static_cast<uint8_t>(fd.Charset);
        lf.lfFaceName = fd.Name;
        HFONT font = CreateFontIndirect(lf);
        SelectObject(hdc(), font);
        // Deleting a selected font only marks it: it goes when the box's context lets go of it.
        DeleteObject(font);
    }
    SetTextColor(hdc(), TranslateColor(p.ReadColor(QStringLiteral("ForeColor"), 0)));
    SetBkMode(hdc(), TRANSPARENT);
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
