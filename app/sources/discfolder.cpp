#include "discfolder.h"

#include <QDir>
#include <QFileInfo>

DiscFolderListing listDiscFolder(const QString &path)
{
    if (path.isEmpty())
        return DiscFolderListing();
    const QDir dir(path);
    DiscFolderListing listing;
    listing.folders = dir.entryList(QDir::AllDirs | QDir::NoDotAndDotDot);
    // Name filters of QDir ignore case.
    listing.cdaFiles = dir.entryList({QStringLiteral("*.cda")}, QDir::Files);
    return listing;
}

std::optional<DiscKind> discKindOf(const DiscFolderListing &listing)
{
    if (listing.folders.contains(QStringLiteral("BDMV"), Qt::CaseInsensitive))
        return DiscKind::BluRay;
    if (listing.folders.contains(QStringLiteral("VIDEO_TS"), Qt::CaseInsensitive))
        return DiscKind::Dvd;
    for (const QString &file : listing.cdaFiles) {
        if (file.endsWith(QStringLiteral(".cda"), Qt::CaseInsensitive))
            return DiscKind::AudioCd;
    }
    return std::nullopt;
}

QString browsedDiscLocation(const QString &chosen, const DiscFolderListing &chosenListing)
{
    const QFileInfo folder(QDir::cleanPath(chosen));
    return discKindOf(chosenListing) ? folder.absoluteFilePath() : folder.absolutePath();
}
