// channels CATEGORY FILE|URL — shows the channels a directory post yields, one
// "title<TAB>address" line each, exactly as the category's list would receive them.
//
// CATEGORY: 0 cameras (监控), 1 music (音乐), 2 television (电视), 3 radio (电台).
// A URL is downloaded as the player downloads its directories (GET with the blog service's
// Referer, the body decoded by its declared charset); a file is read as UTF-8.
#include "app/channels/directory_text.h"
#include "app/directory_request.h"
#include "platform/forms/runtime_error.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const int category = args.size() == 3 ? args[1].toInt(&ok) : -1;
    if (!ok || category < 0 || category > 3) {
        std::fprintf(stderr, "usage: channels CATEGORY FILE|URL   (CATEGORY 0 监控, 1 音乐, 2 电视, 3 电台)\n");
        return 2;
    }
    const QString source = args[2];
    QString page;
    if (source.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
        source.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive)) {
        try {
            page = app::DownloadText(source);
        } catch (const platform::RuntimeError& e) {
            std::fprintf(stderr, "channels: download failed: %s\n", qPrintable(e.Description()));
            return 1;
        }
    } else {
        QFile f(source);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "channels: cannot read %s\n", qPrintable(source));
            return 1;
        }
        page = QString::fromUtf8(f.readAll());
    }
    for (const app::ChannelLine& line : app::ChannelLinesOf(page, category)) {
        const QByteArray out = (line.title + QLatin1Char('\t') + line.address + QLatin1Char('\n')).toUtf8();
        std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    }
    return 0;
}
