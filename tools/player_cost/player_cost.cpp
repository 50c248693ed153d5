// player_cost — what playing costs the player, beside the mpv command-line player.
//
//   player_cost ADDRESS SECONDS          CPU and memory while ADDRESS plays, against mpv
//   player_cost --soak BASE_URL SWITCHES memory and stuck states over many channel switches
//   player_cost --idle BASE_URL SECONDS  CPU of the main window with nothing playing
//
// Cost: the real main window (its directories downloaded from ADDRESS's host, the notice
// window beside it) plays ADDRESS; once it plays, this process's CPU time (user + system,
// all threads) is read over SECONDS, and its resident memory at the end. Then
// `mpv --vo=gpu --gpu-sw` with the player's own engine options and a window of the video
// area's size (the picture stretched or not as the player shows it) plays the same address
// for the same time, measured the same way from /proc. Five rounds of both, taking turns;
// the medians of the CPU times and the highest resident memory of each are compared.
// The web engine's processes (tianbo-web and Chromium's helpers) are not counted. The last
// line is `cpu_ratio=R rss_ratio=S` (ours / mpv's).
//
// Soak: the main window against the demo server at BASE_URL switches among the TV and camera
// channels SWITCHES times, at random pauses of 0.1 to 1.5 s. Every tenth switch waits for the
// player to settle (playing, or failed for the dead channel); one that does not settle within
// 20 s is stuck. Resident memory is printed every 50 switches, with the growth since the 50th
// at the end.
#include "app/frm_main.h"
#include "app/test_peer.h"
#include "platform/media/media_player.h"
#include "platform/media/media_startup.h"
#include "platform/window/window_functions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

using platform::MediaPlayer;

