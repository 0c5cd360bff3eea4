#pragma once
// What the desktop sees of the player, as plain values: the MPRIS properties
// (playback status, metadata, volume, what can be done) and whether the
// screen saver is held off. Pure functions over a snapshot of the player;
// no bus is involved, the D-Bus side only sends what these compute.

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace Desktop {

// The player as the desktop may see it at one moment.
struct PlayerSnapshot
{
    bool loaded = false;  // the engine holds a medium
    bool playing = false; // the play button shows playing
    bool video = false;   // the medium's last parse found a video stream
    quint64 serial = 0;   // the engine's media serial: a new value is a new track
    QString title;
    QString artist;
    QString album;
    int trackNumber = 0;   // 0: unknown
    QString artUrl;        // file URL of the medium's picture, empty without one
    QString location; // the medium's location (a URL)
    qint64 lengthMs = -1;
    int volume = 100; // the volume control's level, 0 to 150
    double rate = 1.0; // playback speed of the medium
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlayPause = false;
    bool canSeek = false;
};

enum class PlaybackStatus { Playing, Paused, Stopped };

PlaybackStatus playbackStatus(const PlayerSnapshot &player);
// "Playing", "Paused" or "Stopped".
QString playbackStatusText(PlaybackStatus status);

// The screen saver is held off while a video plays, never for audio alone,
// nor while paused or stopped.
bool wantsInhibition(const PlayerSnapshot &player);

// Object path naming the track: one per medium the engine opened, or the
// "no track" path without one.
QString trackPath(const PlayerSnapshot &player);

// The Metadata map: mpris:trackid (object path), mpris:length (microseconds,
// 64-bit), xesam:title, xesam:artist (a list), xesam:album,
// xesam:trackNumber, mpris:artUrl, xesam:url; empty entries are left out, and a stopped player has no metadata at all.
QVariantMap metadata(const PlayerSnapshot &player);

// The Player interface's properties that announce their changes:
// PlaybackStatus, Metadata, Volume, Rate, CanGoNext, CanGoPrevious, CanPlay,
// CanPause, CanSeek.
QVariantMap playerProperties(const PlayerSnapshot &player);

// The entries of after whose value differs from before's (or that before
// lacks).
QVariantMap changedProperties(const QVariantMap &before, const QVariantMap &after);

// MPRIS volume 1.0 is the control's 100; the control goes to 150.
// A value that is no number leaves the current level.
double mprisVolume(int volume);
int controlVolume(double mprisVolume, int current);

// What OpenUri opens: a local file (plays like a file opened by the user,
// playlist files included) or any other location as a URL.
struct OpenTarget
{
    bool localFile = false;
    QString text; // the local path (its location for a name that is not
                  // UTF-8), or the location unchanged
};
OpenTarget openTarget(const QString &uri);

} // namespace Desktop
