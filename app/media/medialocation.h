#pragma once
// Texts that name media: local paths, "file://" locations and locations of
// other schemes, and the bytes of local file names behind them. QtCore only;
// stateless.
//
// A file name on this system is a byte string. Qt 5 turns names into QString
// as UTF-8 and replaces every byte that is not part of valid UTF-8 by U+FFFD
// (QFile::decodeName, QCoreApplication::arguments, QUrl::toLocalFile), and
// QFile::encodeName does not bring the byte back: such a QString path names
// another file. Those files therefore travel as "file://" locations whose
// path is percent-encoded byte by byte ("file:///films/lat%E9.mp4", which
// QUrl keeps as it is), and their bytes are taken back from the location
// only where the file system or libvlc is asked. A name that is valid UTF-8
// travels as its plain path, as every other file does.

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace MediaLocation {

// Whether text starts with "scheme://" with a scheme of at least two
// characters ("http://", "file:///", "rtsp://"), so that nothing that could be
// a relative file name or a drive letter is taken for a location.
bool hasScheme(const QString &text);
// Whether text is a "file://" location (scheme compared without case).
bool isFileLocation(const QString &text);

// Whether the bytes survive the trip through QString: a valid UTF-8 name.
bool isTextName(const QByteArray &nativePath);

// The file URL of an absolute native path; byte-exact for every name.
QUrl fileUrl(const QByteArray &nativePath);
// The location text of an absolute native path ("file:///...", the form
// QUrl::toString gives, with bytes beyond UTF-8 left percent-encoded).
QString fileLocation(const QByteArray &nativePath);
// The text that carries a local file: its plain path when the name is
// valid UTF-8, its location otherwise.
QString pathOrLocation(const QByteArray &nativePath);

// The native bytes of a local file URL (its percent-decoded path).
QByteArray nativePath(const QUrl &localFile);
// A plain path for display and folder choices: a location's path with bytes
// beyond UTF-8 shown as U+FFFD; a plain path unchanged.
QString displayPath(const QString &pathOrLocation);

// The canonical native path (links and "..", "." resolved) of an existing
// file or folder; empty when nothing exists there.
QByteArray canonicalPath(const QByteArray &nativePath);

// Whether an existing folder is there (links followed).
bool isFolder(const QByteArray &nativePath);

// The bytes of an absolute path whose text lost some of them (a name shown
// with U+FFFD, as Qt's own file dialog returns it): each damaged component
// is looked up in its folder among the names that show the same text. When
// the path exists as encoded, or a component matches no name or several, the
// plain encoding is returned.
QByteArray recoverNativePath(const QString &path);

} // namespace MediaLocation
