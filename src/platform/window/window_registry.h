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

// The position of the last pointer event the program saw, screen coordinates (the message
// position); the true pointer when it saw none.
QPoint messagePos();
void setMessagePos(QPoint p);

// The widget that took the first button press while a button is still held since it: Qt sends
// it every pointer event until the release of the last button (the implicit grab), wherever
// the pointer is.
QWidget* pressWidget();
void clearPressed();
// Where the left button last went down (screen coordinates) and on which widget; a drag with
// it starts there.
QWidget* leftPressWidget();
QPoint leftPressPoint();

// Installs the application-wide pointer tracker once.
void ensureTracker();

} // namespace registry
} // namespace platform
