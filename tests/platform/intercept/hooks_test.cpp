// Thread hooks and the menu hook: chain order, handled results, the points where the layer
// calls them, and a real system menu handed to a receiver.
#include "platform/intercept/hooking_thunk.h"
#include "platform/intercept/menu_hook.h"
#include "platform/test_support.h"
#include "platform/window/menu.h"
#include "platform/window/menu_window.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;
using testsupport::RecordingWindow;

namespace {

class HookSink : public IHookingSink {
public:
    std::vector<CWPSTRUCT> seen;
    std::function<void(bool&, LRESULT&, int32_t&, WPARAM&, LPARAM&)> before;
    std::function<void(LRESULT&)> after;
    void Before(bool& handled, LRESULT& ret, int32_t& code, WPARAM& w, LPARAM& l) override {
        if (before) before(handled, ret, code, w, l);
    }
    void After(LRESULT& ret, int32_t, WPARAM, LPARAM) override {
        if (after) after(ret);
    }
};

} // namespace

TEST(HookingThunk, BeforeHandledReturnsItsResultAndAfterMayChangeTheNextHooksResult) {
    // An older hook further down the chain answers 7.
    HHOOK older = SetWindowsHookEx(WH_CBT, [](int32_t, WPARAM, LPARAM) -> LRESULT { return 7; });
    auto sink = std::make_shared<HookSink>();
    cHookingThunk thunk;
    ASSERT_TRUE(thunk.Hook(WH_CBT, sink));
    EXPECT_FALSE(thunk.Hook(WH_CBT, sink)) << "only when not already hooked";
    EXPECT_EQ(thunk.HookType(), WH_CBT);

    EXPECT_EQ(callHookChain(WH_CBT, 99, 0, 0), 7) << "unhandled: the next hook's result";
    sink->after = [](LRESULT& r) { r += 1; };
    EXPECT_EQ(callHookChain(WH_CBT, 99, 0, 0), 8);
    sink->before = [](bool& handled, LRESULT& r, int32_t&, WPARAM&, LPARAM&) {
        handled = true;
        r = 3;
    };
    EXPECT_EQ(callHookChain(WH_CBT, 99, 0, 0), 3);
    EXPECT_TRUE(thunk.Unhook());
    EXPECT_EQ(callHookChain(WH_CBT, 99, 0, 0), 7);
    UnhookWindowsHookEx(older);
    EXPECT_FALSE(hasHooks(WH_CBT));
}

// The layer calls WH_CALLWNDPROC before and WH_CALLWNDPROCRET after a sent message, and
// WH_GETMESSAGE for a posted one; the records copy out of lParam.
TEST(Hooks, LayerCallsEachChainAtItsPoint) {
    RecordingWindow win;
    win.answer = [](UINT m, WPARAM, LPARAM) -> LRESULT { return m == WM_USER ? 11 : 0; };
    std::vector<std::string> order;
    HHOOK call = SetWindowsHookEx(WH_CALLWNDPROC, [&](int32_t c, WPARAM w, LPARAM l) {
        const CWPSTRUCT cwp = cHookingThunk::CWPSTRUCT(l);
        if (cwp.message == WM_USER && cwp.hwnd == &win && cwp.wParam == 5) order.push_back("call");
        return CallNextHookEx(nullptr, c, w, l);
    });
    HHOOK ret = SetWindowsHookEx(WH_CALLWNDPROCRET, [&](int32_t, WPARAM, LPARAM l) -> LRESULT {
        const CWPRETSTRUCT r = cHookingThunk::CWPRETSTRUCT(l);
        if (r.message == WM_USER) order.push_back("ret " + std::to_string(r.lResult));
        return 0;
    });
    HHOOK get = SetWindowsHookEx(WH_GETMESSAGE, [&](int32_t, WPARAM, LPARAM l) -> LRESULT {
        const MSG m = cHookingThunk::MSG(l);
        if (m.message == WM_USER + 9) order.push_back("get");
        return 0;
    });
    SendMessage(&win, WM_USER, 5, 0);
    PostMessage(&win, WM_USER + 9, 0, 0);
    EXPECT_EQ(win.count(WM_USER + 9), 0) << "posted messages wait for the event loop";
    DoEvents();
    EXPECT_EQ(win.count(WM_USER + 9), 1);
    EXPECT_EQ(order, (std::vector<std::string>{"call", "ret 11", "get"}));
    UnhookWindowsHookEx(call);
    UnhookWindowsHookEx(ret);
    UnhookWindowsHookEx(get);
}

