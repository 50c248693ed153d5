#pragma once
// cMenuHook: watches the messages sent on the program's thread and hands every menu window
// the platform creates (class "#32768") to a receiver, the owner-drawn menu control.

#include "hooking_thunk.h"

namespace platform {

class IMenuReceiver {
public:
    virtual ~IMenuReceiver() = default;
    virtual void MenuWindowCreated(HWND menuWindow) = 0;
};

class cMenuHook {
public:
    // Installs a WH_CALLWNDPROC hook at once. With no receiver menus draw unchanged.
    explicit cMenuHook(IMenuReceiver* receiver = nullptr);
    ~cMenuHook();
    cMenuHook(const cMenuHook&) = delete;
    cMenuHook& operator=(const cMenuHook&) = delete;

    void setReceiver(IMenuReceiver* receiver) { m_receiver = receiver; }
    IMenuReceiver* receiver() const { return m_receiver; }
    bool isHooked() const;

private:
    class Sink;
    IMenuReceiver* m_receiver;
    std::shared_ptr<Sink> m_sink;
    cHookingThunk m_thunk;
};

} // namespace platform
