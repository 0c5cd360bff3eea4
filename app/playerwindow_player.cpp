// PlayerWindow: the player in the window: the engine, the controls and the
// pieces that work for them, and the wiring table (the media slots are in
// playerwindow_media.cpp).

#include "playerwindow.h"

#include "desktopintegration.h"
#include "logdialog.h"
#include "playersettingskeys.h"
#include "bottombar.h"
#include "endofmediagate.h"
#include "feedbackline.h"
#include "mediainfodialog.h"
#include "mediapresentation.h"
#include "overlaycontroller.h"
#include "playbackmenu.h"
#include "playbacksession.h"
#include "playbacktools.h"
#include "playercommands.h"
#include "playershortcuts.h"
#include "videohost.h"
#include "playerhistory.h"
#include "seekpreviews.h"
#include "playlistcontroller.h"
#include "windowgeometry.h"

#include "audiotoolbutton.h"
#include "core.h"
#include "grip.h"
#include "listtoolbutton.h"
#include "playtoolbutton.h"
#include "subtitletoolbutton.h"
#include "timelabel.h"
#include "timeslider.h"
#include "titletoolbutton.h"
#include "toolbutton.h"
#include "tracktoolbutton.h"
#include "videoframe.h"
#include "volumecontrol.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int MinimumVolume = 0;
constexpr int MaximumVolume = 150;
constexpr int DefaultVolume = 100;

} // namespace