TEST(Hooks, CbtSeesCreationAndCanPreventMinimising) {
    QString createdClass;
    HHOOK cbt = SetWindowsHookEx(WH_CBT, [&](int32_t code, WPARAM, LPARAM l) -> LRESULT {
        if (code == HCBT_CREATEWND) {
            const CBT_CREATEWND c = cHookingThunk::CBT_CREATEWND(l);
            createdClass = cHookingThunk::STR(reinterpret_cast<intptr_t>(c.lpcs->lpszClass));
        }
        return code == HCBT_MINMAX ? 1 : 0;
    });
    auto* w = CreateWindowOf<Window>(nullptr, QStringLiteral("ProbeClass"));
    EXPECT_EQ(createdClass, QStringLiteral("ProbeClass"));
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_FALSE(IsIconic(w)) << "a non-zero CBT answer prevents the minimise";
    UnhookWindowsHookEx(cbt);
    delete w;
}

TEST(Hooks, MouseHookCanDiscardInput) {
    auto* win = new RecordingWindow;
    win->resize(100, 60);
    win->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(win));
    HHOOK mouse = SetWindowsHookEx(WH_MOUSE, [&](int32_t, WPARAM w, LPARAM l) -> LRESULT {
        const MOUSEHOOKSTRUCT m = cHookingThunk::MOUSEHOOKSTRUCT(l);
        return (w == WM_LBUTTONDOWN && m.hwnd == win) ? 1 : 0;
    });
    QTest::mousePress(win, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(win->count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(win->count(WM_LBUTTONUP), 1);
    UnhookWindowsHookEx(mouse);
    delete win;
}

namespace {
class Receiver : public IMenuReceiver {
public:
    std::vector<HWND> windows;
    void MenuWindowCreated(HWND menuWindow) override { windows.push_back(menuWindow); }
};
} // namespace

// Opening the system menu makes a "#32768" window whose creation the hook hands over; the
// chosen command comes back with TPM_RETURNCMD.
TEST(MenuHook, SystemMenuWindowReachesTheReceiver) {
    auto* owner = testsupport::shownTopLevel(300, 200, WS_OVERLAPPEDWINDOW);
    Receiver receiver;
    cMenuHook hook(&receiver);
    ASSERT_TRUE(hook.isHooked());
    HMENU menu = GetSystemMenu(owner, false);
    ASSERT_NE(menu, nullptr);
    // Choose "Maximize" once the popup is up.
    QTimer::singleShot(50, [&] {
        ASSERT_FALSE(receiver.windows.empty());
        auto* popup = static_cast<MenuWindow*>(receiver.windows.front());
        ASSERT_EQ(GetClassName(popup), QStringLiteral("#32768"));
        popup->setColors(MenuColors{0x242323, 0xDCDCDC, 0x808080, 0x02B753, 0xFFFFFF, 0x404040, 0x101010});
        int maxIndex = -1;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            if (GetMenuItemID(menu, i) == SC_MAXIMIZE) maxIndex = i;
        }
        const RECT r = popup->itemRect(maxIndex);
        const QPoint p((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        QTest::mouseMove(popup, p);
        QTest::mouseRelease(popup, Qt::LeftButton, {}, p);
    });
    const UINT cmd = TrackPopupMenu(menu, TPM_RETURNCMD, 400, 300, 0, owner, nullptr);
    EXPECT_EQ(cmd, SC_MAXIMIZE);
    EXPECT_GE(receiver.windows.size(), 1u);

    // Without a receiver the hook hands nothing over, and Escape dismisses with 0.
    hook.setReceiver(nullptr);
    receiver.windows.clear();
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, Qt::Key_Escape);
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 400, 300, 0, owner, nullptr), 0u);
    EXPECT_TRUE(receiver.windows.empty());
    delete owner;
}
