#include "startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegExp>
#include <QUrl>

namespace Startup {

const char *const videoPatterns =
    "*.3g2;*.3gp;*.3gp2;*.3gpp;*.amv;*.asf;*.avi;*.bin;*.divx;*.drc;*.dv;*f4v;*.flv;*.gvi;*.gxf;*.iso;*.m1v;"
    "*.m2v;*.m2t;*.m2ts;*.m4v;*.mkv;*.mov;*.mp2;*.mp2v;*.mp4;*.mp4v;*.mpe;*.mpeg;*.mpeg1;*.mpeg2;*.mpeg4;*.mpg;"
    "*.mpv2;*.mts;*.mtv;*.mxf;*.mxg;*.nsv;*.nuv;*.ogg;*.ogm;*.ogv;*.ogx;*.ps;*.rec;*.rm;*.rmvb;*.tod;*.ts;*.tts;"
    "*.vob;*.vro;*.webm;*.wm;*.wmv;*.wtv;*.xesc";

QStringList videoSuffixes()
{
    return QString::fromLatin1(videoPatterns)
        .split(QRegExp(QStringLiteral("[^\\w]"), Qt::CaseSensitive), Qt::SkipEmptyParts);
}

bool isVideoFile(const QString &startFile)
{
    static const QStringList suffixes = videoSuffixes();
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
