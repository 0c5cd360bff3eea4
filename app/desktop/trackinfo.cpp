#include "trackinfo.h"

#include "id3tag.h"
#include "instancefolder.h"
#include "medialocation.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

namespace Desktop {

TrackInfo readTrackInfo(const QString &location)
{
    TrackInfo info;
    const QUrl url(location);
    info.title = url.fileName();
    if (!url.isLocalFile() || !info.title.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive))
        return info;
    const std::optional<Id3Tag> tag =
        readId3Tag(QFile::decodeName(MediaLocation::nativePath(url)), true);
    if (!tag)
        return info;
    const QHash<QString, QString> fields = id3TextFields(*tag);
    if (!fields.value(QStringLiteral("Title")).isEmpty())
        info.title = fields.value(QStringLiteral("Title"));
    info.artist = fields.value(QStringLiteral("Artist"));
    info.album = fields.value(QStringLiteral("Album"));
    // "5/12" is track 5 of 12.
    info.trackNumber = fields.value(QStringLiteral("TrackNumber")).section(QLatin1Char('/'), 0, 0).toInt();
    if (const Id3Frame *frame = findId3Frame(*tag, "APIC")) {
        if (const std::optional<Id3Picture> picture = id3Picture(*frame)) {
            info.picture = picture->data;
            info.pictureMime = picture->mimeType;
        }
    }
    return info;
}

ArtFile::~ArtFile()
{
    remove();
}

void ArtFile::remove()
{
    if (!path.isEmpty())
        QFile::remove(path);
    path.clear();
}

QString ArtFile::write(quint64 serial, const TrackInfo &info)
{
    remove();
    if (info.picture.isEmpty())
        return QString();
    const QString folder = InstanceFolder::current().folder;
    if (folder.isEmpty())
        return QString();
    const char *suffix = info.pictureMime.contains("png") ? "png" : "jpg";
    const QString name = QStringLiteral("%1/player-tarn-art-%2-%3.%4")
                             .arg(folder)
                             .arg(QCoreApplication::applicationPid())
                             .arg(serial)
                             .arg(QLatin1String(suffix));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(info.picture) != info.picture.size()) {
        file.remove();
        return QString();
    }
    path = name;
    return QUrl::fromLocalFile(name).toString();
}

} // namespace Desktop
