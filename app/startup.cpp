#include "startup.h"

#include "mediaformats.h"
#include "medialocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <cstdlib>
#include <unistd.h>
#endif

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

QString resolveStartFile(const QByteArray &startFile, const QByteArray &launchDirectory)
{
    const QString text = QFile::decodeName(startFile);
    if (startFile.isEmpty() || MediaLocation::hasScheme(text))
        return text;
    if (QDir::isAbsolutePath(text))
        return MediaLocation::pathOrLocation(startFile);
    // Latin-1 keeps every byte as one character through the path cleaning.
    const QString joined = QString::fromLatin1(launchDirectory + '/' + startFile);
    return MediaLocation::pathOrLocation(QDir::cleanPath(joined).toLatin1());
}

QByteArray currentDirectory()
{
#ifdef Q_OS_UNIX
    if (char *directory = ::getcwd(nullptr, 0)) {
        const QByteArray bytes(directory);
        std::free(directory);
        return bytes;
    }
#endif
    return QFile::encodeName(QDir::currentPath());
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
