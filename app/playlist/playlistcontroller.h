#pragma once

#include "dropplan.h"
#include "playlist.h"

#include <QList>
#include <QObject>
#include <QUrl>

#include <atomic>

class QThread;
class QWidget;

namespace LibPlayer {
class Core;
class ListToolButton;
class SubtitleToolButton;
} // namespace LibPlayer

// The window's intake of dropped files and playlist files, and the audio or
// video playlist they build: its menu (choose, save, eject), reading M3U
// files, saving the playlist and the move to the next item when one ends.
//
// It never plays anything itself: playRequested() and itemPlayRequested() ask
// the window to open a location, endRequested() to end the current medium.
// Boxes are modal over the dialog parent. Settings: "Output/last playlist
// saved". GUI thread only.
class PlaylistController : public QObject
{
    Q_OBJECT

public:
    PlaylistController(const LibPlayer::Core *core, LibPlayer::ListToolButton *playlistButton,
                       LibPlayer::SubtitleToolButton *subtitleButton, QWidget *dialogParent);
    ~PlaylistController() override;

    const Playlist &playlist() const { return list; }

    // Dropped URLs: one playlist file is read; otherwise they are put in drop
    // order (MP3 tags, then names) and added. Folders among them are walked
    // first (see walkFolders).
    void dropUri(const QList<QUrl> &urls);
    // The media files of the folders among urls, walked on a worker thread
    // (FolderWalk: recursive, natural order), follow the other URLs in drop
    // order; the whole goes out through foldersWalked(), for addWalked().
    // replace: the result replaces the playlist (an open command) instead of
    // joining it as a drop does. One walk at a time: a walk asked for while
    // another runs is refused with a log line.
    void walkFolders(const QList<QUrl> &urls, bool replace);
    // Adds what a walk found as a drop; nothing found gives a box.
    void addWalked(const QList<QUrl> &urls, bool replace);
    // Adds the URLs in the given order: a new playlist, an extension of the
    // open one, one item played alone, or subtitle files.
    void dropUriSorted(const QList<QUrl> &urls, DropSource source = DropSource::Drop);
    // Reads an M3U or M3U8 file and adds its entries in file order.
    void readList(const QString &path);
    // Puts back a playlist of an earlier run in place of the current one,
    // without playing it.
    void restore(bool video, const QStringList &locations);
    // The playlist menu: an item number, or the save or eject command.
    void changeListItem(int item);
    // Removes the playlist and its menu, with a log line; nothing when there
    // is no playlist.
    void deletePlaylist();
    // The last step of an ended medium: plays the next item, if any; returns
    // whether it asked for one.
    bool advance();
    // Asks the user for a file name and writes the playlist there.
    void savePlaylist();
    // The current item, at location, did not play: a warning line, then the
    // next item; when none is left and no item of this walk has played, one
    // box says so. A location that is no longer the current item is ignored.
    void skipFailedItem(const QString &location);

signals:
    // The items or the current item may have changed.
    void changed();
    // A single dropped file to play.
    void playRequested(const QString &location);
    // A playlist item to play.
    void itemPlayRequested(const QString &location);
    void endRequested(bool skipPlaylist);
    void messageNotice(const QString &message);
    void messageWarning(const QString &message);
    // A walk of walkFolders has ended (emitted from the event loop).
    void foldersWalked(const QList<QUrl> &urls, bool replace);

private:
    void dropCandidates(const DropCandidates &candidates);
    void showWarnings(const QList<DropWarning> &warnings);
    void addItems(const QStringList &locations, bool video);
    void addSubtitles(const QStringList &files);
    void playCurrent();
    QList<QUrl> inDropOrder(const QList<QUrl> &urls);

    const LibPlayer::Core *core;
    LibPlayer::ListToolButton *playlistButton;
    LibPlayer::SubtitleToolButton *subtitleButton;
    QWidget *dialogParent;
    Playlist list;
    // Some item has played to its end since the playlist was made or an
    // item was chosen from the menu.
    bool itemPlayedInWalk = false;
    // The running walk; asked to stop and waited for at destruction.
    QThread *walker = nullptr;
    std::atomic_bool stopWalk{false};
};
