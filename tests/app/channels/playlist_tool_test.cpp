// channels --playlist prints one title<TAB>address<TAB>duration line per channel of a
// playlist file or address, and nothing else on stdout.
#include "platform/http/demo_server_process.h"
#include "platform/http/local_http_server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString tool() { return QStringLiteral(TIANBO_BINARY_DIR "/tools/channels/channels"); }

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QString& source, const QString& workingDirectory = {}) {
    QProcess p;
    if (!workingDirectory.isEmpty()) p.setWorkingDirectory(workingDirectory);
    p.start(tool(), {QStringLiteral("--playlist"), source});
    ToolRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class PlaylistTool : public ::testing::Test {
protected:
    void SetUp() override {
        // The tool is part of the full build only (it downloads through the player's code).
        if (!QFileInfo::exists(tool())) GTEST_SKIP() << "no channels tool in this build";
        ASSERT_TRUE(m_dir.isValid());
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

// A file from a relative path: addresses resolve against its absolute folder, a TAB in a
// title or address prints as a space, durations print in whole seconds.
TEST_F(PlaylistTool, PrintsTheChannelsOfAFile) {
    ASSERT_TRUE(writeFile(path("lists/tv.m3u"), "#EXTM3U\n#EXTINF:90.5 group-title=\"g\",新闻\t频道\n"
                                                "media/a\tb.ts\n#EXTINF:-1,\nhttp://h/live\n"));
    const ToolRun r = runTool(QStringLiteral("lists/./tv.m3u"), m_dir.path());
    EXPECT_EQ(r.exitCode, 0);
    // The working folder as the process sees it, symbolic links resolved by the system.
    const QString folder = QDir(m_dir.path()).canonicalPath();
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("新闻 频道\t%1/lists/media/a b.ts\t90\n"
                                                       "http://h/live\thttp://h/live\t0\n")
                                            .arg(folder));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

// An address is fetched over HTTP and its relative entries resolve against it; an error
// status or an unreachable server fails with status 1 and prints nothing.
TEST_F(PlaylistTool, FetchesAddressesAndFailsCleanly) {
    tbtest::LocalHttpServer server([](tbtest::HttpExchange& x) {
        if (x.target == "/pl/radio.pls") {
            x.respond(200, "audio/x-scpls", "[playlist]\r\nFile1=one.mp3\r\nTitle1=\xB5\xE7\xCC\xA8\r\nLength1=-1\r\n");
        } else {
            x.respond(404, "text/html", "<html>not here</html>\n");
        }
    });
    ToolRun r = runTool(QString::fromStdString(server.url("/pl/radio.pls")));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(r.out),
              QStringLiteral("电台\t%1\t0\n").arg(QString::fromStdString(server.url("/pl/one.mp3"))));

    r = runTool(QString::fromStdString(server.url("/pl/missing.m3u")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(r.err.isEmpty());
    r = runTool(QStringLiteral("http://127.0.0.1:1/refused.m3u"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
}

// Nothing found is still success; a missing file is not; a list too long says so on stderr.
TEST_F(PlaylistTool, EmptyMissingAndOverfullPlaylists) {
    ASSERT_TRUE(writeFile(path("empty.m3u"), "#EXTM3U\n"));
    ToolRun r = runTool(path("empty.m3u"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty());

    r = runTool(path("absent.m3u"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());

    QByteArray big;
    for (int i = 0; i < 32768 + 5; ++i) big += "http://h/" + QByteArray::number(i) + "\n";
    ASSERT_TRUE(writeFile(path("big.m3u"), big));
    r = runTool(path("big.m3u"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count('\n'), 32768);
    EXPECT_TRUE(r.out.endsWith("http://h/32767\thttp://h/32767\t0\n"));
    EXPECT_TRUE(r.err.contains(" 5 ")) << r.err.toStdString();
}

// The demo server's two playlists, with relative addresses resolved onto the server.
TEST_F(PlaylistTool, ReadsTheDemoServersPlaylists) {
    tbtest::DemoServerProcess server;
    ASSERT_TRUE(server.ready());
    const QString base = server.base();
    ToolRun r = runTool(base + QStringLiteral("/playlists/demo.m3u"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("演示彩条\t%1/media/tv/bars.ts\t0\n"
                                                       "演示 HLS 直播\t%1/media/tv/hls/live.m3u8\t0\n"
                                                       "演示摄像头\t%1/media/camera/2.ts\t0\n"
                                                       "晨光（播放列表）\t%1/media/music/1.mp3\t12\n"
                                                       "溪流（播放列表）\t%1/media/music/2.mp3\t15\n"
                                                       "夜色（播放列表）\t%1/media/music/3.mp3\t18\n"
                                                       "远山（播放列表）\t%1/media/music/4.mp3\t10\n"
                                                       "归途（播放列表）\t%1/media/music/5.mp3\t14\n")
                                            .arg(base));
    r = runTool(base + QStringLiteral("/playlists/radio.pls"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("音乐之声（PLS）\t%1/media/radio/music.mp3\t0\n"
                                                       "新闻台（PLS）\t%1/media/radio/news.aac\t0\n")
                                            .arg(base));
}
