#pragma once
// The program's command line:  tianbo [--config FILE] [--new-instance] [ADDRESS|FILE]...

#include <QString>
#include <QStringList>

namespace app {

struct CommandLine {
    QString configPath; // --config FILE; empty for the default settings file
    bool newInstance = false;
    bool help = false;
    bool version = false;
    QStringList items; // addresses and files, in order: playlists are imported, the rest played
    QString error;     // a usage error; the program prints it with the usage and exits 2
};

// `args` without the program name.
CommandLine ParseCommandLine(const QStringList& args);

// The usage text printed by --help and after a usage error.
QString UsageText();

} // namespace app
