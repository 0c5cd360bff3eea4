#pragma once

#include "modernwindow.h"
#include "playerproduct.h"
#include "startvalues.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <memory>

class QAction;
class QVBoxLayout;

class BottomBar;
class EndOfMediaGate;
class FeedbackLine;
class OverlayController;
class PlaybackSession;
class PlaybackTools;
class PlayerHistory;
class PlayerCommands;
class PlayerShortcuts;
class PlaylistController;
class SeekPreviews;
class VideoHost;
class WindowGeometry;

namespace LibPlayer {
class Core;
}
namespace Desktop {
class DesktopIntegration;
}

// The program's only main window, on the frameless frame. It composes the
// pieces of the player and keeps the slots the rest of the program calls;
// the work happens in the pieces:
// - BottomBar: the controls over the video;
// - VideoHost: the video frame the engine draws into;
// - PlaybackSession: the open commands;
// - PlaylistController: drops, playlist files and the playlist;
// - OverlayController: the overlays and the cursor;
// - EndOfMediaGate: holds the engine's end of media back during user flows;
// - PlayerCommands: the commands of shortcuts and remote controls;
// - PlaybackTools: speed, frame steps, A-B loop, jump, delays, screenshot,
//   told on the FeedbackLine over the video;
// - Desktop::DesktopIntegration: MPRIS and the screen saver on the session bus;
// - PlayerShortcuts: the keyboard shortcuts and the mouse on the video;
// - WindowGeometry: ratio lock, grip, snapping, restored layout, full screen;
// - PlayerHistory: resume positions, recent files, the playlist kept at quit;
// - SeekPreviews: pictures over the time slider's hover label.
// endPlayback stays here: it is where the end of a medium touches the
// controls, the video frame, the engine and the playlist in a fixed order.
//
// Settings: "Input/last disc" and "Input/last file" (read at construction,
// written by fileQuit when changed since), "Output/volume" (likewise),
// "Input/video instance" (check mark of the new-window option).
class PlayerWindow : public Common::ModernWindow
{
    Q_OBJECT

public:
    explicit PlayerWindow(const QString &startFile, bool hideDebug, QWidget *parent = nullptr,
                          Qt::WindowFlags flags = Qt::WindowFlags());
    // With an engine made beforehand (start-up makes it before the window, so
    // that libvlc loads while the window is built); null: a new one.
    PlayerWindow(const QString &startFile, bool hideDebug, std::unique_ptr<LibPlayer::Core> engine,
                 QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~PlayerWindow() override;

signals:
    // The window wants to come to the front (after a handed-over file opened).
    void needToShow();

public slots:
    // A text from another instance: opened as a file (an empty text asks the
    // user for one), then needToShow.
    void handleMessage(const QString &message);

protected slots:
    void addSubtitleFile();
    void changeCdaTrack(int track);
    void changeDisplayRatio(uint width, uint height);
    void changeListItem(int item);
    void dropUri(const QList<QUrl> &urls);
    void dropUriSorted(const QList<QUrl> &urls);
    void endPlayback(bool skipPlaylist = false);
    void fileQuit() override;
    void mediaParseBegin();
    void mediaParseEnd();
    void openDisc();
    void openFile(QString f = QString());
    // The "Media information" dialog of the current medium; the feedback
    // line (and the log) say so when nothing is playing.
    void showMediaInfo();
    // Asks for a folder and plays the media files in it.
    void openFolder();
    void openUrl(QString u = QString());
    void optionsAssociations();
    void readList(const QString &path);
    // What a folder walk found, added as a drop (replace: an open command).
    void addWalked(const QList<QUrl> &urls, bool replace);
    void resizeBottomBar();
    // The play button shows the engine's state (and whether Play can start
    // something again).
    void showPlayState();
    void start();
    void toggleFullscreen(bool on);
    void trackMouseCursor();

    // Help, update check, new-window option and the fatal engine messages
    // (app/help/playerhelp.h does the work).
    void appUpdateReceived() override;
    void helpAbout() override;
    void helpFaq();
    void helpShortcuts();
    void helpMmplug();
    void helpPlayer();
    void helpReport();
    void helpUpdate() override;
    void helpMirelva();
    void optionsVideoInstance();
    // Each shows a critical box, then ends the event loop with exit code 1.
    void playerFailedToLoad();
    void playerVersionTooOld();

protected:
    Common::UpdateHelper *createUpdateHelper(bool atStart) override;
    QString updateLinks() override;
    void layoutLoadSettings() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // Puts text into the top bar's title and the window's own title.
    void setTitleText(const QString &text);

    QString startFile;

    QAction *addSubtitleAction = nullptr;
    QAction *faqAction = nullptr;
    QAction *pluginAction = nullptr;
    QAction *playerOnlineAction = nullptr;
    QAction *mirelvaOnlineAction = nullptr;
    QAction *openDiscAction = nullptr;
    QAction *openFileAction = nullptr;
    QAction *openFolderAction = nullptr;
    QAction *mediaInfoAction = nullptr;
    QAction *openUrlAction = nullptr;
    QAction *associationsAction = nullptr; // null where no default player can be set
    QAction *videoInstanceAction = nullptr;
    QAction *shortcutsAction = nullptr;

    // Deleted with the window, whichever way it closes, before the widgets
    // the engine draws into.
    std::unique_ptr<LibPlayer::Core> core;
    BottomBar *bottomBar = nullptr;
    VideoHost *videoHost = nullptr;
    PlaybackSession *playback = nullptr;
    PlaylistController *playlists = nullptr;
    OverlayController *overlays = nullptr;
    EndOfMediaGate *endGate = nullptr;
    PlayerCommands *commands = nullptr;
    Desktop::DesktopIntegration *desktop = nullptr;
    PlaybackTools *tools = nullptr;
    FeedbackLine *feedbackLine = nullptr;
    PlayerShortcuts *shortcuts = nullptr;
    WindowGeometry *windowGeometry = nullptr;
    // The settings written at quit as this window found them.
    Common::StartValues settingsAtStart;
    PlayerHistory *history = nullptr;
    SeekPreviews *previews = nullptr;

private:
    void createPlayerActions();
    void placePlayerActions();
    void connectPlayerActions();
    void applyTopBarStyle();
    void createPlayer();
    void wireControls();
    void checkEngine();
    // Help pages: the box when the desktop cannot open one.
    void openHelpPage(PlayerProduct::Page page);
};
