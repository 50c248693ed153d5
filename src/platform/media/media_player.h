#pragma once
// MediaPlayer: the platform's embedded media player over libmpv, with the members and events
// of a desktop media-player component: URL, playState, status, stretchToFit, controls,
// currentMedia, settings, network, and the PlayStateChange, StatusChange and PositionChange
// events.
//
// The video widget shows the picture only while a medium with video runs; at any other time
// it is black, so no frame of an earlier medium stays on screen.
//
// Play states are the component's codes: writing URL reports 9 (transitioning), then 6
// (buffering) while the stream opens or waits for its cache, 3 (playing) or 2 (paused); the
// end of a finite medium reports 8 (media ended) and then 1 (stopped); stop() reports 1; a
// stream that cannot be opened reports 10 (ready). A live network stream (one without a
// duration) that ends while it plays has lost its connection: the player reports 11
// (reconnecting), reopens it a few times with growing pauses, and reports 3 again when it
// plays, or 1 once it gives up. Writing an empty URL stops playback and reports 10: the
// player then holds nothing it could play. StatusChange follows every state change.
//
// The engine runs on its own threads. Its events reach this object through a queued call on
// the thread the object lives on; every command to it is asynchronous, so no member blocks
// the caller. Volume and mute belong to the player, not to the medium, and survive URL
// changes.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct mpv_handle;
struct mpv_event;
class QWidget;

namespace platform {

class VideoWidget;

class MediaPlayer : public QObject {
    Q_OBJECT

public:
    // The component's play-state codes (those this player reports are marked).
    enum PlayState : int32_t {
        Undefined = 0, // reported: before the first URL
        Stopped = 1,   // reported
        Paused = 2,    // reported
        Playing = 3,   // reported
        ScanForward = 4,
        ScanReverse = 5,
        Buffering = 6, // reported
        Waiting = 7,
        MediaEnded = 8,    // reported
        Transitioning = 9, // reported
        Ready = 10,        // reported
        Reconnecting = 11, // reported
    };

    // Pauses before each attempt to reopen a dropped live stream; one attempt per entry.
    static constexpr std::array<int32_t, 5> kReconnectDelaysMs = {500, 1000, 2000, 4000, 8000};
    // PositionChange fires while playing whenever the position has moved this far since the
    // last report, and on every seek.
    static constexpr double kPositionReportStep = 0.25;

    class Controls {
    public:
        void play() { m_player.play(); }
        void pause() { m_player.pause(); }
        void stop() { m_player.stop(); }
        double currentPosition() const { return m_player.m_position; }
        void setCurrentPosition(double seconds) { m_player.seek(seconds); }

    private:
        friend class MediaPlayer;
        explicit Controls(MediaPlayer& player) : m_player(player) {}
        MediaPlayer& m_player;
    };

    class Media {
    public:
        // Length in seconds; 0 for live streams and when nothing is loaded.
        double duration() const { return m_player.mediaDuration(); }

    private:
        friend class MediaPlayer;
        explicit Media(MediaPlayer& player) : m_player(player) {}
        MediaPlayer& m_player;
    };

    class Settings {
    public:
        int32_t volume() const { return m_player.m_volume; }
        void setVolume(int32_t volume) { m_player.applyVolume(volume); }
        bool mute() const { return m_player.m_mute; }
        void setMute(bool mute) { m_player.applyMute(mute); }

    private:
        friend class MediaPlayer;
        explicit Settings(MediaPlayer& player) : m_player(player) {}
        MediaPlayer& m_player;
    };

    class Network {
    public:
        // How full the stream cache is before playback may go on, 0..100.
        int32_t bufferingProgress() const { return m_player.bufferingProgress(); }

    private:
        friend class MediaPlayer;
        explicit Network(MediaPlayer& player) : m_player(player) {}
        MediaPlayer& m_player;
    };

    struct EngineOption {
        const char* name;
        const char* value;
    };
    // The options every player's engine starts with; the cost tools hand the ones that mean
    // the same to the mpv command-line player.
    static std::span<const EngineOption> engineOptions();

    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Where an address comes from. One read from a list that was fetched over the network
    // may name network streams only: such a list has no business opening this computer's
    // files or devices.
    enum class Origin { Local, Network };

    QString URL() const { return m_url; }
    void setURL(const QString& url) { setURL(url, Origin::Local); }
    void setURL(const QString& url, Origin origin);
    int32_t playState() const { return m_state; }
    QString status() const;
    bool stretchToFit() const { return m_stretchToFit; }
    void setStretchToFit(bool stretch);

