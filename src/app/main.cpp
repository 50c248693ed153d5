// Tianbo: the main window, its four directories and the notice window.
//   tianbo [--config FILE] [--new-instance] [ADDRESS|FILE]...
#include "app/command_line.h"
#include "app/frm_main.h"
#include "app/settings.h"
#include "platform/web/web_engine_startup.h"
#include "platform/window/window_functions.h"

#include "app/config.h"

#include <QApplication>
#include <QFileInfo>
#include <clocale>
#include <cstdio>

namespace {

// The command line as text; arguments are in the locale's encoding.
app::CommandLine commandLineOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return app::ParseCommandLine(args);
}

} // namespace

int main(int argc, char** argv) {
    // --help, --version and usage errors answer before any window system is touched, so they
    // work on a machine without a display (a package check, a terminal over ssh).
    const app::CommandLine commandLine = commandLineOf(argc, argv);
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "tianbo: %s\n%s", qPrintable(commandLine.error), qPrintable(app::UsageText()));
        return 2;
    }
    if (commandLine.help) {
        std::printf("%s", qPrintable(app::UsageText()));
        return 0;
    }
    if (commandLine.version) {
        std::printf("tianbo %s\n", app::config::kVersion);
        return 0;
    }
    // The program places its own windows, which the X11 platform allows.
    qputenv("QT_QPA_PLATFORM", "xcb");
    platform::prepareWebEngineStartup();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tianbo"));
    QApplication::setQuitOnLastWindowClosed(false);
    std::setlocale(LC_NUMERIC, "C");

    const QString settingsPath = commandLine.configPath.isEmpty()
                                     ? app::Settings::defaultPath()
                                     : QFileInfo(commandLine.configPath).absoluteFilePath();
    auto settings = std::make_unique<app::Settings>(settingsPath);
    if (!settings->warning().isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(settings->warning()));
    auto* frm = new app::FrmMain(std::move(settings));
    QObject::connect(frm, &app::FrmMain::Unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // Centred in the work area.
    platform::RECT work{};
    platform::SystemParametersInfo(platform::SPI_GETWORKAREA, 0, &work, 0);
    const platform::RECT wr = frm->windowRect();
    platform::SetWindowPos(frm, nullptr, work.left + (work.width() - wr.width()) / 2,
                           work.top + (work.height() - wr.height()) / 2, 0, 0,
                           platform::SWP_NOSIZE | platform::SWP_NOZORDER);
    frm->Form_Load();
    frm->showAsLastRun();
    platform::SetForegroundWindow(frm);
    // Playlists named on the command line join the current category for this run; the first
    // other address or file plays.
    for (const QString& unused : frm->openCommandLineItems(commandLine.items))
        std::fprintf(stderr, "tianbo: not opened: %s\n", qPrintable(unused));
    const int rc = app.exec();
    delete frm;
    return rc;
}
