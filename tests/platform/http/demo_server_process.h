#pragma once
// The demo directory server as a child process for tests: started on a free port of
// 127.0.0.1 with its media cache in the build tree (made on the first run, then reused),
// stopped when the object goes.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace tbtest {

class DemoServerProcess {
public:
    DemoServerProcess() {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("python3"),
                        {QStringLiteral(TIANBO_SOURCE_DIR "/tools/demo_server/demo_server.py"),
                         QStringLiteral("--cache"), QStringLiteral(TIANBO_BINARY_DIR "/demo-cache"),
                         QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--quiet")});
        // The first run makes the media, which takes a while.
        const QByteArray prefix = "demo_server: serving ";
        while (m_base.isEmpty() && (m_process.canReadLine() || m_process.waitForReadyRead(180000))) {
            while (m_base.isEmpty() && m_process.canReadLine()) {
                const QByteArray line = m_process.readLine().trimmed();
                if (line.startsWith(prefix)) m_base = QString::fromUtf8(line.mid(prefix.size()));
            }
        }
        if (m_base.endsWith(QLatin1Char('/'))) m_base.chop(1);
        EXPECT_FALSE(m_base.isEmpty()) << "the demo server did not start";
    }

    ~DemoServerProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) m_process.kill();
        m_process.waitForFinished(5000);
    }

    bool ready() const { return !m_base.isEmpty(); }
    // "http://127.0.0.1:PORT"
    QString base() const { return m_base; }

private:
    QProcess m_process;
    QString m_base;
};

// What the player's directory reading must find on the demo server: each category's post
// id and its channels (title as the player reads it, media path).
struct DemoChannel {
    QString title;
    QString path;
};
struct DemoCategory {
    QString blogId;
    QString marker;
    std::vector<DemoChannel> channels;
};

inline const std::vector<DemoCategory>& demoDirectory() {
    static const std::vector<DemoCategory> directory = {
        {"1001",
         "监控",
         {{"1号摄像头 大门", "/media/camera/1.ts"},
          {"2号摄像头 停车场", "/media/camera/2.ts"},
          {"3号摄像头大厅", "/media/camera/3.ts"}}},
        {"1002",
         "音乐",
         {{"晨光", "/media/music/1.mp3"},
          {"溪流", "/media/music/2.mp3"},
          {"夜色", "/media/music/3.mp3"},
          {"远山", "/media/music/4.mp3"},
          {"归途", "/media/music/5.mp3"}}},
        {"1003",
         "电视",
         {{"测试一台 彩条", "/media/tv/bars.ts"},
          {"测试二台 HLS直播", "/media/tv/hls/live.m3u8"},
          {"失效频道", "/media/tv/offline.ts"}}},
        {"1004", "电台", {{"音乐之声 MP3", "/media/radio/music.mp3"}, {"新闻台AAC", "/media/radio/news.aac"}}},
    };
    return directory;
}

} // namespace tbtest
