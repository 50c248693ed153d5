// Tianbo: the main window, its four directories and the notice window.
#include "app/frm_main.h"
#include "platform/web/web_engine_startup.h"
#include "platform/window/display_scaling.h"
#include "platform/window/window_functions.h"

#include "app/config.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

// --version and --help answer before any window system is touched, so they work on a
// machine without a display (a package check, a terminal over ssh).
bool answeredFromCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tianbo %s\n", app::config::kVersion);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("Usage: tianbo [--help] [--version]\n"
                        "Player for network TV, radio, music and camera streams.\n");
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (answeredFromCommandLine(argc, argv)) return 0;
    // The program places its own windows, which the X11 platform allows.
    qputenv("QT_QPA_PLATFORM", "xcb");
    platform::prepareWebEngineStartup();
    platform::prepareDisplayScaling();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tianbo"));
    QApplication::setQuitOnLastWindowClosed(false);
    std::setlocale(LC_NUMERIC, "C");

    auto* frm = new app::FrmMain();
    QObject::connect(frm, &app::FrmMain::Unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // Centred in the work area.
    platform::RECT work{};
    platform::SystemParametersInfo(platform::SPI_GETWORKAREA, 0, &work, 0);
    const platform::RECT wr = frm->windowRect();
    platform::SetWindowPos(frm, nullptr, work.left + (work.width() - wr.width()) / 2,
                           work.top + (work.height() - wr.height()) / 2, 0, 0,
                           platform::SWP_NOSIZE | platform::SWP_NOZORDER);
    frm->Form_Load();
    frm->show();
    platform::SetForegroundWindow(frm);
    const int rc = app.exec();
    delete frm;
    return rc;
}
