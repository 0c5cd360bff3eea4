#pragma once

#include "core.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QAction;
class QWidget;

namespace LibPlayer {
class SubtitleToolButton;
class TimeSlider;
class TrackToolButton;
} // namespace LibPlayer

namespace Platform {
class OpticalDrives;
}

// The open commands of the player window: "Open file", "Open URL", "Open
// disc" and "Add subtitle file". Each pauses what plays, asks the user when it was given
// nothing, ends the old medium and asks the engine for the new one, without
// waiting. The engine's outcome, through started() or openFailed(), then
// either shows the controls' playing state or a "Failed to play ..." box. A
// newer open replaces one still under way.
//
// It asks the window for what it does not own: deletePlaylistRequested()
// (only once the user has chosen something, so that a cancelled dialog keeps
// the playlist), endRequested() to end the current medium, and
// playlistFileRequested() for a chosen M3U file. Keeps the last file and the
// last disc played ("Input/last file" and "Input/last disc", read and
// written by the window), and what started the medium the engine holds, so
// that a medium that turns out not to play is reported by the command that
// started it and one that ended can be started again. GUI thread only.
class PlaybackSession : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        LibPlayer::TimeSlider *timeSlider = nullptr;
        LibPlayer::SubtitleToolButton *subtitleButton = nullptr;
        LibPlayer::TrackToolButton *cdTrackButton = nullptr;
        QAction *addSubtitleAction = nullptr;
        // Hidden after a successful play; they come back with the pointer.
        QList<QWidget *> overlays;
    };

    PlaybackSession(LibPlayer::Core *core, const Controls &controls, QWidget *dialogParent);
    ~PlaybackSession() override;

    QString lastFile() const { return lastPlayedFile; }
    void setLastFile(const QString &file) { lastPlayedFile = file; }
    QString lastDisc() const { return lastPlayedDisc; }
    void setLastDisc(const QString &disc) { lastPlayedDisc = disc; }
    // The optical drives the disc dialog offers; the system's by default.
    void setOpticalDrives(std::shared_ptr<const Platform::OpticalDrives> drives);
    // Start folder of the file dialogs: the folder of the last file when it
    // still exists, otherwise the home folder.
    QString startFolder() const;

    // f empty: ask for files; several chosen go to filesRequested() (after
    // the playlist is deleted and playback resumed). f is a local path or a
    // "file://" location (a name that is not UTF-8); a location of another
    // scheme ("http://...") plays as a URL. A playlist file is handed to
    // playlistFileRequested().
    void openFile(QString f);
    // Asks for a folder (playback pauses while the dialog is open); empty
    // when cancelled.
    QString askForFolder();
    // u empty: ask for a location. The text goes to the engine unchanged.
    void openUrl(QString u);
    // Asks for a disc kind and location. An audio CD fills the CD-track menu.
    void openDisc();
    void addSubtitleFile();
    // A playlist item: played like a location, but a failure shows no box;
    // itemFailed() reports it instead.
    void playItem(const QString &location);
    // The engine's medium ended without playing: the controls go back to
    // stopped, then the command that started it shows its failure box (a
    // playlist item is reported by itemFailed()).
    void mediaFailed();
    // Whether replay() has a file, location or disc to start again.
    bool canReplay() const;
    // Starts the last file, location or disc played again.
    void replay();

    // The engine's outcome of the open under way (connected by the window;
    // engineStateChanged before any other receiver of the state, so that
    // canReplay() already answers for the new state). A start the engine
    // reports without an open under way (a CD track) is not this session's.
    void engineStateChanged(LibPlayer::Core::State state);
    void started();
    void openFailed();

signals:
    void deletePlaylistRequested();
    void endRequested(bool skipPlaylist);
    void playlistFileRequested(const QString &path);
    void itemFailed(const QString &location);
    // Several files chosen in the "Open file" dialog, to be added as a drop.
    void filesRequested(const QList<QUrl> &files);
    void messageWarning(const QString &message);
    // canReplay() may answer otherwise (after a failure).
    void replayChanged();

private:
    // The "Open file" dialog's answers as file URLs (byte-exact); empty when
    // cancelled.
    QList<QUrl> askForFiles();
    enum class Source { None, File, Url, Disc, PlaylistItem };
    // What started the medium the engine holds (or held last).
    struct Started
    {
        Source source = Source::None;
        QString location; // file path, location text or disc location
        int discKind = 0;
        int cdTracks = 0; // an audio CD's number of tracks
    };
    // Hands a request to the engine (a disc as the engine's disc path); its
    // outcome comes back later.
    void request(const Started &opening, const QString &discPath = QString());

    void pause();
    void resume();
    // Ends the medium the engine still holds, if any.
    void endCurrent(bool skipPlaylist);
    void showPlaying(bool subtitlesAllowed = true);
    // Plays a location given as text; on failure, a box unless it is a
    // playlist item.
    void playLocation(const QString &location, Source source);
    void playDisc(int kind, const QString &location);
    // After a failed start: the controls stopped, then the box of the
    // command (or itemFailed() for a playlist item).
    void reportFailure(const Started &failed);
    // False, after the failure of a file the engine cannot play, for a local
    // file that is not a regular readable file (see localfilegate.h); it
    // never reaches the engine. Anything else is left to the engine.
    bool admitted(const QString &pathOrLocation, Source source);

    LibPlayer::Core *core;
    Controls controls;
    QWidget *dialogParent;
    QString lastPlayedFile;
    QString lastPlayedDisc;
    Started current;
    // The open under way, and the one whose failure is being reported.
    Started pending;
    Started failed;
    std::shared_ptr<const Platform::OpticalDrives> drives;
};
