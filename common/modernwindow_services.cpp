// ModernWindow: geometry per screen configuration, restore defaults, about,
// drive letters, the session-end block and the update-check slots.

#include "modernwindow.h"
#include "settingskeys.h"

#include "logdialog.h"
#include "modernaboutdialog.h"
#include "modernmessagebox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSettings>

namespace Common {

QChar ModernWindow::driveLetter(uint unitMask)
{
    int i = 0;
    for (; i < 26; ++i) {
        if (unitMask & (1u << i))
            break;
    }
    return QChar(QLatin1Char('A').unicode() + i);
}

// The block's bookkeeping is kept on every platform; X11 sessions offer no
// per-window end-of-session block, so registering one reports failure.
bool ModernWindow::blockShutdown(const QString &reason)
{
    if (shutdownWindow)
        releaseShutdownBlock();
    shutdownReason = reason;
    return false;
}

bool ModernWindow::releaseShutdownBlock()
{
    if (!shutdownWindow)
        return false;
    shutdownWindow = 0;
    shutdownReason.clear();
    return true;
}

bool ModernWindow::screensChanged()
{
    QSettings settings;
    settings.beginGroup(SettingsKey::desktopGroup);
    if (!settings.contains(SettingsKey::desktopScreens))
        return false;
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (settings.value(SettingsKey::desktopScreens).toInt() != screens.size())
        return true;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect stored = settings.value(SettingsKey::desktopScreenSize(i)).toRect();
        const QRect current = screens.at(i)->availableGeometry();
        if (current.width() < stored.width() || current.height() < stored.height())
            return true;
    }
    return false;
}

void ModernWindow::layoutDefault()
{
    if (logDialog)
        logDialog->restoreWindow();
    resize(600, 400);
    move(10, 10);
}

void ModernWindow::layoutLoadSettings()
{
    QSettings settings;
    if (!settings.contains(SettingsKey::layoutPosition)) {
        layoutDefault();
        return;
    }
    move(settings.value(SettingsKey::layoutPosition).toPoint());
    if (settings.value(SettingsKey::layoutFullscreen, false).toBool())
        showFullScreen();
    else
        resize(settings.value(SettingsKey::layoutSize).toSize());
}

void ModernWindow::layoutSaveSettings()
{
    QSettings settings;
    settings.setValue(SettingsKey::layoutFullscreen, isFullScreen());
    settings.setValue(SettingsKey::layoutPosition, pos());
    settings.setValue(SettingsKey::layoutSize, size());

    settings.beginGroup(SettingsKey::desktopGroup);
    settings.remove(QString());
    const QList<QScreen *> screens = QGuiApplication::screens();
    settings.setValue(SettingsKey::desktopScreens, screens.size());
    for (int i = 0; i < screens.size(); ++i)
        settings.setValue(SettingsKey::desktopScreenSize(i), screens.at(i)->availableGeometry());
}

void ModernWindow::closeEvent(QCloseEvent *event)
{
    layoutSaveSettings();
    saveSettingsNow(false); // the desktop is closing us: no box to hold it
    deleteLogDialog();
    event->accept();
}

void ModernWindow::appRestoreDefaultSettings()
{
    ModernMessageBox box(QMessageBox::Question, tr("Restore default settings"),
                         tr("Restore default options and preferences ?<br><br>%1 will be restarted to clear settings.")
                             .arg(QGuiApplication::applicationDisplayName()),
                         QMessageBox::Apply | QMessageBox::Cancel, this);
    if (box.exec() != QMessageBox::Apply)
        return;
    QSettings settings;
    settings.clear();
    settings.sync();
    QCoreApplication::exit(1001);
}

void ModernWindow::appToggleCheckUpdateAtStart(bool on)
{
    QSettings().setValue(SettingsKey::checkUpdate, on);
}

void ModernWindow::helpAbout()
{
    ModernAboutDialog dialog(buildYear(), QString(), QString(), qApp->property("appIcon").toString(), this);
    dialog.exec();
}

// The update client arrives with the update check; until then the check at
// start and on demand have nothing to run.
void ModernWindow::appUpdateCheckAtStart()
{
}

void ModernWindow::appUpdateReceived()
{
}

void ModernWindow::helpUpdate()
{
}

} // namespace Common
