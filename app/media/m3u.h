#pragma once
// Reader and writer of M3U and M3U8 playlist files. Only QtCore is used; no
// widgets, no settings, no message boxes: the caller shows those. Log lines
// ("[Main] ...", outside text HTML-escaped) go to the sinks the caller gives.
// Stateless; callable from any thread.
//
// File format: a text file of lines, UTF-8 for the suffix "m3u8" (compared
// lower-cased on reading); a file that starts with a UTF-8 byte-order mark is
// read as UTF-8 whatever its suffix. In any other file a line that is
// well-formed UTF-8 beyond ASCII is read as UTF-8 and every other line as
// Latin-1 (writing uses Latin-1 only for ASCII). Every line is trimmed; a line starting with "#" is a comment (this covers the extended M3U
// directives); every other line, an empty one included, is an entry.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QIODevice;

using M3uLogSink = std::function<void(const QString &)>;

enum class M3uEntryKind {
    LocalFile, // an existing file or folder: relative to the playlist's folder,
               // absolute, or a "file://" URL
    Location,  // a URL of another scheme ("http://", "rtsp://", ...), unchecked
    Invalid,   // nothing exists there, a URL that does not parse, or a line
               // longer than the limit
};

struct M3uEntry
{
    M3uEntryKind kind = M3uEntryKind::Invalid;
    QString text; // the entry as written, decoded and trimmed
    QUrl url;     // LocalFile: file URL of the canonical path; Location: the URL
};

// Bounds on what one playlist file may cost. A longer line is an invalid entry
// (read past in pieces, never held whole); entries after the last one allowed
// and bytes past the size bound are not read.
struct M3uLimits
{
    int maxLineBytes = 64 * 1024; // far beyond any real path or URL
    int maxEntries = 1000000;
    qint64 maxTotalBytes = qint64(256) << 20;
    // Found and invalid entries logged one by one, each kind; the rest are
    // counted in one line at the end.
    int maxLoggedEntries = 100;
};

struct M3uReadResult
{
    bool opened = false;     // false: not a regular file, or it could not be opened or read
    QList<M3uEntry> entries; // in file order, invalid ones included

    // Entries of one kind, in file order.
    QList<QUrl> urls(M3uEntryKind kind) const;
};

// Reads the playlist file at path, which must be a regular file (after
// following links): a named pipe, a device or a folder is refused unread, so
// nothing here ever waits. Logs to notice "[Main] Read playlist: %1" and
// "[Main] Found item in playlist: %1" per LocalFile or Location entry, to
// warning "[Main] Invalid item in playlist: %1" per invalid entry (an overlong
// line shows its start followed by "..."), beyond the limit of logged entries
// "[Main] Found %1 more items in playlist" and "[Main] %1 more invalid items
// in playlist", "[Main] Playlist cut after %1 entries" or "... after %1
// bytes" when the file holds more than the limits, and "[Main] Failed to read
// playlist: %1" when the file is refused or cannot be opened or read. Memory
// and time stay bounded by the limits, whatever the file's size; a file
// replaced while it is read is read as it was opened.
M3uReadResult readM3u(const QString &path, const M3uLogSink &notice = {},
                      const M3uLogSink &warning = {}, const M3uLimits &limits = {});
// readM3u handing each entry to sink, in file order, instead of keeping it.
// Returns false where readM3u's result would not be opened.
using M3uEntrySink = std::function<void(M3uEntry &&)>;
bool forEachM3uEntry(const QString &path, const M3uEntrySink &sink, const M3uLogSink &notice = {},
                     const M3uLogSink &warning = {}, const M3uLimits &limits = {});
// The entry loop of readM3u over an open device (text mode): relative entries
// resolve against playlistFolder, a canonical folder path.
M3uReadResult readM3uEntries(QIODevice &device, const QString &playlistFolder, bool utf8,
                             const M3uLogSink &notice = {}, const M3uLogSink &warning = {},
                             const M3uLimits &limits = {});

struct M3uWriteResult
{
    QString fileName;     // the name used: may differ from the one asked for
    bool written = false; // false: the file could not be written (nothing changed)
};

// Writes locations (playlist items as URL texts, "file:///..." for local
// files) to fileName, one line each, "\n" ended, without header or comments.
// - When every local file lies in the folder of fileName (the file itself
//   need not exist yet), local entries are bare file names, otherwise absolute
//   paths with native separators. Other locations are written unchanged.
// - An entry that a reader would trim or take for a comment (leading "#",
//   blanks at either end), and a local file whose name is not UTF-8, is
//   written percent-encoded: a local file as a "file://" URL, another
//   location in its fully encoded form.
// - Latin-1 is used unless the suffix is exactly "m3u8"; when an entry holds
//   a character beyond ASCII, the suffix is replaced by ".m3u8" (or appended
//   when there is none) and the file is written in UTF-8 under that name.
// The file is replaced in one step: a failed write leaves an old file intact.
M3uWriteResult writeM3u(const QString &fileName, const QStringList &locations);