    Controls& controls() { return m_controls; }
    Media& currentMedia() { return m_media; }
    Settings& settings() { return m_settings; }
    Network& network() { return m_network; }

    // The widget that shows the video, created on first use and moved to `parent` on later
    // calls. Its background is black. On a display without OpenGL windows (the offscreen
    // platform) it is a plain black placeholder and the video is not drawn.
    QWidget* videoWidget(QWidget* parent);

    // Whether the video widget shows the current medium's picture: only while a medium with
    // video runs (playing, paused or waiting for its cache). Otherwise the widget is black:
    // before any medium, while a new one opens, for media without video (radio, music),
    // after a failed open, after the end and after stop().
    bool showsVideo() const { return m_videoShown; }

    // Whether a URL names something this player will open: a network stream of a known
    // protocol, a file: URL or a local path. Other schemes (device grabbers, engine-internal
    // protocols) are refused as streams that cannot be opened, and so are files and paths
    // that come from the network.
    static bool isPlayableUrl(const QString& url, Origin origin = Origin::Local);

    // The pauses before the attempts to reopen a dropped live stream (kReconnectDelaysMs
    // unless set); an empty list gives up at once.
    void setReconnectDelays(std::vector<int32_t> delaysMs) { m_reconnectDelays = std::move(delaysMs); }

signals:
    void PlayStateChange(int32_t NewState);
    void StatusChange();
    void PositionChange(double oldPosition, double newPosition);

private:
    // How far the medium of the current load has come.
    enum class Phase { None, Opening, Loaded, Running };

    struct MpvDeleter {
        void operator()(mpv_handle* handle) const;
    };

    void play();
    void pause();
    void stop();
    void seek(double seconds);
    void applyVolume(int32_t volume);
    void applyMute(bool mute);

    void startLoad();
    void endSession();
    void reportState(int32_t state);
    void syncVideoShown();
    void refreshState();
    int32_t sessionState() const;
    bool isLive() const;
    bool loadIsCurrent() const { return m_acked == m_issued && m_currentEntry != 0; }

    static void onWakeup(void* context);
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void onEndFile(int64_t entry, int reason, int64_t insertId, int insertCount);
    void onEntryFinished(bool endOfFile);
    void onProperty(uint64_t property, int format, const void* data);
    double mediaDuration() const;
    int32_t bufferingProgress() const;
    void updatePosition(double position, bool always);
    void scheduleReconnect();

    std::unique_ptr<mpv_handle, MpvDeleter> m_mpv;
    std::atomic<bool> m_wakeupQueued{false};
    bool m_draining = false;
    bool m_drainAgain = false;

    QString m_url;
    Origin m_origin = Origin::Local;
    int32_t m_state = Undefined;
    bool m_stretchToFit = false;
    Phase m_phase = Phase::None;
    bool m_started = false; // the engine began the current entry
    bool m_paused = false;
    bool m_cacheWait = false; // the engine waits for its cache to fill
    // What the engine says about the current entry; a live stream is a network stream that
    // cannot seek and has no size, or a playlist-driven one (HLS, DASH) that cannot seek.
    // The engine reports a growing length for such streams, which is no length at all.
    bool m_seekable = false;
    int64_t m_fileSize = -1;
    QByteArray m_fileFormat;
    double m_position = 0;
    double m_reportedPosition = 0;
    double m_duration = 0;
    int32_t m_volume = 100;
    bool m_mute = false;
    int m_pendingVolumeSets = 0;
    int m_pendingMuteSets = 0;
    int32_t m_bufferingProgress = 0;
    bool m_voConfigured = false; // the engine's video output has a picture format
    bool m_videoShown = false;

    // Loads are numbered; engine events that belong to an older load are ignored. The
    // engine numbers its playlist entries: the current load's entry is learnt from its
    // start event, and a playlist it expands into runs up to m_lastEntry.
    uint64_t m_issued = 0;
    uint64_t m_acked = 0;
    int64_t m_currentEntry = 0;
    int64_t m_lastEntry = 0;

    bool m_reconnecting = false;
    size_t m_reconnectAttempt = 0;
    std::vector<int32_t> m_reconnectDelays{kReconnectDelaysMs.begin(), kReconnectDelaysMs.end()};
    QTimer m_reconnectTimer;
    QTimer m_trimTimer;

    QPointer<QWidget> m_videoWidget;
    QPointer<VideoWidget> m_glWidget;

    Controls m_controls{*this};
    Media m_media{*this};
    Settings m_settings{*this};
    Network m_network{*this};
};

} // namespace platform
