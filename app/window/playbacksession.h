#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QAction;
class QWidget;

namespace LibPlayer {
class Core;
class PlayToolButton;
class SubtitleToolButton;
class TimeSlider;
class TrackToolButton;
} // namespace LibPlayer

namespace Platform {
class OpticalDrives;
}

// The open commands of the player window: "Open file", "Open URL", "Open
// disc" and "Add subtitle file". Each pauses what plays, asks the user when it was given
// nothing, ends the old medium, starts the new one and then either shows the
// controls' playing state or a "Failed to play ..." box.
//
// It asks the window for what it does not own: deletePlaylistRequested()
// (only once the user has chosen something, so that a cancelled dialog keeps
// the playlist), endRequested() to end the current medium, and
// playlistFileRequested() for a chosen M3U file. Keeps the last file and the
// last disc played ("Input/last file" and "Input/last disc", read and
// written by the window). GUI thread only.
class PlaybackSession : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        LibPlayer::PlayToolButton *playButton = nullptr;
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

signals:
    void deletePlaylistRequested();
    void endRequested(bool skipPlaylist);
    void playlistFileRequested(const QString &path);
    // Several files chosen in the "Open file" dialog, to be added as a drop.
    void filesRequested(const QList<QUrl> &files);

private:
    // The "Open file" dialog's answers as file URLs (byte-exact); empty when
    // cancelled.
    QList<QUrl> askForFiles();
    // Plays a location (the URL route): "Failed to play URL" on failure.
    void playLocation(const QString &u);
    void pause();
    void resume();
    // Ends the medium the engine still holds, if any.
    void endCurrent(bool skipPlaylist);
    void showPlaying(bool subtitlesAllowed = true);
    void showFailure(const QString &title, const QString &text);

    LibPlayer::Core *core;
    Controls controls;
    QWidget *dialogParent;
    QString lastPlayedFile;
    QString lastPlayedDisc;
    std::shared_ptr<const Platform::OpticalDrives> drives;
};
