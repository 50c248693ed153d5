// Message interception: the before/after/handled contract, list rules, removal order and
// owner lifetime, for the per-owner table and for the standalone thunk.
#include "platform/intercept/interception.h"
#include "platform/intercept/subclassing_thunk.h"
#include "platform/test_support.h"

#include <gtest/gtest.h>
#include <memory>

using namespace platform;
using testsupport::RecordingWindow;

namespace {

constexpr UINT kProbe = WM_USER + 1;
constexpr UINT kOther = WM_USER + 2;

// An owner that records its callbacks and can be told what to do in each phase.
class Owner : public ISubclass {
public:
    struct Call {
        bool before;
        UINT msg;
        LRESULT lReturn;
    };
    std::vector<Call> calls;
    std::function<void(bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&)> act;

    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& hwnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam) override {
        calls.push_back({bBefore, uMsg, lReturn});
        if (act) act(bBefore, bHandled, lReturn, hwnd, uMsg, wParam, lParam);
    }
};

struct Fixture : ::testing::Test {
    RecordingWindow win;
    Owner owner;
    Subclasser table{&owner};
    void SetUp() override {
        win.answer = [](UINT m, WPARAM w, LPARAM) -> LRESULT { return m == kProbe ? 40 + static_cast<LRESULT>(w) : 0; };
    }
};

} // namespace

// A handled before phase answers the message: the window's procedure never runs.
TEST_F(Fixture, HandledBeforePhaseAnswersWithoutTheWindowProcedure) {
    table.Subclass(&win);
    table.AddMsg(&win, kProbe, MsgWhen::BeforeAndAfter);
    owner.act = [](bool before, bool& handled, LRESULT& ret, HWND&, UINT&, WPARAM&, LPARAM&) {
        if (before) {
            handled = true;
            ret = 1;
        }
    };
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 1);
    EXPECT_EQ(win.count(kProbe), 0);
    ASSERT_EQ(owner.calls.size(), 1u) << "the after phase must not run for a handled message";
    EXPECT_TRUE(owner.calls[0].before);
}

// The before phase may change wParam; the after phase sees the window's result and may change it.
TEST_F(Fixture, AfterPhaseSeesAndReplacesTheResult) {
    table.Subclass(&win);
    table.AddMsg(&win, kProbe, MsgWhen::BeforeAndAfter);
    owner.act = [](bool before, bool&, LRESULT& ret, HWND&, UINT&, WPARAM& w, LPARAM&) {
        if (before) w = 2;   // the window then answers 42
        else ret = ret * 10; // and the caller gets 420
    };
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 420);
    ASSERT_EQ(owner.calls.size(), 2u);
    EXPECT_EQ(owner.calls[0].lReturn, 0) << "before phase starts with lReturn 0";
    EXPECT_EQ(owner.calls[1].lReturn, 42) << "after phase sees the procedure's result";
}

TEST_F(Fixture, ListRulesDuplicatesAllMessagesAndDeletion) {
    table.Subclass(&win);
    table.AddMsg(&win, kProbe, MsgWhen::After);
    table.AddMsg(&win, kProbe, MsgWhen::After);
    SendMessage(&win, kProbe, 0, 0);
    SendMessage(&win, kOther, 0, 0);
    EXPECT_EQ(owner.calls.size(), 1u) << "a message added twice is delivered once; others pass untouched";

    owner.calls.clear();
    table.AddMsg(&win, ALL_MESSAGES, MsgWhen::Before);
    SendMessage(&win, kOther, 0, 0);
    SendMessage(&win, WM_NULL, 0, 0);
    EXPECT_EQ(owner.calls.size(), 2u) << "-1 covers every message";

    owner.calls.clear();
    table.DelMsg(&win, ALL_MESSAGES, MsgWhen::Before);
    table.DelMsg(&win, kProbe, MsgWhen::After);
    SendMessage(&win, kProbe, 0, 0);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(win.count(kProbe), 2);
}

