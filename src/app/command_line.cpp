#include "app/command_line.h"

namespace app {

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine c;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (optionsEnded || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            c.items << a;
        } else if (a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            c.help = true;
        } else if (a == QLatin1String("--version")) {
            c.version = true;
        } else if (a == QLatin1String("--new-instance")) {
            c.newInstance = true;
        } else if (a == QLatin1String("--config")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                c.error = QStringLiteral("--config needs a file");
                return c;
            }
            c.configPath = args[++i];
        } else if (a.startsWith(QLatin1String("--config="))) {
            c.configPath = a.mid(9);
            if (c.configPath.isEmpty()) {
                c.error = QStringLiteral("--config needs a file");
                return c;
            }
        } else {
            c.error = QStringLiteral("unknown option %1").arg(a);
            return c;
        }
    }
    return c;
}

QString UsageText() {
    return QStringLiteral("Usage: tianbo [--config FILE] [--new-instance] [ADDRESS|FILE]...\n"
                          "Player for network TV, radio, music and camera streams.\n"
                          "\n"
                          "  ADDRESS|FILE      a playlist (.m3u, .m3u8, .pls) is added to the current list for\n"
                          "                    this run; any other address or file plays at once\n"
                          "  --config FILE     read and write settings in FILE instead of\n"
                          "                    $XDG_CONFIG_HOME/tianbo/tianbo.conf\n"
                          "  --new-instance    start another player even when one is running\n"
                          "  --version         print the version and exit\n"
                          "  --help            print this help and exit\n");
}

} // namespace app
