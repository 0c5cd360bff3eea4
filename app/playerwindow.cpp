// PlayerWindow: construction, actions and menus, settings, the wiring of the
// controls and the engine, and the slots that delegate to the window's pieces.

#include "playerwindow.h"

#include "defaultplayer.h"
#include "desktopintegration.h"
#include "logdialog.h"
#include "playerhelp.h"
#include "platform.h"
#include "userbox.h"
#include "settingskeys.h"
#include "bottombar.h"
#include "endofmediagate.h"
#include "mediapresentation.h"
#include "overlaycontroller.h"
#include "playbacksession.h"
#include "playercommands.h"
#include "playershortcuts.h"
#include "singleapplication.h"
#include "videohost.h"
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
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char *const playerTopBarStyle =
    "QToolBar#AppTopBar { color: rgba(0,0,0,255); background-color: rgba(130,130,130,255); }"
    "QToolBar#AppTopBar QLabel { color: rgba(0,0,0,255); background-color: rgba(130,130,130,255);"
    " font-family: Segoe UI Semibold, Arial; font-size: 14px; qproperty-alignment: AlignCenter; }"
    "QToolBar#AppTopBar QToolButton { border: none; padding: 4px; }"
    "QToolBar#AppTopBar QToolButton:hover { background-color: rgba(198,186,186,255); }"
    "QToolBar#AppTopBar QToolButton:pressed { background-color: rgba(179,168,168,255); }"
    "QToolBar#AppTopBar QToolButton:checked { background-color: rgba(179,168,168,255); }"
    "QToolButton#AppIconButton::menu-indicator { image: none; }";

constexpr int MinimumVolume = 0;
constexpr int MaximumVolume = 150;
constexpr int DefaultVolume = 100;
// Delay of the start file after the window's construction began.
constexpr int StartFileDelayMs = 100;
constexpr int OverlayTicksDelayMs = 250;

// Another instance with the program's id runs: this is an additional video
// window (the user asked for a new window per video).
bool anotherInstanceRuns()
{
    const auto *single = qobject_cast<const SingleApplication *>(QCoreApplication::instance());
    return single && single->isRunning();
}

} // namespace

PlayerWindow::PlayerWindow(const QString &file, bool hideDebugMode, QWidget *parent, Qt::WindowFlags flags)
    : Common::ModernWindow(hideDebugMode, parent, flags)
    , startFile(file)
{
    if (!startFile.isEmpty()) {
        emit messageNotice(tr("[Main] Opening with --start %1").arg(startFile.toHtmlEscaped()));
        // The 100 ms run from here, not from the end of the construction
        // below: the window shows within them, and the file does not wait
        // for the building of the window on top of them.
        QTimer::singleShot(StartFileDelayMs, this, &PlayerWindow::start);
    }

    setMinimumSize(320, 180);
    fileMenu->menuAction()->setText(tr("Media"));

    iconButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    if (pinButton)
        pinButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    minimizeButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    closeButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    titleLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::MinimumExpanding);

    createPlayerActions();
    placePlayerActions();
    applyTopBarStyle();
    createPlayer();
    QSettings settings;
    if (settings.contains(SettingsKey::lastDisc))
        playback->setLastDisc(settings.value(SettingsKey::lastDisc).toString());
    if (settings.contains(SettingsKey::lastFile))
        playback->setLastFile(settings.value(SettingsKey::lastFile).toString());
    connectPlayerActions();
    wireControls();
    setTitleText(QGuiApplication::applicationDisplayName());

    // The grip is the only resize handle.
    setBorderResizeEnabled(false);
    windowGeometry->setAdditionalWindow(anotherInstanceRuns());
    if (screensChanged())
        layoutDefault();
    layoutLoadSettings();
    if (isFullScreen())
        bottomBar->fullscreenButton->setChecked(true);
    overlays->start(OverlayTicksDelayMs);
}

PlayerWindow::~PlayerWindow() = default;

