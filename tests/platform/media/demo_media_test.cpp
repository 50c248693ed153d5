#include "platform/http/demo_server_process.h"
#include "platform/media/media_player.h"
#include "platform/media/media_test_support.h"

#include <gtest/gtest.h>

using platform::MediaPlayer;
using tbtest::PlayerEvents;

namespace {

// Plays one address of the demo server and returns the length the player reports once it
// plays, or -1 when it did not reach the playing state.
double playAndMeasure(MediaPlayer& player, const QString& url) {
    PlayerEvents events(player);
    player.setURL(url);
    if (!events.waitForState(MediaPlayer::Playing, 10000)) return -1;
    QTest::qWait(300);
    const double duration = player.currentMedia().duration();
    player.controls().stop();
    return duration;
}

} // namespace

// Every endless channel of the demo server (television, HLS, radio, cameras) plays in the
// player as a live stream, without a length.
TEST(DemoMedia, LiveChannelsPlayWithoutLength) {
    tbtest::DemoServerProcess server;
    ASSERT_TRUE(server.ready());
    MediaPlayer player;
    for (const tbtest::DemoCategory& category : tbtest::demoDirectory()) {
        if (category.marker == QStringLiteral("音乐")) continue;
        for (const tbtest::DemoChannel& channel : category.channels) {
            if (channel.path.contains(QStringLiteral("offline"))) continue;
            EXPECT_EQ(playAndMeasure(player, server.base() + channel.path), 0) << channel.path.toStdString();
        }
    }
}

// The music tracks are finite files of 10 to 20 seconds, and the dead address ends ready.
TEST(DemoMedia, MusicTracksHaveLengthsAndDeadAddressFails) {
    tbtest::DemoServerProcess server;
    ASSERT_TRUE(server.ready());
    MediaPlayer player;
    for (const tbtest::DemoChannel& track : tbtest::demoDirectory()[1].channels) {
        const double duration = playAndMeasure(player, server.base() + track.path);
        EXPECT_GE(duration, 10.0) << track.path.toStdString();
        EXPECT_LE(duration, 20.5) << track.path.toStdString();
    }
    PlayerEvents events(player);
    player.setURL(server.base() + QStringLiteral("/media/tv/offline.ts"));
    EXPECT_TRUE(events.waitForState(MediaPlayer::Ready, 10000));
}
