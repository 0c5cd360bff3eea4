#include "mediapresentation.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PlayerWindow", text);
}

// The file name a title stands for. libvlc titles a local file without a
// title tag by its plain file name, "#", "%" and "?" included, so only a text
// with a scheme ("http://host/a%20b.mp3") is read as a URL.
QString titleFileName(const QString &text)
{
    if (text.contains(QLatin1String("://")))
        return QUrl(text).fileName(QUrl::FullyDecoded);
    return text.section(QLatin1Char('/'), -1);
}

} // namespace

MediaPresentation presentMedia(const QString &artist, const QString &title, bool noVideo, int cdTrack,
                               const QString &applicationName)
{
    MediaPresentation result;
    const QString fileName = titleFileName(title);
    if (!noVideo) {
        result.titleText = fileName.isEmpty() ? applicationName : fileName;
        return result;
    }
    result.audio = true;
    if (title.startsWith(QLatin1String("cdda:///")) && cdTrack >= 1) {
        const QString track = tr("Track %1").arg(cdTrack);
        result.lines = QStringList{tr("Audio CD"), track};
        result.titleText = tr("Audio CD - Track %1").arg(cdTrack);
    } else if (title.startsWith(QLatin1String("cdda:///"))) {
        result.lines = QStringList{tr("Audio CD")};
        result.titleText = tr("Audio CD");
    } else if (!artist.isEmpty() && !title.isEmpty()) {
        result.lines = QStringList{artist, title};
        result.titleText = artist + QLatin1String(" - ") + title;
    } else if (!fileName.isEmpty()) {
        result.lines = QStringList{tr("Playing audio"), fileName};
        result.titleText = fileName;
    } else {
        result.lines = QStringList{tr("Playing audio")};
        result.titleText = applicationName;
    }
    return result;
}

QString windowTitleFor(const QString &titleText, const QString &applicationName)
{
    if (titleText.isEmpty() || titleText == applicationName)
        return applicationName;
    return titleText + QStringLiteral(" \u2014 ") + applicationName;
}

bool engineVersionTooOld(const QString &versionText)
{
    static const QRegularExpression nonDigit(QStringLiteral("[^\\d]"));
    const QStringList numbers = versionText.split(nonDigit, Qt::SkipEmptyParts);
    if (numbers.size() < 3)
        return false;
    const int major = numbers.at(0).toInt();
    const int minor = numbers.at(1).toInt();
    return major < 2 || (major == 2 && minor < 1);
}
