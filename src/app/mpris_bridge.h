#pragma once
// MprisBridge: the main window as the desktop's media controls see it. It answers the MPRIS
// service from the window's lists and player and carries the service's commands out the way
// the window's own buttons do, so media keys, the sound menu and playerctl act like clicks.

#include "platform/dbus/mpris_player.h"
#include "platform/dbus/mpris_service.h"

#include <QObject>
#include <QTimer>
#include <memory>

namespace app {

class FrmMain;

class MprisBridge : public QObject, public platform::MprisPlayer {
    Q_OBJECT

public:
    explicit MprisBridge(FrmMain& window, QObject* parent = nullptr);
    ~MprisBridge() override;

    // Puts the player on the session bus; false (and nothing else happens) without a bus.
    bool start();
    platform::MprisService& service() { return *m_service; }

    Status playbackStatus() const override;
    Track track() const override;
    double volume() const override;
    void setVolume(double volume) override;
    int64_t positionUs() const override;
    bool canSeek() const override;
    bool canGoNext() const override;
    bool canGoPrevious() const override;
    bool canPlay() const override;
    bool canPause() const override;
    void play() override;
    void pause() override;
    void playPause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void seekBy(int64_t offsetUs) override;
    void setPositionUs(int64_t positionUs) override;
    void openUri(const QString& uri) override;
    void raise() override;
    void quit() override;

private:
    // The list whose row carries the playing mark, or -1.
    int playingList() const;
    void step(int delta);
    void changed();

    FrmMain& m_window;
    std::unique_ptr<platform::MprisService> m_service;
    QString m_lastUrl;
    uint64_t m_serial = 0;
    // The volume bar has no event of its own; a slow look catches a drag on it.
    QTimer m_volumeWatch;
    int32_t m_lastVolume = -1;
};

} // namespace app
