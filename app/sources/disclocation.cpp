#include "disclocation.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const char *discScheme(int kind)
{
    switch (kind) {
    case 0:
        return "dvd";
    case 1:
        return "bluray";
    case 2:
        return "cdda";
    case 3:
        return "vcd";
    default:
        return nullptr;
    }
}

// The listed drive mounted at `folder`, or null.
const Platform::OpticalDrive *driveMountedAt(const QString &folder, const QList<Platform::OpticalDrive> &drives)
{
    const QString clean = QDir::cleanPath(folder);
    for (const Platform::OpticalDrive &drive : drives) {
        if (drive.location != drive.device && QDir::cleanPath(drive.location) == clean)
            return &drive;
    }
    return nullptr;
}

} // namespace

QString discEngineLocation(int kind, const QString &location, const QList<Platform::OpticalDrive> &drives)
{
    const char *scheme = discScheme(kind);
    if (!scheme || location.isEmpty())
        return QString();
    QString path = location;
    if (kind == int(DiscKind::AudioCd)) {
        if (const Platform::OpticalDrive *drive = driveMountedAt(location, drives))
            path = drive->device;
    }
    // libvlc reads the path part as a URL path: '#' would start a title and
    // chapter selection, '%' an escape.
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return QString::fromLatin1(scheme) + QStringLiteral("://")
           + QString::fromLatin1(QUrl::toPercentEncoding(absolute, QByteArrayLiteral("/")));
}

QString discEnginePath(int kind, const QString &location, const QList<Platform::OpticalDrive> &drives)
{
    const QString engineLocation = discEngineLocation(kind, location, drives);
    const int prefix = engineLocation.indexOf(QStringLiteral(":///"));
    return prefix < 0 ? QString() : engineLocation.mid(prefix + 4);
}

int audioCdTrackCount(const QString &location, const Platform::OpticalDrives &drives)
{
    if (location.isEmpty())
        return 0;
    if (QFileInfo(location).isDir()) {
        const int files = listDiscFolder(location).cdaFiles.size();
        if (files > 0)
            return files;
        const QList<Platform::OpticalDrive> listed = drives.drives();
        const Platform::OpticalDrive *drive = driveMountedAt(location, listed);
        return drive ? drives.discInfo(drive->device).audioTracks : 0;
    }
    return drives.discInfo(location).audioTracks;
}

std::optional<DiscKind> driveDiscKind(const QString &location, const QString &device,
                                      const Platform::OpticalDrives &drives)
{
    if (QFileInfo(location).isDir()) {
        if (const std::optional<DiscKind> kind = discKindOf(listDiscFolder(location)))
            return kind;
    }
    switch (drives.discInfo(device).content) {
    case Platform::DiscContent::Audio:
    case Platform::DiscContent::Mixed:
        return DiscKind::AudioCd;
    default:
        return std::nullopt;
    }
}