void PlayerWindow::createPlayerActions()
{
    addSubtitleAction = new QAction(tr("Add subtitle file"), this);
    addSubtitleAction->setEnabled(false);
    faqAction = new QAction(tr("Player FAQ"), this);
    pluginAction = new QAction(tr("Blu-ray plugin"), this);
    playerOnlineAction = new QAction(tr("Player online"), this);
    mirelvaOnlineAction = new QAction(tr("Mirelva online"), this);
    openDiscAction = new QAction(tr("Open disc"), this);
    openFileAction = new QAction(tr("Open file"), this);
    openUrlAction = new QAction(tr("Open URL"), this);
    if (Desktop::DefaultPlayer::available())
        associationsAction = new QAction(tr("Set as default player..."), this);
    videoInstanceAction = new QAction(tr("Open video in new window"), this);
    videoInstanceAction->setCheckable(true);
    shortcutsAction = new QAction(tr("Keyboard shortcuts"), this);
    QSettings settings;
    if (settings.contains(SettingsKey::videoInstance))
        videoInstanceAction->setChecked(settings.value(SettingsKey::videoInstance).toBool());
}

void PlayerWindow::placePlayerActions()
{
    // Media: Open disc, Open file, Open URL, -, Add subtitle file, -, Quit
    fileMenu->insertAction(quitAction, openDiscAction);
    fileMenu->insertAction(quitAction, openFileAction);
    fileMenu->insertAction(quitAction, openUrlAction);
    fileMenu->insertSeparator(quitAction);
    fileMenu->insertAction(quitAction, addSubtitleAction);
    fileMenu->insertSeparator(quitAction);

    // Options: Check for updates at start, Open video in new window,
    // Set as default player..., -, Restore default settings
    optionsMenu->insertAction(optionsSeparator, videoInstanceAction);
    if (associationsAction)
        optionsMenu->insertAction(optionsSeparator, associationsAction);

    // Help: Player online, Player FAQ, Blu-ray plugin, Keyboard shortcuts, -,
    // Report issue, Check for updates, -, Mirelva online, About
    helpMenu->insertAction(reportAction, playerOnlineAction);
    helpMenu->insertAction(reportAction, faqAction);
    helpMenu->insertAction(reportAction, pluginAction);
    helpMenu->insertAction(reportAction, shortcutsAction);
    helpMenu->insertSeparator(reportAction);
    helpMenu->insertAction(aboutAction, mirelvaOnlineAction);
}

void PlayerWindow::connectPlayerActions()
{
    // actions -> window slots
    connect(addSubtitleAction, &QAction::triggered, this, &PlayerWindow::addSubtitleFile);
    connect(openFileAction, &QAction::triggered, this, [this] { openFile(); });
    connect(openUrlAction, &QAction::triggered, this, [this] { openUrl(); });
    connect(openDiscAction, &QAction::triggered, this, &PlayerWindow::openDisc);
    if (associationsAction)
        connect(associationsAction, &QAction::triggered, this, &PlayerWindow::optionsAssociations);
    connect(faqAction, &QAction::triggered, this, &PlayerWindow::helpFaq);
    connect(shortcutsAction, &QAction::triggered, this, &PlayerWindow::helpShortcuts);
    connect(pluginAction, &QAction::triggered, this, &PlayerWindow::helpMmplug);
    connect(playerOnlineAction, &QAction::triggered, this, &PlayerWindow::helpPlayer);
    connect(mirelvaOnlineAction, &QAction::triggered, this, &PlayerWindow::helpMirelva);
    connect(videoInstanceAction, &QAction::triggered, this, &PlayerWindow::optionsVideoInstance);
    connect(reportAction, &QAction::triggered, this, &PlayerWindow::helpReport);
}

void PlayerWindow::applyTopBarStyle()
{
    topBar->setStyleSheet(QString::fromLatin1(playerTopBarStyle));
}

