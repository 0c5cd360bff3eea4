#include "modernwindow.h"
#include "settingskeys.h"

#include "elidedlabel.h"
#include "logdialog.h"
#include "platform.h"
#include "shutdowninhibitor.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QSettings>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace Common {

namespace {

const char *const topBarStyle =
    "QToolBar#AppTopBar { color: rgba(255,255,255,255); background-color: rgba(83,83,83,255); }"
    "QToolBar#AppTopBar QLabel { color: rgba(255,255,255,255); background-color: rgba(83,83,83,255);"
    " font-family: Segoe UI Semibold, Arial; font-size: 14px; qproperty-alignment: AlignCenter; }"
    "QToolBar#AppTopBar QToolButton { border: none; padding: 4px; }"
    "QToolBar#AppTopBar QToolButton:hover { background-color: rgba(231,40,56,255); }"
    "QToolBar#AppTopBar QToolButton:pressed { background-color: rgba(204,35,49,255); }"
    "QToolBar#AppTopBar QToolButton:checked { background-color: rgba(204,35,49,255); }"
    "QToolButton#AppIconButton::menu-indicator { image: none; }";

// A top-bar button showing the image named by an application property; no
// icon when the property's text is empty.
QToolButton *propertyButton(const char *property, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    const QString path = qApp->property(property).toString();
    if (!path.isEmpty())
        button->setIcon(QIcon(path));
    return button;
}

} // namespace

ModernWindow::ModernWindow(bool hideDebugMode, QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , hideDebug(hideDebugMode)
{
    setContentsMargins(0, 0, 0, 0);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_MouseTracking);

    createLogDialog();

    if (!QDir::setCurrent(QCoreApplication::applicationDirPath()))
        emit messageNotice(tr("[Main] Failed to set in application path: %1")
                               .arg(QDir::toNativeSeparators(QDir::currentPath()).toHtmlEscaped()));

    createActions();
    createMenus();
    createTopBar();

    if (QSettings().value(SettingsKey::checkUpdate, true).toBool())
        QTimer::singleShot(500, this, &ModernWindow::appUpdateCheckAtStart);
}

ModernWindow::~ModernWindow() = default;

void ModernWindow::createActions()
{
    quitAction = new QAction(tr("Quit"), this);
    aboutAction = new QAction(tr("About"), this);
    reportAction = new QAction(tr("Report issue"), this);
    updateAction = new QAction(tr("Check for updates"), this);
    updateAtStartAction = new QAction(tr("Check for updates at start"), this);
    updateAtStartAction->setCheckable(true);
    updateAtStartAction->setChecked(QSettings().value(SettingsKey::checkUpdate, true).toBool());
    restoreDefaultsAction = new QAction(tr("Restore default settings"), this);

    logAction = new QAction(tr("Log"), this);
    logAction->setCheckable(true);
    logAction->setChecked(logDialog && logDialog->isVisible());

    // actions -> frame slots
    connect(quitAction, &QAction::triggered, this, &ModernWindow::fileQuit);
    connect(aboutAction, &QAction::triggered, this, &ModernWindow::helpAbout);
    connect(updateAction, &QAction::triggered, this, &ModernWindow::helpUpdate);
    connect(updateAtStartAction, &QAction::triggered, this, &ModernWindow::appToggleCheckUpdateAtStart);
    connect(restoreDefaultsAction, &QAction::triggered, this, &ModernWindow::appRestoreDefaultSettings);
    connect(logAction, &QAction::triggered, this, &ModernWindow::appDebugLogMenu);
}

void ModernWindow::createMenus()
{
    fileMenu = std::make_unique<QMenu>(tr("File"));
    fileMenu->addAction(quitAction);

    optionsMenu = std::make_unique<QMenu>(tr("Options"));
    optionsMenu->addAction(updateAtStartAction);
    optionsSeparator = optionsMenu->addSeparator();
    optionsMenu->addAction(restoreDefaultsAction);

    helpMenu = std::make_unique<QMenu>(tr("Help"));
    helpMenu->addAction(reportAction);
    helpMenu->addAction(updateAction);
    helpMenu->addSeparator();
    helpMenu->addAction(aboutAction);

    if (!hideDebug) {
        debugMenu = std::make_unique<QMenu>(tr("Debug"));
        debugMenu->addAction(logAction);
    }
}

void ModernWindow::createTopBar()
{
    iconButton = propertyButton("appIconMenu", this);
    // The title takes the room the buttons leave, and only that: a long title
    // is shortened, never pushes a button out of the bar.
    titleLabel = new ElidedLabel(QGuiApplication::applicationDisplayName(), this);
    titleLabel->setObjectName(QStringLiteral("AppTitleLabel"));
    titleLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::MinimumExpanding);
    titleLabel->installEventFilter(this);
    minimizeButton = propertyButton("appMinimizeIcon", this);
    closeButton = propertyButton("appCloseIcon", this);
    if (qApp->property("appPinButton").isValid()) {
        pinButton = propertyButton("appPinButton", this);
        pinButton->setCheckable(true);
    }

    topBar = new QToolBar(this);
    topBar->setObjectName(QStringLiteral("AppTopBar"));
    topBar->setFloatable(true);
    topBar->setMovable(false);
    topBar->setStyleSheet(QString::fromLatin1(topBarStyle));
    topBar->layout()->setContentsMargins(0, 0, 0, 0);
    topBar->layout()->setSpacing(0);
    topBar->addWidget(iconButton);
    topBar->addWidget(titleLabel);
    if (pinButton)
        topBar->addWidget(pinButton);
    topBar->addWidget(minimizeButton);
    topBar->addWidget(closeButton);

    appMenu = new QMenu(this);
    appMenu->addMenu(fileMenu.get());
    appMenu->addMenu(optionsMenu.get());
    appMenu->addMenu(helpMenu.get());
    if (debugMenu)
        appMenu->addMenu(debugMenu.get());
    iconButton->setObjectName(QStringLiteral("AppIconButton"));
    iconButton->setPopupMode(QToolButton::InstantPopup);
    iconButton->setMenu(appMenu);

    // top-bar buttons -> frame
    connect(closeButton, &QToolButton::released, this, &ModernWindow::fileQuit);
    connect(minimizeButton, &QToolButton::released, this, &ModernWindow::showMinimized);
    if (pinButton)
        connect(pinButton, &QToolButton::toggled, this, &ModernWindow::appStayOnTop);
}

