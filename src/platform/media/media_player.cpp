#include "platform/media/media_player.h"

#include "platform/forms/runtime_error.h"
#include "platform/media/video_widget.h"

#include <QGuiApplication>
#include <QPalette>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <mpv/client.h>

namespace platform {

namespace {

// Reply tags: the kind of request in the top byte, the load number below it.
enum : uint64_t {
    kTagLoad = uint64_t{1} << 56,
    kTagStop = uint64_t{2} << 56,
    kTagVolume = uint64_t{3} << 56,
    kTagMute = uint64_t{4} << 56,
    kTagOther = uint64_t{5} << 56,
    kTagKindMask = uint64_t{0xFF} << 56,
};

// Observed engine properties, identified by their reply tag.
enum ObservedProperty : uint64_t {
    kObsTimePos = 1,
    kObsDuration,
    kObsPausedForCache,
    kObsCacheBuffering,
    kObsVolume,
    kObsMute,
    kObsSeekable,
    kObsFileSize,
    kObsFileFormat,
    kObsVoConfigured,
};

// The engine's settings. Nothing is read from the user's configuration, no scripts run
// (among them the on-screen controller and the web-video resolver), no key or mouse binding
// acts on the video, and nothing is drawn over it. HTTP streams that drop mid-read are
// reopened inside the demuxer; a clean end of a live stream is handled by this player.
// Without a video widget the video goes to a null output instead of failing the medium, and
// without a sound device the audio does.
constexpr MediaPlayer::EngineOption kEngineOptions[] = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"input-cursor", "no"},
    {"osd-level", "0"},
    {"osd-bar", "no"},
    {"terminal", "no"},
    {"idle", "yes"},
    {"keep-open", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"load-unsafe-playlists", "no"},
    {"vo", "libmpv,null"},
    {"hwdec", "no"},
    {"audio-fallback-to-null", "yes"},
    {"audio-client-name", "Tianbo"},
    {"volume-max", "100"},
    {"network-timeout", "30"},
    {"stream-lavf-o", "reconnect=1,reconnect_streamed=1,reconnect_delay_max=2"},
    // The demuxer's cache. The engine's own limits (150 MiB ahead, 50 MiB behind, up to 1000
    // seconds of read-ahead on network streams) suit films on a slow link, not live channels:
    // a live stream arrives no faster than it plays, and one that cannot seek never goes back.
    // 30 seconds ahead rides out a stalling server; 32 MiB holds those 30 seconds of an
    // 8 Mbit/s HD channel (minutes of the usual SD and radio streams). 8 MiB behind keeps a
    // short step back in a finite network file (a music track) without a new download.
    {"cache", "auto"},
    {"cache-secs", "30"},
    {"demuxer-max-bytes", "32MiB"},
    {"demuxer-max-back-bytes", "8MiB"},
};

bool isNetworkScheme(const QString& scheme) {
    static const QStringList kSchemes = {
        QStringLiteral("http"),  QStringLiteral("https"), QStringLiteral("rtmp"), QStringLiteral("rtmps"),
        QStringLiteral("rtmpt"), QStringLiteral("rtmpe"), QStringLiteral("rtsp"), QStringLiteral("rtsps"),
        QStringLiteral("mms"),   QStringLiteral("mmsh"),  QStringLiteral("mmst"), QStringLiteral("udp"),
        QStringLiteral("rtp"),   QStringLiteral("srt"),
    };
    return kSchemes.contains(scheme);
}

} // namespace

std::span<const MediaPlayer::EngineOption> MediaPlayer::engineOptions() { return kEngineOptions; }

