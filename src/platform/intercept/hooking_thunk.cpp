#include "hooking_thunk.h"

#include <cstring>

namespace platform {

cHookingThunk::~cHookingThunk() { Unhook(); }

bool cHookingThunk::Hook(int32_t type, const std::shared_ptr<IHookingSink>& sink) {
    if (m_hook || !sink) return false;
    m_sink = sink;
    m_hook = SetWindowsHookEx(
        type, [this](int32_t nCode, WPARAM wParam, LPARAM lParam) { return proc(nCode, wParam, lParam); });
    if (!m_hook) {
        m_sink.reset();
        return false;
    }
    m_type = type;
    return true;
}

bool cHookingThunk::Unhook() {
    if (!m_hook) return false;
    UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    m_sink.reset();
    return true;
}

LRESULT cHookingThunk::proc(int32_t nCode, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<IHookingSink> sink = m_sink;
    HHOOK hook = m_hook;
    if (!sink) return CallNextHookEx(hook, nCode, wParam, lParam);
    bool handled = false;
    LRESULT result = 0;
    sink->Before(handled, result, nCode, wParam, lParam);
    if (handled) return result;
    result = CallNextHookEx(hook, nCode, wParam, lParam);
    sink->After(result, nCode, wParam, lParam);
    return result;
}

namespace {
template <class T> T copyAt(LPARAM lParam) {
    T out{};
    if (lParam) std::memcpy(static_cast<void*>(&out), reinterpret_cast<const void*>(lParam), sizeof(T));
    return out;
}
} // namespace

platform::CWPSTRUCT cHookingThunk::CWPSTRUCT(LPARAM l) { return copyAt<platform::CWPSTRUCT>(l); }
platform::CWPRETSTRUCT cHookingThunk::CWPRETSTRUCT(LPARAM l) { return copyAt<platform::CWPRETSTRUCT>(l); }
platform::CBT_CREATEWND cHookingThunk::CBT_CREATEWND(LPARAM l) { return copyAt<platform::CBT_CREATEWND>(l); }
platform::CREATESTRUCT cHookingThunk::CREATESTRUCT(LPARAM l) { return copyAt<platform::CREATESTRUCT>(l); }
platform::MSG cHookingThunk::MSG(LPARAM l) { return copyAt<platform::MSG>(l); }
platform::EVENTMSG cHookingThunk::EVENTMSG(LPARAM l) { return copyAt<platform::EVENTMSG>(l); }
platform::KBDLLHOOKSTRUCT cHookingThunk::KBDLLHOOKSTRUCT(LPARAM l) { return copyAt<platform::KBDLLHOOKSTRUCT>(l); }
platform::MOUSEHOOKSTRUCT cHookingThunk::MOUSEHOOKSTRUCT(LPARAM l) { return copyAt<platform::MOUSEHOOKSTRUCT>(l); }
platform::MSLLHOOKSTRUCT cHookingThunk::MSLLHOOKSTRUCT(LPARAM l) { return copyAt<platform::MSLLHOOKSTRUCT>(l); }
platform::RECT cHookingThunk::RECT(LPARAM l) { return copyAt<platform::RECT>(l); }

QString cHookingThunk::STR(intptr_t address) {
    if (!address) return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(address));
}

} // namespace platform
