#include "menu_hook.h"

#include "platform/window/window_functions.h"

namespace platform {

class cMenuHook::Sink : public IHookingSink {
public:
    explicit Sink(cMenuHook* owner) : m_owner(owner) {}
    void Before(bool&, LRESULT&, int32_t&, WPARAM&, LPARAM&) override {}
    void After(LRESULT&, int32_t nCode, WPARAM, LPARAM lParam) override {
        if (nCode != HC_ACTION || !m_owner || !m_owner->receiver()) return;
        const platform::CWPSTRUCT cwp = cHookingThunk::CWPSTRUCT(lParam);
        if (cwp.message != WM_CREATE && cwp.message != MN_SIZEWINDOW) return;
        // The class name as the platform reports it: at most 128 characters, cut at the
        // first zero character.
        QString cls = GetClassName(cwp.hwnd).left(128);
        const qsizetype zero = cls.indexOf(QChar(0));
        if (zero >= 0) cls.truncate(zero);
        if (cls == QStringLiteral("#32768")) m_owner->receiver()->MenuWindowCreated(cwp.hwnd);
    }
    void detach() { m_owner = nullptr; }

private:
    cMenuHook* m_owner;
};

cMenuHook::cMenuHook(IMenuReceiver* receiver) : m_receiver(receiver), m_sink(std::make_shared<Sink>(this)) {
    m_thunk.Hook(WH_CALLWNDPROC, m_sink);
}

cMenuHook::~cMenuHook() {
    m_sink->detach();
    m_thunk.Unhook();
}

bool cMenuHook::isHooked() const { return m_thunk.IsHooked(); }

} // namespace platform