void ModernWindow::appStayOnTop(bool on)
{
    if (!Platform::setStayOnTop(this, on))
        emit messageWarning(QStringLiteral("[Main] The window manager could not be asked to keep the window on top"));
}

void ModernWindow::fileQuit()
{
    // Settings are checked while the log window can still show the failure,
    // and before the event loop is told to end: a box run after that would
    // return at once.
    layoutSaveSettings();
    saveSettingsNow(true);
    deleteLogDialog();
    QCoreApplication::exit(0);
}

void ModernWindow::resizeEvent(QResizeEvent *event)
{
    topBar->resize(event->size().width(), topBar->height());
    event->accept();
}

bool ModernWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
        watchTopLevelWindow();
    // The inhibitor belongs to the process, not to the native window: a new
    // window only takes over the bookkeeping.
    if (event->type() == QEvent::WinIdChange && shutdownWindow && internalWinId())
        shutdownWindow = internalWinId();
    return QWidget::event(event);
}

// The pointer events of the whole window, children included, pass through
// its QWindow before Qt hands them to the widget under the pointer: border
// resizing listens there, as the native frame would.
void ModernWindow::watchTopLevelWindow()
{
    QWindow *handle = windowHandle();
    if (!handle || handle == m_watchedWindow)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = handle;
    handle->installEventFilter(this);
}

bool ModernWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove
                       || type == QEvent::MouseButtonRelease;

    // A pointer that leaves the window from the border band takes the
    // resize cursor away with it.
    if (watched == m_watchedWindow && type == QEvent::Leave && !resizing && zoneFlags.any()) {
        zoneFlags.clear();
        QGuiApplication::restoreOverrideCursor();
        return false;
    }
    if (watched == m_watchedWindow && mouse && !isFullScreen() && m_borderResize) {
        auto *mouseEvent = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseMove)
            return borderMouseMove(mouseEvent->globalPos());
        if (mouseEvent->button() == Qt::LeftButton)
            return type == QEvent::MouseButtonPress ? borderMousePress(mouseEvent->globalPos()) : borderMouseRelease();
        return false;
    }

    if (watched == titleLabel && !zoneFlags.any() && mouse) {
        auto *mouseEvent = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonPress) {
            if (mouseEvent->buttons() == Qt::LeftButton) {
                dragOrigin = mouseEvent->globalPos();
                dragWindowOrigin = pos();
                dragging = true;
            }
        } else if (type == QEvent::MouseMove) {
            // From the press, not from the last step: a window that snaps to
            // a screen edge on its way still follows the pointer away again.
            if (mouseEvent->buttons() == Qt::LeftButton && dragging)
                move(dragWindowOrigin + mouseEvent->globalPos() - dragOrigin);
        } else {
            dragging = false;
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ModernWindow::setBorderResizeEnabled(bool on)
{
    m_borderResize = on;
    if (on)
        return;
    if (zoneFlags.any())
        QGuiApplication::restoreOverrideCursor();
    zoneFlags.clear();
    resizing = false;
}

bool ModernWindow::borderMouseMove(const QPoint &globalPos)
{
    if (resizing) {
        const QPoint delta = globalPos - resizeOrigin;
        resizeOrigin = globalPos;
        const QRect target = resizedGeometry(zoneFlags, QRect(pos(), size()), delta);
        resize(target.size());
        if (target.topLeft() != pos())
            move(target.topLeft());
        return false;
    }

    const ZoneChange change = trackPointer(zoneFlags, mapFromGlobal(globalPos), size());
    if (change.kind == ZoneChange::Kind::Enter) {
        if (change.restorePrevious)
            QGuiApplication::restoreOverrideCursor();
        QGuiApplication::setOverrideCursor(zoneCursor(change.zone));
    } else if (change.kind == ZoneChange::Kind::Leave) {
        QGuiApplication::restoreOverrideCursor();
    }
    return false;
}

bool ModernWindow::borderMousePress(const QPoint &globalPos)
{
    if (resizing || !zoneFlags.any())
        return false;
    resizeOrigin = globalPos;
    resizing = true;
    return true;
}

bool ModernWindow::borderMouseRelease()
{
    resizing = false;
    return false;
}

bool ModernWindow::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    // X11 sends no device-change or session-end messages to windows; the
    // pointer events of border resizing come through eventFilter.
    return QWidget::nativeEvent(eventType, message, result);
}

} // namespace Common
