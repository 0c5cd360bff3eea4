#pragma once

#include "startvalues.h"

#include "borderzones.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class QWindow;

namespace LibTarnCommon {
class LogDialog;
}

namespace Platform {
class ShutdownInhibitor;
}

namespace Common {

class UpdateHelper;

// The frameless, flat main-window base: a top bar with the application icon
// (opening the application menu), the title (drags the window), an optional
// stay-on-top pin, minimise and close; resizing by the borders; the File,
// Options, Help (and, in debug mode, Debug) menus; the log window.
//
// Reads the application properties "appIconMenu", "appMinimizeIcon",
// "appCloseIcon", "appPinButton" and "appIcon" (image paths).
// Settings: "Check update"; "Layout/Main/{position,size,fullscreen}";
// group "Desktop" with "screens" and "Screen N/size".
//
// The session-end block is a logind "delay" inhibitor on the system bus,
// held from blockShutdown to releaseShutdownBlock.
class ModernWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ModernWindow(bool hideDebug, QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~ModernWindow() override;

signals:
    void diskInserted(QChar letter);
    void diskRemoved(QChar letter);
    void messageError(const QString &message);
    void messageNotice(const QString &message);
    void messageWarning(const QString &message);

protected slots:
    virtual void appDebugChangeLogMenuOnHide();
    virtual void appDebugLogMenu();
    virtual void appDebugOpenStuff();
    virtual void appRestoreDefaultSettings();
    virtual void appStayOnTop(bool on);
    virtual void appToggleCheckUpdateAtStart(bool on);
    virtual void appUpdateCheckAtStart();
    virtual void appUpdateReceived();
    virtual void fileQuit();
    virtual void helpAbout();
    virtual void helpUpdate();

protected:
    // The application creates and configures its update client.
    virtual UpdateHelper *createUpdateHelper(bool atStart) = 0;
    // HTML for the links page of the update dialog.
    virtual QString updateLinks() = 0;
    virtual QChar driveLetter(uint unitMask);
    virtual bool releaseShutdownBlock();
    virtual bool blockShutdown(const QString &reason);
    virtual bool screensChanged();
    virtual void layoutDefault();
    virtual void layoutLoadSettings();
    // Writes the layout unless it is still the one remembered at start.
    virtual void layoutSaveSettings();
    // Remembers the layout as it is now, once it has been loaded.
    void rememberStartLayout();
    // Writes the settings store at once. When that fails: the warning
    // "[Main] Failed to save settings: FILE" in the log and on stderr and,
    // with showBox, one Warning box naming the file. Returns whether saved.
    bool saveSettingsNow(bool showBox);

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override;

    // The bodies of appUpdateReceived and helpUpdate, shared with
    // applications that show the flat dialog instead of the plain one.
    enum class UpdateDialogStyle { Plain, Flat };
    void receiveUpdate(UpdateDialogStyle style);
    void showUpdateCheck(UpdateDialogStyle style);

    // Border resizing, fed with the pointer's global position by the mouse
    // events of the top-level window. Return whether the event is consumed.
    bool borderMouseMove(const QPoint &globalPos);
    bool borderMousePress(const QPoint &globalPos);
    bool borderMouseRelease();
    // Off: the border band neither changes the cursor nor resizes the window
    // (for windows that offer a resize handle of their own). On by default.
    void setBorderResizeEnabled(bool on);

    bool m_hideDebug = true;
    bool m_dragging = false;
    QPoint m_dragOrigin;       // global pointer position at the press on the title
    QPoint m_dragWindowOrigin; // window position at that press
    BorderZoneFlags m_zoneFlags;
    QPoint m_resizeOrigin;
    bool m_resizing = false;

    QToolBar *m_topBar = nullptr;
    QToolButton *m_closeButton = nullptr;
    QToolButton *m_iconButton = nullptr;
    QToolButton *m_minimizeButton = nullptr;
    QToolButton *m_pinButton = nullptr;
    QLabel *m_titleLabel = nullptr;

    QAction *m_quitAction = nullptr;
    QAction *m_aboutAction = nullptr;
    QAction *m_reportAction = nullptr;
    QAction *m_updateAction = nullptr;
    QAction *m_updateAtStartAction = nullptr;
    QAction *m_restoreDefaultsAction = nullptr;
    QAction *m_optionsSeparator = nullptr;

    // The three menus have no parent: the application menu only shows them.
    std::unique_ptr<QMenu> m_fileMenu;
    std::unique_ptr<QMenu> m_optionsMenu;
    std::unique_ptr<QMenu> m_helpMenu;
    std::unique_ptr<QMenu> m_debugMenu; // null unless debug mode
    QMenu *m_appMenu = nullptr;

    QPointer<LibTarnCommon::LogDialog> m_logDialog;
    QAction *m_logAction = nullptr;

    // Check in progress, null when none; a child of this window, deleted
    // (later) when its check has been reported.
    UpdateHelper *m_updateHelper = nullptr;
    QString m_shutdownReason;
    WId m_shutdownWindow = 0; // the window of a registered block; 0 when none
    StartValues m_layoutAtStart;

private:
    void createActions();
    void createMenus();
    void createTopBar();
    void createLogDialog();
    void deleteLogDialog();
    void watchTopLevelWindow();
    void runUpdateDialog(UpdateDialogStyle style);
    void dropUpdateHelper();

    QPointer<QWindow> m_watchedWindow;
    bool m_borderResize = true;
    std::unique_ptr<Platform::ShutdownInhibitor> m_shutdownInhibitor;
};

} // namespace Common
