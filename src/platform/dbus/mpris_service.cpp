#include "platform/dbus/mpris_service.h"

#include "platform/dbus/mpris_player_adaptor.h"
#include "platform/dbus/mpris_root_adaptor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace platform {

namespace {

constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";

} // namespace

MprisService::MprisService(MprisPlayer& player, const QString& identity, const QString& desktopEntry, QObject* parent)
    : QObject(parent), m_player(player), m_identity(identity), m_desktopEntry(desktopEntry) {
    new MprisRootAdaptor(this);
    auto* playerAdaptor = new MprisPlayerAdaptor(this);
    connect(this, &MprisService::Seeked, playerAdaptor, &MprisPlayerAdaptor::Seeked);
}

MprisService::~MprisService() {
    if (!m_registered) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(kObjectPath));
    bus.unregisterService(m_busName);
}

bool MprisService::registerOnSessionBus() {
    if (m_registered) return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAdaptors)) return false;
    // A second player started on purpose takes an instance name of its own, as the protocol
    // allows, so both stay controllable.
    QString name = QString::fromLatin1(kServiceName);
    if (!bus.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(name)) {
            bus.unregisterObject(QString::fromLatin1(kObjectPath));
            return false;
        }
    }
    m_busName = name;
    m_registered = true;
    m_announced = playerProperties();
    return true;
}

QVariantMap MprisService::metadata() const {
    const MprisPlayer::Track t = m_player.track();
    QVariantMap m;
    // Object paths allow only [A-Za-z0-9_]; the serial keeps them unique per media.
    m.insert(QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath(t.url.isEmpty()
                                                     ? QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")
                                                     : QStringLiteral("/org/tianbo/track/%1").arg(t.serial))));
    if (!t.title.isEmpty()) m.insert(QStringLiteral("xesam:title"), t.title);
    if (!t.url.isEmpty()) m.insert(QStringLiteral("xesam:url"), t.url);
    if (t.lengthUs > 0) m.insert(QStringLiteral("mpris:length"), QVariant::fromValue<qlonglong>(t.lengthUs));
    return m;
}

QString MprisService::trackId() const {
    return metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
}

QVariantMap MprisService::playerProperties() const {
    QVariantMap p;
    switch (m_player.playbackStatus()) {
    case MprisPlayer::Status::Playing: p.insert(QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")); break;
    case MprisPlayer::Status::Paused: p.insert(QStringLiteral("PlaybackStatus"), QStringLiteral("Paused")); break;
    case MprisPlayer::Status::Stopped: p.insert(QStringLiteral("PlaybackStatus"), QStringLiteral("Stopped")); break;
    }
    p.insert(QStringLiteral("Metadata"), metadata());
    p.insert(QStringLiteral("Volume"), m_player.volume());
    p.insert(QStringLiteral("CanGoNext"), m_player.canGoNext());
    p.insert(QStringLiteral("CanGoPrevious"), m_player.canGoPrevious());
    p.insert(QStringLiteral("CanPlay"), m_player.canPlay());
    p.insert(QStringLiteral("CanPause"), m_player.canPause());
    p.insert(QStringLiteral("CanSeek"), m_player.canSeek());
    return p;
}

void MprisService::notifyChanged() {
    if (!m_registered) return;
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty()) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void MprisService::notifySeeked() {
    if (m_registered) emit Seeked(m_player.positionUs());
}

bool HandToRunningInstance(const QStringList& arguments) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    const QString name = QString::fromLatin1(MprisService::kServiceName);
    if (!bus.interface()->isServiceRegistered(name).value()) return false;
    const QString path = QString::fromLatin1(MprisService::kObjectPath);
    QDBusInterface root(name, path, QString::fromLatin1(kRootInterface), bus);
    QDBusInterface player(name, path, QString::fromLatin1(kPlayerInterface), bus);
    if (!root.isValid() || !player.isValid()) return false;
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:."));
    for (const QString& arg : arguments) {
        // The running program has another working folder: local paths travel as file URIs.
        const QString uri =
            scheme.match(arg).hasMatch() ? arg : QUrl::fromLocalFile(QFileInfo(arg).absoluteFilePath()).toString();
        const QDBusMessage reply = player.call(QStringLiteral("OpenUri"), uri);
        if (reply.type() == QDBusMessage::ErrorMessage) return false;
    }
    root.call(QStringLiteral("Raise"));
    return true;
}

} // namespace platform