void MediaPlayer::MpvDeleter::operator()(mpv_handle* handle) const { mpv_terminate_destroy(handle); }

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent) {
    // The engine parses numbers with the C library and refuses to start under a locale that
    // writes them otherwise; the application object sets the user's locale when it starts.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv.reset(mpv_create());
    if (!m_mpv) {
        throw RuntimeError(0x80004005, QStringLiteral("MediaPlayer"),
                           QStringLiteral("The media engine could not be created"));
    }
    mpv_handle* mpv = m_mpv.get();
    for (const EngineOption& option : kEngineOptions) mpv_set_option_string(mpv, option.name, option.value);
    mpv_set_option_string(mpv, "video-unscaled", m_stretchToFit ? "no" : "downscale-big");
    if (mpv_initialize(mpv) < 0) {
        throw RuntimeError(0x80004005, QStringLiteral("MediaPlayer"),
                           QStringLiteral("The media engine could not be started"));
    }
    mpv_observe_property(mpv, kObsTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv, kObsDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv, kObsPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv, kObsCacheBuffering, "cache-buffering-state", MPV_FORMAT_INT64);
    mpv_observe_property(mpv, kObsVolume, "volume", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv, kObsMute, "mute", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv, kObsSeekable, "seekable", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv, kObsFileSize, "file-size", MPV_FORMAT_INT64);
    mpv_observe_property(mpv, kObsFileFormat, "file-format", MPV_FORMAT_STRING);
    mpv_observe_property(mpv, kObsVoConfigured, "vo-configured", MPV_FORMAT_FLAG);

    // A medium's demuxer cache and decoder buffers are freed when it ends, but the C library
    // keeps freed memory for later. A while after a medium ends, when the engine's threads
    // for it are gone, the free pages go back to the system.
    m_trimTimer.setSingleShot(true);
    m_trimTimer.setInterval(2000);
    connect(&m_trimTimer, &QTimer::timeout, this, [] {
#ifdef __GLIBC__
        malloc_trim(0);
#endif
    });
    m_reconnectTimer.setSingleShot(true);
    connect(&m_reconnectTimer, &QTimer::timeout, this, [this] {
        if (m_reconnecting) startLoad();
    });
    mpv_set_wakeup_callback(mpv, &MediaPlayer::onWakeup, this);
}

MediaPlayer::~MediaPlayer() {
    m_reconnectTimer.stop();
    // The render context must go before the engine does.
    if (m_glWidget) m_glWidget->releaseRenderContext();
    mpv_set_wakeup_callback(m_mpv.get(), nullptr, nullptr);
    m_mpv.reset();
}

bool MediaPlayer::isPlayableUrl(const QString& url, Origin origin) {
    if (url.trimmed().isEmpty()) return false;
    const bool local = origin == Origin::Local;
    if (url.startsWith(QLatin1Char('/'))) return local;
    const QUrl parsed(url);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && ((local && scheme == QLatin1String("file")) || isNetworkScheme(scheme));
}

QString MediaPlayer::status() const {
    switch (m_state) {
    case Stopped: return QStringLiteral("已停止");
    case Paused: return QStringLiteral("已暂停");
    case Playing: return QStringLiteral("正在播放");
    case Buffering: return QStringLiteral("正在缓冲");
    case MediaEnded: return QStringLiteral("播放完毕");
    case Transitioning: return QStringLiteral("正在连接...");
    case Ready: return QStringLiteral("就绪");
    case Reconnecting: return QStringLiteral("正在重新连接...");
    default: return {};
    }
}

void MediaPlayer::setURL(const QString& url, Origin origin) {
    m_url = url;
    m_origin = origin;
    m_reconnectTimer.stop();
    m_reconnecting = false;
    if (url.isEmpty()) {
        // Nothing left to play: whatever played stops, and the player is ready for a URL.
        endSession();
        reportState(Ready);
        return;
    }
    if (!isPlayableUrl(url, origin)) {
        if (isPlayableUrl(url)) {
            std::fprintf(stderr,
                         "tianbo: not played: %s comes from a list fetched over the network and is no network "
                         "stream\n",
                         url.toUtf8().constData());
        }
        // Refused like an address that cannot be opened: transitioning now, ready a moment
        // later, as the engine would report it.
        endSession();
        reportState(Transitioning);
        const uint64_t load = m_issued;
        QTimer::singleShot(0, this, [this, load] {
            if (load == m_issued && m_phase == Phase::None) reportState(Ready);
        });
        return;
    }
    startLoad();
    reportState(Transitioning);
}

void MediaPlayer::setStretchToFit(bool stretch) {
    m_stretchToFit = stretch;
    // Stretched, the video fills the widget keeping its aspect; otherwise it shows at its own
    // size and is only made smaller when the widget is too small for it.
    const char* value = stretch ? "no" : "downscale-big";
    mpv_set_property_async(m_mpv.get(), kTagOther, "video-unscaled", MPV_FORMAT_STRING, &value);
}

QWidget* MediaPlayer::videoWidget(QWidget* parent) {
    if (m_videoWidget) {
        if (m_videoWidget->parentWidget() != parent) m_videoWidget->setParent(parent);
        return m_videoWidget;
    }
    QWidget* widget = nullptr;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // An OpenGL widget cannot exist on this platform; a black area stands in for it.
        widget = new QWidget(parent);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, Qt::black);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    } else {
        auto* video = new VideoWidget(m_mpv.get(), parent);
        video->setVideoShown(m_videoShown);
        m_glWidget = video;
        widget = video;
    }
    m_videoWidget = widget;
    return widget;
}

