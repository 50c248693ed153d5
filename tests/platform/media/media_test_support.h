#pragma once
// Media made with ffmpeg for the player tests, a recorder of the player's events, and a
// paced "live" HTTP source. Clips are made once into the build tree and shared by every test
// process (each is written under a temporary name and renamed, so parallel tests never see
// half a file).

#include "platform/http/local_http_server.h"
#include "platform/media/media_player.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace tbtest {

inline QString mediaDir() {
    const QString dir = QStringLiteral(TIANBO_BINARY_DIR "/test-media");
    QDir().mkpath(dir);
    return dir;
}

// Returns the path of `name`, running ffmpeg with `args` (the output file last) if it is not
// there yet. Fails the test when ffmpeg does.
inline QString clip(const QString& name, const QStringList& args) {
    const QString path = mediaDir() + QLatin1Char('/') + name;
    if (QFile::exists(path)) return path;
    const QString temp = path + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
    QStringList all = {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                       QStringLiteral("-y")};
    all += args;
    all += {QStringLiteral("-f"),
            name.endsWith(QLatin1String(".ts")) ? QStringLiteral("mpegts") : QStringLiteral("mp4"), temp};
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), all);
    const bool ok = ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0;
    EXPECT_TRUE(ok) << ffmpeg.readAllStandardError().toStdString();
    if (!ok || !QFile::rename(temp, path)) QFile::remove(temp);
    return path;
}

// SMPTE colour bars with a 1 kHz tone, 320 x 240, `seconds` long.
inline QString barsClip(int seconds) {
    return clip(QStringLiteral("bars%1.mp4").arg(seconds), {"-f",       "lavfi",
                                                            "-i",       "smptebars=size=320x240:rate=25",
                                                            "-f",       "lavfi",
                                                            "-i",       "sine=frequency=1000:sample_rate=44100",
                                                            "-t",       QString::number(seconds),
                                                            "-c:v",     "libx264",
                                                            "-preset",  "ultrafast",
                                                            "-g",       "25",
                                                            "-pix_fmt", "yuv420p",
                                                            "-c:a",     "aac",
                                                            "-shortest"});
}

// A moving test pattern with a tone as MPEG-TS, the form of a live television stream.
inline QString liveClip() {
    return clip(QStringLiteral("live.ts"), {"-f",       "lavfi",     "-i",   "testsrc=size=320x240:rate=10",
                                            "-f",       "lavfi",     "-i",   "sine=frequency=440:sample_rate=44100",
                                            "-t",       "6",         "-c:v", "libx264",
                                            "-preset",  "ultrafast", "-g",   "10",
                                            "-pix_fmt", "yuv420p",   "-c:a", "aac",
                                            "-shortest"});
}

inline std::string readFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sends `data` (lasting `seconds` when played) at its playing pace after a one-second burst,
// with no length announced, as a live source does. Returns false once the client is gone.
inline bool sendPaced(HttpExchange& ex, const std::string& data, double seconds, double stopAfterSeconds) {
    if (!ex.send("HTTP/1.1 200 OK\r\nContent-Type: video/mp2t\r\nConnection: close\r\n\r\n")) { return false; }
    const double bytesPerSecond = double(data.size()) / seconds;
    const size_t tick = size_t(bytesPerSecond / 10) / 188 * 188;
    const size_t limit = std::min(data.size(), size_t(bytesPerSecond * stopAfterSeconds));
    size_t offset = std::min(limit, size_t(bytesPerSecond) / 188 * 188);
    if (!ex.send(std::string_view(data).substr(0, offset))) return false;
    while (offset < limit) {
        if (!ex.pause(std::chrono::milliseconds(100))) return false;
        const size_t n = std::min(tick, limit - offset);
        if (!ex.send(std::string_view(data).substr(offset, n))) return false;
        offset += n;
    }
    return true;
}

// Everything the player reports, in order.
class PlayerEvents {
public:
    explicit PlayerEvents(platform::MediaPlayer& player) : m_player(player) {
        QObject::connect(&player, &platform::MediaPlayer::PlayStateChange, [this](int32_t s) {
            states.push_back(s);
            stateSeen = m_player.playState();
        });
        QObject::connect(&player, &platform::MediaPlayer::StatusChange,
                         [this] { statuses.push_back(m_player.status()); });
        QObject::connect(&player, &platform::MediaPlayer::PositionChange,
                         [this](double, double p) { positions.push_back(p); });
    }

    // Waits until the player reports `state` (or has reported it already since `from`).
    bool waitForState(int32_t state, int timeoutMs = 8000, size_t from = 0) {
        return QTest::qWaitFor(
            [&] {
                for (size_t i = from; i < states.size(); ++i) {
                    if (states[i] == state) return true;
                }
                return false;
            },
            timeoutMs);
    }

    std::vector<int32_t> states;
    std::vector<QString> statuses;
    std::vector<double> positions;
    int32_t stateSeen = -1;

private:
    platform::MediaPlayer& m_player;
};

} // namespace tbtest
