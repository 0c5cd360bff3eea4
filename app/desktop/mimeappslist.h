#pragma once
// The default applications of the XDG MIME Applications files
// (mimeapps.list): reading the [Default Applications] group, rewriting it,
// and where those files are. Pure functions over the files' text, apart from
// the file locations, which come from the XDG environment.

#include <QHash>
#include <QString>
#include <QStringList>

namespace MimeAppsList {

// Desktop ids per media type in the [Default Applications] group, in the
// order listed. Other groups, comments and malformed lines are ignored.
QHash<QString, QStringList> defaultApplications(const QString &text);

// The text with each type of the [Default Applications] group set to the
// desktop id alone. Every other line stays as it was: other groups,
// comments, other types. The group is added at the end when missing.
QString withDefaults(const QString &text, const QStringList &types, const QString &desktopId);

// How many of the types a desktop does not already open with the desktop
// id: those whose first default, in the first of the texts (highest
// priority first) that names the type, is another application, and those
// no text names.
int typesToChange(const QStringList &types, const QString &desktopId, const QStringList &textsByPriority);

// The files that decide the default applications, highest priority first:
// mimeapps.list of the user's and the system's configuration directories,
// then of the user's and the system's applications data directories; each
// preceded by the variants of the current desktops ("gnome-mimeapps.list").
QStringList lookupFiles(const QByteArray &currentDesktops);

// The user's own file, where changes go.
QString userFile();

} // namespace MimeAppsList
