// The playlist reader: the channels an M3U or PLS file yields, by the playlist rules.
#include "app/channels/playlist_reader.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>

using app::Playlist;
using app::PlaylistChannel;
using app::PlaylistFormat;

namespace {

std::span<const uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const uint8_t*>(a.constData()), static_cast<size_t>(a.size())};
}

Playlist read(const QByteArray& bytes, const QString& location) { return app::ReadPlaylist(bytesOf(bytes), location); }

const QString kUrl = QStringLiteral("http://h.example/dir/list.m3u?key=1");
const QString kFile = QStringLiteral("/home/u/lists/tv.m3u");

PlaylistChannel ch(const QString& title, const QString& address, int64_t duration = 0, const QString& group = {}) {
    return {title, address, duration, group};
}

void PrintTo(const PlaylistChannel& c, std::ostream* os) {
    *os << "{" << c.title.toStdString() << " | " << c.address.toStdString() << " | " << c.duration << " | "
        << c.group.toStdString() << "}";
}

} // namespace

namespace app {
void PrintTo(const PlaylistChannel& c, std::ostream* os) { ::PrintTo(c, os); }
} // namespace app

// Every playlist rule on small files: bytes, lines, format, #EXTINF, addresses, HLS, PLS.
TEST(PlaylistReader, RulesOnSmallFiles) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QString location;
        std::vector<PlaylistChannel> want;
        PlaylistFormat format = PlaylistFormat::M3u;
    };
    const std::vector<Case> cases = {
        // Bytes.
        {"a UTF-8 byte-order mark is skipped",
         "\xEF\xBB\xBF#EXTINF:5,频道\nhttp://a/1\n",
         kUrl,
         {ch("频道", "http://a/1", 5)}},
        {"bytes that are not UTF-8 are GB18030",
         "#EXTINF:-1,\xB5\xE7\xCA\xD3\nhttp://a/1\n",
         kUrl,
         {ch("电视", "http://a/1")}},
        {"one stray byte makes the whole file GB18030; bad bytes become U+FFFD",
         "#EXTINF:-1,\xC6\xB5\xB5\xC0\xFF!\nhttp://a/\x90\x30\x81\x30",
         kUrl,
         {ch(QStringLiteral("频道\uFFFD!"), QStringLiteral("http://a/") + QString::fromUcs4(U"\U00010000"))}},
        {"a character cut short by the end becomes one U+FFFD",
         "http://a/\xB5",
         kUrl,
         {ch("http://a/\uFFFD", "http://a/\uFFFD")}},
        // Lines.
        {"LF, CR LF and lone CR end lines; spaces and tabs are trimmed",
         "#EXTINF:1,A\rhttp://a/1\r\n \t#EXTINF:2, B \t\n\t http://a/2 \n",
         kUrl,
         {ch("A", "http://a/1", 1), ch("B", "http://a/2", 2)}},
        // Format.
        {"[playlist] in any case after empty lines is PLS",
         "\n  \n[PlayList]\nFile1=http://a/1\n",
         kUrl,
         {ch("http://a/1", "http://a/1")},
         PlaylistFormat::Pls},
        {"anything else is M3U, with or without a header",
         "[playlist] x\nhttp://a/1\n",
         kUrl,
         {ch("http://h.example/dir/[playlist] x", "http://h.example/dir/[playlist] x"),
          ch("http://a/1", "http://a/1")}},
        // #EXTINF.
        {"durations: fraction cut, negative, words, missing, exponent",
         "#EXTINF:12.9,A\nhttp://a/1\n#EXTINF:-1,B\nhttp://a/2\n#EXTINF:abc,C\nhttp://a/3\n"
         "#EXTINF:,D\nhttp://a/4\n#EXTINF:1e2,E\nhttp://a/5\n#EXTINF:7 tvg-id=\"x\",F\nhttp://a/6\n"
         "#EXTINF:-0.5,G\nhttp://a/7\n#EXTINF:10abc,H\nhttp://a/8\n",
         kUrl,
         {ch("A", "http://a/1", 12), ch("B", "http://a/2"), ch("C", "http://a/3"), ch("D", "http://a/4"),
          ch("E", "http://a/5", 100), ch("F", "http://a/6", 7), ch("G", "http://a/7"), ch("H", "http://a/8")}},
        {"the title follows the first comma outside a quoted value",
         "#EXTINF:-1 tvg-name=\"A,B\" group-title=\"新闻, 综合\",  Title, with comma \nhttp://a/1\n",
         kUrl,
         {ch("Title, with comma", "http://a/1", 0, "新闻, 综合")}},
        {"an empty title falls back to tvg-name, then to the resolved address",
         "#EXTINF:-1 tvg-name=\"名字\",\nhttp://a/1\n#EXTINF:-1 tvg-name=\"\"\nsub/2.ts\n",
         kUrl,
         {ch("名字", "http://a/1"), ch("http://h.example/dir/sub/2.ts", "http://h.example/dir/sub/2.ts")}},
        {"keys count whole; the first occurrence wins",
         "#EXTINF:-1 x-tvg-name=\"X\" tvg-name=\"T1\" tvg-name=\"T2\" group-title=\"G1\" group-title=\"G2\",\n"
         "http://a/1\n",
         kUrl,
         {ch("T1", "http://a/1", 0, "G1")}},
        {"attributes in the title are not attributes",
         "#EXTINF:3,Name group-title=\"G\"\nhttp://a/1\n",
         kUrl,
         {ch("Name group-title=\"G\"", "http://a/1", 3)}},
        {"#EXTINF in upper case only; other # lines are ignored; the pending entry is used once",
         "#EXTM3U\n#extinf:5,lower\nhttp://a/1\n#EXTINF:6,A\n#EXTVLCOPT:http-user-agent=x\n#EXTINF\nhttp://a/2\n"
         "http://a/3\n#EXTINF:7,B\n#EXTINF:8,C\nhttp://a/4\n#EXTINF:9,dangling\n",
         kUrl,
         {ch("http://a/1", "http://a/1"), ch("A", "http://a/2", 6), ch("http://a/3", "http://a/3"),
          ch("C", "http://a/4", 8)}},
        // Addresses.
        {"a scheme and at least one character keep an address as written",
         "C:\\x\nlocalhost:8080/x\nrtmp://h/a b\nmms:x\n",
         kFile,
         {ch("C:\\x", "C:\\x"), ch("localhost:8080/x", "localhost:8080/x"), ch("rtmp://h/a b", "rtmp://h/a b"),
          ch("mms:x", "mms:x")}},
        {"relative addresses resolve against the URL",
         "a/b.ts\n../c.ts\n/abs/./d.ts\n//cdn.example/e.ts\n?q=2\n1x:y\n频道 1.ts\n",
         kUrl,
         {ch("http://h.example/dir/a/b.ts", "http://h.example/dir/a/b.ts"),
          ch("http://h.example/c.ts", "http://h.example/c.ts"),
          ch("http://h.example/abs/d.ts", "http://h.example/abs/d.ts"),
          ch("http://cdn.example/e.ts", "http://cdn.example/e.ts"),
          ch("http://h.example/dir/list.m3u?q=2", "http://h.example/dir/list.m3u?q=2"),
          ch("http://h.example/dir/1x:y", "http://h.example/dir/1x:y"),
          ch("http://h.example/dir/频道 1.ts", "http://h.example/dir/频道 1.ts")}},
        {"relative addresses resolve against the file's folder, folded lexically",
         "a.ts\n../b/./c.ts\n/x/../y.ts\n../../../../z.ts\nsub//d.ts\n",
         kFile,
         {ch("/home/u/lists/a.ts", "/home/u/lists/a.ts"), ch("/home/u/b/c.ts", "/home/u/b/c.ts"), ch("/y.ts", "/y.ts"),
          ch("/z.ts", "/z.ts"), ch("/home/u/lists/sub/d.ts", "/home/u/lists/sub/d.ts")}},
        // HLS.
        {"an HLS media playlist is one channel: its own location",
         "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nseg1.ts\n",
         QStringLiteral("http://h.example/live/index.m3u8?token=1#x"),
         {ch("index.m3u8", "http://h.example/live/index.m3u8?token=1#x")},
         PlaylistFormat::Hls},
        {"an HLS master playlist from a file",
         "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nlow.m3u8\n",
         QStringLiteral("/srv/tv/./stream.m3u8"),
         {ch("stream.m3u8", "/srv/tv/stream.m3u8")},
         PlaylistFormat::Hls},
        {"an HLS tag anywhere counts, in upper case only",
         "http://a/1\n#EXT-X-MEDIA-SEQUENCE:3\n",
         kUrl,
         {ch("list.m3u", kUrl)},
         PlaylistFormat::Hls},
        {"lower-case HLS tags are ordinary comments",
         "#ext-x-targetduration:10\nhttp://a/1\n",
         kUrl,
         {ch("http://a/1", "http://a/1")}},
        // PLS.
        {"PLS: ascending N, keys in any case, titles and lengths",
         "[playlist]\nNumberOfEntries=9\nfile10=http://a/10\nTITLE10=Ten\nFile2=http://a/2\nLength2=30.7\n"
         "File1 = http://a/1 \nTitle1=\nLength1=-1\nFile0=http://a/0\nTitle3=no file\nFile4=\nLength10=x\n"
         "Version=2\n#EXT-X-TARGETDURATION:1\n",
         kUrl,
         {ch("http://a/1", "http://a/1"), ch("http://a/2", "http://a/2", 30), ch("Ten", "http://a/10")},
         PlaylistFormat::Pls},
        {"PLS: relative files resolve like M3U addresses",
         "[playlist]\nFile1=radio/one.mp3\nTitle1=一台\n",
         kFile,
         {ch("一台", "/home/u/lists/radio/one.mp3")},
         PlaylistFormat::Pls},
        // Nothing to read.
        {"an empty file", "", kUrl, {}},
        {"only comments and blank lines", "#EXTM3U\n\n   \n#EXTINF:5,x\n", kUrl, {}},
    };
    for (const Case& c : cases) {
        const Playlist got = read(c.bytes, c.location);
        EXPECT_EQ(got.channels, c.want) << c.what;
        EXPECT_EQ(got.format, c.format) << c.what;
        EXPECT_EQ(got.dropped, 0) << c.what;
    }
}

