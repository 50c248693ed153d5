// Speed of the channel list: appending, a full repaint, searching and sorting.
#include "controls/list/list_box.h"

#include "platform/window/window_functions.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

using controls::ucListBox;

namespace {

// A shown host with a 300 x 402 list (a 400-pixel view inside the border).
struct Shown {
    std::unique_ptr<platform::Window> host = std::make_unique<platform::Window>();
    ucListBox* list = nullptr;
    Shown() {
        host->setGeometry(20, 20, 320, 420);
        host->show();
        list = new ucListBox(host.get());
        platform::MoveWindow(list, 0, 0, 300, 402, true);
        list->InitProperties();
        platform::pumpFor(20);
    }
};

QString title(int i) { return QStringLiteral("频道 %1 Channel").arg((i * 7919) % 100003); }

// Appending one item at a time must cost the same whatever the list already holds.
void BM_AppendToVisibleList(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Shown s;
        state.ResumeTiming();
        for (int i = 0; i < n; ++i)
            s.list->AddItem(title(i), std::nullopt, QStringLiteral("http://127.0.0.1/%1").arg(i));
        benchmark::DoNotOptimize(s.list->ListCount());
        state.PauseTiming();
        platform::pumpFor(1);
        state.ResumeTiming();
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_AppendToVisibleList)
    ->RangeMultiplier(2)
    ->Range(4096, 32768)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// A full repaint of a 400-pixel view (15 rows), events let through between rows.
void BM_RedrawAll400(benchmark::State& state) {
    Shown s;
    for (int i = 0; i < 1000; ++i) s.list->AddItem(title(i), QStringLiteral("author"), std::nullopt, i * 37);
    s.list->setPlayIndex(3);
    s.list->setListIndex(5);
    for (auto _ : state) s.list->Refresh();
}
BENCHMARK(BM_RedrawAll400)->Unit(benchmark::kMicrosecond);

// A search that visits all 32,768 items (the key is absent), yielding after each.
void BM_FindString32768(benchmark::State& state) {
    Shown s;
    for (int i = 0; i < ucListBox::kMaxItems; ++i) s.list->AddItem(title(i));
    for (auto _ : state) benchmark::DoNotOptimize(s.list->FindString(QStringLiteral("absent"), 0));
}
BENCHMARK(BM_FindString32768)->Unit(benchmark::kMillisecond);

// Sorting 2,000 titles by their first character (exchange sort, ascending then descending).
void BM_Sorted2000(benchmark::State& state) {
    Shown s;
    for (int i = 0; i < 2000; ++i) s.list->AddItem(title(i));
    for (auto _ : state) s.list->Sorted(0);
}
BENCHMARK(BM_Sorted2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
