#include "interception.h"

#include "intercept_dispatcher.h"

namespace platform {

LRESULT InterceptDispatcher::call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Copies keep the previous link and the callback alive if the interception ends while
    // this message is being handled.
    const WNDPROC previous = m_previous;
    if (m_callback && wants(true, msg)) {
        const Callback cb = m_callback;
        bool handled = false;
        LRESULT result = 0;
        cb(true, handled, result, hwnd, msg, wParam, lParam);
        if (handled) return result;
    }
    LRESULT result = CallWindowProc(previous, hwnd, msg, wParam, lParam);
    if (m_callback && wants(false, msg)) {
        const Callback cb = m_callback;
        bool handled = false;
        cb(false, handled, result, hwnd, msg, wParam, lParam);
    }
    return result;
}

bool InterceptDispatcher::add(bool before, UINT msg) {
    if (msg == ALL_MESSAGES) {
        setAll(before, true);
        return true;
    }
    auto& list = before ? m_before : m_after;
    if (std::find(list.begin(), list.end(), msg) == list.end()) list.push_back(msg);
    return true;
}

bool InterceptDispatcher::remove(bool before, UINT msg) {
    if (msg == ALL_MESSAGES) {
        setAll(before, false);
        return true;
    }
    auto& list = before ? m_before : m_after;
    auto it = std::find(list.begin(), list.end(), msg);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

bool InterceptDispatcher::has(bool before, UINT msg) const {
    if (msg == ALL_MESSAGES) return all(before);
    const auto& list = before ? m_before : m_after;
    return std::find(list.begin(), list.end(), msg) != list.end();
}

Subclasser::Subclasser(ISubclass* owner) : m_owner(owner) {}

Subclasser::~Subclasser() { UnsubclassAll(); }

Subclasser::Entry* Subclasser::find(HWND hwnd) {
    for (Entry& e : m_table) {
        if (e.hwnd == hwnd && e.dispatcher) return &e;
    }
    return nullptr;
}

const Subclasser::Entry* Subclasser::find(HWND hwnd) const {
    for (const Entry& e : m_table) {
        if (e.hwnd == hwnd && e.dispatcher) return &e;
    }
    return nullptr;
}

int32_t Subclasser::Subclass(HWND hwnd) {
    if (!IsWindow(hwnd)) return -1;
    for (size_t i = 0; i < m_table.size(); ++i) {
        if (m_table[i].hwnd == hwnd && m_table[i].dispatcher) return static_cast<int32_t>(i);
    }
    auto dispatcher = std::make_shared<InterceptDispatcher>(hwnd->procedure());
    ISubclass* owner = m_owner;
    dispatcher->setCallback([owner](bool before, bool& handled, LRESULT& ret, HWND& h, UINT& m, WPARAM& w, LPARAM& l) {
        owner->zSubclass_Proc(before, handled, ret, h, m, w, l);
    });
    hwnd->setProcedure(dispatcher);
    // A free place is reused; otherwise the table grows by one.
    for (size_t i = 0; i < m_table.size(); ++i) {
        if (!m_table[i].dispatcher) {
            m_table[i] = {hwnd, dispatcher};
            return static_cast<int32_t>(i);
        }
    }
    m_table.push_back({hwnd, dispatcher});
    return static_cast<int32_t>(m_table.size() - 1);
}

void Subclasser::AddMsg(HWND hwnd, UINT msg, MsgWhen when) {
    Entry* e = find(hwnd);
    if (!e) return;
    if (static_cast<int32_t>(when) & static_cast<int32_t>(MsgWhen::Before)) e->dispatcher->add(true, msg);
    if (static_cast<int32_t>(when) & static_cast<int32_t>(MsgWhen::After)) e->dispatcher->add(false, msg);
}

void Subclasser::DelMsg(HWND hwnd, UINT msg, MsgWhen when) {
    Entry* e = find(hwnd);
    if (!e) return;
    if (static_cast<int32_t>(when) & static_cast<int32_t>(MsgWhen::Before)) e->dispatcher->remove(true, msg);
    if (static_cast<int32_t>(when) & static_cast<int32_t>(MsgWhen::After)) e->dispatcher->remove(false, msg);
}

bool Subclasser::Unsubclass(HWND hwnd) {
    Entry* e = find(hwnd);
    if (!e) return false;
    std::shared_ptr<InterceptDispatcher> d = std::move(e->dispatcher);
    e->hwnd = nullptr;
    d->setCallback({});
    if (IsWindow(hwnd) && hwnd->procedure() == d) hwnd->setProcedure(d->previous());
    // Otherwise someone intercepted the window after us: our link stays in their chain and
    // only forwards from now on.
    return true;
}

void Subclasser::UnsubclassAll() {
    for (Entry& e : m_table) {
        if (e.dispatcher) Unsubclass(e.hwnd);
    }
    m_table.clear();
}

bool Subclasser::IsSubclassed(HWND hwnd) const { return find(hwnd) != nullptr; }

int32_t Subclasser::Count() const {
    int32_t n = 0;
    for (const Entry& e : m_table) n += e.dispatcher ? 1 : 0;
    return n;
}

LRESULT Subclasser::CallOrigWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Entry* e = find(hwnd);
    if (!e || !IsWindow(hwnd)) return 0;
    return CallWindowProc(e->dispatcher->previous(), hwnd, msg, wParam, lParam);
}

} // namespace platform
