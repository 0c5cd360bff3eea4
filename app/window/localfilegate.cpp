#include "localfilegate.h"

#include "regularfile.h"
#include "userbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

bool admitLocalFile(const QByteArray &nativePath, const std::function<void(const QString &)> &warning,
                    QWidget *boxParent)
{
    const FileAccess access = checkRegularFile(nativePath);
    if (access == FileAccess::Readable || access == FileAccess::Missing)
        return true;
    const QString name = QDir::toNativeSeparators(QFile::decodeName(nativePath));
    const char *line = access == FileAccess::NotRegular
                           ? QT_TRANSLATE_NOOP("LocalFileGate", "[Main] Not a regular file (a pipe, a device or a folder): %1")
                           : QT_TRANSLATE_NOOP("LocalFileGate", "[Main] File cannot be read: %1");
    if (warning)
        warning(QCoreApplication::translate("LocalFileGate", line).arg(name.toHtmlEscaped()));
    if (boxParent) {
        QGuiApplication::restoreOverrideCursor();
        Common::showUserBox(boxParent, QMessageBox::Warning,
                            QCoreApplication::translate("LocalFileGate", "Failed to play file"),
                            QCoreApplication::translate("LocalFileGate", "%1 was not able to play this file.")
                                    .arg(QGuiApplication::applicationDisplayName())
                                + QLatin1String("<br>") + name.toHtmlEscaped());
    }
    return false;
}
