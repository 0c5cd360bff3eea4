#pragma once
// Files named by users (playlist files, media, subtitles, dropped files) are
// opened only when they are regular files: a named pipe, a device or a
// folder given in their place must never reach a reader or the engine
// (opening a pipe for reading waits for a writer, a device may never end).
// QtCore only; callable from any thread.

#include <QIODevice>
#include <QString>

class QFile;

enum class FileAccess {
    Readable,   // a regular file (after following links) this process can open
    Missing,    // nothing there, or a link that leads nowhere
    NotRegular, // a named pipe, a device, a socket or a folder
    Unreadable, // a regular file that cannot be opened for reading
};

// What a native path (the name's bytes) names, without reading from it or
// waiting on it.
FileAccess checkRegularFile(const QByteArray &nativePath);
FileAccess checkRegularFile(const QString &path);

inline bool isReadableRegularFile(const QString &path)
{
    return checkRegularFile(path) == FileAccess::Readable;
}

// Opens file (by its file name) read-only with the given extra flags when it
// is a regular file; false otherwise, with nothing opened. The file stays
// non-blocking and is checked on the handle it reads, so a pipe put in its
// place after a check is still refused.
bool openRegularFile(QFile &file, QIODevice::OpenMode extraFlags = QIODevice::NotOpen);
