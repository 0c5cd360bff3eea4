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
    , m_hideDebug(hideDebugMode)
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
    m_quitAction = new QAction(tr("Quit"), this);
    m_aboutAction = new QAction(tr("About"), this);
    m_reportAction = new QAction(tr("Report issue"), this);
    m_updateAction = new QAction(tr("Check for updates"), this);
    m_updateAtStartAction = new QAction(tr("Check for updates at start"), this);
    m_updateAtStartAction->setCheckable(true);
    m_updateAtStartAction->setChecked(QSettings().value(SettingsKey::checkUpdate, true).toBool());
    m_restoreDefaultsAction = new QAction(tr("Restore default settings"), this);

    m_logAction = new QAction(tr("Log"), this);
    m_logAction->setCheckable(true);
    m_logAction->setChecked(m_logDialog && m_logDialog->isVisible());

    // actions -> frame slots
    connect(m_quitAction, &QAction::triggered, this, &ModernWindow::fileQuit);
    connect(m_aboutAction, &QAction::triggered, this, &ModernWindow::helpAbout);
    connect(m_updateAction, &QAction::triggered, this, &ModernWindow::helpUpdate);
    connect(m_updateAtStartAction, &QAction::triggered, this, &ModernWindow::appToggleCheckUpdateAtStart);
    connect(m_restoreDefaultsAction, &QAction::triggered, this, &ModernWindow::appRestoreDefaultSettings);
    connect(m_logAction, &QAction::triggered, this, &ModernWindow::appDebugLogMenu);
}

void ModernWindow::createMenus()
{
    m_fileMenu = std::make_unique<QMenu>(tr("File"));
    m_fileMenu->addAction(m_quitAction);

    m_optionsMenu = std::make_unique<QMenu>(tr("Options"));
    m_optionsMenu->addAction(m_updateAtStartAction);
    m_optionsSeparator = m_optionsMenu->addSeparator();
    m_optionsMenu->addAction(m_restoreDefaultsAction);

    m_helpMenu = std::make_unique<QMenu>(tr("Help"));
    m_helpMenu->addAction(m_reportAction);
    m_helpMenu->addAction(m_updateAction);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_aboutAction);

    if (!m_hideDebug) {
        m_debugMenu = std::make_unique<QMenu>(tr("Debug"));
        m_debugMenu->addAction(m_logAction);
    }
}

void ModernWindow::createTopBar()
{
    m_iconButton = propertyButton("appIconMenu", this);
    // The title takes the room the buttons leave, and only that: a long title
    // is shortened, never pushes a button out of the bar.
    m_titleLabel = new ElidedLabel(QGuiApplication::applicationDisplayName(), this);
    m_titleLabel->setObjectName(QStringLiteral("AppTitleLabel"));
    m_titleLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::MinimumExpanding);
    m_titleLabel->installEventFilter(this);
    m_minimizeButton = propertyButton("appMinimizeIcon", this);
    m_closeButton = propertyButton("appCloseIcon", this);
    if (qApp->property("appPinButton").isValid()) {
        m_pinButton = propertyButton("appPinButton", this);
        m_pinButton->setCheckable(true);
    }

    m_topBar = new QToolBar(this);
    m_topBar->setObjectName(QStringLiteral("AppTopBar"));
    m_topBar->setFloatable(true);
    m_topBar->setMovable(false);
    m_topBar->setStyleSheet(QString::fromLatin1(topBarStyle));
    m_topBar->layout()->setContentsMargins(0, 0, 0, 0);
    m_topBar->layout()->setSpacing(0);
    m_topBar->addWidget(m_iconButton);
    m_topBar->addWidget(m_titleLabel);
    if (m_pinButton)
        m_topBar->addWidget(m_pinButton);
    m_topBar->addWidget(m_minimizeButton);
    m_topBar->addWidget(m_closeButton);

    m_appMenu = new QMenu(this);
    m_appMenu->addMenu(m_fileMenu.get());
    m_appMenu->addMenu(m_optionsMenu.get());
    m_appMenu->addMenu(m_helpMenu.get());
    if (m_debugMenu)
        m_appMenu->addMenu(m_debugMenu.get());
    m_iconButton->setObjectName(QStringLiteral("AppIconButton"));
    m_iconButton->setPopupMode(QToolButton::InstantPopup);
    m_iconButton->setMenu(m_appMenu);

    // top-bar buttons -> frame
    connect(m_closeButton, &QToolButton::released, this, &ModernWindow::fileQuit);
    connect(m_minimizeButton, &QToolButton::released, this, &ModernWindow::showMinimized);
    if (m_pinButton)
        connect(m_pinButton, &QToolButton::toggled, this, &ModernWindow::appStayOnTop);
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
    m_topBar->resize(event->size().width(), m_topBar->height());
    event->accept();
}

bool ModernWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
        watchTopLevelWindow();
    // The inhibitor belongs to the process, not to the native window: a new
    // window only takes over the bookkeeping.
    if (event->type() == QEvent::WinIdChange && m_shutdownWindow && internalWinId())
        m_shutdownWindow = internalWinId();
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
    if (watched == m_watchedWindow && type == QEvent::Leave && !m_resizing && m_zoneFlags.any()) {
        m_zoneFlags.clear();
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

    if (watched == m_titleLabel && !m_zoneFlags.any() && mouse) {
        auto *mouseEvent = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonPress) {
            if (mouseEvent->buttons() == Qt::LeftButton) {
                m_dragOrigin = mouseEvent->globalPos();
                m_dragWindowOrigin = pos();
                m_dragging = true;
            }
        } else if (type == QEvent::MouseMove) {
            // From the press, not from the last step: a window that snaps to
            // a screen edge on its way still follows the pointer away again.
            if (mouseEvent->buttons() == Qt::LeftButton && m_dragging)
                move(m_dragWindowOrigin + mouseEvent->globalPos() - m_dragOrigin);
        } else {
            m_dragging = false;
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
    if (m_zoneFlags.any())
        QGuiApplication::restoreOverrideCursor();
    m_zoneFlags.clear();
    m_resizing = false;
}

bool ModernWindow::borderMouseMove(const QPoint &globalPos)
{
    if (m_resizing) {
        const QPoint delta = globalPos - m_resizeOrigin;
        m_resizeOrigin = globalPos;
        const QRect target = resizedGeometry(m_zoneFlags, QRect(pos(), size()), delta);
        resize(target.size());
        if (target.topLeft() != pos())
            move(target.topLeft());
        return false;
    }

    const ZoneChange change = trackPointer(m_zoneFlags, mapFromGlobal(globalPos), size());
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
    if (m_resizing || !m_zoneFlags.any())
        return false;
    m_resizeOrigin = globalPos;
    m_resizing = true;
    return true;
}

bool ModernWindow::borderMouseRelease()
{
    m_resizing = false;
    return false;
}

bool ModernWindow::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    // X11 sends no device-change or session-end messages to windows; the
    // pointer events of border resizing come through eventFilter.
    return QWidget::nativeEvent(eventType, message, result);
}

} // namespace Common
