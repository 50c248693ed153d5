#include "platform/media/media_player.h"
#include "platform/media/media_test_support.h"

#include <QElapsedTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using platform::MediaPlayer;
using tbtest::HttpExchange;
using tbtest::LocalHttpServer;
using tbtest::PlayerEvents;
using States = std::vector<int32_t>;

namespace {

// Serves a file with its length, honouring no ranges: a finite medium over HTTP.
void serveFile(HttpExchange& ex, const std::string& data) { ex.respond(200, "video/mp4", data); }

} // namespace

// A clip played to its end reports transitioning, buffering, playing, media ended and
// stopped, in that order, each followed by a status change with the state's text; the
// position advances and the length is known while it plays. The same holds over HTTP.
TEST(MediaPlayer, PlaysClipToEndWithStateSequence) {
    const QString path = tbtest::barsClip(2);
    const std::string data = tbtest::readFile(path);
    LocalHttpServer server([&](HttpExchange& ex) { serveFile(ex, data); });

    for (const QString& url : {path, QString::fromStdString(server.url("/bars2.mp4"))}) {
        MediaPlayer player;
        PlayerEvents events(player);
        double durationWhilePlaying = -1;
        QObject::connect(&player, &MediaPlayer::PositionChange, [&] {
            durationWhilePlaying = std::max(durationWhilePlaying, player.currentMedia().duration());
        });
        player.setURL(url);
        EXPECT_EQ(player.playState(), MediaPlayer::Transitioning);
        ASSERT_TRUE(events.waitForState(MediaPlayer::Stopped)) << url.toStdString();

        EXPECT_EQ(events.states, (States{9, 6, 3, 8, 1})) << url.toStdString();
        EXPECT_EQ(events.statuses, (std::vector<QString>{"正在连接...", "正在缓冲", "正在播放", "播放完毕", "已停止"}));
        EXPECT_GE(events.positions.size(), 4u);
        EXPECT_NEAR(durationWhilePlaying, 2.0, 0.1);
        EXPECT_EQ(player.currentMedia().duration(), 0);
        EXPECT_EQ(player.controls().currentPosition(), 0);
        EXPECT_EQ(player.URL(), url);
    }
}

// Pause holds the position, play resumes it, stop ends playback and rewinds.
TEST(MediaPlayer, PauseResumeAndStop) {
    MediaPlayer player;
    PlayerEvents events(player);
    player.setURL(tbtest::barsClip(8));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing));
    QTest::qWait(400);

    player.controls().pause();
    EXPECT_EQ(player.playState(), MediaPlayer::Paused);
    EXPECT_EQ(player.status(), QStringLiteral("已暂停"));
    QTest::qWait(200);
    const double held = player.controls().currentPosition();
    QTest::qWait(500);
    EXPECT_NEAR(player.controls().currentPosition(), held, 0.05);

    player.controls().play();
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
    QTest::qWait(600);
    EXPECT_GT(player.controls().currentPosition(), held + 0.3);

    player.controls().stop();
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.controls().currentPosition(), 0);
    QTest::qWait(300);
    EXPECT_EQ(events.states, (States{9, 6, 3, 2, 3, 1}));

    // Stopping again reports nothing; play starts the same URL from the beginning.
    player.controls().stop();
    player.controls().play();
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 8000, 6));
    EXPECT_EQ(events.states, (States{9, 6, 3, 2, 3, 1, 9, 6, 3}));
    EXPECT_LT(player.controls().currentPosition(), 2.0);
}

// Writing the position seeks: it is reported at once and playback goes on from there.
TEST(MediaPlayer, SeekingMovesThePosition) {
    MediaPlayer player;
    PlayerEvents events(player);
    player.setURL(tbtest::barsClip(8));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing));
    player.controls().setCurrentPosition(5.0);
    ASSERT_FALSE(events.positions.empty());
    EXPECT_EQ(events.positions.back(), 5.0);
    QTest::qWait(600);
    EXPECT_GE(player.controls().currentPosition(), 5.0);
    EXPECT_LT(player.controls().currentPosition(), 6.5);
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
}

// Addresses that cannot be opened end in the ready state without a stop: a refused port, a
// missing page, a missing file and a scheme the player refuses to hand to its engine.
TEST(MediaPlayer, UnopenableAddressesEndReady) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    LocalHttpServer server([](HttpExchange& ex) { ex.respond(404, "text/plain", "gone"); });

    const QString urls[] = {
        QStringLiteral("http://127.0.0.1:%1/dead.ts").arg(ntohs(addr.sin_port)),
        QString::fromStdString(server.url("/missing.ts")),
        tbtest::mediaDir() + QStringLiteral("/no-such-file.mp4"),
        QStringLiteral("av://lavfi:sine"),
    };
    for (const QString& url : urls) {
        MediaPlayer player;
        PlayerEvents events(player);
        player.setURL(url);
        ASSERT_TRUE(events.waitForState(MediaPlayer::Ready)) << url.toStdString();
        QTest::qWait(100);
        EXPECT_EQ(events.states.front(), MediaPlayer::Transitioning) << url.toStdString();
        EXPECT_EQ(events.states.back(), MediaPlayer::Ready) << url.toStdString();
        EXPECT_EQ(std::count(events.states.begin(), events.states.end(), 1), 0);
        EXPECT_EQ(player.status(), QStringLiteral("就绪"));
    }
    ::close(fd);
}

