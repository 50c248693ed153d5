// Tianbo: the main window, its four directories and the notice window.
//   tianbo [--config FILE] [--new-instance] [ADDRESS|FILE]...
#include "app/channels/playlist_location.h"
#include "app/command_line.h"
#include "app/frm_main.h"
#include "app/mpris_bridge.h"
#include "app/settings.h"
#include "platform/dbus/mpris_service.h"
#include "platform/media/media_startup.h"
#include "platform/window/display_scaling.h"
#include "platform/window/window_functions.h"

#include "app/config.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <clocale>
#include <cstdio>

namespace {

// Files named on the command line by their full paths: a running player that takes them over
// works in another folder.
QStringList absoluteItems(const QStringList& items) {
    QStringList out;
    for (const QString& item : items)
        out << (app::HasScheme(item) ? item : app::FoldPath(QDir::current().absoluteFilePath(item)));
    return out;
}

} // namespace

int main(int argc, char** argv) {
    platform::prepareMediaStartup();
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const app::CommandLine command = app::ParseCommandLine(args);
    // Usage errors, --version and --help answer before any window system is touched, so they
    // work on a machine without a display (a package check, a terminal over ssh).
    if (!command.error.isEmpty()) {
        std::fprintf(stderr, "tianbo: %s\n%s", qPrintable(command.error), qPrintable(app::UsageText()));
        return 2;
    }
    if (command.version) {
        std::printf("tianbo %s\n", app::config::kVersion);
        return 0;
    }
    if (command.help) {
        std::printf("%s", app::UsageText().toLocal8Bit().constData());
        return 0;
    }
    // The program places its own windows, which the X11 platform allows.
    qputenv("QT_QPA_PLATFORM", "xcb");
    platform::prepareDisplayScaling();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tianbo"));
    QApplication::setQuitOnLastWindowClosed(false);
    std::setlocale(LC_NUMERIC, "C");

    // One player at a time: a running one takes the addresses and comes to the front.
    const QStringList items = absoluteItems(command.items);
    if (!command.newInstance && platform::HandToRunningInstance(items)) return 0;

    const QString settingsPath =
        command.configPath.isEmpty() ? app::Settings::defaultPath() : QFileInfo(command.configPath).absoluteFilePath();
    auto settings = std::make_unique<app::Settings>(settingsPath);
    if (!settings->warning().isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(settings->warning()));
    auto* frm = new app::FrmMain(std::move(settings));
    QObject::connect(frm, &app::FrmMain::Unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // Centred in the work area, unless the last run left the window elsewhere.
    platform::RECT work{};
    platform::SystemParametersInfo(platform::SPI_GETWORKAREA, 0, &work, 0);
    const platform::RECT wr = frm->windowRect();
    platform::SetWindowPos(frm, nullptr, work.left + (work.width() - wr.width()) / 2,
                           work.top + (work.height() - wr.height()) / 2, 0, 0,
                           platform::SWP_NOSIZE | platform::SWP_NOZORDER);
    // The desktop's media keys and sound menu reach the player from here on.
    app::MprisBridge mpris(*frm);
    mpris.start();
    frm->Form_Load();
    frm->showAsLastRun();
    platform::SetForegroundWindow(frm);
    // Playlists named on the command line join the current category for this run; the first
    // other address or file plays.
    for (const QString& unused : frm->openCommandLineItems(items))
        std::fprintf(stderr, "tianbo: not opened: %s\n", qPrintable(unused));
    const int rc = app.exec();
    delete frm;
    return rc;
}