// CPU seconds (user + system) a process has used so far; -1 when it is gone.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> f = s.mid(s.lastIndexOf(')') + 2).split(' ');
    // Fields 14 and 15 of the line, counted after the command's closing parenthesis.
    return (f.value(11).toDouble() + f.value(12).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Resident memory in MB; -1 when the process is gone.
double rssMegabytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Runs the event loop for `ms` as the program's own loop runs: asleep until something happens
// (platform::pumpFor polls, which would be counted as the player's cost).
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Rounds of the cost measurement; the CPU of a 20 s run on a small machine varies by a third
// from one run to the next.
constexpr int kRounds = 5;

struct Cost {
    double cpu = 0;
    double rss = 0;
};

// The main window against the directories of `host`, shown and loaded as the program does.
std::unique_ptr<app::FrmMain> mainWindow(const QString& host) {
    auto frm = std::make_unique<app::FrmMain>(app::DirectoryConfig::forHost(host));
    frm->Form_Load();
    frm->show();
    (void)QTest::qWaitForWindowExposed(frm.get());
    runFor(500);
    return frm;
}

bool waitForState(MediaPlayer& player, std::initializer_list<int32_t> states, int ms) {
    return QTest::qWaitFor([&] { return std::find(states.begin(), states.end(), player.playState()) != states.end(); },
                           ms);
}

// Measures this process over `seconds` while `frm` plays `address`.
Cost ourCost(app::FrmMain& frm, const QString& address, int seconds) {
    MediaPlayer& player = *app::TestPeer::player(frm);
    frm.openAddress(address, false);
    if (!waitForState(player, {MediaPlayer::Playing}, 30000)) {
        std::fprintf(stderr, "player_cost: %s does not play\n", qPrintable(address));
        return {-1, -1};
    }
    runFor(2000); // past the start
    const qint64 self = QCoreApplication::applicationPid();
    const double before = cpuSeconds(self);
    runFor(seconds * 1000);
    Cost c{cpuSeconds(self) - before, rssMegabytes(self)};
    if (player.playState() != MediaPlayer::Playing)
        std::fprintf(stderr, "player_cost: the player left playing (state %d)\n", player.playState());
    player.controls().stop();
    return c;
}

// The same for the mpv command-line player, with the player's engine options and a window of
// `size` (device pixels).
Cost mpvCost(const QString& address, const QSize& size, bool stretch, int seconds) {
    // Options that only mean something to an embedded engine stay out.
    static const QStringList kEmbeddedOnly = {QStringLiteral("vo"), QStringLiteral("idle"), QStringLiteral("terminal"),
                                              QStringLiteral("audio-client-name")};
    QStringList args;
    for (const MediaPlayer::EngineOption& option : MediaPlayer::engineOptions()) {
        const QString name = QString::fromLatin1(option.name);
        if (!kEmbeddedOnly.contains(name))
            args << QStringLiteral("--%1=%2").arg(name, QString::fromLatin1(option.value));
    }
    args << QStringLiteral("--vo=gpu") << QStringLiteral("--gpu-sw") << QStringLiteral("--really-quiet")
         << (stretch ? QStringLiteral("--video-unscaled=no") : QStringLiteral("--video-unscaled=downscale-big"))
         << QStringLiteral("--force-window=yes")
         << QStringLiteral("--geometry=%1x%2+0+0").arg(size.width()).arg(size.height()) << address;
    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mpv.start(QStringLiteral("mpv"), args);
    if (!mpv.waitForStarted(10000)) {
        std::fprintf(stderr, "player_cost: mpv does not start\n");
        return {-1, -1};
    }
    // mpv says nothing about playing; its start is over when the player's would be.
    runFor(4000);
    const double before = cpuSeconds(mpv.processId());
    runFor(seconds * 1000);
    Cost c{cpuSeconds(mpv.processId()) - before, rssMegabytes(mpv.processId())};
    if (c.cpu < 0 || c.rss < 0) std::fprintf(stderr, "player_cost: mpv ended early\n");
    mpv.terminate();
    mpv.waitForFinished(5000);
    return c;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

int cost(const QString& address, int seconds) {
    auto frm = mainWindow(QUrl(address).authority());
    const QWidget* video = app::TestPeer::videoWidget(*frm);
    const QSize size = video->size() * video->devicePixelRatio();
    const bool stretch = app::TestPeer::player(*frm)->stretchToFit();
    std::printf("address %s, %d s a round, video area %dx%d\n", qPrintable(address), seconds, size.width(),
                size.height());
    // The two take turns, so that whatever else the machine does at the time weighs on both.
    std::vector<double> ourCpu, mpvCpu;
    double ourRss = 0, mpvRss = 0;
    for (int round = 1; round <= kRounds; ++round) {
        const Cost ours = ourCost(*frm, address, seconds);
        const Cost ref = mpvCost(address, size, stretch, seconds);
        if (ours.cpu < 0 || ref.cpu <= 0) return 1;
        std::printf("round %d: tianbo cpu %.2f s rss %.0f MB, mpv cpu %.2f s rss %.0f MB\n", round, ours.cpu, ours.rss,
                    ref.cpu, ref.rss);
        std::fflush(stdout);
        ourCpu.push_back(ours.cpu);
        mpvCpu.push_back(ref.cpu);
        ourRss = std::max(ourRss, ours.rss);
        mpvRss = std::max(mpvRss, ref.rss);
    }
    const double ours = median(ourCpu);
    const double ref = median(mpvCpu);
    std::printf("tianbo: cpu %.2f s (median)  rss %.0f MB (highest)\n", ours, ourRss);
    std::printf("mpv:    cpu %.2f s (median)  rss %.0f MB (highest)\n", ref, mpvRss);
    std::printf("rss difference %.0f MB\n", ourRss - mpvRss);
    std::printf("cpu_ratio=%.2f rss_ratio=%.2f\n", ours / ref, ourRss / mpvRss);
    return 0;
}

int idle(const QString& base, int seconds) {
    auto frm = mainWindow(QUrl(base).authority());
    runFor(3000); // the notice window's slide and page
    const qint64 self = QCoreApplication::applicationPid();
    const double before = cpuSeconds(self);
    runFor(seconds * 1000);
    std::printf("idle: cpu %.3f s over %d s, rss %.0f MB\n", cpuSeconds(self) - before, seconds, rssMegabytes(self));
    return 0;
}

int soak(const QString& base, int switches) {
    auto frm = mainWindow(QUrl(base).authority());
    MediaPlayer& player = *app::TestPeer::player(*frm);
    std::vector<std::pair<int, int16_t>> channels; // list, row
    for (const int list : {0, 2}) {
        const int32_t rows = app::TestPeer::list(*frm, list)->ListCount();
        for (int32_t row = 0; row < rows; ++row) channels.emplace_back(list, static_cast<int16_t>(row));
    }
    if (channels.empty()) {
        std::fprintf(stderr, "player_cost: no channels at %s\n", qPrintable(base));
        return 1;
    }
    std::mt19937 random(20261208);
    std::uniform_int_distribution<size_t> pick(0, channels.size() - 1);
    std::uniform_int_distribution<int> pause(100, 1500);
    const qint64 self = QCoreApplication::applicationPid();
    double at50 = -1;
    int stuck = 0;
    for (int i = 1; i <= switches; ++i) {
        const auto [list, row] = channels[pick(random)];
        controls::ucListBox* l = app::TestPeer::list(*frm, list);
        // A row that already plays would not start again; the mark moves off it first.
        if (l->PlayIndex() == row) player.controls().stop();
        l->setPlayIndex(-1);
        l->setPlayIndex(row);
        if (i % 10 == 0) {
            if (!waitForState(player, {MediaPlayer::Playing, MediaPlayer::Ready, MediaPlayer::Stopped}, 20000)) {
                ++stuck;
                std::printf("switch %d: stuck in state %d on %s\n", i, player.playState(), qPrintable(l->URL(row)));
            }
        } else {
            runFor(pause(random));
        }
        if (i % 50 == 0) {
            const double rss = rssMegabytes(self);
            if (at50 < 0) at50 = rss;
            std::printf("switch %d: rss %.0f MB\n", i, rss);
            std::fflush(stdout);
        }
    }
    runFor(3000);
    const double last = rssMegabytes(self);
    std::printf("soak: %d switches, %d stuck, rss %.0f MB at 50 switches, %.0f MB at the end, growth %.0f MB\n",
                switches, stuck, at50, last, at50 < 0 ? 0.0 : last - at50);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // As the program does, before any other thread starts.
    platform::prepareMediaStartup();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--soak")) return soak(args[2], args[3].toInt());
    if (args.size() == 4 && args[1] == QStringLiteral("--idle")) return idle(args[2], args[3].toInt());
    if (args.size() == 3 && args[2].toInt() > 0) return cost(args[1], args[2].toInt());
    std::fprintf(stderr, "usage: player_cost ADDRESS SECONDS\n"
                         "       player_cost --soak BASE_URL SWITCHES\n"
                         "       player_cost --idle BASE_URL SECONDS\n");
    return 2;
}