void MediaPlayer::play() {
    if (m_paused) {
        m_paused = false;
        int flag = 0;
        mpv_set_property_async(m_mpv.get(), kTagOther, "pause", MPV_FORMAT_FLAG, &flag);
        refreshState();
        return;
    }
    if (m_phase != Phase::None || m_reconnecting || !isPlayableUrl(m_url, m_origin)) return;
    startLoad();
    reportState(Transitioning);
}

void MediaPlayer::pause() {
    if (m_phase == Phase::None || m_paused) return;
    m_paused = true;
    int flag = 1;
    mpv_set_property_async(m_mpv.get(), kTagOther, "pause", MPV_FORMAT_FLAG, &flag);
    refreshState();
}

void MediaPlayer::stop() {
    m_reconnectTimer.stop();
    const bool active = m_phase != Phase::None || m_reconnecting;
    m_reconnecting = false;
    if (!active) return;
    endSession();
    reportState(Stopped);
}

void MediaPlayer::seek(double seconds) {
    if (m_phase != Phase::Loaded && m_phase != Phase::Running) return;
    if (!std::isfinite(seconds)) return;
    seconds = std::max(0.0, seconds);
    const double duration = mediaDuration();
    if (duration > 0) seconds = std::min(seconds, duration);
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    const char* args[] = {"seek", target.constData(), "absolute", nullptr};
    mpv_command_async(m_mpv.get(), kTagOther, args);
    updatePosition(seconds, true);
}

void MediaPlayer::applyVolume(int32_t volume) {
    m_volume = std::clamp<int32_t>(volume, 0, 100);
    double value = m_volume;
    ++m_pendingVolumeSets;
    mpv_set_property_async(m_mpv.get(), kTagVolume, "volume", MPV_FORMAT_DOUBLE, &value);
}

void MediaPlayer::applyMute(bool mute) {
    m_mute = mute;
    int flag = mute ? 1 : 0;
    ++m_pendingMuteSets;
    mpv_set_property_async(m_mpv.get(), kTagMute, "mute", MPV_FORMAT_FLAG, &flag);
}

void MediaPlayer::startLoad() {
    ++m_issued;
    m_currentEntry = 0;
    m_lastEntry = 0;
    m_phase = Phase::Opening;
    m_started = false;
    if (m_paused) {
        // A new medium starts playing, as writing URL does in any media player.
        m_paused = false;
        int flag = 0;
        mpv_set_property_async(m_mpv.get(), kTagOther, "pause", MPV_FORMAT_FLAG, &flag);
    }
    updatePosition(0, m_reportedPosition != 0);
    syncVideoShown();
    const QByteArray url = m_url.toUtf8();
    const char* args[] = {"loadfile", url.constData(), "replace", nullptr};
    mpv_command_async(m_mpv.get(), kTagLoad | m_issued, args);
}

void MediaPlayer::endSession() {
    if (m_phase != Phase::None) {
        ++m_issued;
        const char* args[] = {"stop", nullptr};
        mpv_command_async(m_mpv.get(), kTagStop | m_issued, args);
    }
    m_phase = Phase::None;
    m_currentEntry = 0;
    m_lastEntry = 0;
    m_started = false;
    if (m_paused) {
        m_paused = false;
        int flag = 0;
        mpv_set_property_async(m_mpv.get(), kTagOther, "pause", MPV_FORMAT_FLAG, &flag);
    }
    syncVideoShown();
    updatePosition(0, m_reportedPosition != 0);
}

void MediaPlayer::syncVideoShown() {
    // A frame is worth showing only while the current medium runs and has a picture: before
    // its first frame the surface would still hold the previous medium's last one, and after
    // the end, a stop or a failure it would hold a picture of something no longer playing.
    const bool shown = m_phase == Phase::Running && m_voConfigured;
    if (shown == m_videoShown) return;
    m_videoShown = shown;
    if (m_glWidget) m_glWidget->setVideoShown(shown);
}

void MediaPlayer::reportState(int32_t state) {
    syncVideoShown();
    if (state == m_state) return;
    m_state = state;
    emit PlayStateChange(state);
    // A handler may have moved the player on already; its own events then said everything.
    if (m_state == state) emit StatusChange();
}

void MediaPlayer::refreshState() {
    if (m_phase != Phase::None) reportState(sessionState());
}

