// PlayerWindow: construction, actions and menus, settings at quit, the
// hand-over, and the help and desktop slots. The player itself (engine,
// controls, wiring, media slots) is in playerwindow_player.cpp.

#include "playerwindow.h"

#include "defaultplayer.h"
#include "logdialog.h"
#include "pageopener.h"
#include "playerhelp.h"
#include "playersettingskeys.h"
#include "bottombar.h"
#include "mediapresentation.h"
#include "overlaycontroller.h"
#include "playbacksession.h"
#include "playerhistory.h"
#include "playlistcontroller.h"
#include "playershortcuts.h"
#include "singleapplication.h"
#include "windowgeometry.h"

#include "core.h"
#include "toolbutton.h"
#include "grip.h"
#include "volumecontrol.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>


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
    : PlayerWindow(file, hideDebugMode, nullptr, parent, flags)
{
}

PlayerWindow::PlayerWindow(const QString &file, bool hideDebugMode, std::unique_ptr<LibPlayer::Core> engine,
                           QWidget *parent, Qt::WindowFlags flags)
    : Common::ModernWindow(hideDebugMode, parent, flags)
    , startFile(file)
    , core(std::move(engine))
{
    if (!startFile.isEmpty()) {
        emit messageNotice(tr("[Main] Opening with --start %1").arg(startFile.toHtmlEscaped()));
        // The 100 ms run from here, not from the end of the construction
        // below: the window shows within them, and the file does not wait
        // for the building of the window on top of them.
        QTimer::singleShot(StartFileDelayMs, this, &PlayerWindow::start);
    }

    setMinimumSize(320, 180);
    m_fileMenu->menuAction()->setText(tr("Media"));

    m_iconButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    if (m_pinButton)
        m_pinButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    m_minimizeButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    m_closeButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);

    createPlayerActions();
    placePlayerActions();
    applyTopBarStyle();
    createPlayer();
    QSettings settings;
    if (settings.contains(PlayerSettingsKey::lastDisc))
        playback->setLastDisc(settings.value(PlayerSettingsKey::lastDisc).toString());
    if (settings.contains(PlayerSettingsKey::lastFile))
        playback->setLastFile(settings.value(PlayerSettingsKey::lastFile).toString());
    settingsAtStart.remember(PlayerSettingsKey::lastDisc, playback->lastDisc());
    settingsAtStart.remember(PlayerSettingsKey::lastFile, playback->lastFile());
    settingsAtStart.remember(PlayerSettingsKey::volume, bottomBar->volumeControl->value());
    connectPlayerActions();
    wireControls();
    setTitleText(QGuiApplication::applicationDisplayName());

    // The grip is the only resize handle.
    setBorderResizeEnabled(false);
    windowGeometry->setAdditionalWindow(anotherInstanceRuns());
    if (screensChanged())
        layoutDefault();
    layoutLoadSettings();
    rememberStartLayout();
    if (isFullScreen())
        bottomBar->fullscreenButton->setChecked(true);
    overlays->start(OverlayTicksDelayMs);
    if (startFile.isEmpty())
        history->restoreAtStart();
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
    openFolderAction = new QAction(tr("Open folder..."), this);
    mediaInfoAction = new QAction(tr("Media information"), this);
    openUrlAction = new QAction(tr("Open URL"), this);
    if (Desktop::DefaultPlayer::available())
        associationsAction = new QAction(tr("Set as default player..."), this);
    videoInstanceAction = new QAction(tr("Open video in new window"), this);
    videoInstanceAction->setCheckable(true);
    shortcutsAction = new QAction(tr("Keyboard shortcuts"), this);
    QSettings settings;
    if (settings.contains(PlayerSettingsKey::videoInstance))
        videoInstanceAction->setChecked(settings.value(PlayerSettingsKey::videoInstance).toBool());
}

