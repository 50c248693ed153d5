// The player on the session bus, driven the way the desktop drives it: by playerctl and by
// plain D-Bus calls from another connection. The tests run under their own session bus.
#include "platform/dbus/mpris_service.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using platform::MprisPlayer;
using platform::MprisService;

namespace {

// A player whose state the test sets and whose commands it records.
class RecordingPlayer : public MprisPlayer {
public:
    Status status = Status::Stopped;
    Track current;
    double vol = 0.5;
    int64_t position = 0;
    bool seekable = false;
    bool hasNext = true;
    bool hasPrevious = false;
    QStringList calls;

    Status playbackStatus() const override { return status; }
    Track track() const override { return current; }
    double volume() const override { return vol; }
    void setVolume(double v) override {
        vol = v;
        calls << QStringLiteral("volume %1").arg(v);
    }
    int64_t positionUs() const override { return position; }
    bool canSeek() const override { return seekable; }
    bool canGoNext() const override { return hasNext; }
    bool canGoPrevious() const override { return hasPrevious; }
    bool canPlay() const override { return !current.url.isEmpty(); }
    bool canPause() const override { return !current.url.isEmpty(); }
    void play() override { calls << QStringLiteral("play"); }
    void pause() override { calls << QStringLiteral("pause"); }
    void playPause() override { calls << QStringLiteral("play-pause"); }
    void stop() override { calls << QStringLiteral("stop"); }
    void next() override { calls << QStringLiteral("next"); }
    void previous() override { calls << QStringLiteral("previous"); }
    void seekBy(int64_t us) override { calls << QStringLiteral("seek %1").arg(us); }
    void setPositionUs(int64_t us) override { calls << QStringLiteral("position %1").arg(us); }
    void openUri(const QString& uri) override { calls << QStringLiteral("open ") + uri; }
    void raise() override { calls << QStringLiteral("raise"); }
    void quit() override { calls << QStringLiteral("quit"); }
};

// Collects the changed-property maps of PropertiesChanged signals (QtDBus connects by slot name).
class PropertiesCatcher : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> seen;
public slots:
    void changed(const QString&, const QVariantMap& props, const QStringList&) { seen << props; }
};

// Runs playerctl while this process keeps answering the bus; its trimmed output.
QString playerctl(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("playerctl"), args);
    if (!p.waitForStarted(5000)) return QStringLiteral("<playerctl did not start>");
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        p.waitForFinished(5);
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

class Mpris : public ::testing::Test {
protected:
    void SetUp() override {
        player.current = {QStringLiteral("CCTV-1 综合"), QStringLiteral("http://127.0.0.1:1/tv.m3u8"), 0, 7};
        player.status = MprisPlayer::Status::Playing;
        service = std::make_unique<MprisService>(player, QStringLiteral("天播"), QStringLiteral("tianbo"));
        ASSERT_TRUE(service->registerOnSessionBus()) << "the tests need a session bus (dbus-run-session)";
    }
    RecordingPlayer player;
    std::unique_ptr<MprisService> service;
};

} // namespace

// playerctl finds the player by name and reads its identity, status and media.
TEST_F(Mpris, PlayerctlSeesThePlayerItsStatusAndItsMedia) {
    EXPECT_TRUE(playerctl({QStringLiteral("-l")}).split(QLatin1Char('\n')).contains(QStringLiteral("tianbo")));
    EXPECT_EQ(playerctl({QStringLiteral("-p"), QStringLiteral("tianbo"), QStringLiteral("status")}),
              QStringLiteral("Playing"));
    EXPECT_EQ(playerctl({QStringLiteral("-p"), QStringLiteral("tianbo"), QStringLiteral("metadata"),
                         QStringLiteral("xesam:title")}),
              QStringLiteral("CCTV-1 综合"));
    EXPECT_EQ(playerctl({QStringLiteral("-p"), QStringLiteral("tianbo"), QStringLiteral("metadata"),
                         QStringLiteral("xesam:url")}),
              QStringLiteral("http://127.0.0.1:1/tv.m3u8"));
    // A live stream has no length to announce.
    EXPECT_EQ(playerctl({QStringLiteral("-p"), QStringLiteral("tianbo"), QStringLiteral("metadata"),
                         QStringLiteral("mpris:length")}),
              QString());
    player.current.lengthUs = 245'000'000;
    EXPECT_EQ(playerctl({QStringLiteral("-p"), QStringLiteral("tianbo"), QStringLiteral("metadata"),
                         QStringLiteral("mpris:length")}),
              QStringLiteral("245000000"));
}

