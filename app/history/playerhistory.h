#pragma once

#include "historyentry.h"

#include <QObject>

class HistoryStore;
class Playlist;
class QAction;
class QMenu;
class RecentMenu;
class ResumeNotice;
class ResumeTracker;

namespace LibPlayer {
class Core;
}

// What the player remembers between runs, put together for the window:
// the history store, resume positions (ResumeTracker) with the line shown
// after a resume (ResumeNotice) and the Home key that starts over, the
// "Recent" submenu, the options "Resume playback" and "Restore playlist at
// start", and "Clear history". The store opens once the event loop runs,
// after the window has shown.
//
// Settings: "History/resume playback", "History/restore playlist" (bools,
// true by default). GUI thread only.
class PlayerHistory : public QObject
{
    Q_OBJECT

public:
    PlayerHistory(LibPlayer::Core *core, QWidget *window);
    ~PlayerHistory() override;

    // "Recent" after `after` in the media menu; the options and "Clear
    // history" before `optionsBefore` in the options menu.
    void placeActions(QMenu *mediaMenu, QAction *after, QMenu *optionsMenu, QAction *optionsBefore);

    ResumeTracker *tracker() const { return resume; }
    RecentMenu *recent() const { return recentMenu; }
    HistoryStore *store() const { return history; }

    // At quit: keeps the playlist (or none) with the position in its
    // current item, and writes everything still queued.
    void quit(const Playlist &playlist);
    // With no start file: asks the store for the playlist of the last run;
    // restoreRequested follows when there is one to restore.
    void restoreAtStart();

signals:
    void openFileRequested(const QString &path);
    void openUrlRequested(const QString &url);
    // Fill the playlist and play item current, then pause (pauseRequested
    // follows once it plays) at the stored position.
    void restoreRequested(const StoredPlaylist &playlist);
    void pauseRequested();
    void messageWarning(const QString &message);

private:
    void mediaStarted();
    void confirmClear();

    LibPlayer::Core *core;
    QWidget *window;
    HistoryStore *history = nullptr;
    ResumeTracker *resume = nullptr;
    ResumeNotice *notice = nullptr;
    RecentMenu *recentMenu = nullptr;
    QAction *resumeAction = nullptr;
    QAction *restoreAction = nullptr;
    QAction *clearAction = nullptr;
    bool pauseWhenStarted = false;
};
