#include "menu_window.h"

#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "screens.h"
#include "window_functions.h"

#include <QEventLoop>
#include <QFontMetrics>
#include <QPointer>

namespace platform {

namespace {

constexpr uintptr_t kHoverTimer = 1;
// Item columns: the check mark left of the label, the arrow right of everything.
constexpr int32_t kLabelLeft = 24;
constexpr int32_t kArrowRoom = 20;
constexpr int32_t kShortcutGap = 28;

} // namespace

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
    int32_t label = 0, shortcut = 0;
    for (const MenuItem& item : m_menu.items) {
        QString t = item.text;
        t.remove(QLatin1Char('&'));
        const qsizetype tab = t.indexOf(QLatin1Char('\t'));
        GetTextExtentPoint32(hdc, tab >= 0 ? t.left(tab) : t, &sz);
        label = std::max(label, sz.cx);
        if (tab < 0) continue;
        GetTextExtentPoint32(hdc, t.mid(tab + 1), &sz);
        shortcut = std::max(shortcut, sz.cx);
    }
    const int32_t w = std::max(140, kLabelLeft + label + (shortcut > 0 ? kShortcutGap + shortcut : 0) + kArrowRoom + 4);
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
        const COLORREF color =
            item.isDisabled() ? m_colors.disabledText : (hot ? m_colors.highlightText : m_colors.text);
        SetTextColor(hdc, color);
        paintMarks(hdc, item, r, color);
        const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
        RECT tr{r.left + kLabelLeft, r.top, r.right - kArrowRoom, r.bottom};
        DrawText(hdc, tab >= 0 ? item.text.left(tab) : item.text, &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (tab >= 0) DrawText(hdc, item.text.mid(tab + 1), &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    DeleteObject(back);
    DeleteObject(border);
}

// The check mark and the submenu arrow, drawn in the item's text colour:
//
//   │  ╲╱  label          shortcut  ▸ │
//   r.left+7..16               r.right-13..-9
void MenuWindow::paintMarks(HDC hdc, const MenuItem& item, const RECT& r, COLORREF color) {
    const int32_t mid = (r.top + r.bottom) / 2;
    if (item.isChecked()) {
        HPEN pen = CreatePen(PS_SOLID, 2, color);
        HGDIOBJ old = SelectObject(hdc, pen);
        Polyline(hdc, {POINT{r.left + 7, mid}, POINT{r.left + 10, mid + 3}, POINT{r.left + 16, mid - 4}});
        SelectObject(hdc, old);
        DeleteObject(pen);
    }
    if (item.isPopup()) {
        HPEN pen = CreatePen(PS_SOLID, 1, color);
        HBRUSH brush = CreateSolidBrush(color);
        HGDIOBJ oldPen = SelectObject(hdc, pen);
        HGDIOBJ oldBrush = SelectObject(hdc, brush);
        Polygon(hdc, {POINT{r.right - 13, mid - 4}, POINT{r.right - 9, mid}, POINT{r.right - 13, mid + 4}});
        SelectObject(hdc, oldBrush);
        SelectObject(hdc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }
}

void MenuWindow::openSubmenu(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(m_menu.items.size())) return;
    const MenuItem& item = m_menu.items[static_cast<size_t>(index)];
    if (!item.isPopup() || item.isDisabled() || item.submenu->items.empty()) return;
    KillTimer(this, kHoverTimer);
    m_hoverItem = -1;
    m_hot = index;
    paintItems();
    auto* sub = CreateWindowOf<MenuWindow>(*item.submenu);
    sub->setDeleteOnDestroy(true);
    sub->m_parentMenu = this;
    sub->m_openedFrom = index;
    SendMessage(sub, MN_SIZEWINDOW, 0, 0);
    // Beside the item, its first row level with the item; to the left of this menu when the
    // screen has no room on the right.
    const RECT r = itemRect(index);
    QPoint at = mapToGlobal(QPoint(width() - 3, r.top - 3));
    MONITORINFO mi;
    if (GetMonitorInfo(MonitorFromPoint(POINT{at.x(), at.y()}, MONITOR_DEFAULTTONEAREST), &mi) &&
        at.x() + sub->width() > mi.rcMonitor.right)
        at.setX(mapToGlobal(QPoint(3, 0)).x() - sub->width());
    QPointer<MenuWindow> self(this);
    QPointer<MenuWindow> child(sub);
    const UINT command = sub->run(at.x(), at.y(), m_flags);
    const bool outside = child && child->m_endedOutside;
    const QPoint point = child ? child->m_endPoint : QPoint();
    if (child && IsWindow(child)) child->destroyWindow();
    if (!self || m_done) return;
    if (command) {
        end(command);
    } else if (outside && !geometry().contains(point)) {
        // A press outside every open menu closes them all.
        end(0);
    } else if (outside) {
        // The pointer came back onto this menu: it takes over where the pointer is.
        const QPoint local = mapFromGlobal(point);
        SendMessage(this, WM_MOUSEMOVE, 0, MAKELPARAM(local.x(), local.y()));
    }
}

bool MenuWindow::pointerBackOnParent(const QPoint& global) const {
    if (!m_parentMenu || !IsWindow(m_parentMenu) || !m_parentMenu->geometry().contains(global)) return false;
    const int32_t item = m_parentMenu->itemAt(m_parentMenu->mapFromGlobal(global).y());
    return item != m_openedFrom;
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
    // A submenu notes a pointer event outside itself before handling it: a press there, or
    // the pointer moving back onto another item of the menu it came from, ends it, and the
    // menu it came from decides what the point means for it.
    if (m_parentMenu && (msg == WM_MOUSEMOVE || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK))) {
        const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        if (x < 0 || y < 0 || x >= width() || y >= height()) {
            const QPoint global = mapToGlobal(QPoint(x, y));
            if (msg != WM_MOUSEMOVE || pointerBackOnParent(global)) {
                m_endedOutside = true;
                m_endPoint = global;
                end(0);
                return 0;
            }
        }
    }
    switch (msg) {
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            KillTimer(this, kHoverTimer);
            if (m_hoverItem >= 0 && m_hoverItem == m_hot) openSubmenu(m_hoverItem);
            return 0;
        }
        return Window::WindowProc(msg, wParam, lParam);
    case WM_MOUSEMOVE: {
        const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        int32_t hot = (x >= 0 && x < width()) ? itemAt(y) : -1;
        if (hot >= 0 && (m_menu.items[static_cast<size_t>(hot)].isSeparator() ||
                         m_menu.items[static_cast<size_t>(hot)].isDisabled()))
            hot = -1;
        if (hot != m_hot) {
            m_hot = hot;
            paintItems();
            // Resting on an item that opens a submenu opens it after a moment.
            const bool popup = hot >= 0 && m_menu.items[static_cast<size_t>(hot)].isPopup();
            m_hoverItem = popup ? hot : -1;
            if (popup) SetTimer(this, kHoverTimer, kSubmenuDelayMs);
            else KillTimer(this, kHoverTimer);
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
        if (item.isPopup()) openSubmenu(i);
        else if (!item.isSeparator() && !item.isDisabled()) end(item.id);
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
        const bool onPopup = m_hot >= 0 && m_menu.items[static_cast<size_t>(m_hot)].isPopup();
        if (wParam == VK_DOWN) step(1);
        else if (wParam == VK_UP) step(-1);
        else if (wParam == VK_ESCAPE || (wParam == VK_LEFT && m_parentMenu)) end(0);
        else if ((wParam == VK_RETURN || wParam == VK_RIGHT) && onPopup) openSubmenu(m_hot);
        else if (wParam == VK_RETURN && m_hot >= 0) end(m_menu.items[static_cast<size_t>(m_hot)].id);
        return 0;
    }
    case WM_CLOSE: end(0); return 0;
    default: return Window::WindowProc(msg, wParam, lParam);
    }
}

} // namespace platform
