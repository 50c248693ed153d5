// tianbo-web: the web engine's process of the player's web views, so that the browser engine
// (its code, threads and memory) stays out of the player's own process.
//
//   tianbo-web WINDOW WIDTH HEIGHT
//
// Shows a page inside the X window WINDOW and takes its orders on standard input (see
// platform/web/web_host_protocol.h); it quits when standard input ends.
#include "platform/web/host/web_engine_startup.h"
#include "platform/web/host/web_host.h"

#include <QApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tianbo-web WINDOW WIDTH HEIGHT\n");
        return 2;
    }
    bool ok = false;
    const WId window = QByteArray(argv[1]).toULongLong(&ok);
    if (!ok || window == 0) {
        std::fprintf(stderr, "tianbo-web: no window %s\n", argv[1]);
        return 2;
    }
    // A view that goes away while an answer is being written must not kill us mid-line.
    std::signal(SIGPIPE, SIG_IGN);
    qputenv("QT_QPA_PLATFORM", "xcb");
    platform::prepareWebEngineStartup();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::WebHost host(window, QSize(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt()));
    return QApplication::exec();
}