// The video frame under the three overlays, the engine, the open flows and the
// playlist. The engine loads libvlc in the background (from before the window
// when start-up made it); checkEngine runs once it is done.
void PlayerWindow::createPlayer()
{
    bottomBar = new BottomBar(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    if (!core)
        core = std::make_unique<LibPlayer::Core>();
    const QList<QWidget *> overlayWidgets{m_topBar, bottomBar, bottomBar->timeSlider};
    videoHost = new VideoHost(core.get(), layout, overlayWidgets, this);
    videoHost->setHint(tr("Drop files here, or press Ctrl+O"));
    for (QWidget *overlay : overlayWidgets)
        QTimer::singleShot(0, overlay, &QWidget::raise);

    PlaybackSession::Controls controls;
    controls.timeSlider = bottomBar->timeSlider;
    controls.subtitleButton = bottomBar->subtitleButton;
    controls.cdTrackButton = bottomBar->cdTrackButton;
    controls.addSubtitleAction = addSubtitleAction;
    controls.overlays = overlayWidgets;
    playback = new PlaybackSession(core.get(), controls, this);
    playlists = new PlaylistController(core.get(), bottomBar->playlistButton, bottomBar->subtitleButton, this);
    overlays = new OverlayController(this, overlayWidgets, [this] { return bottomBar->popupMenus(m_appMenu); });
    endGate = new EndOfMediaGate([this] { return core->mediaSerial(); }, this);
    commands = new PlayerCommands(core.get(), bottomBar, &playlists->playlist(), playback, this);
    desktop = new Desktop::DesktopIntegration({core.get(), commands, playlists, bottomBar->volumeControl,
                                               bottomBar->timeSlider},
                                              commands, this);
    tools = new PlaybackTools(core.get(), commands, bottomBar, this);
    feedbackLine = new FeedbackLine(this, m_topBar);
    m_appMenu->insertMenu(m_optionsMenu->menuAction(), createPlaybackMenu(tools, this));
    PlayerShortcuts::MenuActions menuActions;
    menuActions.openFile = openFileAction;
    menuActions.openFolder = openFolderAction;
    menuActions.mediaInfo = mediaInfoAction;
    menuActions.openUrl = openUrlAction;
    menuActions.quit = m_quitAction;
    shortcuts = new PlayerShortcuts(this, commands, tools, videoHost, menuActions);

    WindowGeometry::Parts parts;
    parts.window = this;
    parts.bottomBar = bottomBar;
    parts.timeSlider = bottomBar->timeSlider;
    parts.grip = bottomBar->grip;
    parts.titleLabel = m_titleLabel;
    for (QWidget *button : {m_iconButton, m_pinButton, m_minimizeButton, m_closeButton}) {
        if (button)
            parts.titleButtons << button;
    }
    parts.layoutDefault = [this] { layoutDefault(); };
    windowGeometry = new WindowGeometry(parts, this);
    history = new PlayerHistory(core.get(), this);
    previews = new SeekPreviews(core.get(), bottomBar->timeSlider, this);

    int volume = QSettings().value(PlayerSettingsKey::volume, DefaultVolume).toInt();
    volume = std::clamp(volume, MinimumVolume, MaximumVolume);
    bottomBar->volumeControl->setValue(volume);
    core->changeVolume(bottomBar->volumeControl->value());
    bottomBar->timeSlider->setSliding(false);
}

void PlayerWindow::wireControls()
{
    using namespace LibPlayer;
    BottomBar *bar = bottomBar;
    Core *engine = core.get();

    // engine messages -> log window
    m_logDialog->attachSender(engine);
    // engine loaded -> version check
    connect(engine, &Core::loadFinished, this, &PlayerWindow::checkEngine);

    // video frame (the current one) -> drops
    connect(videoHost, &VideoHost::uriDropped, this, &PlayerWindow::dropUri);
    // engine playing -> the empty frame's hint goes
    connect(engine, &Core::mediaPlayerTimeChanged, videoHost, &VideoHost::dropHint);
    connect(engine, &Core::mediaParseBegin, videoHost, &VideoHost::dropHint);

    // controls -> engine
    connect(bar->audioButton, &AudioToolButton::trackChanged, engine, &Core::changeAudio);
    connect(bar->cdTrackButton, &TrackToolButton::trackChanged, engine, &Core::changeCdaTrack);
    // the chosen track shows on the video frame at once, before the parse
    connect(bar->cdTrackButton, &TrackToolButton::trackChanged, this, &PlayerWindow::changeCdaTrack);
    connect(bar->playButton, &PlayToolButton::pause, engine, &Core::pausePlayback);
    connect(bar->playButton, &PlayToolButton::play, engine, &Core::resumePlayback);
    // with nothing loaded, Play starts the last medium again
    connect(bar->playButton, &PlayToolButton::play, commands, &PlayerCommands::startAgain);
    // the click toggled the button's look: the engine's state has the last word
    connect(bar->playButton, &PlayToolButton::pause, this, &PlayerWindow::showPlayState);
    connect(bar->playButton, &PlayToolButton::play, this, &PlayerWindow::showPlayState);
    connect(bar->subtitleButton, qOverload<int>(&SubtitleToolButton::trackChanged), engine,
            qOverload<int>(&Core::changeSubtitle));
    connect(bar->subtitleButton, qOverload<const QString &>(&SubtitleToolButton::trackChanged), engine,
            qOverload<const QString &>(&Core::changeSubtitle));
    connect(bar->timeSlider, &TimeSlider::seeked, engine, &Core::seek);
    connect(bar->titleButton, &TitleToolButton::titleChanged, engine, &Core::changeTitle);
    connect(bar->volumeControl, &VolumeControl::valueChanged, engine, &Core::changeVolume);

    // controls -> window
    connect(bar->playlistButton, &ListToolButton::itemChanged, this, &PlayerWindow::changeListItem);
    connect(bar->fullscreenButton, &ToolButton::toggled, this, &PlayerWindow::toggleFullscreen);
    // grip events -> eventFilter (resizing)
    bar->grip->installEventFilter(this);

    // engine -> controls
    connect(engine, &Core::currentTitle, bar->titleButton, &TitleToolButton::setCurrent);
    connect(engine, &Core::currentTrackAudio, bar->audioButton, &AudioToolButton::setCurrentTrack);
    connect(engine, &Core::currentTrackSubtitle, bar->subtitleButton, &SubtitleToolButton::setCurrentTrack);
    connect(engine, &Core::mediaTitle, bar->titleButton, &TitleToolButton::addTitle);
    connect(engine, &Core::mediaTrackAudio, bar->audioButton, &AudioToolButton::addTrack);
    connect(engine, &Core::mediaTrackSubtitle, bar->subtitleButton, &SubtitleToolButton::addTrack);
    connect(engine, &Core::subtitleFileAdded, bar->subtitleButton, &SubtitleToolButton::addFileTrack);
    connect(engine, &Core::mediaPlayerLengthChanged, bar->timeLabel, &TimeLabel::setMaximum);
    connect(engine, &Core::mediaPlayerLengthChanged, bar->timeSlider, &TimeSlider::setLengthMilliseconds);
    connect(engine, &Core::mediaPlayerTimeChanged, bar->timeLabel, &TimeLabel::update);
    connect(engine, &Core::mediaPlayerTimeChanged, bar->timeSlider, &TimeSlider::setMilliseconds);

    // engine state -> open flows first (what Play can start again), then the play button
    connect(engine, &Core::stateChanged, playback, &PlaybackSession::engineStateChanged);
    connect(engine, &Core::stateChanged, this, &PlayerWindow::showPlayState);
    connect(playback, &PlaybackSession::replayChanged, this, &PlayerWindow::showPlayState);
    // engine open outcome -> open flows; a failure's box is a user flow
    connect(engine, &Core::mediaStarted, playback, &PlaybackSession::started);
    connect(engine, &Core::mediaOpenFailed, this, [this] {
        const EndOfMediaGate::Scope flow(*endGate);
        playback->openFailed();
    });

    // engine -> window; the end of media passes the gate of the user flows
    connect(engine, &Core::displayRatioChanged, this, &PlayerWindow::changeDisplayRatio);
    connect(engine, &Core::mediaParseBegin, this, &PlayerWindow::mediaParseBegin);
    connect(engine, &Core::mediaParseEnd, this, &PlayerWindow::mediaParseEnd);
    connect(engine, &Core::mediaPlayerEndReached, endGate, &EndOfMediaGate::endReached);
    connect(endGate, &EndOfMediaGate::endDue, this, [this] { endPlayback(); });
    connect(engine, &Core::mediaPlayerFailed, endGate, &EndOfMediaGate::failureReached);
    connect(endGate, &EndOfMediaGate::failureDue, this, [this] {
        const EndOfMediaGate::Scope flow(*endGate);
        playback->mediaFailed();
    });

    // open flows and playlist -> window
    connect(playback, &PlaybackSession::deletePlaylistRequested, playlists, &PlaylistController::deletePlaylist);
    connect(playback, &PlaybackSession::endRequested, this, &PlayerWindow::endPlayback);
    connect(playback, &PlaybackSession::playlistFileRequested, this, &PlayerWindow::readList);
    connect(playback, &PlaybackSession::filesRequested, this, &PlayerWindow::dropUri);
    connect(playlists, &PlaylistController::foldersWalked, this, &PlayerWindow::addWalked);
    connect(playback, &PlaybackSession::messageWarning, this, &PlayerWindow::messageWarning);
    connect(playlists, &PlaylistController::playRequested, this, [this](const QString &location) { openUrl(location); });
    connect(playlists, &PlaylistController::itemPlayRequested, this, [this](const QString &location) {
        const EndOfMediaGate::Scope flow(*endGate);
        playback->playItem(location);
    });
    // queued: a walk over many broken items never nests
    connect(
        playback, &PlaybackSession::itemFailed, this,
        [this](const QString &location) {
            const EndOfMediaGate::Scope flow(*endGate);
            playlists->skipFailedItem(location);
        },
        Qt::QueuedConnection);
    connect(playlists, &PlaylistController::endRequested, this, &PlayerWindow::endPlayback);
    connect(playlists, &PlaylistController::messageNotice, this, &PlayerWindow::messageNotice);
    connect(playlists, &PlaylistController::messageWarning, this, &PlayerWindow::messageWarning);
    connect(commands, &PlayerCommands::itemRequested, this, &PlayerWindow::changeListItem);
    connect(commands, &PlayerCommands::stopRequested, this, [this] { endPlayback(true); });
    connect(commands, &PlayerCommands::startAgainRequested, this, [this] {
        const EndOfMediaGate::Scope flow(*endGate);
        playback->replay();
    });

    // tools, volume steps and seeks -> feedback line
    connect(tools, &PlaybackTools::feedback, feedbackLine, &FeedbackLine::showText);
    connect(commands, &PlayerCommands::volumeStepped, tools, &PlaybackTools::showVolume);
    connect(commands, &PlayerCommands::seeked, tools, &PlaybackTools::showPosition);

    // desktop (MPRIS) -> window
    connect(desktop, &Desktop::DesktopIntegration::openFileRequested, this, &PlayerWindow::openFile);
    connect(desktop, &Desktop::DesktopIntegration::openUrlRequested, this, &PlayerWindow::openUrl);
    connect(desktop, &Desktop::DesktopIntegration::raiseRequested, this, &PlayerWindow::needToShow);
    connect(desktop, &Desktop::DesktopIntegration::quitRequested, this, &PlayerWindow::fileQuit);

    // seek-bar previews: option in the options menu; seeks hold the pass back
    m_optionsMenu->insertAction(m_optionsSeparator, previews->action());
    connect(bar->timeSlider, &TimeSlider::seeked, previews, &SeekPreviews::seekRequested);
    connect(commands, &PlayerCommands::seeked, previews, &SeekPreviews::seekRequested);
    connect(previews, &SeekPreviews::messageWarning, this, &PlayerWindow::messageWarning);

    // history -> window, playlist and commands
    history->placeActions(m_fileMenu.get(), openUrlAction, m_optionsMenu.get(), m_optionsSeparator);
    connect(history, &PlayerHistory::openFileRequested, this, &PlayerWindow::openFile);
    connect(history, &PlayerHistory::openUrlRequested, this, &PlayerWindow::openUrl);
    connect(history, &PlayerHistory::messageWarning, this, &PlayerWindow::messageWarning);
    connect(history, &PlayerHistory::pauseRequested, commands, &PlayerCommands::pause);
    connect(history, &PlayerHistory::restoreRequested, this, [this](const StoredPlaylist &stored) {
        playlists->restore(!stored.audio, stored.items.toList());
        changeListItem(stored.current);
    });
}

// libvlc missing or older than 2.1.0: the window stays up and the boxes that
// end the program follow from the event loop.
void PlayerWindow::checkEngine()
{
    if (!core->isLoaded()) {
        QTimer::singleShot(0, this, &PlayerWindow::playerFailedToLoad);
        return;
    }
    if (engineVersionTooOld(core->libvlcVersion()))
        QTimer::singleShot(0, this, &PlayerWindow::playerVersionTooOld);
}