// The video frame under the three overlays, the engine, the open flows and the
// playlist. The engine loads libvlc in the background; checkEngine runs once
// it is done.
void PlayerWindow::createPlayer()
{
    bottomBar = new BottomBar(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    core = std::make_unique<LibPlayer::Core>();
    const QList<QWidget *> overlayWidgets{topBar, bottomBar, bottomBar->timeSlider};
    videoHost = new VideoHost(core.get(), layout, overlayWidgets, this);
    for (QWidget *overlay : overlayWidgets)
        QTimer::singleShot(0, overlay, &QWidget::raise);

    PlaybackSession::Controls controls;
    controls.playButton = bottomBar->playButton;
    controls.timeSlider = bottomBar->timeSlider;
    controls.subtitleButton = bottomBar->subtitleButton;
    controls.cdTrackButton = bottomBar->cdTrackButton;
    controls.addSubtitleAction = addSubtitleAction;
    controls.overlays = overlayWidgets;
    playback = new PlaybackSession(core.get(), controls, this);
    playlists = new PlaylistController(core.get(), bottomBar->playlistButton, bottomBar->subtitleButton, this);
    overlays = new OverlayController(this, overlayWidgets, [this] { return bottomBar->popupMenus(appMenu); });
    endGate = new EndOfMediaGate([this] { return core->mediaSerial(); }, this);
    commands = new PlayerCommands(core.get(), bottomBar, &playlists->playlist(), this);
    desktop = new Desktop::DesktopIntegration({core.get(), commands, playlists, bottomBar->playButton,
                                               bottomBar->volumeControl, bottomBar->timeSlider},
                                              commands, this);
    shortcuts = new PlayerShortcuts(this, commands, videoHost, {openFileAction, openUrlAction, quitAction});

    WindowGeometry::Parts parts;
    parts.window = this;
    parts.bottomBar = bottomBar;
    parts.timeSlider = bottomBar->timeSlider;
    parts.grip = bottomBar->grip;
    parts.titleLabel = titleLabel;
    for (QWidget *button : {iconButton, pinButton, minimizeButton, closeButton}) {
        if (button)
            parts.titleButtons << button;
    }
    parts.layoutDefault = [this] { layoutDefault(); };
    windowGeometry = new WindowGeometry(parts, this);

    int volume = QSettings().value(SettingsKey::volume, DefaultVolume).toInt();
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
    logDialog->attachSender(engine);
    // engine loaded -> version check
    connect(engine, &Core::loadFinished, this, &PlayerWindow::checkEngine);

    // video frame (the current one) -> drops
    connect(videoHost, &VideoHost::uriDropped, this, &PlayerWindow::dropUri);

    // controls -> engine
    connect(bar->audioButton, &AudioToolButton::trackChanged, engine, &Core::changeAudio);
    connect(bar->cdTrackButton, &TrackToolButton::trackChanged, engine, &Core::changeCdaTrack);
    // the chosen track shows on the video frame at once, before the parse
    connect(bar->cdTrackButton, &TrackToolButton::trackChanged, this, &PlayerWindow::changeCdaTrack);
    connect(bar->playButton, &PlayToolButton::pause, engine, &Core::pausePlayback);
    connect(bar->playButton, &PlayToolButton::play, engine, &Core::resumePlayback);
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

    // engine -> window; the end of media passes the gate of the user flows
    connect(engine, &Core::displayRatioChanged, this, &PlayerWindow::changeDisplayRatio);
    connect(engine, &Core::mediaParseBegin, this, &PlayerWindow::mediaParseBegin);
    connect(engine, &Core::mediaParseEnd, this, &PlayerWindow::mediaParseEnd);
    connect(engine, &Core::mediaPlayerEndReached, endGate, &EndOfMediaGate::endReached);
    connect(endGate, &EndOfMediaGate::endDue, this, [this] { endPlayback(); });

    // open flows and playlist -> window
    connect(playback, &PlaybackSession::deletePlaylistRequested, playlists, &PlaylistController::deletePlaylist);
    connect(playback, &PlaybackSession::endRequested, this, &PlayerWindow::endPlayback);
    connect(playback, &PlaybackSession::playlistFileRequested, this, &PlayerWindow::readList);
    connect(playlists, &PlaylistController::playRequested, this, [this](const QString &location) { openUrl(location); });
    connect(playlists, &PlaylistController::endRequested, this, &PlayerWindow::endPlayback);
    connect(playlists, &PlaylistController::messageNotice, this, &PlayerWindow::messageNotice);
    connect(playlists, &PlaylistController::messageWarning, this, &PlayerWindow::messageWarning);
    connect(commands, &PlayerCommands::itemRequested, this, &PlayerWindow::changeListItem);
    connect(commands, &PlayerCommands::stopRequested, this, [this] { endPlayback(true); });

    // desktop (MPRIS) -> window
    connect(desktop, &Desktop::DesktopIntegration::openFileRequested, this, &PlayerWindow::openFile);
    connect(desktop, &Desktop::DesktopIntegration::openUrlRequested, this, &PlayerWindow::openUrl);
    connect(desktop, &Desktop::DesktopIntegration::raiseRequested, this, &PlayerWindow::needToShow);
    connect(desktop, &Desktop::DesktopIntegration::quitRequested, this, &PlayerWindow::fileQuit);
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

void PlayerWindow::handleMessage(const QString &message)
{
    startFile.clear(); // a request handed over before start runs replaces the start file
    openFile(message);
    emit needToShow();
}

void PlayerWindow::start()
{
    if (!startFile.isEmpty()) // cleared by a request handed over first
        openFile(startFile);
}

void PlayerWindow::openFile(QString f)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->openFile(f);
}

void PlayerWindow::openUrl(QString u)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->openUrl(u);
}