// A list holds 32,768 channels: the first ones in file order (PLS: the lowest numbers) stay,
// the rest are counted.
TEST(PlaylistReader, EntriesBeyondTheCapacityAreCounted) {
    QByteArray m3u = "#EXTM3U\n";
    for (int i = 0; i < 32770; ++i)
        m3u += "#EXTINF:1,T" + QByteArray::number(i) + "\nhttp://a/" + QByteArray::number(i) + "\n";
    const Playlist a = read(m3u, kUrl);
    ASSERT_EQ(a.channels.size(), size_t{32768});
    EXPECT_EQ(a.channels.back(), ch("T32767", "http://a/32767", 1));
    EXPECT_EQ(a.dropped, 2);

    QByteArray pls = "[playlist]\n";
    for (int n = 40000; n >= 1; --n)
        pls += "File" + QByteArray::number(n) + "=http://a/" + QByteArray::number(n) + "\n";
    const Playlist b = read(pls, kUrl);
    ASSERT_EQ(b.channels.size(), size_t{32768});
    EXPECT_EQ(b.channels.front().address, QStringLiteral("http://a/1"));
    EXPECT_EQ(b.channels.back().address, QStringLiteral("http://a/32768"));
    EXPECT_EQ(b.dropped, 40000 - 32768);
}

