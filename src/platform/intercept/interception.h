#pragma once
// Message interception: an object sees, answers or passes on the messages of windows it does
// not own, before and/or after the window's own handling.
//
// Per intercepted window a dispatcher is put at the head of the window's procedure chain.
// For a message in its before list it calls the owner with bBefore = true, lReturn = 0 and
// bHandled = false; when the owner sets bHandled, neither the previous procedure nor the
// after phase runs and lReturn is the message's result. Otherwise the previous procedure runs
// with the (possibly changed) wParam and lParam, and for a message in the after list the owner
// is called again with bBefore = false and lReturn holding that result, which it may change.
// Callbacks run inside the window's dispatch and may be re-entered.

#include "platform/window/window.h"

#include <memory>
#include <vector>

namespace platform {

// Phase flags.
enum class MsgWhen : int32_t { After = 1, Before = 2, BeforeAndAfter = 3 };
// Stands for every message in a list.
inline constexpr UINT ALL_MESSAGES = 0xFFFFFFFFu;

// The owner's callback.
class ISubclass {
public:
    virtual ~ISubclass() = default;
    virtual void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg,
                                WPARAM& wParam, LPARAM& lParam) = 0;
};

class InterceptDispatcher;

// The interception table an owner carries: one entry per window it intercepts. Destroying
// the table ends every interception, so no callback reaches a destroyed owner.
class Subclasser {
public:
    explicit Subclasser(ISubclass* owner);
    ~Subclasser();
    Subclasser(const Subclasser&) = delete;
    Subclasser& operator=(const Subclasser&) = delete;

    // Starts intercepting `hwnd` with empty lists; returns its place in the table (the same
    // place when it is already intercepted), -1 for a window that does not exist.
    int32_t Subclass(HWND hwnd);
    // Adds `msg` (ALL_MESSAGES for every message) to the lists the phase names; duplicates are
    // ignored.
    void AddMsg(HWND hwnd, UINT msg, MsgWhen when);
    void DelMsg(HWND hwnd, UINT msg, MsgWhen when);
    // Stops intercepting: the previous procedure is restored when the dispatcher is still at
    // the head of the chain; otherwise (someone intercepted the window after us) the
    // dispatcher stays and only forwards.
    bool Unsubclass(HWND hwnd);
    void UnsubclassAll();
    bool IsSubclassed(HWND hwnd) const;
    int32_t Count() const;
    // Calls the procedure that was in place before this owner's dispatcher.
    LRESULT CallOrigWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    struct Entry {
        HWND hwnd = nullptr;
        std::shared_ptr<InterceptDispatcher> dispatcher;
    };
    Entry* find(HWND hwnd);
    const Entry* find(HWND hwnd) const;

    ISubclass* m_owner;
    std::vector<Entry> m_table;
};

} // namespace platform
