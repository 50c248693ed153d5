// The cost of message interception: one message through a window with no interceptor (the
// reference) and through three stacked interceptors that each see it before and after.
#include "platform/intercept/interception.h"
#include "platform/window/window_functions.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace platform;

namespace {

class Counter : public ISubclass {
public:
    int64_t calls = 0;
    void zSubclass_Proc(bool, bool&, LRESULT& r, HWND&, UINT&, WPARAM&, LPARAM&) override {
        ++calls;
        r += 1;
    }
};

class Target : public Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == WM_USER) return static_cast<LRESULT>(w);
        return Window::WindowProc(msg, w, l);
    }
};

void BM_SendMessage_NoInterceptor(benchmark::State& state) {
    Target win;
    WPARAM i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(SendMessage(&win, WM_USER, ++i, 0));
}
BENCHMARK(BM_SendMessage_NoInterceptor);

void BM_SendMessage_ThreeInterceptors(benchmark::State& state) {
    Target win;
    Counter a, b, c;
    Subclasser ta(&a), tb(&b), tc(&c);
    for (auto* t : {&ta, &tb, &tc}) {
        t->Subclass(&win);
        t->AddMsg(&win, WM_USER, MsgWhen::BeforeAndAfter);
    }
    WPARAM i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(SendMessage(&win, WM_USER, ++i, 0));
    state.counters["callbacks/msg"] =
        static_cast<double>(a.calls + b.calls + c.calls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SendMessage_ThreeInterceptors);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
