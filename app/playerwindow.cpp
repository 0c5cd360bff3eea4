// PlayerWindow: construction, actions and menus, settings, hand-over, quit.

#include "playerwindow.h"
#include "settingskeys.h"

#include "platform.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

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

} // namespace

PlayerWindow::PlayerWindow(const QString &file, bool hideDebugMode, QWidget *parent, Qt::WindowFlags flags)
    : Common::ModernWindow(hideDebugMode, parent, flags)
    , startFile(file)
{
    if (!startFile.isEmpty())
        emit messageNotice(tr("[Main] Opening with --start %1").arg(startFile.toHtmlEscaped()));

    QSettings settings;
    if (settings.contains(SettingsKey::lastDisc))
        lastDisc = settings.value(SettingsKey::lastDisc).toString();
    if (settings.contains(SettingsKey::lastFile))
        lastFile = settings.value(SettingsKey::lastFile).toString();

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
    connectPlayerActions();
    applyTopBarStyle();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBar);
    layout->addStretch(1);
    layoutLoadSettings();

    if (!startFile.isEmpty())
        QTimer::singleShot(100, this, &PlayerWindow::start);
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
    if (Platform::defaultApplicationsChooserAvailable())
        associationsAction = new QAction(tr("Set as default player..."), this);
    videoInstanceAction = new QAction(tr("Open video in new window"), this);
    videoInstanceAction->setCheckable(true);
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

    // Help: Player online, Player FAQ, Blu-ray plugin, -, Report issue,
    // Check for updates, -, Mirelva online, About
    helpMenu->insertAction(reportAction, playerOnlineAction);
    helpMenu->insertAction(reportAction, faqAction);
    helpMenu->insertAction(reportAction, pluginAction);
    helpMenu->insertSeparator(reportAction);
    helpMenu->insertAction(aboutAction, mirelvaOnlineAction);
}

void PlayerWindow::connectPlayerActions()
{
    // actions -> window slots; the others are wired as their slots arrive
    connect(openFileAction, &QAction::triggered, this, [this] { openFile(); });
}

void PlayerWindow::applyTopBarStyle()
{
    topBar->setStyleSheet(QString::fromLatin1(playerTopBarStyle));
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
    if (f.isEmpty()) {
        f = QFileDialog::getOpenFileName(this, tr("Open file"), QFileInfo(lastFile).absolutePath());
        if (f.isEmpty())
            return;
    }
    lastFile = f;
}

void PlayerWindow::fileQuit()
{
    QSettings settings;
    settings.setValue(SettingsKey::lastDisc, lastDisc);
    settings.setValue(SettingsKey::lastFile, lastFile);
    Common::ModernWindow::fileQuit();
}

// The update client comes with the update check.
Common::UpdateHelper *PlayerWindow::createUpdateHelper(bool)
{
    return nullptr;
}

QString PlayerWindow::updateLinks()
{
    return QString();
}
