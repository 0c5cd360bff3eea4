// ModernWindow: geometry per screen configuration, restore defaults, about,
// drive letters, the session-end block and the update checks.

#include "modernwindow.h"
#include "settingskeys.h"

#include "frameservices.h"
#include "logdialog.h"
#include "modernaboutdialog.h"
#include "modernmessagebox.h"
#include "shutdowninhibitor.h"
#include "updatedialog.h"
#include "updatehelper.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QScreen>
#include <QSettings>

#include <algorithm>

namespace Common {

QChar ModernWindow::driveLetter(uint unitMask)
{
    return driveLetterOf(unitMask);
}

// A logind "delay" inhibitor of shutdown, held until releaseShutdownBlock.
// Where no logind answers (a container, another init system) nothing is
// registered and the result is false.
bool ModernWindow::blockShutdown(const QString &reason)
{
    if (m_shutdownWindow)
        releaseShutdownBlock();
    m_shutdownReason = reason;
    if (!m_shutdownInhibitor)
        m_shutdownInhibitor = std::make_unique<Platform::ShutdownInhibitor>(QDBusConnection::systemBus());
    if (!m_shutdownInhibitor->acquire(QGuiApplication::applicationDisplayName(), reason)) {
        emit messageWarning(tr("[Main] The session end could not be delayed: %1")
                                .arg(m_shutdownInhibitor->lastError().toHtmlEscaped()));
        return false;
    }
    m_shutdownWindow = winId();
    return true;
}

bool ModernWindow::releaseShutdownBlock()
{
    if (!m_shutdownWindow)
        return false;
    m_shutdownInhibitor->release();
    m_shutdownWindow = 0;
    m_shutdownReason.clear();
    return true;
}

bool ModernWindow::screensChanged()
{
    QSettings settings;
    settings.beginGroup(SettingsKey::desktopGroup);
    if (!settings.contains(SettingsKey::desktopScreens))
        return false;
    const QList<QScreen *> screens = QGuiApplication::screens();
    QList<QRect> stored;
    QList<QRect> current;
    for (int i = 0; i < screens.size(); ++i) {
        stored << settings.value(SettingsKey::desktopScreenSize(i)).toRect();
        current << screens.at(i)->availableGeometry();
    }
    return screenConfigurationChanged(settings.value(SettingsKey::desktopScreens).toInt(), stored, current);
}

void ModernWindow::layoutDefault()
{
    if (m_logDialog)
        m_logDialog->restoreWindow();
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

namespace {

// The layout as saved: in full screen the normal geometry is kept (on the
// same screen, and the size to come back to when full screen ends after a
// restart).
QVariantMap savedLayout(const QWidget *window)
{
    const bool fullScreen = window->isFullScreen();
    const QRect normal = fullScreen && window->normalGeometry().isValid() ? window->normalGeometry()
                                                                         : QRect(window->pos(), window->size());
    return {{SettingsKey::layoutFullscreen, fullScreen},
            {SettingsKey::layoutPosition, normal.topLeft()},
            {SettingsKey::layoutSize, normal.size()}};
}

} // namespace

void ModernWindow::rememberStartLayout()
{
    const QVariantMap layout = savedLayout(this);
    for (auto it = layout.cbegin(); it != layout.cend(); ++it)
        m_layoutAtStart.remember(it.key(), it.value());
}

void ModernWindow::layoutSaveSettings()
{
    const QVariantMap layout = savedLayout(this);
    if (std::all_of(layout.keyBegin(), layout.keyEnd(),
                    [&](const QString &key) { return m_layoutAtStart.holds(key, layout.value(key)); }))
        return;
    QSettings settings;
    for (auto it = layout.cbegin(); it != layout.cend(); ++it)
        settings.setValue(it.key(), it.value());

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

void ModernWindow::appUpdateCheckAtStart()
{
    if (m_updateHelper)
        return;
    m_updateHelper = createUpdateHelper(true);
    if (!m_updateHelper)
        return;
    // end of the silent check -> update dialog when an update exists
    connect(m_updateHelper, &UpdateHelper::done, this, &ModernWindow::appUpdateReceived);
    m_updateHelper->start();
}

void ModernWindow::appUpdateReceived()
{
    receiveUpdate(UpdateDialogStyle::Plain);
}

void ModernWindow::helpUpdate()
{
    showUpdateCheck(UpdateDialogStyle::Plain);
}

void ModernWindow::runUpdateDialog(UpdateDialogStyle style)
{
    if (style == UpdateDialogStyle::Flat) {
        ModernUpdateDialog dialog(m_updateHelper, updateLinks(), QString(), this);
        dialog.exec();
    } else {
        UpdateDialog dialog(m_updateHelper, updateLinks(), QString(), this);
        dialog.exec();
    }
}

void ModernWindow::receiveUpdate(UpdateDialogStyle style)
{
    if (!m_updateHelper)
        return;
    if (m_updateHelper->update() == QLatin1String("yes"))
        runUpdateDialog(style);
    dropUpdateHelper();
}

void ModernWindow::showUpdateCheck(UpdateDialogStyle style)
{
    if (!m_updateHelper) {
        m_updateHelper = createUpdateHelper(false);
        if (!m_updateHelper)
            return;
        m_updateHelper->start();
    } else {
        // The check at start still runs: only this dialog reports it.
        disconnect(m_updateHelper, &UpdateHelper::done, this, &ModernWindow::appUpdateReceived);
    }
    runUpdateDialog(style);
    dropUpdateHelper();
}

void ModernWindow::dropUpdateHelper()
{
    if (m_updateHelper)
        m_updateHelper->deleteLater();
    m_updateHelper = nullptr;
}

} // namespace Common
