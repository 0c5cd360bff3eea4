#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <QVector>

namespace LibPlayer {

// The preview pictures of one medium by time (milliseconds), bounded in
// bytes. A value class without locking: PreviewEngine guards the one it
// shares between its worker and the GUI thread.
class PreviewCache
{
public:
    struct Picture
    {
        qint64 timeMs = -1;
        QImage image;
        bool isNull() const { return image.isNull(); }
    };

    // 200 pictures of 160x120 RV32 fit.
    static constexpr qint64 DefaultCapBytes = 16 * 1024 * 1024;

    explicit PreviewCache(qint64 capBytes = DefaultCapBytes)
        : capBytes(capBytes)
    {
    }

    // Keeps the picture (replacing one of the same time); false, and the
    // picture dropped, when it would pass the cap.
    bool insert(qint64 timeMs, const QImage &image);
    // The picture closest in time; a null picture when there is none.
    Picture nearest(qint64 timeMs) const;
    // Whether a picture lies within toleranceMs of timeMs.
    bool covers(qint64 timeMs, qint64 toleranceMs) const;
    int count() const { return pictures.size(); }
    qint64 bytes() const { return usedBytes; }
    void clear();
    const QMap<qint64, QImage> &all() const { return pictures; }

    // The disk form: the key it was made for, then every picture as JPEG,
    // then a digest of all of it.
    QByteArray toBytes(const QString &key) const;
    // Replaces the content by what bytes hold; false (and the cache left
    // empty) when they are not an intact entry made for key.
    bool fromBytes(const QByteArray &bytes, const QString &key);

private:
    QMap<qint64, QImage> pictures;
    qint64 capBytes;
    qint64 usedBytes = 0;
};

// The disk cache of preview pictures: one file per medium, named after its
// key, in one folder whose total size is capped. Safe on any thread; two
// threads never work on the same file.
namespace PreviewStore {

constexpr qint64 DefaultFolderCapBytes = 200 * 1024 * 1024;

// "<cache location>/previews" of the application (QStandardPaths::
// CacheLocation: $XDG_CACHE_HOME/<organisation>/<application>). Call on the
// GUI thread.
QString defaultFolder();
QString fileFor(const QString &folder, const QString &key);
// Fills cache from the medium's file and marks the file as used now; false
// when there is none. A damaged file is removed without a word.
bool load(const QString &folder, const QString &key, PreviewCache &cache);
// Writes the medium's file whole or not at all, then removes the least
// recently used files until the folder is within capBytes.
bool save(const QString &folder, const QString &key, const PreviewCache &cache,
          qint64 capBytes = DefaultFolderCapBytes);
void trim(const QString &folder, qint64 capBytes);

} // namespace PreviewStore

// Times of the background pass over a medium of lengthMs: 100 steps, or one
// every 10 s when that gives more, at most 200, never closer than 500 ms;
// each in the middle of its step. Ordered coarse to fine, so that a pass cut
// short still covers the whole length.
QVector<qint64> previewPassTimes(qint64 lengthMs);

} // namespace LibPlayer
