#pragma once

#include <QObject>

class BottomBar;
class PlaybackSession;
class Playlist;

namespace LibPlayer {
class Core;
}

// The player's commands for everything that is not a control of the bottom
// bar: keyboard shortcuts, the desktop's media keys and remote controls. Each
// goes through the same path as the control it stands for, so the controls,
// their menus and the saved settings follow (the volume control saves its
// level, the full-screen button keeps its check mark, the playlist moves as
// through its menu). Play and pause ask the engine, whose state the play
// button follows. GUI thread only.
class PlayerCommands : public QObject
{
    Q_OBJECT

public:
    // Volume and seek steps of the keyboard and the mouse wheel.
    static constexpr int VolumeStep = 5;
    static constexpr qint64 ShortSeekMs = 5000;
    static constexpr qint64 LongSeekMs = 30000;
    static constexpr double MinimumRate = 0.25;
    static constexpr double MaximumRate = 4.0;

    PlayerCommands(LibPlayer::Core *core, BottomBar *bar, const Playlist *playlist, const PlaybackSession *session,
                   QObject *parent = nullptr);
    ~PlayerCommands() override;

    // Whether something is loaded that play/pause acts on.
    bool canPlayPause() const;
    // Whether nothing plays but Play starts the last medium (or the
    // playlist) again.
    bool canStartAgain() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canSeek() const;

public slots:
    void playPause();
    // After playback ended or was stopped: the playlist's current item again,
    // or its first item once the last one has ended; without a playlist the
    // last medium (startAgainRequested()). Nothing while a medium is loaded.
    void startAgain();
    void play();
    void pause();
    // Ends the current medium without moving on in the playlist.
    void stop();
    // Moves the playback time by deltaMs, or to ms; clamped to the medium.
    void seekBy(qint64 deltaMs);
    void seekTo(qint64 ms);
    void changeVolumeBy(int delta);
    void setVolume(int volume);
    void toggleMute();
    // Playback speed of the current medium, clamped to MinimumRate..MaximumRate.
    void setRate(double rate);
    void toggleFullscreen();
    void leaveFullscreen();
    // The next or previous playlist item, as if chosen in the menu.
    void next();
    void previous();

signals:
    // A playlist item to play, through the playlist menu's path.
    void itemRequested(int number);
    // The current medium is to end without a playlist advance.
    void stopRequested();
    // The last medium played (not a playlist item) is to start again.
    void startAgainRequested();
    // The playback time was moved to ms (after clamping).
    void seeked(qint64 ms);
    // The volume was stepped or muted by a key or the wheel; level 0 is muted.
    void volumeStepped(int level);
    // The playback speed of the current medium is now rate.
    void rateChanged(double rate);

private:
    LibPlayer::Core *core;
    BottomBar *bar;
    const Playlist *playlist;
    const PlaybackSession *session;
};