// Commands reach the player; those the player cannot do now are not passed on, and a volume
// outside 0..1 is brought into range.
TEST_F(Mpris, CommandsReachThePlayerWithinWhatItCanDo) {
    const QStringList p = {QStringLiteral("-p"), QStringLiteral("tianbo")};
    playerctl(p + QStringList{QStringLiteral("play-pause")});
    playerctl(p + QStringList{QStringLiteral("next")});
    playerctl(p + QStringList{QStringLiteral("previous")}); // no previous channel: not passed on
    playerctl(p + QStringList{QStringLiteral("stop")});
    playerctl(p + QStringList{QStringLiteral("volume"), QStringLiteral("0.3")});
    playerctl(p + QStringList{QStringLiteral("volume"), QStringLiteral("1.7")});
    playerctl(p + QStringList{QStringLiteral("position"), QStringLiteral("10")}); // cannot seek
    EXPECT_EQ(player.calls, (QStringList{QStringLiteral("play-pause"), QStringLiteral("next"), QStringLiteral("stop"),
                                         QStringLiteral("volume 0.3"), QStringLiteral("volume 1")}));
    EXPECT_EQ(playerctl(p + QStringList{QStringLiteral("volume")}).toDouble(), 1.0);

    player.calls.clear();
    player.seekable = true;
    player.current.lengthUs = 60'000'000;
    playerctl(p + QStringList{QStringLiteral("position"), QStringLiteral("12")});
    playerctl(p + QStringList{QStringLiteral("position"), QStringLiteral("90")}); // past the end
    EXPECT_EQ(player.calls, (QStringList{QStringLiteral("position 12000000")}));
}

// Every change of state, media or volume is announced once with just what changed.
TEST_F(Mpris, ChangesAreAnnouncedAsPropertiesChanged) {
    QDBusConnection watcher = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher"));
    ASSERT_TRUE(watcher.isConnected());
    PropertiesCatcher catcher;
    QList<QVariantMap>& seen = catcher.seen;
    const bool connected = watcher.connect(
        QString(), QString::fromLatin1(MprisService::kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"), &catcher, SLOT(changed(QString, QVariantMap, QStringList)));
    ASSERT_TRUE(connected);

    service->notifyChanged(); // nothing changed yet
    player.status = MprisPlayer::Status::Paused;
    service->notifyChanged();
    player.current = {QStringLiteral("音乐之声"), QStringLiteral("http://127.0.0.1:1/radio"), 0, 8};
    player.vol = 0.25;
    service->notifyChanged();
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 2, 5000);
    EXPECT_EQ(seen[0].keys(), QStringList{QStringLiteral("PlaybackStatus")});
    EXPECT_EQ(seen[0].value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
    EXPECT_TRUE(seen[1].contains(QStringLiteral("Metadata")));
    EXPECT_DOUBLE_EQ(seen[1].value(QStringLiteral("Volume")).toDouble(), 0.25);
    EXPECT_FALSE(seen[1].contains(QStringLiteral("PlaybackStatus")));
    QDBusConnection::disconnectFromBus(QStringLiteral("watcher"));
}

// A second start hands its arguments to the running player: local paths as file URIs
// (the running program has another working folder), addresses as they are, then a raise.
TEST_F(Mpris, ASecondStartHandsItsArgumentsToTheRunningPlayer) {
    ASSERT_TRUE(platform::HandToRunningInstance({QStringLiteral("lists/my.m3u"), QStringLiteral("rtsp://cam/1")}));
    const QString local =
        QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("lists/my.m3u"))).toString();
    EXPECT_EQ(player.calls, (QStringList{QStringLiteral("open ") + local, QStringLiteral("open rtsp://cam/1"),
                                         QStringLiteral("raise")}));
    service.reset(); // the player quits: the name is free again
    EXPECT_FALSE(platform::HandToRunningInstance({}));
}

#include "mpris_service_test.moc"
