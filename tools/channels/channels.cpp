// channels CATEGORY FILE|URL — shows the channels a directory post yields, one
// "title<TAB>address" line each, exactly as the category's list would receive them.
// channels --playlist FILE|URL — shows the channels an M3U or PLS playlist yields, one
// "title<TAB>address<TAB>duration" line each (duration in whole seconds, 0 for live).
//
// CATEGORY: 0 cameras (监控), 1 music (音乐), 2 television (电视), 3 radio (电台).
// A directory URL is downloaded as the player downloads its directories (GET with the blog
// service's Referer, the body decoded by its declared charset); a directory file is read as
// UTF-8. A playlist URL is downloaded with the same time-outs and size limit and read from
// its bytes, like a playlist file. Output is UTF-8 with LF line ends and nothing else; a TAB
// inside a title or address is printed as a space so every line keeps its columns. Entries
// beyond a list's capacity are left out and counted on stderr. Exit status: 0 (also when
// nothing is found), 1 when the source cannot be read, 2 for wrong arguments.
#include "app/channels/directory_text.h"
#include "app/channels/playlist_location.h"
#include "app/channels/playlist_reader.h"
#include "app/directory_request.h"
#include "platform/forms/runtime_error.h"
#include "platform/http/http_request.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <span>

namespace {

bool isHttpAddress(const QString& source) {
    return source.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
           source.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

void printLine(const QStringList& columns) {
    QString line = columns.join(QLatin1Char('\t'));
    line += QLatin1Char('\n');
    const QByteArray out = line.toUtf8();
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
}

QString column(QString text) { return text.replace(QLatin1Char('\t'), QLatin1Char(' ')); }

void reportDropped(int64_t dropped) {
    if (dropped > 0) {
        std::fprintf(stderr, "channels: %lld more channels left out (a list holds %d)\n",
                     static_cast<long long>(dropped), app::kMaxChannels);
    }
}

// The playlist at `url`: GET with the request object's time-outs and size limit. A status
// outside 2xx is a failure, since an error page read as a playlist would yield its lines
// as addresses.
QByteArray downloadPlaylist(const QString& url) {
    platform::HttpRequest request;
    request.Open(QStringLiteral("GET"), url, true);
    request.send();
    request.waitForResponse();
    const int32_t status = request.Status();
    if (status < 200 || status > 299) {
        throw platform::RuntimeError(platform::kErrHttpInvalidServerResponse, QStringLiteral("channels"),
                                     QStringLiteral("HTTP status %1").arg(status));
    }
    return request.ResponseBody();
}

int playlistMain(const QString& source) {
    QByteArray bytes;
    QString location;
    if (isHttpAddress(source)) {
        location = source;
        try {
            bytes = downloadPlaylist(source);
        } catch (const platform::RuntimeError& e) {
            std::fprintf(stderr, "channels: download failed: %s\n", qPrintable(e.Description()));
            return 1;
        }
    } else {
        location = app::FoldPath(QDir::current().absoluteFilePath(source));
        QFile f(source);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "channels: cannot read %s\n", qPrintable(source));
            return 1;
        }
        bytes = f.readAll();
    }
    const app::Playlist playlist = app::ReadPlaylist(
        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())), location);
    for (const app::PlaylistChannel& channel : playlist.channels) {
        printLine({column(channel.title), column(channel.address), QString::number(channel.duration)});
    }
    reportDropped(playlist.dropped);
    return 0;
}

int directoryMain(int category, const QString& source) {
    app::DirectoryChannels channels;
    if (isHttpAddress(source)) {
        try {
            channels = app::ReadDirectoryText(app::DownloadText(source), category);
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
        // Mapped rather than read: a page of tens of megabytes is then neither copied nor
        // turned into UTF-16 before its few channel lines are found.
        const qint64 size = f.size();
        const uchar* mapped = size > 0 ? f.map(0, size) : nullptr;
        QByteArray read;
        if (!mapped) read = f.readAll();
        const auto* bytes = mapped ? mapped : reinterpret_cast<const uchar*>(read.constData());
        const auto length = static_cast<size_t>(mapped ? size : read.size());
        channels = app::ReadDirectoryUtf8(std::span(bytes, length), category);
    }
    for (const app::ChannelLine& line : channels.lines) printLine({line.title, line.address});
    reportDropped(channels.dropped);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--playlist")) return playlistMain(args[2]);
    bool ok = false;
    const int category = args.size() == 3 ? args[1].toInt(&ok) : -1;
    if (!ok || category < 0 || category > 3) {
        std::fprintf(stderr, "usage: channels CATEGORY FILE|URL   (CATEGORY 0 监控, 1 音乐, 2 电视, 3 电台)\n"
                             "       channels --playlist FILE|URL\n");
        return 2;
    }
    return directoryMain(category, args[2]);
}
