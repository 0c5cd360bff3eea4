#include "droporder.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

struct Keyed
{
    QString key;
    QString fullPath;
    QUrl url;
};

void sortByKey(std::vector<Keyed> &entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const Keyed &a, const Keyed &b) {
        if (a.key != b.key)
            return a.key < b.key;
        return a.fullPath < b.fullPath;
    });
}

void appendUrls(QList<QUrl> &out, const std::vector<Keyed> &entries)
{
    for (const Keyed &entry : entries)
        out.append(entry.url);
}

// A track or disc frame holds a number, optionally followed by "/" and the
// total ("1/12", " 3 / 9 "); 0 when no number stands before the "/".
int positionNumber(const QString &text)
{
    bool ok = false;
    const int number = text.section(QLatin1Char('/'), 0, 0).trimmed().toInt(&ok);
    return ok ? number : 0;
}

QString tagKey(const QHash<QString, QString> &tags)
{
    const QString artist = tags.value(QStringLiteral("Artist"));
    const QString album = tags.value(QStringLiteral("Album"));
    const int disc = positionNumber(tags.value(QStringLiteral("DiscNumber")));
    const int track = positionNumber(tags.value(QStringLiteral("TrackNumber")));
    if (artist.isEmpty() || album.isEmpty() || track == 0)
        return QString();
    // Concatenated, not filled in with arg(): a tag may itself hold "%1".
    const auto number = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return artist + QLatin1Char(':') + album + QLatin1Char(':') + number(disc) + QLatin1Char(':') + number(track);
}

} // namespace

QList<QUrl> dropOrder(const QList<QUrl> &urls, const Mp3TagReader &readTags)
{
    std::vector<Keyed> byTags;
    std::vector<Keyed> mp3ByName;
    std::vector<Keyed> othersByName;
    bool allTagged = true;
    for (const QUrl &url : urls) {
        const QString decodedPath = url.path(QUrl::FullyDecoded);
        const QString fileName = url.fileName(QUrl::FullyDecoded);
        if (QFileInfo(decodedPath).suffix().toLower() != QLatin1String("mp3")) {
            othersByName.push_back({fileName, decodedPath, url});
            continue;
        }
        mp3ByName.push_back({fileName, decodedPath, url});
        // Once one file goes by name they all do: the other tags are not read.
        if (!allTagged)
            continue;
        const QString key = tagKey(readTags(url.toLocalFile()));
        if (key.isEmpty())
            allTagged = false;
        else
            byTags.push_back({key, decodedPath, url});
    }
    QList<QUrl> ordered;
    if (allTagged) {
        sortByKey(byTags);
        appendUrls(ordered, byTags);
    } else {
        sortByKey(mp3ByName);
        appendUrls(ordered, mp3ByName);
    }
    sortByKey(othersByName);
    appendUrls(ordered, othersByName);
    return ordered;
}
