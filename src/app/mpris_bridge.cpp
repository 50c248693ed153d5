#include "app/mpris_bridge.h"

#include "app/frm_main.h"
#include "platform/forms/number_rules.h"
#include "platform/media/media_player.h"
#include "platform/window/window_functions.h"

#include <QUrl>
#include <algorithm>
#include <cmath>

namespace app {

using platform::MediaPlayer;

MprisBridge::MprisBridge(FrmMain& window, QObject* parent)
    : QObject(parent), m_window(window),
      m_service(std::make_unique<platform::MprisService>(*this, QStringLiteral("天播"), QStringLiteral("tianbo"))) {
    MediaPlayer* player = m_window.m_player.get();
    connect(player, &MediaPlayer::PlayStateChange, this, &MprisBridge::changed);
    connect(player, &MediaPlayer::StatusChange, this, &MprisBridge::changed);
    for (int i = 0; i < 4; ++i)
        connect(m_window.m_ui.ucListTV[static_cast<size_t>(i)], &controls::ucListBox::PlayIndexChanged, this,
                &MprisBridge::changed);
    m_volumeWatch.setInterval(1000);
    connect(&m_volumeWatch, &QTimer::timeout, this, [this] {
        if (m_window.m_player.get()->settings().volume() != m_lastVolume) changed();
    });
}

MprisBridge::~MprisBridge() = default;

bool MprisBridge::start() {
    if (!m_service->registerOnSessionBus()) return false;
    m_lastVolume = m_window.m_player.get()->settings().volume();
    m_volumeWatch.start();
    return true;
}

void MprisBridge::changed() {
    const QString url = m_window.m_player.get()->URL();
    if (url != m_lastUrl) {
        m_lastUrl = url;
        ++m_serial;
    }
    m_lastVolume = m_window.m_player.get()->settings().volume();
    m_service->notifyChanged();
}

int MprisBridge::playingList() const {
    for (int i = 0; i < 4; ++i) {
        if (m_window.m_ui.ucListTV[static_cast<size_t>(i)]->PlayIndex() >= 0) return i;
    }
    return -1;
}

MprisBridge::Status MprisBridge::playbackStatus() const {
    switch (m_window.m_player.get()->playState()) {
    case MediaPlayer::Playing: return Status::Playing;
    case MediaPlayer::Paused: return Status::Paused;
    // On its way to playing: the desktop shows the pause control, as for playing.
    case MediaPlayer::Buffering:
    case MediaPlayer::Transitioning:
    case MediaPlayer::Reconnecting: return Status::Playing;
    default: return Status::Stopped;
    }
}

MprisBridge::Track MprisBridge::track() const {
    Track t;
    t.url = m_window.m_player.get()->URL();
    if (t.url.isEmpty()) return t;
    t.title = t.url;
    const int l = playingList();
    if (l >= 0) {
        const controls::ucListBox* list = m_window.m_ui.ucListTV[static_cast<size_t>(l)];
        if (list->URL(list->PlayIndex()) == t.url) t.title = list->Title(list->PlayIndex());
    }
    const double seconds = m_window.m_player.get()->currentMedia().duration();
    if (seconds > 0) t.lengthUs = static_cast<int64_t>(std::llround(seconds * 1e6));
    t.serial = m_serial;
    return t;
}

double MprisBridge::volume() const { return m_window.m_player.get()->settings().volume() / 100.0; }

void MprisBridge::setVolume(double volume) {
    // As the window's own volume keys: the bar follows and the settings keep it.
    m_window.setVolume(platform::R(std::clamp(volume, 0.0, 1.0) * 100));
    changed();
}

int64_t MprisBridge::positionUs() const {
    return static_cast<int64_t>(std::llround(m_window.m_player.get()->controls().currentPosition() * 1e6));
}

bool MprisBridge::canSeek() const { return m_window.m_player.get()->currentMedia().duration() > 0; }

bool MprisBridge::canGoNext() const {
    const int l = playingList();
    return l >= 0 && m_window.m_ui.ucListTV[static_cast<size_t>(l)]->PlayIndex() + 1 <
                         m_window.m_ui.ucListTV[static_cast<size_t>(l)]->ListCount();
}

bool MprisBridge::canGoPrevious() const {
    const int l = playingList();
    return l >= 0 && m_window.m_ui.ucListTV[static_cast<size_t>(l)]->PlayIndex() > 0;
}

bool MprisBridge::canPlay() const { return !m_window.m_player.get()->URL().isEmpty(); }
bool MprisBridge::canPause() const { return !m_window.m_player.get()->URL().isEmpty(); }

void MprisBridge::play() {
    if (m_window.m_player.get()->playState() != MediaPlayer::Playing) m_window.m_player.get()->controls().play();
}

void MprisBridge::pause() {
    if (playbackStatus() == Status::Playing) m_window.m_player.get()->controls().pause();
}

void MprisBridge::playPause() {
    if (playbackStatus() == Status::Playing) pause();
    else play();
}

void MprisBridge::stop() { m_window.m_player.get()->controls().stop(); }

void MprisBridge::step(int delta) {
    const int l = playingList();
    if (l < 0) return;
    controls::ucListBox* list = m_window.m_ui.ucListTV[static_cast<size_t>(l)];
    const int target = list->PlayIndex() + delta;
    if (target < 0 || target >= list->ListCount()) return;
    // The list's own event starts the channel, exactly as a double-click on the row does.
    list->setPlayIndex(static_cast<int16_t>(target));
}

void MprisBridge::next() { step(1); }
void MprisBridge::previous() { step(-1); }

void MprisBridge::seekBy(int64_t offsetUs) {
    const double to = m_window.m_player.get()->controls().currentPosition() + static_cast<double>(offsetUs) / 1e6;
    setPositionUs(static_cast<int64_t>(std::llround(std::max(0.0, to) * 1e6)));
}

void MprisBridge::setPositionUs(int64_t positionUs) {
    if (!canSeek()) return;
    const double duration = m_window.m_player.get()->currentMedia().duration();
    m_window.m_player.get()->controls().setCurrentPosition(
        std::clamp(static_cast<double>(positionUs) / 1e6, 0.0, duration));
}

void MprisBridge::openUri(const QString& uri) {
    // A file URI is the local path it names; then it is what a command-line item is: a
    // playlist joins the current category for this run, anything else plays.
    const QUrl url(uri);
    m_window.openCommandLineItems({url.isLocalFile() ? url.toLocalFile() : uri});
}

void MprisBridge::raise() {
    if (m_window.isMinimized() || m_window.showState() == platform::ShowState::Minimized)
        platform::ShowWindow(&m_window, platform::SW_RESTORE);
    m_window.raise();
    m_window.activateWindow();
    platform::SetForegroundWindow(&m_window);
}

void MprisBridge::quit() { platform::PostMessage(&m_window, platform::WM_CLOSE, 0, 0); }

} // namespace app
