// Start-up of the main window against directory servers in every kind of trouble: the time
// from the load step's start to the window being shown. The four downloads share one
// deadline, so no server can keep the window hidden much longer than that; a refusing server
// costs next to nothing. A good server (the test's own) is the reference.
#include "app/directory_downloads.h"
#include "app/frm_main.h"
#include "app/troubled_server.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <benchmark/benchmark.h>
#include <clocale>
#include <optional>

namespace {

using tbtest::Trouble;

void showMainWindow(benchmark::State& state, const QString& host) {
    for (auto _ : state) {
        app::FrmMain frm(app::DirectoryConfig::forHost(host));
        QElapsedTimer clock;
        clock.start();
        frm.Form_Load();
        frm.show();
        if (!QTest::qWaitForWindowExposed(&frm)) state.SkipWithError("the window was not shown");
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["deadline_s"] = app::DirectoryDownloads::kDeadlineMs / 1000.0;
}

void BM_StartUp_GoodServer(benchmark::State& state) {
    tbtest::TroubledServer server(Trouble::NeverAnswers);
    server.recover();
    showMainWindow(state, server.host());
}

void BM_StartUp_TroubledServer(benchmark::State& state) {
    const auto trouble = static_cast<Trouble>(state.range(0));
    state.SetLabel(tbtest::nameOf(trouble));
    tbtest::TroubledServer server(trouble);
    showMainWindow(state, server.host());
}

} // namespace

BENCHMARK(BM_StartUp_GoodServer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartUp_TroubledServer)
    ->DenseRange(static_cast<int>(Trouble::Refuses), static_cast<int>(Trouble::Trickles))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