void PlayerWindow::openDisc()
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->openDisc();
}

void PlayerWindow::addSubtitleFile()
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->addSubtitleFile();
}

void PlayerWindow::dropUri(const QList<QUrl> &urls)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->dropUri(urls);
}

void PlayerWindow::dropUriSorted(const QList<QUrl> &urls)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->dropUriSorted(urls);
}

void PlayerWindow::readList(const QString &path)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->readList(path);
}

void PlayerWindow::changeListItem(int item)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->changeListItem(item);
}

void PlayerWindow::changeCdaTrack(int track)
{
    videoHost->frame()->setLines(tr("Audio CD"), tr("Track %1").arg(track));
    videoHost->frame()->update();
}

void PlayerWindow::mediaParseBegin()
{
    bottomBar->beginTrackParse();
}

void PlayerWindow::mediaParseEnd()
{
    const QStringList keys = core->metadataKeys();
    for (const QString &key : keys)
        emit messageNotice(tr("[Main] %1: %2").arg(key, core->metadata(key).toHtmlEscaped()));

    const MediaPresentation shown =
        presentMedia(core->metadata(QStringLiteral("Artist")), core->metadata(QStringLiteral("Title")),
                     core->noVideo(), bottomBar->cdTrackButton->currentTrack(),
                     QGuiApplication::applicationDisplayName());
    if (shown.audio) {
        const QStringList lines = shown.lines;
        videoHost->frame()->setLines(lines.value(0), lines.value(1), lines.value(2), lines.value(3));
        windowGeometry->useDefaultRatio();
        videoHost->frame()->update();
    }
    setTitleText(shown.titleText);
    bottomBar->endTrackParse();
}

void PlayerWindow::endPlayback(bool skipPlaylist)
{
    LibPlayer::TrackToolButton *cdTracks = bottomBar->cdTrackButton;
    if (!cdTracks->isEmpty() && !cdTracks->isLast()) {
        cdTracks->selectNext();
        return;
    }
    addSubtitleAction->setEnabled(false);
    bottomBar->resetAfterPlayback();
    setTitleText(QGuiApplication::applicationDisplayName());
    if (!core->isStopped())
        videoHost->replaceFrame();
    if (!skipPlaylist)
        playlists->advance();
}

void PlayerWindow::changeDisplayRatio(uint width, uint height)
{
    emit messageNotice(tr("[Main] Display ratio changed: %1/%2").arg(width).arg(height));
    windowGeometry->changeDisplayRatio(width, height);
}

