#include "settingsfile.h"

#include <QFile>
#include <QSettings>

namespace Common {

QString flushSettings()
{
    QSettings settings;
    settings.sync();
    return settings.status() == QSettings::NoError ? QString() : settings.fileName();
}

QString keepUnreadableSettingsAside(const QDateTime &now)
{
    QString fileName;
    {
        QSettings settings;
        // Sections are parsed when first used: parse them all.
        settings.allKeys();
        if (settings.status() != QSettings::FormatError)
            return QString();
        fileName = settings.fileName();
    }
    const QString base = fileName + QStringLiteral(".corrupt-") + now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString target = base;
    for (int n = 2; QFile::exists(target); ++n)
        target = base + QStringLiteral("-%1").arg(n);
    // Later settings objects see the file gone and read the store afresh.
    return QFile::rename(fileName, target) ? target : QString();
}

} // namespace Common
