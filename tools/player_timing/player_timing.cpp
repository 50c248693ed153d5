// player_timing — start-up and channel-switch times of the player against the demo directory
// server, beside the mpv command-line player on the same streams.
//
//   player_timing BASE_URL [ROUNDS]      BASE_URL like http://127.0.0.1:18080
//
// Start-up: this program starts itself as a child that builds the main window, runs its load
// step (the four downloads) and shows it, and reports the time from the child's process start
// to the window being exposed. Channel switch: a double-click on a TV row to the player's
// playing state. Reference: `mpv --vo=null --ao=null --frames=1` on the same address, from
// process start to exit (it opens the stream and decodes the first frame).
#include "app/directory_request.h"
#include "app/frm_main.h"
#include "app/test_peer.h"
#include "platform/window/window_functions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <unistd.h>

namespace {

// Milliseconds since this process started, from /proc.
double sinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> f = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startTicks = f.value(19).toDouble();
    QFile up(QStringLiteral("/proc/uptime"));
    if (!up.open(QIODevice::ReadOnly)) return -1;
    const double uptime = up.readAll().split(' ').value(0).toDouble();
    return (uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int startupChild(const QString& host) {
    app::FrmMain frm(app::DirectoryConfig::forHost(host));
    frm.Form_Load();
    frm.show();
    (void)QTest::qWaitForWindowExposed(&frm);
    std::printf("%.1f\n", sinceProcessStart());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = QApplication::arguments();
    if (args.size() >= 3 && args[1] == QStringLiteral("--startup-child")) return startupChild(args[2]);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: player_timing BASE_URL [ROUNDS]\n");
        return 2;
    }
    const QString& base = args[1];
    const QString host = QString(base).remove(QStringLiteral("http://"));
    const int rounds = args.size() > 2 ? args[2].toInt() : 5;

    std::vector<double> startup;
    for (int i = 0; i < rounds; ++i) {
        QProcess child;
        child.start(QApplication::applicationFilePath(), {QStringLiteral("--startup-child"), host});
        child.waitForFinished(60000);
        startup.push_back(child.readAllStandardOutput().trimmed().toDouble());
    }

    app::FrmMain frm(app::DirectoryConfig::forHost(host));
    frm.Form_Load();
    frm.show();
    (void)QTest::qWaitForWindowExposed(&frm);
    controls::ucListBox* tv = app::TestPeer::list(frm, 2);
    frm.setTabIndex(2);
    tv->show();
    std::vector<double> ours, mpv;
    for (int i = 0; i < rounds; ++i) {
        const int16_t row = static_cast<int16_t>(i % 2); // the MPEG-TS and the HLS channel in turn
        const int y = 2 + row * 27 + 13;
        bool playing = false;
        auto c = QObject::connect(app::TestPeer::player(frm), &platform::MediaPlayer::PlayStateChange,
                                  [&](int32_t s) { playing = playing || s == 3; });
        QElapsedTimer t;
        t.start();
        QTest::mousePress(tv, Qt::LeftButton, {}, QPoint(40, y));
        QTest::mouseRelease(tv, Qt::LeftButton, {}, QPoint(40, y));
        QTest::mouseDClick(tv, Qt::LeftButton, {}, QPoint(40, y));
        QTest::mouseRelease(tv, Qt::LeftButton, {}, QPoint(40, y));
        (void)QTest::qWaitFor([&] { return playing; }, 20000);
        ours.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        QObject::disconnect(c);
        app::TestPeer::player(frm)->controls().stop();
        platform::pumpFor(300);

        QProcess ref;
        QElapsedTimer r;
        r.start();
        ref.start(QStringLiteral("mpv"),
                  {QStringLiteral("--no-config"), QStringLiteral("--vo=null"), QStringLiteral("--ao=null"),
                   QStringLiteral("--frames=1"), QStringLiteral("--really-quiet"), tv->URL(row)});
        ref.waitForFinished(20000);
        mpv.push_back(static_cast<double>(r.nsecsElapsed()) / 1e6);
    }
    std::printf("start-up, process start to main window shown (4 directory downloads): median %.0f ms over %d runs\n",
                median(startup), rounds);
    std::printf("channel switch, double-click to playing: median %.0f ms\n", median(ours));
    std::printf("mpv command line, process start to first frame decoded: median %.0f ms\n", median(mpv));
    std::printf("ratio ours / mpv: %.2f\n", median(ours) / std::max(1.0, median(mpv)));
    return 0;
}