// Real playlists from public channel lists import with the number of channels an
// independent reading of the rules counted (listed in the folder's SOURCES.txt).
TEST(PlaylistReader, RealWorldPlaylistsImport) {
    const QString dir = QStringLiteral(TIANBO_SHARED_DATA "/playlists-realworld");
    QFile sources(dir + QStringLiteral("/SOURCES.txt"));
    ASSERT_TRUE(sources.open(QIODevice::ReadOnly)) << "missing " << dir.toStdString();
    std::map<QString, size_t> expected;
    static const QRegularExpression row(QStringLiteral("^(\\S+) \\| [\\d,]+ \\| [0-9a-f]+ \\| ([\\d,]+)$"));
    for (const QString& line : QString::fromUtf8(sources.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = row.match(line.trimmed());
        if (m.hasMatch()) expected[m.captured(1)] = m.captured(2).remove(QLatin1Char(',')).toULongLong();
    }
    const QStringList files = QDir(dir).entryList(QDir::Files, QDir::Name);
    size_t checked = 0;
    for (const QString& name : files) {
        if (name == QStringLiteral("SOURCES.txt")) continue;
        SCOPED_TRACE(name.toStdString());
        QFile f(dir + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const Playlist p = read(f.readAll(), dir + QLatin1Char('/') + name);
        std::printf("  %-32s %5zu channels%s\n", qPrintable(name), p.channels.size(),
                    p.format == PlaylistFormat::Pls ? " (PLS)" : "");
        ASSERT_TRUE(expected.count(name)) << "not listed in SOURCES.txt";
        EXPECT_EQ(p.channels.size(), expected[name]);
        EXPECT_EQ(p.dropped, 0);
        for (const PlaylistChannel& c : p.channels) {
            EXPECT_FALSE(c.address.isEmpty());
            EXPECT_FALSE(c.title.isEmpty());
        }
        ++checked;
    }
    EXPECT_EQ(checked, expected.size()) << "every listed file is there";
}
