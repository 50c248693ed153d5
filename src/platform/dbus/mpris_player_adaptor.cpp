#include "platform/dbus/mpris_player_adaptor.h"

#include "platform/dbus/mpris_service.h"

#include <algorithm>
#include <cmath>

namespace platform {

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), m_service(service) {
    // Property reads come through the adaptor; changes are announced by the service.
    setAutoRelaySignals(false);
}

QString MprisPlayerAdaptor::PlaybackStatus() const {
    return m_service->playerProperties().value(QStringLiteral("PlaybackStatus")).toString();
}

QVariantMap MprisPlayerAdaptor::Metadata() const { return m_service->metadata(); }
double MprisPlayerAdaptor::Volume() const { return m_service->player().volume(); }

void MprisPlayerAdaptor::setVolume(double volume) {
    // The protocol allows any value; below 0 means silent, and this player has no gain
    // above full volume.
    if (std::isnan(volume)) return;
    m_service->player().setVolume(std::clamp(volume, 0.0, 1.0));
    m_service->notifyChanged();
}

qlonglong MprisPlayerAdaptor::Position() const { return m_service->player().positionUs(); }
bool MprisPlayerAdaptor::CanGoNext() const { return m_service->player().canGoNext(); }
bool MprisPlayerAdaptor::CanGoPrevious() const { return m_service->player().canGoPrevious(); }
bool MprisPlayerAdaptor::CanPlay() const { return m_service->player().canPlay(); }
bool MprisPlayerAdaptor::CanPause() const { return m_service->player().canPause(); }
bool MprisPlayerAdaptor::CanSeek() const { return m_service->player().canSeek(); }

void MprisPlayerAdaptor::Next() {
    if (m_service->player().canGoNext()) m_service->player().next();
}

void MprisPlayerAdaptor::Previous() {
    if (m_service->player().canGoPrevious()) m_service->player().previous();
}

void MprisPlayerAdaptor::Pause() {
    if (m_service->player().canPause()) m_service->player().pause();
}

void MprisPlayerAdaptor::PlayPause() {
    if (m_service->player().canPause() || m_service->player().canPlay()) m_service->player().playPause();
}

void MprisPlayerAdaptor::Stop() { m_service->player().stop(); }

void MprisPlayerAdaptor::Play() {
    if (m_service->player().canPlay()) m_service->player().play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset) {
    if (!m_service->player().canSeek()) return;
    m_service->player().seekBy(Offset);
    m_service->notifySeeked();
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    // Ignored for another media than the current one (a stale request) and for positions
    // outside the media, as the protocol says.
    if (!m_service->player().canSeek() || TrackId.path() != m_service->trackId()) return;
    const int64_t length = m_service->player().track().lengthUs;
    if (Position < 0 || (length > 0 && Position > length)) return;
    m_service->player().setPositionUs(Position);
    m_service->notifySeeked();
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri) { m_service->player().openUri(Uri); }

} // namespace platform
