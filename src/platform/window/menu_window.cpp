#include "menu_window.h"

#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "screens.h"
#include "window_functions.h"

#include <QEventLoop>
#include <QFontMetrics>

namespace platform {

MenuWindow::MenuWindow(const Menu& menu) : Window(nullptr, QStringLiteral("#32768"), WS_POPUP), m_menu(menu) {
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setBackColor(m_colors.background);
    layout();
}

void MenuWindow::setColors(const MenuColors& c) {
    m_colors = c;
    setBackColor(c.background);
    paintItems();
}

void MenuWindow::layout() {
    HDC hdc = dc();
    SIZE sz;
    int32_t widest = 0;
    for (const MenuItem& item : m_menu.items) {
        QString t = item.text;
        t.remove(QLatin1Char('&'));
        GetTextExtentPoint32(hdc, t, &sz);
        widest = std::max(widest, sz.cx);
    }
    const int32_t w = std::max(140, widest + 48);
    int32_t y = 3;
    m_rects.clear();
    for (const MenuItem& item : m_menu.items) {
        const int32_t h = item.isSeparator() ? kSeparatorHeight : kItemHeight;
        m_rects.push_back({3, y, w - 3, y + h});
        y += h;
    }
    resize(w, y + 3);
}

RECT MenuWindow::itemRect(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(m_rects.size())) return {};
    return m_rects[static_cast<size_t>(index)];
}

int32_t MenuWindow::itemAt(int32_t y) const {
    for (size_t i = 0; i < m_rects.size(); ++i) {
        if (y >= m_rects[i].top && y < m_rects[i].bottom) return static_cast<int32_t>(i);
    }
    return -1;
}

void MenuWindow::paintItems() {
    HDC hdc = dc();
    const RECT all = clientRect();
    HBRUSH back = CreateSolidBrush(m_colors.background);
    FillRect(hdc, all, back);
    HBRUSH border = CreateSolidBrush(m_colors.border);
    FrameRect(hdc, all, border);
    SetBkMode(hdc, TRANSPARENT);
    for (size_t i = 0; i < m_menu.items.size(); ++i) {
        const MenuItem& item = m_menu.items[i];
        RECT r = m_rects[i];
        if (item.isSeparator()) {
            HBRUSH sep = CreateSolidBrush(m_colors.separator);
            const int32_t mid = (r.top + r.bottom) / 2;
            FillRect(hdc, {r.left + 4, mid, r.right - 4, mid + 1}, sep);
            DeleteObject(sep);
            continue;
        }
        const bool hot = static_cast<int32_t>(i) == m_hot && !item.isDisabled();
        if (hot) {
            HBRUSH hl = CreateSolidBrush(m_colors.highlight);
            FillRect(hdc, r, hl);
            DeleteObject(hl);
        }
        SetTextColor(hdc, item.isDisabled() ? m_colors.disabledText : (hot ? m_colors.highlightText : m_colors.text));
        const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
        RECT tr{r.left + 24, r.top, r.right - 8, r.bottom};
        DrawText(hdc, tab >= 0 ? item.text.left(tab) : item.text, &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (tab >= 0) DrawText(hdc, item.text.mid(tab + 1), &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    DeleteObject(back);
    DeleteObject(border);
}

POINT MenuWindow::placement(POINT at, SIZE size, const RECT& screen) {
    const auto along = [](int32_t p, int32_t length, int32_t low, int32_t high) {
        if (p + length <= high) return std::max(low, p);
        // Flipped, the menu ends at the point and the pointer stays just outside it.
        return std::max(low, p - length);
    };
    return {along(at.x, size.cx, screen.left, screen.right), along(at.y, size.cy, screen.top, screen.bottom)};
}

UINT MenuWindow::run(int32_t x, int32_t y, UINT flags) {
    m_flags = flags;
    MONITORINFO mi;
    const RECT screen = GetMonitorInfo(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &mi)
                            ? mi.rcMonitor
                            : RECT{0, 0, 1280, 1024};
    const POINT at = placement(POINT{x, y}, SIZE{width(), height()}, screen);
    move(at.x, at.y);
    paintItems();
    show();
    m_done = false;
    QEventLoop loop;
    QPointer<MenuWindow> self(this);
    QObject::connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    while (self && !m_done && IsWindow(this)) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return self ? m_result : 0;
}

void MenuWindow::end(UINT command) {
    m_result = command;
    m_done = true;
    hide();
}

LRESULT MenuWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: {
        const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        int32_t hot = (x >= 0 && x < width()) ? itemAt(y) : -1;
        if (hot >= 0 && (m_menu.items[static_cast<size_t>(hot)].isSeparator() ||
                         m_menu.items[static_cast<size_t>(hot)].isDisabled()))
            hot = -1;
        if (hot != m_hot) {
            m_hot = hot;
            paintItems();
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        // A press outside dismisses the menu; inside, the release decides.
        const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        if (x < 0 || y < 0 || x >= width() || y >= height()) end(0);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        // A release picks the item under it: the left button always, the right one only when
        // the menu was tracked for it. A release elsewhere (the one of the click that opened
        // the menu, say) leaves the menu open.
        if (msg == WM_RBUTTONUP && !(m_flags & TPM_RIGHTBUTTON)) return 0;
        const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        const int32_t i = (x >= 0 && x < width()) ? itemAt(y) : -1;
        if (i < 0) return 0;
        const MenuItem& item = m_menu.items[static_cast<size_t>(i)];
        if (!item.isSeparator() && !item.isDisabled()) end(item.id);
        return 0;
    }
    case WM_KEYDOWN: {
        const int32_t n = static_cast<int32_t>(m_menu.items.size());
        auto step = [&](int32_t dir) {
            for (int32_t k = 1; k <= n; ++k) {
                const int32_t i = ((m_hot < 0 ? (dir > 0 ? -1 : 0) : m_hot) + dir * k + n * 2) % n;
                const MenuItem& it = m_menu.items[static_cast<size_t>(i)];
                if (!it.isSeparator() && !it.isDisabled()) {
                    m_hot = i;
                    paintItems();
                    return;
                }
            }
        };
        if (wParam == VK_DOWN) step(1);
        else if (wParam == VK_UP) step(-1);
        else if (wParam == VK_ESCAPE) end(0);
        else if (wParam == VK_RETURN && m_hot >= 0) end(m_menu.items[static_cast<size_t>(m_hot)].id);
        return 0;
    }
    case WM_CLOSE: end(0); return 0;
    default: return Window::WindowProc(msg, wParam, lParam);
    }
}

} // namespace platform
