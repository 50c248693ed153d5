#include "subclassing_thunk.h"

#include "intercept_dispatcher.h"

namespace platform {

class cSubclassingThunk::SinkAdapter {
public:
    SinkAdapter(const std::shared_ptr<ISubclassingSink>& sink, bool weak) {
        if (weak) m_weak = sink;
        else m_strong = sink;
    }
    std::shared_ptr<ISubclassingSink> sink() const { return m_strong ? m_strong : m_weak.lock(); }

private:
    std::shared_ptr<ISubclassingSink> m_strong;
    std::weak_ptr<ISubclassingSink> m_weak;
};

cSubclassingThunk::cSubclassingThunk() = default;

cSubclassingThunk::~cSubclassingThunk() { Unsubclass(); }

bool cSubclassingThunk::Subclass(HWND hwnd, const std::shared_ptr<ISubclassingSink>& sink, bool WeakReference,
                                 bool DontFree) {
    if (m_dispatcher || !IsWindow(hwnd) || !sink) return false;
    m_adapter = std::make_unique<SinkAdapter>(sink, WeakReference);
    m_dispatcher = std::make_shared<InterceptDispatcher>(hwnd->procedure());
    SinkAdapter* adapter = m_adapter.get();
    m_dispatcher->setCallback(
        [adapter](bool before, bool& handled, LRESULT& ret, HWND& h, UINT& m, WPARAM& w, LPARAM& l) {
            const std::shared_ptr<ISubclassingSink> s = adapter->sink();
            if (!s) return;
            if (before) s->Before(handled, ret, h, m, w, l);
            else s->After(ret, h, m, w, l);
        });
    m_kept = DontFree ? m_dispatcher : nullptr;
    hwnd->setProcedure(m_dispatcher);
    m_hwnd = hwnd;
    return true;
}

bool cSubclassingThunk::Unsubclass() {
    if (!m_dispatcher) return false;
    m_dispatcher->setCallback({});
    if (IsWindow(m_hwnd) && m_hwnd->procedure() == m_dispatcher) m_hwnd->setProcedure(m_dispatcher->previous());
    m_dispatcher.reset();
    m_adapter.reset();
    m_hwnd = nullptr;
    return true;
}

bool cSubclassingThunk::AddBeforeMsgs(std::span<const UINT> uMsgs) {
    if (!m_dispatcher) return false;
    bool ok = true;
    for (UINT m : uMsgs) ok = m_dispatcher->add(true, m) && ok;
    return ok;
}

bool cSubclassingThunk::AddAfterMsgs(std::span<const UINT> uMsgs) {
    if (!m_dispatcher) return false;
    bool ok = true;
    for (UINT m : uMsgs) ok = m_dispatcher->add(false, m) && ok;
    return ok;
}

bool cSubclassingThunk::RemoveBeforeMsg(UINT uMsg) { return m_dispatcher && m_dispatcher->remove(true, uMsg); }
bool cSubclassingThunk::RemoveAfterMsg(UINT uMsg) { return m_dispatcher && m_dispatcher->remove(false, uMsg); }
bool cSubclassingThunk::HasBeforeMsgs(UINT uMsg) const { return m_dispatcher && m_dispatcher->has(true, uMsg); }
bool cSubclassingThunk::HasAfterMsgs(UINT uMsg) const { return m_dispatcher && m_dispatcher->has(false, uMsg); }
bool cSubclassingThunk::AllBeforeMsgs() const { return m_dispatcher && m_dispatcher->all(true); }
void cSubclassingThunk::setAllBeforeMsgs(bool on) {
    if (m_dispatcher) m_dispatcher->setAll(true, on);
}
bool cSubclassingThunk::AllAfterMsgs() const { return m_dispatcher && m_dispatcher->all(false); }
void cSubclassingThunk::setAllAfterMsgs(bool on) {
    if (m_dispatcher) m_dispatcher->setAll(false, on);
}

LRESULT cSubclassingThunk::CallOrigWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (!m_dispatcher || !IsWindow(m_hwnd)) return 0;
    return CallWindowProc(m_dispatcher->previous(), m_hwnd, uMsg, wParam, lParam);
}

std::shared_ptr<WindowProcedure> cSubclassingThunk::dispatcher() const { return m_dispatcher ? m_dispatcher : m_kept; }

} // namespace platform
