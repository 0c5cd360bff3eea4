#include "m3u.h"

#include "m3ulines.h"
#include "medialocation.h"
#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray Utf8Mark("\xEF\xBB\xBF");

void log(const M3uLogSink &sink, const char *format, const QString &outsideText)
{
    if (sink)
        sink(QString::fromLatin1(format).arg(outsideText.toHtmlEscaped()));
}

// Qt takes a leading ":" for its resource system: here it is a file name.
bool isAbsoluteFilePath(const QString &text)
{
    return !text.startsWith(QLatin1Char(':')) && QDir::isAbsolutePath(text);
}

// The canonical path of a written name under prefix: the line's own bytes
// when a file has them (a name that is not UTF-8), otherwise those of its
// decoded text (a Latin-1 list naming files by their UTF-8 names); empty when
// neither exists (realpath refuses every path that does not).
QByteArray writtenFile(const QByteArray &prefix, const QByteArray &line, const QString &text)
{
    const QByteArray asWritten = MediaLocation::canonicalPath(prefix + line);
    const QByteArray asText = QFile::encodeName(text);
    if (!asWritten.isEmpty() || asText == line)
        return asWritten;
    return MediaLocation::canonicalPath(prefix + asText);
}

M3uEntry resolveEntry(const QByteArray &line, const QString &text, const QString &playlistFolder)
{
    M3uEntry entry;
    entry.text = text;
    // No file name holds a NUL; the file system would cut the name there.
    if (text.contains(QChar::Null))
        return entry;
    // Native bytes throughout: a name that is not UTF-8 keeps its bytes.
    QByteArray canonical;
    if (MediaLocation::hasScheme(text)) {
        const QUrl url(text, QUrl::TolerantMode);
        if (!url.isValid())
            return entry;
        if (!url.isLocalFile()) {
            // QUrl normalises some hosts it accepts into ones it refuses
            // ("a.<U+FEFF>.b" becomes "a..b"): such a location could be
            // neither played nor saved.
            if (!QUrl(url.toString(), QUrl::TolerantMode).isValid())
                return entry;
            entry.kind = M3uEntryKind::Location;
            entry.url = url;
            return entry;
        }
        canonical = MediaLocation::canonicalPath(MediaLocation::nativePath(url));
    } else if (isAbsoluteFilePath(text)) {
        canonical = writtenFile(QByteArray(), line, text);
    } else {
        // An empty entry resolves to the folder itself.
        canonical = writtenFile(QFile::encodeName(playlistFolder) + '/', line, text);
    }
    if (canonical.isEmpty())
        return entry;
    entry.kind = M3uEntryKind::LocalFile;
    entry.url = MediaLocation::fileUrl(canonical);
    return entry;
}

} // namespace

QList<QUrl> M3uReadResult::urls(M3uEntryKind kind) const
{
    QList<QUrl> result;
    for (const M3uEntry &entry : entries) {
        if (entry.kind == kind)
            result.append(entry.url);
    }
    return result;
}

namespace {

// The entry loop over an open device: each entry goes to sink. Returns the
// number of entries; *readable is false when the device failed before any.
int walkEntries(QIODevice &device, const QString &playlistFolder, bool utf8, const M3uEntrySink &sink,
                const M3uLogSink &notice, const M3uLogSink &warning, const M3uLimits &limits, bool *readable)
{
    bool firstLine = true;
    QByteArray line;
    bool overlong = false;
    BoundedLineReader reader(device, qMax(limits.maxLineBytes, 1), limits.maxTotalBytes);
    bool cutByCount = false;
    int count = 0;
    int found = 0;
    int invalid = 0;
    while (reader.next(line, overlong)) {
        if (firstLine && line.startsWith(Utf8Mark)) {
            line.remove(0, Utf8Mark.size());
            utf8 = true;
        }
        firstLine = false;
        line = line.trimmed();
        if (line.startsWith('#'))
            continue;
        if (count >= limits.maxEntries) {
            cutByCount = true;
            break;
        }
        ++count;
        M3uEntry entry;
        if (overlong) {
            entry.text = decodeLine(line, utf8) + QStringLiteral("...");
        } else {
            entry = resolveEntry(line, decodeLine(line, utf8), playlistFolder);
        }
        if (entry.kind == M3uEntryKind::Invalid) {
            if (++invalid <= limits.maxLoggedEntries)
                log(warning, "[Main] Invalid item in playlist: %1", entry.text);
        } else if (++found <= limits.maxLoggedEntries) {
            log(notice, "[Main] Found item in playlist: %1", entry.text);
        }
        sink(std::move(entry));
    }
    if (notice && found > limits.maxLoggedEntries)
        notice(QStringLiteral("[Main] Found %1 more items in playlist").arg(found - limits.maxLoggedEntries));
    if (warning && invalid > limits.maxLoggedEntries)
        warning(QStringLiteral("[Main] %1 more invalid items in playlist").arg(invalid - limits.maxLoggedEntries));
    if (warning && cutByCount)
        warning(QStringLiteral("[Main] Playlist cut after %1 entries").arg(limits.maxEntries));
    if (warning && reader.cutBySize())
        warning(QStringLiteral("[Main] Playlist cut after %1 bytes").arg(limits.maxTotalBytes));
    *readable = !(reader.failed() && count == 0);
    if (warning && reader.failed() && count > 0)
        warning(QStringLiteral("[Main] Playlist cut by a read error after %1 entries").arg(count));
    return count;
}

M3uEntrySink collectInto(M3uReadResult &result)
{
    return [&result](M3uEntry &&entry) { result.entries.append(std::move(entry)); };
}

} // namespace

