// ModernWindow: the settings store written at quit, with its failure told.

#include "modernwindow.h"

#include "modernmessagebox.h"
#include "settingsfile.h"

#include <QGuiApplication>

namespace Common {

bool ModernWindow::saveSettingsNow(bool showBox)
{
    const QString failedFile = flushSettings();
    if (failedFile.isEmpty())
        return true;
    const QString line = tr("[Main] Failed to save settings: %1").arg(failedFile.toHtmlEscaped());
    emit messageWarning(line);
    // The log window goes with the window: leave a trace for the session log too.
    qWarning("%s", qUtf8Printable(line));
    if (showBox) {
        ModernMessageBox box(QMessageBox::Warning, tr("Failed to save settings"),
                             tr("%1 could not write its settings to %2.")
                                 .arg(QGuiApplication::applicationDisplayName(), failedFile.toHtmlEscaped()),
                             QMessageBox::Ok, this);
        box.exec();
    }
    return false;
}

} // namespace Common
