#pragma once
// The order in which dropped files join the player: MP3 files by their tags
// (artist, album, disc, track) when every one of them has a usable tag,
// otherwise by file name; then every other file by file name. Pure, except
// for the tag reader it is given.

#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

// Reads the text fields of an MP3 file ("Artist", "Album", "DiscNumber",
// "TrackNumber", ...) given its local path.
using Mp3TagReader = std::function<QHash<QString, QString>(const QString &path)>;

// Nothing is dropped: files with equal keys (the same file name in two
// folders, or the same artist, album, disc and track) are all kept, ordered by
// their full path. Keys compare by UTF-16 code units, case-sensitively. A
// track or disc number is the number before an optional "/" and total
// ("5/12" is 5); a text without one counts as 0. A track of 0, or a missing
// artist or album, makes every MP3 file go by name.
QList<QUrl> dropOrder(const QList<QUrl> &urls, const Mp3TagReader &readTags);
