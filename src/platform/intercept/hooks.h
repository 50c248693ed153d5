#pragma once
// Thread message hooks of the program's own thread. The windowing layer calls the chains at
// the same points as the platform: WH_CALLWNDPROC before and WH_CALLWNDPROCRET after a sent
// message reaches its window, WH_GETMESSAGE when a posted or input message is taken from the
// queue, WH_MOUSE and WH_KEYBOARD before input reaches its window (a non-zero result discards
// it), WH_CBT at window creation, destruction, activation, minimise/maximise and the start of
// a move or size loop (a non-zero result prevents the latter three).

#include "platform/window/messages.h"

#include <functional>
#include <memory>

namespace platform {

using HOOKPROC = std::function<LRESULT(int32_t nCode, WPARAM wParam, LPARAM lParam)>;
struct HookEntry;
using HHOOK = HookEntry*;

// Installs a hook of `idHook` at the head of its chain; null for an unknown type.
HHOOK SetWindowsHookEx(int32_t idHook, HOOKPROC proc);
bool UnhookWindowsHookEx(HHOOK hook);
// Calls the hooks after `hook` in its chain; 0 when there are none.
LRESULT CallNextHookEx(HHOOK hook, int32_t nCode, WPARAM wParam, LPARAM lParam);

// Used by the windowing layer: runs a chain from its head, 0 when it is empty.
bool hasHooks(int32_t idHook);
LRESULT callHookChain(int32_t idHook, int32_t nCode, WPARAM wParam, LPARAM lParam);

} // namespace platform