void PlayerWindow::placePlayerActions()
{
    // Media: Open disc, Open file, Open folder..., Open URL, -, Add subtitle file,
    // Media information, -, Quit
    m_fileMenu->insertAction(m_quitAction, openDiscAction);
    m_fileMenu->insertAction(m_quitAction, openFileAction);
    m_fileMenu->insertAction(m_quitAction, openFolderAction);
    m_fileMenu->insertAction(m_quitAction, openUrlAction);
    m_fileMenu->insertSeparator(m_quitAction);
    m_fileMenu->insertAction(m_quitAction, addSubtitleAction);
    m_fileMenu->insertAction(m_quitAction, mediaInfoAction);
    m_fileMenu->insertSeparator(m_quitAction);

    // Options: Check for updates at start, Open video in new window,
    // Set as default player..., -, Restore default settings
    m_optionsMenu->insertAction(m_optionsSeparator, videoInstanceAction);
    if (associationsAction)
        m_optionsMenu->insertAction(m_optionsSeparator, associationsAction);

    // Help: Player online, Player FAQ, Blu-ray plugin, Keyboard shortcuts, -,
    // Report issue, Check for updates, -, Mirelva online, About
    m_helpMenu->insertAction(m_reportAction, playerOnlineAction);
    m_helpMenu->insertAction(m_reportAction, faqAction);
    m_helpMenu->insertAction(m_reportAction, pluginAction);
    m_helpMenu->insertAction(m_reportAction, shortcutsAction);
    m_helpMenu->insertSeparator(m_reportAction);
    m_helpMenu->insertAction(m_aboutAction, mirelvaOnlineAction);
}

void PlayerWindow::connectPlayerActions()
{
    // actions -> window slots
    connect(addSubtitleAction, &QAction::triggered, this, &PlayerWindow::addSubtitleFile);
    connect(openFileAction, &QAction::triggered, this, [this] { openFile(); });
    connect(openFolderAction, &QAction::triggered, this, &PlayerWindow::openFolder);
    connect(mediaInfoAction, &QAction::triggered, this, &PlayerWindow::showMediaInfo);
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
    connect(m_reportAction, &QAction::triggered, this, &PlayerWindow::helpReport);
}

void PlayerWindow::applyTopBarStyle()
{
    m_topBar->setStyleSheet(QString::fromLatin1(playerTopBarStyle));
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
    settingsAtStart.writeIfChanged(settings, PlayerSettingsKey::lastDisc, playback->lastDisc());
    settingsAtStart.writeIfChanged(settings, PlayerSettingsKey::lastFile, playback->lastFile());
    settingsAtStart.writeIfChanged(settings, PlayerSettingsKey::volume, bottomBar->volumeControl->value());
    history->quit(playlists->playlist());
    // The engine itself goes with the window, right after the event loop.
    core->stopPlayback();
    Common::ModernWindow::fileQuit();
}

// Help, update check, new-window option and fatal engine messages.

Common::UpdateHelper *PlayerWindow::createUpdateHelper(bool atStart)
{
    return PlayerHelp::createUpdateHelper(this, !m_hideDebug, atStart);
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
    PlayerHelp::openReport(this, m_logDialog);
}

void PlayerWindow::openHelpPage(PlayerProduct::Page page)
{
    auto *opener = new PageOpener(this);
    // opener's failure line -> log
    connect(opener, &PageOpener::messageWarning, this, &PlayerWindow::messageWarning);
    opener->open(QUrl(PlayerProduct::pageAddress(page)));
}

void PlayerWindow::helpFaq()
{
    openHelpPage(PlayerProduct::Page::Faq);
}

void PlayerWindow::helpShortcuts()
{
    PlayerShortcuts::showHelp(this);
}

void PlayerWindow::helpMmplug()
{
    openHelpPage(PlayerProduct::Page::BluRayPlugin);
}

void PlayerWindow::helpPlayer()
{
    openHelpPage(PlayerProduct::Page::Home);
}

void PlayerWindow::helpMirelva()
{
    openHelpPage(PlayerProduct::Page::Family);
}

void PlayerWindow::optionsVideoInstance()
{
    QSettings().setValue(PlayerSettingsKey::videoInstance, videoInstanceAction->isChecked());
}

void PlayerWindow::playerFailedToLoad()
{
    PlayerHelp::engineFailedToLoad(this);
}

void PlayerWindow::playerVersionTooOld()
{
    PlayerHelp::engineVersionTooOld(this, LibPlayer::Core::libvlcVersion());
}
