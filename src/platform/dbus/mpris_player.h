#pragma once
// MprisPlayer: what the desktop's media controls may ask of the player. The program's main
// window answers it; the MPRIS service turns it into D-Bus methods and properties.

#include <QString>
#include <cstdint>

namespace platform {

class MprisPlayer {
public:
    enum class Status { Stopped, Playing, Paused };

    // The media being played: its title and address, its length in microseconds (0 for a
    // live stream or an unknown length) and a number that changes with every new media.
    struct Track {
        QString title;
        QString url;
        int64_t lengthUs = 0;
        uint64_t serial = 0;
        friend bool operator==(const Track&, const Track&) = default;
    };

    virtual ~MprisPlayer() = default;

    virtual Status playbackStatus() const = 0;
    virtual Track track() const = 0;
    // Volume from 0 to 1.
    virtual double volume() const = 0;
    virtual void setVolume(double volume) = 0;
    virtual int64_t positionUs() const = 0;
    virtual bool canSeek() const = 0;
    virtual bool canGoNext() const = 0;
    virtual bool canGoPrevious() const = 0;
    virtual bool canPlay() const = 0;
    virtual bool canPause() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void playPause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    // Moves the position by `offsetUs` (media that can seek).
    virtual void seekBy(int64_t offsetUs) = 0;
    virtual void setPositionUs(int64_t positionUs) = 0;
    // An address or a local file: a playlist is taken into the lists, anything else plays.
    virtual void openUri(const QString& uri) = 0;
    virtual void raise() = 0;
    virtual void quit() = 0;
};

} // namespace platform
