#include "screens.h"

#include "x11_desktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <limits>

namespace platform {

namespace {

QScreen* screenOf(HMONITOR m) {
    // A handle is only ever made from a live screen; one that has gone since is refused.
    for (QScreen* s : QGuiApplication::screens()) {
        if (reinterpret_cast<HMONITOR>(s) == m) return s;
    }
    return nullptr;
}

HMONITOR handleOf(QScreen* s) { return reinterpret_cast<HMONITOR>(s); }

RECT toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

int64_t distanceSquared(const QRect& r, QPoint p) {
    const int64_t dx = p.x() < r.left() ? r.left() - p.x() : (p.x() > r.right() ? p.x() - r.right() : 0);
    const int64_t dy = p.y() < r.top() ? r.top() - p.y() : (p.y() > r.bottom() ? p.y() - r.bottom() : 0);
    return dx * dx + dy * dy;
}

HMONITOR fallback(QPoint p, uint32_t flags) {
    if (flags == MONITOR_DEFAULTTONULL) return nullptr;
    if (flags == MONITOR_DEFAULTTOPRIMARY) return handleOf(QGuiApplication::primaryScreen());
    QScreen* best = nullptr;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (QScreen* s : QGuiApplication::screens()) {
        const int64_t d = distanceSquared(s->geometry(), p);
        if (d < bestDistance) {
            bestDistance = d;
            best = s;
        }
    }
    return handleOf(best);
}

// A panel's strip in the program's coordinates on screen `s`. Qt keeps a screen's top-left
// corner where the X server has it and scales distances from there.
QRect logicalStrip(const QRect& native, const QScreen* s) {
    const qreal ratio = s->devicePixelRatio();
    const QPoint origin = s->geometry().topLeft();
    const auto map = [&](QPoint p) { return origin + (p - origin) / ratio; };
    return QRect(map(native.topLeft()), map(native.bottomRight()));
}

QRect workAreaOf(const QScreen* s) {
    const QRect screen = s->geometry();
    QRect work = s->availableGeometry();
    // With several screens Qt leaves the desktop's work area out, because _NET_WORKAREA is one
    // rectangle for all of them; the panels' own reservations say which screen each one takes
    // from.
    if (QGuiApplication::screens().size() > 1 && work == screen) {
        for (const x11::Strut& strut : x11::struts()) {
            const QRect strip = logicalStrip(strut.area, s);
            if (!strip.intersects(work)) continue;
            switch (strut.edge) {
            case x11::Strut::Edge::Left: work.setLeft(std::max(work.left(), strip.right() + 1)); break;
            case x11::Strut::Edge::Right: work.setRight(std::min(work.right(), strip.left() - 1)); break;
            case x11::Strut::Edge::Top: work.setTop(std::max(work.top(), strip.bottom() + 1)); break;
            case x11::Strut::Edge::Bottom: work.setBottom(std::min(work.bottom(), strip.top() - 1)); break;
            }
        }
        if (work.isEmpty()) work = screen;
    }
    return work;
}

} // namespace

HMONITOR MonitorFromPoint(POINT pt, uint32_t flags) {
    const QPoint p(pt.x, pt.y);
    for (QScreen* s : QGuiApplication::screens()) {
        if (s->geometry().contains(p)) return handleOf(s);
    }
    return fallback(p, flags);
}

HMONITOR MonitorFromRect(const RECT& rc, uint32_t flags) {
    const QRect r(rc.left, rc.top, std::max(0, rc.width()), std::max(0, rc.height()));
    QScreen* best = nullptr;
    int64_t bestArea = 0;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->geometry() & r;
        const int64_t area = static_cast<int64_t>(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = s;
        }
    }
    if (best) return handleOf(best);
    return fallback(r.isEmpty() ? QPoint(rc.left, rc.top) : r.center(), flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, uint32_t flags) {
    if (!IsWindow(hwnd)) return fallback(QPoint(), flags == MONITOR_DEFAULTTONULL ? flags : MONITOR_DEFAULTTOPRIMARY);
    Window* top = hwnd;
    while (top->parentWindow()) top = top->parentWindow();
    return MonitorFromRect(top->windowRect(), flags);
}

std::vector<HMONITOR> DisplayMonitors() {
    std::vector<HMONITOR> out;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) out.push_back(handleOf(primary));
    for (QScreen* s : QGuiApplication::screens()) {
        if (s != primary) out.push_back(handleOf(s));
    }
    return out;
}

HMONITOR PrimaryMonitor() { return handleOf(QGuiApplication::primaryScreen()); }

bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    QScreen* s = screenOf(monitor);
    if (!s || !info) return false;
    info->rcMonitor = toRect(s->geometry());
    info->rcWork = toRect(workAreaOf(s));
    info->dwFlags = s == QGuiApplication::primaryScreen() ? MONITORINFOF_PRIMARY : 0;
    return true;
}

RECT WorkAreaOf(HWND hwnd) {
    MONITORINFO mi;
    if (GetMonitorInfo(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcWork;
    return {0, 0, 1280, 1024};
}

RECT ScreenRectOf(HWND hwnd) {
    MONITORINFO mi;
    if (GetMonitorInfo(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcMonitor;
    return {0, 0, 1280, 1024};
}

} // namespace platform