// Removing an interception that someone else intercepted afterwards keeps their procedure;
// ours then only forwards.
TEST_F(Fixture, UnsubclassUnderAnotherInterceptorKeepsItAndForwards) {
    table.Subclass(&win);
    table.AddMsg(&win, kProbe, MsgWhen::After);
    Owner later;
    Subclasser laterTable(&later);
    laterTable.Subclass(&win);
    laterTable.AddMsg(&win, kProbe, MsgWhen::After);
    const WNDPROC top = win.procedure();

    EXPECT_TRUE(table.Unsubclass(&win));
    EXPECT_EQ(win.procedure(), top);
    EXPECT_EQ(SendMessage(&win, kProbe, 3, 0), 43);
    EXPECT_TRUE(owner.calls.empty()) << "the removed owner gets nothing";
    EXPECT_EQ(later.calls.size(), 1u);

    EXPECT_TRUE(laterTable.Unsubclass(&win));
    EXPECT_EQ(SendMessage(&win, kProbe, 1, 0), 41);
}

TEST_F(Fixture, UnsubclassOnTopRestoresThePreviousProcedureAndPlacesAreReused) {
    const WNDPROC original = win.procedure();
    RecordingWindow other;
    EXPECT_EQ(table.Subclass(&win), 0);
    EXPECT_EQ(table.Subclass(&other), 1);
    EXPECT_EQ(table.Subclass(&win), 0) << "an intercepted window keeps its place";
    EXPECT_TRUE(table.Unsubclass(&win));
    EXPECT_EQ(win.procedure(), original);
    EXPECT_FALSE(table.Unsubclass(&win));
    EXPECT_EQ(table.Subclass(&win), 0) << "the freed place is reused";
    EXPECT_EQ(table.Count(), 2);
}

// No callback reaches an owner after it is destroyed.
TEST(Interception, DestroyingTheOwnerEndsEveryInterception) {
    RecordingWindow a, b;
    const WNDPROC originalA = a.procedure();
    auto owner = std::make_unique<Owner>();
    auto table = std::make_unique<Subclasser>(owner.get());
    table->Subclass(&a);
    table->Subclass(&b);
    table->AddMsg(&a, ALL_MESSAGES, MsgWhen::BeforeAndAfter);
    table->AddMsg(&b, ALL_MESSAGES, MsgWhen::BeforeAndAfter);
    table.reset();
    owner.reset();
    SendMessage(&a, kProbe, 0, 0);
    SendMessage(&b, kProbe, 0, 0);
    EXPECT_EQ(a.procedure(), originalA);
    EXPECT_EQ(a.count(kProbe), 1);
}

// A callback that sends to its own window is called again before it returns.
TEST_F(Fixture, CallbacksAreReentrant) {
    table.Subclass(&win);
    table.AddMsg(&win, kProbe, MsgWhen::Before);
    int depth = 0, maxDepth = 0;
    owner.act = [&](bool, bool&, LRESULT&, HWND& h, UINT&, WPARAM& w, LPARAM&) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (w < 3) SendMessage(h, kProbe, w + 1, 0);
        --depth;
    };
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 40);
    EXPECT_EQ(maxDepth, 4);
    EXPECT_EQ(win.count(kProbe), 4);
}

TEST_F(Fixture, CallOrigWndProcBypassesTheInterceptor) {
    table.Subclass(&win);
    table.AddMsg(&win, kProbe, MsgWhen::Before);
    owner.act = [&](bool, bool& handled, LRESULT& ret, HWND& h, UINT& m, WPARAM&, LPARAM&) {
        handled = true;
        ret = table.CallOrigWndProc(h, m, 7, 0) + 100;
    };
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 147);
    EXPECT_EQ(owner.calls.size(), 1u);
}

TEST(Interception, WindowsThatDoNotExistAreRefused) {
    Owner owner;
    Subclasser table(&owner);
    EXPECT_EQ(table.Subclass(nullptr), -1);
    auto* gone = new RecordingWindow;
    table.Subclass(gone);
    delete gone;
    table.UnsubclassAll(); // must not touch the deleted window
    EXPECT_EQ(table.Count(), 0);
}

namespace {

class Sink : public ISubclassingSink {
public:
    std::vector<std::pair<bool, UINT>> calls;
    std::function<void(bool&, LRESULT&)> before;
    std::function<void(LRESULT&)> after;
    void Before(bool& handled, LRESULT& ret, HWND&, UINT& m, WPARAM&, LPARAM&) override {
        calls.emplace_back(true, m);
        if (before) before(handled, ret);
    }
    void After(LRESULT& ret, HWND, UINT m, WPARAM, LPARAM) override {
        calls.emplace_back(false, m);
        if (after) after(ret);
    }
};

} // namespace