int32_t MediaPlayer::sessionState() const {
    if (m_paused) return Paused;
    if (m_reconnecting && m_phase != Phase::Running) return Reconnecting;
    switch (m_phase) {
    case Phase::Opening: return m_started ? Buffering : Transitioning;
    case Phase::Loaded: return Buffering;
    case Phase::Running: return m_cacheWait ? Buffering : Playing;
    case Phase::None: break;
    }
    return m_state;
}

void MediaPlayer::onWakeup(void* context) {
    // Runs on an engine thread: only hand the work to the player's own thread, once.
    auto* self = static_cast<MediaPlayer*>(context);
    if (!self->m_wakeupQueued.exchange(true)) {
        QMetaObject::invokeMethod(self, &MediaPlayer::drainEvents, Qt::QueuedConnection);
    }
}

void MediaPlayer::drainEvents() {
    m_wakeupQueued = false;
    // An event handler that spins a nested event loop must not start a second drain: the
    // engine's event stays valid only until the next wait call.
    if (m_draining) {
        m_drainAgain = true;
        return;
    }
    m_draining = true;
    do {
        m_drainAgain = false;
        for (;;) {
            mpv_event* event = mpv_wait_event(m_mpv.get(), 0);
            if (event->event_id == MPV_EVENT_NONE) break;
            handleEvent(*event);
        }
    } while (m_drainAgain);
    m_draining = false;
}

void MediaPlayer::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY: {
        const uint64_t kind = event.reply_userdata & kTagKindMask;
        const uint64_t load = event.reply_userdata & ~kTagKindMask;
        if ((kind == kTagLoad || kind == kTagStop) && load == m_issued) {
            m_acked = load;
            // The engine refused the load outright: nothing will start.
            if (kind == kTagLoad && event.error < 0) onEntryFinished(false);
        }
        break;
    }
    case MPV_EVENT_SET_PROPERTY_REPLY:
        if (event.reply_userdata == kTagVolume) m_pendingVolumeSets = std::max(0, m_pendingVolumeSets - 1);
        if (event.reply_userdata == kTagMute) m_pendingMuteSets = std::max(0, m_pendingMuteSets - 1);
        break;
    case MPV_EVENT_START_FILE: {
        if (m_acked != m_issued || m_phase == Phase::None) break;
        const int64_t entry = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        if (m_currentEntry == 0) {
            m_currentEntry = m_lastEntry = entry;
        } else if (entry > m_currentEntry && entry <= m_lastEntry) {
            m_currentEntry = entry; // the next entry of a playlist the address expanded into
        } else {
            break;
        }
        m_phase = Phase::Opening;
        m_started = true;
        refreshState();
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        if (loadIsCurrent() && m_phase == Phase::Opening && m_started) {
            m_phase = Phase::Loaded;
            refreshState();
        }
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (loadIsCurrent() && (m_phase == Phase::Loaded || m_phase == Phase::Running)) {
            m_phase = Phase::Running;
            if (m_reconnecting) {
                m_reconnecting = false;
                m_reconnectAttempt = 0;
            }
            refreshState();
        }
        break;
    case MPV_EVENT_END_FILE: {
        m_trimTimer.start();
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        onEndFile(end->playlist_entry_id, end->reason, end->playlist_insert_id, end->playlist_insert_num_entries);
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        onProperty(event.reply_userdata, property->format, property->data);
        break;
    }
    default: break;
    }
}

void MediaPlayer::onEndFile(int64_t entry, int reason, int64_t insertId, int insertCount) {
    if (m_acked != m_issued || entry != m_currentEntry || m_currentEntry == 0) return;
    switch (reason) {
    case MPV_END_FILE_REASON_REDIRECT:
        // The address was a playlist; the engine plays its entries next.
        if (insertCount <= 0) {
            onEntryFinished(false);
            return;
        }
        m_lastEntry = insertId + insertCount - 1;
        m_phase = Phase::Opening;
        m_started = false;
        return;
    case MPV_END_FILE_REASON_EOF:
    case MPV_END_FILE_REASON_ERROR:
        if (m_currentEntry < m_lastEntry) {
            // More entries of an expanded playlist follow; the engine moves on by itself.
            m_phase = Phase::Opening;
            return;
        }
        onEntryFinished(reason == MPV_END_FILE_REASON_EOF);
        return;
    default:
        // Stops this player asked for, or the engine shutting down.
        return;
    }
}

