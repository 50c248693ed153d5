#pragma once
// cHookingThunk: a thread hook calling back a sink, with copies of the records hooks receive.

#include "hooks.h"

#include <QString>
#include <memory>

namespace platform {

class IHookingSink {
public:
    virtual ~IHookingSink() = default;
    // Called first; setting bHandled makes the hook return lReturn and nothing else run.
    virtual void Before(bool& bHandled, LRESULT& lReturn, int32_t& nCode, WPARAM& wParam, LPARAM& lParam) = 0;
    // Called with the next hook's result, which it may change.
    virtual void After(LRESULT& lReturn, int32_t nCode, WPARAM wParam, LPARAM lParam) = 0;
};

class cHookingThunk {
public:
    cHookingThunk() = default;
    ~cHookingThunk();
    cHookingThunk(const cHookingThunk&) = delete;
    cHookingThunk& operator=(const cHookingThunk&) = delete;

    // Installs a hook of `HookType` for the program's thread, only when not already hooked.
    bool Hook(int32_t HookType, const std::shared_ptr<IHookingSink>& sink);
    bool Unhook();
    int32_t HookType() const { return m_type; }
    bool IsHooked() const { return m_hook != nullptr; }
    intptr_t Tag() const { return m_tag; }
    void setTag(intptr_t t) { m_tag = t; }

    // Copies of the records a hook's lParam points to.
    static platform::CWPSTRUCT CWPSTRUCT(LPARAM lParam);
    static platform::CWPRETSTRUCT CWPRETSTRUCT(LPARAM lParam);
    static platform::CBT_CREATEWND CBT_CREATEWND(LPARAM lParam);
    static platform::CREATESTRUCT CREATESTRUCT(LPARAM lParam);
    static platform::MSG MSG(LPARAM lParam);
    static platform::EVENTMSG EVENTMSG(LPARAM lParam);
    static platform::KBDLLHOOKSTRUCT KBDLLHOOKSTRUCT(LPARAM lParam);
    static platform::MOUSEHOOKSTRUCT MOUSEHOOKSTRUCT(LPARAM lParam);
    static platform::MSLLHOOKSTRUCT MSLLHOOKSTRUCT(LPARAM lParam);
    static platform::RECT RECT(LPARAM lParam);
    // A zero-terminated UTF-16 string at `address`.
    static QString STR(intptr_t address);

private:
    LRESULT proc(int32_t nCode, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
    int32_t m_type = 0;
    intptr_t m_tag = 0;
    std::shared_ptr<IHookingSink> m_sink;
};

} // namespace platform