TEST(SubclassingThunk, HonoursTheContract) {
    RecordingWindow win;
    win.answer = [](UINT m, WPARAM, LPARAM) -> LRESULT { return m == kProbe ? 5 : 0; };
    auto sink = std::make_shared<Sink>();
    cSubclassingThunk thunk;
    ASSERT_TRUE(thunk.Subclass(&win, sink));
    EXPECT_FALSE(thunk.Subclass(&win, sink)) << "only when not yet intercepting";
    const UINT msgs[] = {kProbe, kProbe};
    EXPECT_TRUE(thunk.AddBeforeMsgs(msgs));
    EXPECT_TRUE(thunk.AddAfterMsgs(msgs));
    EXPECT_TRUE(thunk.HasBeforeMsgs(kProbe));
    EXPECT_FALSE(thunk.HasAfterMsgs(kOther));
    sink->after = [](LRESULT& r) { r += 1; };
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 6);
    EXPECT_EQ(sink->calls.size(), 2u);

    sink->before = [](bool& handled, LRESULT& r) {
        handled = true;
        r = 1;
    };
    sink->calls.clear();
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 1);
    EXPECT_EQ(win.count(kProbe), 1);
    EXPECT_EQ(sink->calls.size(), 1u);

    sink->before = [&](bool& handled, LRESULT& r) {
        handled = true;
        r = thunk.CallOrigWndProc(kProbe, 0, 0) * 3;
    };
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 15);

    EXPECT_TRUE(thunk.RemoveBeforeMsg(kProbe));
    EXPECT_FALSE(thunk.RemoveBeforeMsg(kProbe));
    thunk.setAllAfterMsgs(true);
    sink->calls.clear();
    SendMessage(&win, kOther, 0, 0);
    EXPECT_EQ(sink->calls.size(), 1u);
    EXPECT_TRUE(thunk.Unsubclass());
    sink->calls.clear();
    SendMessage(&win, kProbe, 0, 0);
    EXPECT_TRUE(sink->calls.empty());
}

// A weakly held sink that is gone receives nothing and nothing crashes; a strongly held one
// is kept alive by the thunk.
TEST(SubclassingThunk, WeakAndStrongSinkReferences) {
    RecordingWindow win;
    cSubclassingThunk weakThunk;
    std::weak_ptr<Sink> watch;
    {
        auto sink = std::make_shared<Sink>();
        watch = sink;
        weakThunk.Subclass(&win, sink, /*WeakReference=*/true);
        weakThunk.setAllBeforeMsgs(true);
    }
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(SendMessage(&win, kProbe, 0, 0), 0);
    weakThunk.Unsubclass();

    cSubclassingThunk strongThunk;
    {
        auto sink = std::make_shared<Sink>();
        watch = sink;
        strongThunk.Subclass(&win, sink);
    }
    EXPECT_FALSE(watch.expired());
    strongThunk.Unsubclass();
    EXPECT_TRUE(watch.expired());
}

// With DontFree the dispatcher outlives Unsubclass, so an interceptor that captured it as its
// previous procedure still forwards through it.
TEST(SubclassingThunk, DontFreeKeepsTheDispatcherForLaterCallers) {
    RecordingWindow win;
    win.answer = [](UINT m, WPARAM, LPARAM) -> LRESULT { return m == kProbe ? 9 : 0; };
    cSubclassingThunk thunk;
    thunk.Subclass(&win, std::make_shared<Sink>(), false, /*DontFree=*/true);
    std::weak_ptr<WindowProcedure> dispatcher = thunk.dispatcher();
    thunk.Unsubclass();
    ASSERT_FALSE(dispatcher.expired());
    EXPECT_EQ(CallWindowProc(dispatcher.lock(), &win, kProbe, 0, 0), 9);

    cSubclassingThunk freeing;
    freeing.Subclass(&win, std::make_shared<Sink>());
    dispatcher = freeing.dispatcher();
    freeing.Unsubclass();
    EXPECT_TRUE(dispatcher.expired());
}
