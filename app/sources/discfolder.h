#pragma once
// Which disc a folder holds, and which folder a browsed choice stands for,
// decided from the folder's listing alone.

#include <QStringList>

#include <optional>

// The disc kinds of the engine's playDisc.
enum class DiscKind { Dvd = 0, BluRay = 1, AudioCd = 2 };

struct DiscFolderListing
{
    QStringList folders;  // names of the non-hidden sub-folders
    QStringList cdaFiles; // names of the files ending in ".cda", in any case
};

// Lists `path`; a missing or unreadable folder gives an empty listing.
DiscFolderListing listDiscFolder(const QString &path);

// First match wins: a sub-folder BDMV gives a Blu-ray disc, VIDEO_TS a DVD
// (either name in any case, as mounts of some discs show them in lower case),
// ".cda" track files an audio CD (a CD mounted from a system that shows its
// tracks as files). Otherwise no kind.
std::optional<DiscKind> discKindOf(const DiscFolderListing &listing);

// The location stored for a folder the user browsed to: the folder itself
// when it is a disc root (discKindOf finds a kind in its own listing), its
// parent otherwise, so that a chosen VIDEO_TS or BDMV folder stands for its
// disc.
QString browsedDiscLocation(const QString &chosen, const DiscFolderListing &chosenListing);
