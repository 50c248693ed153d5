#pragma once
// What the X11 desktop tells a client beyond Qt's own view of it: whether a window manager
// runs, and which strips of the screen panels and docks keep for themselves. Internal to the
// windowing layer; every answer is "nothing known" when the program does not run on X11.

#include <QRect>
#include <vector>

namespace platform::x11 {

// Whether the program talks to an X server.
bool available();

// Whether a window manager that follows the desktop conventions (EWMH) runs: the root window
// names a check window that names itself. Without one nobody iconifies, stacks or decorates.
bool windowManagerRunning();

// Takes a top-level window off the screen as a window manager does when it iconifies one (it
// unmaps it), for a desktop with no window manager; Qt maps it again when it is restored.
// Returns whether it did so (false with a window manager, which iconifies on request).
bool iconifyWithoutWindowManager(unsigned long window);

// A strip a panel or dock reserves along one edge of the root window (_NET_WM_STRUT_PARTIAL,
// or the older _NET_WM_STRUT, which spans the whole edge), in device pixels of the root.
struct Strut {
    enum class Edge { Left, Right, Top, Bottom };
    Edge edge;
    QRect area;
};
std::vector<Strut> struts();

} // namespace platform::x11