void MediaPlayer::onEntryFinished(bool endOfFile) {
    const bool wasRunning = m_phase == Phase::Running;
    const bool live = isLive();
    m_phase = Phase::None;
    m_currentEntry = 0;
    m_lastEntry = 0;
    m_started = false;
    syncVideoShown();
    // Each report below may run handlers that start something new; then this end is over.
    const uint64_t load = m_issued;
    updatePosition(0, m_reportedPosition != 0);
    if (load != m_issued) return;

    if (m_reconnecting) {
        scheduleReconnect(); // the next attempt, or the stop when none is left
        return;
    }
    if (live && wasRunning) {
        // A live stream has no end: this one lost its connection.
        m_reconnecting = true;
        m_reconnectAttempt = 0;
        reportState(Reconnecting);
        if (load == m_issued && m_reconnecting) scheduleReconnect();
        return;
    }
    if (endOfFile) {
        reportState(MediaEnded);
        if (load == m_issued && m_phase == Phase::None) reportState(Stopped);
    } else {
        reportState(Ready);
    }
}

void MediaPlayer::scheduleReconnect() {
    if (m_reconnectAttempt >= m_reconnectDelays.size()) {
        // No attempt allowed at all: the stream is over.
        m_reconnecting = false;
        reportState(Stopped);
        return;
    }
    m_reconnectTimer.start(std::max(0, m_reconnectDelays[m_reconnectAttempt]));
    ++m_reconnectAttempt;
}

void MediaPlayer::onProperty(uint64_t property, int format, const void* data) {
    // An unavailable property (nothing loaded, a live stream's length) reads as zero.
    double number = 0;
    if (data && format == MPV_FORMAT_DOUBLE) number = *static_cast<const double*>(data);
    if (data && format == MPV_FORMAT_FLAG) number = *static_cast<const int*>(data);
    if (data && format == MPV_FORMAT_INT64) number = double(*static_cast<const int64_t*>(data));
    if (!std::isfinite(number)) number = 0;

    switch (property) {
    case kObsVolume:
        if (m_pendingVolumeSets == 0 && format == MPV_FORMAT_DOUBLE) {
            m_volume = std::clamp(static_cast<int32_t>(std::lround(number)), 0, 100);
        }
        return;
    case kObsMute:
        if (m_pendingMuteSets == 0 && format == MPV_FORMAT_FLAG) m_mute = number != 0;
        return;
    case kObsVoConfigured:
        m_voConfigured = number != 0;
        syncVideoShown();
        return;
    default: break;
    }
    // The engine sends a property only when its value changes, so its values are kept
    // whatever load they arrive in: two media of equal length send the length once.
    // What the members report is limited to the current load in mediaDuration() and
    // bufferingProgress(); the position alone is taken only from the current load.
    switch (property) {
    case kObsTimePos:
        if (loadIsCurrent() && (m_phase == Phase::Loaded || m_phase == Phase::Running)) {
            updatePosition(number, false);
        }
        break;
    case kObsDuration: m_duration = std::max(0.0, number); break;
    case kObsSeekable: m_seekable = number != 0; break;
    case kObsFileSize: m_fileSize = format == MPV_FORMAT_INT64 ? static_cast<int64_t>(number) : -1; break;
    case kObsFileFormat:
        m_fileFormat =
            data && format == MPV_FORMAT_STRING ? QByteArray(*static_cast<char* const*>(data)) : QByteArray();
        break;
    case kObsPausedForCache:
        m_cacheWait = number != 0;
        refreshState();
        break;
    case kObsCacheBuffering: m_bufferingProgress = static_cast<int32_t>(std::clamp(number, 0.0, 100.0)); break;
    default: break;
    }
}

double MediaPlayer::mediaDuration() const {
    const bool loaded = m_phase == Phase::Loaded || m_phase == Phase::Running;
    return loaded && !isLive() ? m_duration : 0;
}

int32_t MediaPlayer::bufferingProgress() const { return m_phase == Phase::None ? 0 : m_bufferingProgress; }

bool MediaPlayer::isLive() const {
    if (!isNetworkScheme(QUrl(m_url).scheme().toLower()) || m_seekable) return false;
    return m_fileSize <= 0 || m_fileFormat == "hls" || m_fileFormat.contains("dash");
}

void MediaPlayer::updatePosition(double position, bool always) {
    m_position = position;
    if (!always && std::abs(position - m_reportedPosition) < kPositionReportStep) return;
    const double old = m_reportedPosition;
    m_reportedPosition = position;
    emit PositionChange(old, position);
}

} // namespace platform