// Changing the channel while one plays reports no stop (the program advances its music
// list on every stop), and volume and mute carry over to the next medium.
TEST(MediaPlayer, ChannelChangeKeepsVolumeAndMuteWithoutStop) {
    MediaPlayer player;
    PlayerEvents events(player);
    player.settings().setVolume(37);
    player.settings().setMute(true);
    player.setURL(tbtest::barsClip(8));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing));
    const size_t mark = events.states.size();
    player.setURL(tbtest::barsClip(2));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 8000, mark));
    QTest::qWait(200);
    EXPECT_EQ(States(events.states.begin() + mark, events.states.end()), (States{9, 6, 3}));
    EXPECT_EQ(player.settings().volume(), 37);
    EXPECT_TRUE(player.settings().mute());

    // Out-of-range volumes are held to 0..100 and read back as the engine took them.
    player.settings().setVolume(250);
    QTest::qWait(200);
    EXPECT_EQ(player.settings().volume(), 100);
    player.settings().setVolume(-4);
    player.settings().setMute(false);
    QTest::qWait(200);
    EXPECT_EQ(player.settings().volume(), 0);
    EXPECT_FALSE(player.settings().mute());
}

// Writing an empty URL stops playback and leaves the player ready with nothing to play; it
// reports no stop, and play() then has nothing to start.
TEST(MediaPlayer, EmptyUrlLeavesPlayerReady) {
    MediaPlayer player;
    PlayerEvents events(player);
    player.setURL(tbtest::barsClip(8));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing));
    player.setURL(QString());
    EXPECT_EQ(player.playState(), MediaPlayer::Ready);
    player.controls().play();
    QTest::qWait(500);
    EXPECT_EQ(events.states, (States{9, 6, 3, 10}));
    EXPECT_EQ(player.URL(), QString());
    EXPECT_EQ(player.controls().currentPosition(), 0);
}

// A live stream (no length) whose server drops the connection and stays away longer than
// the demuxer's own reconnection tries is reopened by the player: it reports reconnecting and
// then playing again, never a stop, and the length stays 0 throughout.
TEST(MediaPlayer, LostLiveStreamIsReopened) {
    using Clock = std::chrono::steady_clock;
    const std::string data = tbtest::readFile(tbtest::liveClip());
    std::atomic<int> served{0};
    std::atomic<Clock::rep> droppedAt{0};
    LocalHttpServer server([&](HttpExchange& ex) {
        if (served++ == 0) {
            // The first connection ends after two seconds of the stream.
            tbtest::sendPaced(ex, data, 6.0, 2.0);
            droppedAt = Clock::now().time_since_epoch().count();
            return;
        }
        const auto since = Clock::now() - Clock::time_point(Clock::duration(droppedAt.load()));
        if (since < std::chrono::milliseconds(1500)) {
            ex.respond(503, "text/plain", "restarting");
            return;
        }
        if (tbtest::sendPaced(ex, data, 6.0, 6.0)) ex.stall();
    });
    MediaPlayer player;
    PlayerEvents events(player);
    std::vector<double> durations;
    QObject::connect(&player, &MediaPlayer::PositionChange,
                     [&] { durations.push_back(player.currentMedia().duration()); });
    player.setURL(QString::fromStdString(server.url("/live.ts")));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Reconnecting, 10000));
    EXPECT_EQ(events.statuses.back(), QStringLiteral("正在重新连接..."));
    const size_t mark = events.states.size();
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 10000, mark));

    EXPECT_EQ(std::count(events.states.begin(), events.states.end(), 1), 0);
    EXPECT_EQ(std::count(events.states.begin(), events.states.end(), 8), 0);
    EXPECT_GE(server.connectionCount(), 3);
    ASSERT_FALSE(durations.empty());
    for (double d : durations) EXPECT_EQ(d, 0);
    EXPECT_EQ(player.status(), QStringLiteral("正在播放"));
    player.controls().stop();
    EXPECT_EQ(events.states.back(), MediaPlayer::Stopped);
}

// A live stream whose server stays away through every reopening attempt ends in a stop,
// which the program's automatic advance follows.
TEST(MediaPlayer, LostLiveStreamStopsWhenReopeningFails) {
    const std::string data = tbtest::readFile(tbtest::liveClip());
    std::atomic<int> served{0};
    LocalHttpServer server([&](HttpExchange& ex) {
        if (served++ == 0) {
            tbtest::sendPaced(ex, data, 6.0, 2.0);
        } else {
            ex.respond(503, "text/plain", "gone");
        }
    });
    MediaPlayer player;
    player.setReconnectDelays({100, 200});
    PlayerEvents events(player);
    player.setURL(QString::fromStdString(server.url("/live.ts")));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Stopped, 15000));
    QTest::qWait(300);
    EXPECT_EQ(events.states, (States{9, 6, 3, 11, 1}));
    EXPECT_EQ(player.status(), QStringLiteral("已停止"));
}