M3uReadResult readM3uEntries(QIODevice &device, const QString &playlistFolder, bool utf8,
                             const M3uLogSink &notice, const M3uLogSink &warning, const M3uLimits &limits)
{
    M3uReadResult result;
    walkEntries(device, playlistFolder, utf8, collectInto(result), notice, warning, limits, &result.opened);
    return result;
}

bool forEachM3uEntry(const QString &path, const M3uEntrySink &sink, const M3uLogSink &notice,
                     const M3uLogSink &warning, const M3uLimits &limits)
{
    const QFileInfo info(path);
    const QString playlistFolder = info.dir().canonicalPath();
    const bool utf8 = info.suffix().toLower() == QLatin1String("m3u8");
    QFile file(path);
    if (!openRegularFile(file, QIODevice::Text)) {
        log(warning, "[Main] Failed to read playlist: %1", path);
        return false;
    }
    log(notice, "[Main] Read playlist: %1", path);
    bool readable = false;
    walkEntries(file, playlistFolder, utf8, sink, notice, warning, limits, &readable);
    if (!readable)
        log(warning, "[Main] Failed to read playlist: %1", path);
    return readable;
}

M3uReadResult readM3u(const QString &path, const M3uLogSink &notice, const M3uLogSink &warning,
                      const M3uLimits &limits)
{
    M3uReadResult result;
    result.opened = forEachM3uEntry(path, collectInto(result), notice, warning, limits);
    return result;
}

namespace {

bool beyondAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return true;
    }
    return false;
}

// A line the reader would change: trimmed, taken for a comment, or split.
bool needsUrlForm(const QString &text)
{
    return text.startsWith(QLatin1Char('#')) || text != text.trimmed()
           || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

QString m3u8Name(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString folder = fileName.left(fileName.size() - name.size());
    return folder + base + QStringLiteral(".m3u8");
}

} // namespace

M3uWriteResult writeM3u(const QString &fileName, const QStringList &locations)
{
    const QFileInfo target(fileName);
    // The folder of the chosen file, which exists even when the file does not yet.
    const QString playlistFolder = QFileInfo(target.absolutePath()).canonicalFilePath();

    struct Item
    {
        bool local = false;
        QString path; // local file, as given
        QString location;
        QString encodedUrl; // set for a name that is not UTF-8: written so, it keeps its bytes
    };
    QList<Item> items;
    bool sameFolder = !playlistFolder.isEmpty();
    for (const QString &location : locations) {
        Item item;
        item.location = location;
        const QUrl url(location, QUrl::TolerantMode);
        const bool plainPath = url.scheme().isEmpty() && isAbsoluteFilePath(location);
        if (url.isLocalFile() || plainPath) {
            item.local = true;
            item.path = plainPath ? location : url.toLocalFile();
            if (!plainPath && !MediaLocation::isTextName(MediaLocation::nativePath(url)))
                item.encodedUrl = url.toString(QUrl::FullyEncoded);
            // Such a path shows U+FFFD in its name, not in its folder.
            const QString folder = item.encodedUrl.isEmpty()
                                       ? QFileInfo(item.path).canonicalPath()
                                       : QFileInfo(QFileInfo(item.path).path()).canonicalFilePath();
            if (sameFolder && folder != playlistFolder)
                sameFolder = false;
        }
        items.append(item);
    }

    QStringList lines;
    lines.reserve(items.size());
    for (const Item &item : qAsConst(items)) {
        if (!item.encodedUrl.isEmpty()) {
            lines.append(item.encodedUrl);
            continue;
        }
        if (!item.local) {
            lines.append(needsUrlForm(item.location)
                             ? QUrl(item.location, QUrl::TolerantMode).toString(QUrl::FullyEncoded)
                             : item.location);
            continue;
        }
        QString text = sameFolder ? QFileInfo(item.path).fileName()
                                  : QDir::toNativeSeparators(item.path);
        if (needsUrlForm(text))
            text = QUrl::fromLocalFile(item.path).toString(QUrl::FullyEncoded);
        lines.append(text);
    }

    M3uWriteResult result;
    result.fileName = fileName;
    bool utf8 = target.suffix() == QLatin1String("m3u8");
    if (!utf8) {
        for (const QString &line : qAsConst(lines)) {
            if (beyondAscii(line)) {
                result.fileName = m3u8Name(fileName);
                utf8 = true;
                break;
            }
        }
    }

    QSaveFile file(result.fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return result;
    for (const QString &line : qAsConst(lines)) {
        file.write(utf8 ? line.toUtf8() : line.toLatin1());
        file.write("\n");
    }
    result.written = file.commit();
    return result;
}
