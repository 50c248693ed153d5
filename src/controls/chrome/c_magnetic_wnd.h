#pragma once
// cMagneticWnd: makes top-level windows magnetic. While a registered window is dragged or
// sized its edges jump to the edges of the work area of the screen it is on and to the other
// registered windows; a
// registered child that touches its parent is glued to it and follows the parent's drags.
//
// Messages watched on every registered window: WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE,
// WM_SYSCOMMAND and WM_COMMAND after the window's own handling; WM_MOVING and WM_SIZING
// before it (answered with 1, so the window's procedure never overrides the snapped
// rectangle).

#include "snap_layout.h"

#include "platform/intercept/interception.h"

namespace controls {

class cMagneticWnd : public platform::ISubclass {
public:
    cMagneticWnd();
    ~cMagneticWnd() override;
    cMagneticWnd(const cMagneticWnd&) = delete;
    cMagneticWnd& operator=(const cMagneticWnd&) = delete;

    // False for a window that is already registered or does not exist, or a parent given but
    // not a window.
    bool AddWindow(platform::HWND hWnd, platform::HWND hWndParent = nullptr);
    // False for a window that is not registered. Its children stay registered, parentless.
    bool RemoveWindow(platform::HWND hWnd);
    void CheckGlueing();

    int32_t SnapWidth() const { return m_layout.snapWidth(); }
    void setSnapWidth(int32_t s) { m_layout.setSnapWidth(s); }

    // Registration state, for the owner.
    int32_t Count() const { return static_cast<int32_t>(m_layout.count()); }
    bool IsRegistered(platform::HWND hWnd) const;
    platform::HWND ParentOf(platform::HWND hWnd) const;
    bool IsGlued(platform::HWND hWnd) const;

    void zSubclass_Proc(bool bBefore, bool& bHandled, platform::LRESULT& lReturn, platform::HWND& lng_hWnd,
                        platform::UINT& uMsg, platform::WPARAM& wParam, platform::LPARAM& lParam) override;

private:
    static uintptr_t key(platform::HWND h) { return reinterpret_cast<uintptr_t>(h); }
    static platform::HWND window(uintptr_t k) { return reinterpret_cast<platform::HWND>(k); }
    void captureRects(platform::HWND moving);
    // Entry 0 becomes the work area of the screen sharing most of `rc` (the screens' work
    // areas are read once when the operation starts).
    void followScreen(const platform::RECT& rc);

    struct ScreenArea {
        platform::RECT screen;
        platform::RECT work;
    };
    std::vector<ScreenArea> m_screens;

    SnapLayout m_layout;
    platform::Subclasser m_subclasser{this};
};

} // namespace controls
