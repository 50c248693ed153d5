#pragma once
// The procedure link an interception puts at the head of a window's chain (internal to the
// interception classes).

#include "platform/window/window.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace platform {

class InterceptDispatcher : public WindowProcedure {
public:
    using Callback = std::function<void(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& hwnd, UINT& msg,
                                        WPARAM& wParam, LPARAM& lParam)>;

    explicit InterceptDispatcher(WNDPROC previous) : m_previous(std::move(previous)) {}

    LRESULT call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    const WNDPROC& previous() const { return m_previous; }
    // An empty callback makes the link forward everything untouched.
    void setCallback(Callback cb) { m_callback = std::move(cb); }
    bool hasCallback() const { return static_cast<bool>(m_callback); }

    // Message lists; ALL_MESSAGES (0xFFFFFFFF) in a list stands for every message.
    bool add(bool before, UINT msg);
    bool remove(bool before, UINT msg);
    bool has(bool before, UINT msg) const;
    bool all(bool before) const { return before ? m_allBefore : m_allAfter; }
    void setAll(bool before, bool on) { (before ? m_allBefore : m_allAfter) = on; }

private:
    bool wants(bool before, UINT msg) const {
        if (all(before)) return true;
        const auto& list = before ? m_before : m_after;
        return std::find(list.begin(), list.end(), msg) != list.end();
    }

    WNDPROC m_previous;
    Callback m_callback;
    std::vector<UINT> m_before;
    std::vector<UINT> m_after;
    bool m_allBefore = false;
    bool m_allAfter = false;
};

} // namespace platform
