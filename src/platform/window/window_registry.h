#pragma once
// Bookkeeping of the windowing layer shared by its sources (internal): live windows, the
// capture, the pointer, and dispatch of queued messages.

#include "window.h"

namespace platform {

// Runs a message taken from the queue: WH_GETMESSAGE hooks (which may change it), WH_MOUSE
// hooks for pointer input (a non-zero result discards it), then the window's procedure chain.
LRESULT dispatchQueued(MSG& msg);

namespace registry {

void add(const Window* w);
void remove(const Window* w);
bool contains(const Window* w);

void setCapture(Window* w);
Window* capture();

void setLastMouseWindow(Window* w);
Window* lastMouseWindow();

// The last pointer position seen in any pointer event, screen coordinates.
bool cursorKnown();
QPoint cursor();
void setCursor(QPoint p);

// Installs the application-wide pointer tracker once.
void ensureTracker();

} // namespace registry
} // namespace platform
