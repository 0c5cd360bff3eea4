#pragma once

#include "mprisstate.h"
#include "trackinfo.h"

#include <QObject>

class PlayerCommands;
class PlaylistController;

namespace LibPlayer {
class Core;
class TimeSlider;
class VolumeControl;
} // namespace LibPlayer

namespace Desktop {

// Watches the engine, the controls and the playlist for what the desktop
// sees of the player, and reports a new snapshot once per turn of the event
// loop in which anything of it may have changed: a burst of changes (an end
// of media resets the controls, stops the engine and opens the next item)
// gives one report of the state it ends in. Only reads; never drives the
// player. GUI thread only.
class PlayerStateWatcher : public QObject
{
    Q_OBJECT

public:
    struct Sources
    {
        const LibPlayer::Core *core = nullptr;
        const PlayerCommands *commands = nullptr;
        const PlaylistController *playlists = nullptr;
        const LibPlayer::VolumeControl *volumeControl = nullptr;
        const LibPlayer::TimeSlider *timeSlider = nullptr;
    };

    PlayerStateWatcher(const Sources &sources, QObject *parent);
    ~PlayerStateWatcher() override;

    // The player now (not the last one reported).
    PlayerSnapshot snapshot() const;
    // Playback time in milliseconds, -1 without a medium.
    qint64 position() const;

signals:
    void changed(const Desktop::PlayerSnapshot &player);
    // The user (or a remote control) moved the playback time to ms.
    void positionJumped(qint64 ms);

private:
    void scheduleReport();
    void report();
    // Reads the new medium's own tag (or name) once it has started.
    void refreshTrackInfo();

    Sources sources;
    // Whether the current medium has shown a video stream: false from every
    // new player until a parse finds one, so that audio never counts as video
    // while the engine is still reading it.
    quint64 videoSerial = 0;
    bool video = false;
    bool reportDue = false;
    // The medium's own tag, read when it started; the engine's parse, once
    // it has run for that medium, refines it.
    quint64 infoSerial = 0;
    TrackInfo info;
    QString artUrl;
    ArtFile artFile;
};

} // namespace Desktop

Q_DECLARE_METATYPE(Desktop::PlayerSnapshot)
