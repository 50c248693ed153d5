#pragma once
// MprisService: the player on the session bus as org.mpris.MediaPlayer2.tianbo, with the
// root and Player interfaces of the MPRIS 2 media player protocol, so the desktop's media
// keys, sound menu and task bar controls reach it. Without a session bus it stays silent
// and the program runs as before.

#include "platform/dbus/mpris_player.h"

#include <QObject>
#include <QVariantMap>

namespace platform {

class MprisService : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.tianbo";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    // `desktopEntry` is the menu entry's name without ".desktop".
    MprisService(MprisPlayer& player, const QString& identity, const QString& desktopEntry, QObject* parent = nullptr);
    ~MprisService() override;

    // Claims the name on the session bus; false when there is no bus or another program
    // holds the name.
    bool registerOnSessionBus();
    bool registered() const { return m_registered; }

    // Reads the player's state again and announces every property that changed since the
    // last call (PropertiesChanged). Call it after a change of state, media or volume.
    void notifyChanged();
    // Announces a jump of the position (the Seeked signal).
    void notifySeeked();

    MprisPlayer& player() const { return m_player; }
    const QString& identity() const { return m_identity; }
    const QString& desktopEntry() const { return m_desktopEntry; }
    // The Player interface's properties as they stand (names as on the bus), without the
    // position, which the protocol never announces.
    QVariantMap playerProperties() const;
    QVariantMap metadata() const;
    // The object path that names the current media (SetPosition compares it).
    QString trackId() const;

signals:
    // Emitted by the Player adaptor; relayed onto the bus.
    void Seeked(qlonglong positionUs);

private:
    MprisPlayer& m_player;
    QString m_identity;
    QString m_desktopEntry;
    QVariantMap m_announced;
    QString m_busName;
    bool m_registered = false;
};

// Hands the command line to a running instance over the session bus: raises its window and
// opens each argument there. True when a running instance took them (the caller exits);
// false when there is none or no bus.
bool HandToRunningInstance(const QStringList& arguments);

} // namespace platform
