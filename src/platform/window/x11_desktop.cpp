#include "x11_desktop.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace platform::x11 {

namespace {

xcb_connection_t* connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

const xcb_screen_t* rootScreen(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data; }

// Replies of xcb are malloc'ed.
template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 1, static_cast<uint16_t>(std::char_traits<char>::length(name)), name);
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The 32-bit values of a property, empty when it is missing or of another type.
std::vector<uint32_t> values32(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    if (property == XCB_ATOM_NONE) return {};
    const auto cookie = xcb_get_property(c, 0, w, property, type, 0, 1024);
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!reply || reply->type != type || reply->format != 32) return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    const int n = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<uint32_t>(data, data + n);
}

xcb_window_t checkWindow(xcb_connection_t* c, xcb_window_t w, xcb_atom_t check) {
    const auto v = values32(c, w, check, XCB_ATOM_WINDOW);
    return v.empty() ? static_cast<xcb_window_t>(XCB_WINDOW_NONE) : v[0];
}

// The windows that may carry struts: the managed clients when a window manager lists them,
// else the mapped children of the root (a dock on a bare server is one of them).
std::vector<xcb_window_t> strutCandidates(xcb_connection_t* c, xcb_window_t root) {
    const auto clients = values32(c, root, atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (!clients.empty()) return {clients.begin(), clients.end()};
    std::vector<xcb_window_t> out;
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr), &std::free);
    if (!tree) return out;
    const xcb_window_t* kids = xcb_query_tree_children(tree.get());
    const int n = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < n; ++i) {
        const auto cookie = xcb_get_window_attributes(c, kids[i]);
        Reply<xcb_get_window_attributes_reply_t> attrs(xcb_get_window_attributes_reply(c, cookie, nullptr), &std::free);
        if (attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE) out.push_back(kids[i]);
    }
    return out;
}

} // namespace

bool available() { return connection() != nullptr; }

bool windowManagerRunning() {
    xcb_connection_t* c = connection();
    if (!c) return false;
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    if (check == XCB_ATOM_NONE) return false;
    const xcb_window_t w = checkWindow(c, rootScreen(c)->root, check);
    return w != XCB_WINDOW_NONE && checkWindow(c, w, check) == w;
}

bool iconifyWithoutWindowManager(unsigned long window) {
    xcb_connection_t* c = connection();
    if (!c || window == 0 || windowManagerRunning()) return false;
    xcb_unmap_window(c, static_cast<xcb_window_t>(window));
    xcb_flush(c);
    return true;
}

std::vector<Strut> struts() {
    std::vector<Strut> out;
    xcb_connection_t* c = connection();
    if (!c) return out;
    const xcb_screen_t* screen = rootScreen(c);
    const int W = screen->width_in_pixels;
    const int H = screen->height_in_pixels;
    const xcb_atom_t partial = atom(c, "_NET_WM_STRUT_PARTIAL");
    const xcb_atom_t whole = atom(c, "_NET_WM_STRUT");
    for (xcb_window_t w : strutCandidates(c, screen->root)) {
        std::vector<uint32_t> v = values32(c, w, partial, XCB_ATOM_CARDINAL);
        if (v.size() < 12) {
            // The older form reserves the full length of each edge.
            v = values32(c, w, whole, XCB_ATOM_CARDINAL);
            if (v.size() < 4) continue;
            v.resize(12);
            v[4] = v[6] = 0;
            v[5] = v[7] = static_cast<uint32_t>(H - 1);
            v[8] = v[10] = 0;
            v[9] = v[11] = static_cast<uint32_t>(W - 1);
        }
        // left, right, top, bottom, then start and end of each along its edge (inclusive).
        const auto n = [&](size_t i) { return static_cast<int>(v[i]); };
        if (n(0) > 0) out.push_back({Strut::Edge::Left, QRect(QPoint(0, n(4)), QPoint(n(0) - 1, n(5)))});
        if (n(1) > 0) out.push_back({Strut::Edge::Right, QRect(QPoint(W - n(1), n(6)), QPoint(W - 1, n(7)))});
        if (n(2) > 0) out.push_back({Strut::Edge::Top, QRect(QPoint(n(8), 0), QPoint(n(9), n(2) - 1))});
        if (n(3) > 0) out.push_back({Strut::Edge::Bottom, QRect(QPoint(n(10), H - n(3)), QPoint(n(11), H - 1))});
    }
    return out;
}

} // namespace platform::x11