void PlayerWindow::resizeBottomBar()
{
    windowGeometry->layoutBottomBar();
}

void PlayerWindow::layoutLoadSettings()
{
    windowGeometry->loadLayout();
}

bool PlayerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (windowGeometry)
        windowGeometry->filterEvent(watched, event);
    return Common::ModernWindow::eventFilter(watched, event);
}

void PlayerWindow::moveEvent(QMoveEvent *event)
{
    Common::ModernWindow::moveEvent(event);
    if (windowGeometry)
        windowGeometry->windowMoved();
}

void PlayerWindow::resizeEvent(QResizeEvent *event)
{
    Common::ModernWindow::resizeEvent(event);
    if (windowGeometry)
        windowGeometry->windowResized(event->size());
}

void PlayerWindow::toggleFullscreen(bool on)
{
    if (!on)
        overlays->restoreCursor();
    windowGeometry->setFullScreen(on);
}

void PlayerWindow::trackMouseCursor()
{
    overlays->tick();
}

void PlayerWindow::setTitleText(const QString &text)
{
    titleLabel->setText(text);
    windowGeometry->fitTitle(width());
    setWindowTitle(windowTitleFor(text, QGuiApplication::applicationDisplayName()));
}

void PlayerWindow::optionsAssociations()
{
    auto *defaultPlayer = new Desktop::DefaultPlayer(this);
    connect(defaultPlayer, &Desktop::DefaultPlayer::messageNotice, this, &PlayerWindow::messageNotice);
    connect(defaultPlayer, &Desktop::DefaultPlayer::messageWarning, this, &PlayerWindow::messageWarning);
    connect(defaultPlayer, &Desktop::DefaultPlayer::finished, defaultPlayer, &QObject::deleteLater);
    defaultPlayer->run();
}

void PlayerWindow::fileQuit()
{
    QSettings settings;
    settings.setValue(SettingsKey::lastDisc, playback->lastDisc());
    settings.setValue(SettingsKey::lastFile, playback->lastFile());
    settings.setValue(SettingsKey::volume, bottomBar->volumeControl->value());
    // The engine itself goes with the window, right after the event loop.
    core->stopPlayback();
    Common::ModernWindow::fileQuit();
}

// Help, update check, new-window option and fatal engine messages.

Common::UpdateHelper *PlayerWindow::createUpdateHelper(bool atStart)
{
    return PlayerHelp::createUpdateHelper(this, !hideDebug, atStart);
}

QString PlayerWindow::updateLinks()
{
    return PlayerHelp::updateLinks();
}

void PlayerWindow::appUpdateReceived()
{
    receiveUpdate(UpdateDialogStyle::Flat);
}

void PlayerWindow::helpUpdate()
{
    showUpdateCheck(UpdateDialogStyle::Flat);
}

void PlayerWindow::helpAbout()
{
    PlayerHelp::showAbout(this);
}

void PlayerWindow::helpReport()
{
    PlayerHelp::openReport(this, logDialog);
}

void PlayerWindow::helpFaq()
{
    PlayerHelp::openPage(PlayerProduct::Page::Faq);
}

void PlayerWindow::helpShortcuts()
{
    PlayerShortcuts::showHelp(this);
}

void PlayerWindow::helpMmplug()
{
    PlayerHelp::openPage(PlayerProduct::Page::BluRayPlugin);
}

void PlayerWindow::helpPlayer()
{
    PlayerHelp::openPage(PlayerProduct::Page::Home);
}

void PlayerWindow::helpMirelva()
{
    PlayerHelp::openPage(PlayerProduct::Page::Family);
}

void PlayerWindow::optionsVideoInstance()
{
    QSettings().setValue(SettingsKey::videoInstance, videoInstanceAction->isChecked());
}

void PlayerWindow::playerFailedToLoad()
{
    PlayerHelp::engineFailedToLoad(this);
}

void PlayerWindow::playerVersionTooOld()
{
    PlayerHelp::engineVersionTooOld(this, LibPlayer::Core::libvlcVersion());
}
