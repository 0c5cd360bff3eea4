#include "localfilegate.h"

#include "regularfile.h"
#include "userbox.h"

#include <QCoreApplication>
#include <QGuiApplication>

bool admitLocalFile(const QString &path, QWidget *parent, const std::function<void(const QString &)> &warning)
{
    const FileAccess access = checkRegularFile(path);
    if (access == FileAccess::Readable || access == FileAccess::Missing)
        return true;
    const char *line = access == FileAccess::NotRegular
                           ? QT_TRANSLATE_NOOP("LocalFileGate", "[Main] Not a regular file (a pipe, a device or a folder): %1")
                           : QT_TRANSLATE_NOOP("LocalFileGate", "[Main] File cannot be read: %1");
    if (warning)
        warning(QCoreApplication::translate("LocalFileGate", line).arg(path.toHtmlEscaped()));
    QGuiApplication::restoreOverrideCursor();
    showUserBox(parent, QMessageBox::Warning, QCoreApplication::translate("LocalFileGate", "Failed to play file"),
                QCoreApplication::translate("LocalFileGate", "%1 was not able to play this file.")
                    .arg(QGuiApplication::applicationDisplayName()));
    return false;
}
