#pragma once
// cSubclassingThunk: the interception of one window as an object of its own, calling back a
// sink. Same before/after/handled contract as Subclasser.

#include "interception.h"

#include <memory>
#include <span>

namespace platform {

class ISubclassingSink {
public:
    virtual ~ISubclassingSink() = default;
    virtual void Before(bool& bHandled, LRESULT& lReturn, HWND& hWnd, UINT& uMsg, WPARAM& wParam, LPARAM& lParam) = 0;
    virtual void After(LRESULT& lReturn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;
};

class cSubclassingThunk {
public:
    cSubclassingThunk();
    ~cSubclassingThunk();
    cSubclassingThunk(const cSubclassingThunk&) = delete;
    cSubclassingThunk& operator=(const cSubclassingThunk&) = delete;

    // Starts intercepting `hwnd` unless already intercepting. The sink is held counted, or
    // uncounted with WeakReference (a sink that is gone then receives nothing). DontFree keeps
    // the dispatcher alive after Unsubclass, for callers that still hold it as their previous
    // procedure.
    bool Subclass(HWND hwnd, const std::shared_ptr<ISubclassingSink>& sink, bool WeakReference = false,
                  bool DontFree = false);
    bool Unsubclass();

    bool AddBeforeMsgs(std::span<const UINT> uMsgs);
    bool AddAfterMsgs(std::span<const UINT> uMsgs);
    bool RemoveBeforeMsg(UINT uMsg);
    bool RemoveAfterMsg(UINT uMsg);
    bool HasBeforeMsgs(UINT uMsg) const;
    bool HasAfterMsgs(UINT uMsg) const;
    bool AllBeforeMsgs() const;
    void setAllBeforeMsgs(bool on);
    bool AllAfterMsgs() const;
    void setAllAfterMsgs(bool on);

    LRESULT CallOrigWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND hWnd() const { return m_hwnd; }
    intptr_t Tag() const { return m_tag; }
    void setTag(intptr_t t) { m_tag = t; }

    // The dispatcher in the window's chain (null when not intercepting and not kept).
    std::shared_ptr<WindowProcedure> dispatcher() const;

private:
    class SinkAdapter;
    HWND m_hwnd = nullptr;
    intptr_t m_tag = 0;
    std::shared_ptr<InterceptDispatcher> m_dispatcher;
    std::shared_ptr<InterceptDispatcher> m_kept;
    std::unique_ptr<SinkAdapter> m_adapter;
};

} // namespace platform
