#pragma once
// The media files inside a folder, for "Open folder..." and dropped folders.
// QtCore only; no state; may run on any thread (the walk of a large tree
// takes a while and belongs off the GUI thread).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <atomic>

namespace FolderWalk {

// Most files one folder gives: a whole disk dropped by mistake stops here.
constexpr int MaxFiles = 10000;

struct Result
{
    // Video and audio files as file URLs (byte-exact for names that are not
    // UTF-8): in each folder its own files first, then its sub-folders, each
    // group in natural order.
    QList<QUrl> files;
    bool truncated = false; // MaxFiles was reached; the rest was not looked at
};

// Natural order of two names: runs of digits compare by their value ("2"
// before "10"), the rest without regard to case; names equal that way
// compare by their text. Negative, 0 or positive like QString::compare.
int naturalCompare(const QString &a, const QString &b);

// Walks the folder (a native path) and everything below it. Names starting
// with a dot (hidden files and folders) are skipped; symbolic links are
// followed, but a folder already walked (a link back up the tree, or two
// links to one folder) is not walked again. Folders that cannot be read are
// skipped. Files count by their suffix (the video and audio tables). A stop
// flag set from another thread ends the walk early.
Result mediaFiles(const QByteArray &folder, int maxFiles = MaxFiles, const std::atomic_bool *stop = nullptr);

} // namespace FolderWalk
