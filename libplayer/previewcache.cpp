#include "previewcache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace LibPlayer {

namespace {

constexpr quint32 Magic = 0x54505256; // "TPRV"
constexpr quint32 Version = 1;
constexpr int JpegQuality = 85;
constexpr int MaxPictures = 1000;
const char *const Suffix = ".previews";

qint64 bytesOf(const QImage &image)
{
    return image.sizeInBytes();
}

QByteArray digest(const QByteArray &payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha1);
}

} // namespace

bool PreviewCache::insert(qint64 timeMs, const QImage &image)
{
    if (image.isNull())
        return false;
    const auto existing = pictures.constFind(timeMs);
    const qint64 replaced = existing != pictures.constEnd() ? bytesOf(*existing) : 0;
    if (usedBytes - replaced + bytesOf(image) > capBytes)
        return false;
    usedBytes += bytesOf(image) - replaced;
    pictures.insert(timeMs, image);
    return true;
}

PreviewCache::Picture PreviewCache::nearest(qint64 timeMs) const
{
    if (pictures.isEmpty())
        return {};
    auto after = pictures.lowerBound(timeMs);
    if (after == pictures.constEnd())
        --after;
    else if (after != pictures.constBegin()) {
        const auto before = std::prev(after);
        if (timeMs - before.key() <= after.key() - timeMs)
            after = before;
    }
    return {after.key(), after.value()};
}

bool PreviewCache::covers(qint64 timeMs, qint64 toleranceMs) const
{
    const Picture closest = nearest(timeMs);
    return !closest.isNull() && std::abs(closest.timeMs - timeMs) <= toleranceMs;
}

void PreviewCache::clear()
{
    pictures.clear();
    usedBytes = 0;
}

QByteArray PreviewCache::toBytes(const QString &key) const
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_11);
    out << Magic << Version << key << quint32(pictures.size());
    for (auto it = pictures.constBegin(); it != pictures.constEnd(); ++it) {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        it.value().save(&buffer, "JPG", JpegQuality);
        out << it.key() << jpeg;
    }
    return payload + digest(payload);
}

bool PreviewCache::fromBytes(const QByteArray &bytes, const QString &key)
{
    clear();
    const int digestSize = QCryptographicHash::hashLength(QCryptographicHash::Sha1);
    if (bytes.size() <= digestSize)
        return false;
    const QByteArray payload = bytes.left(bytes.size() - digestSize);
    if (digest(payload) != bytes.right(digestSize))
        return false;
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_5_11);
    quint32 magic = 0;
    quint32 version = 0;
    QString storedKey;
    quint32 count = 0;
    in >> magic >> version >> storedKey >> count;
    if (in.status() != QDataStream::Ok || magic != Magic || version != Version || storedKey != key
        || count > MaxPictures)
        return false;
    for (quint32 i = 0; i < count; ++i) {
        qint64 timeMs = 0;
        QByteArray jpeg;
        in >> timeMs >> jpeg;
        QImage image;
        if (in.status() != QDataStream::Ok || !image.loadFromData(jpeg, "JPG")) {
            clear();
            return false;
        }
        insert(timeMs, image.convertToFormat(QImage::Format_RGB32));
    }
    return true;
}

namespace PreviewStore {

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/previews");
}

QString fileFor(const QString &folder, const QString &key)
{
    const QByteArray name = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder + QLatin1Char('/') + QString::fromLatin1(name) + QLatin1String(Suffix);
}

bool load(const QString &folder, const QString &key, PreviewCache &cache)
{
    QFile file(fileFor(folder, key));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (!cache.fromBytes(file.readAll(), key)) {
        file.close();
        file.remove();
        return false;
    }
    // Least recently used goes first when the folder is trimmed.
    file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    return true;
}

bool save(const QString &folder, const QString &key, const PreviewCache &cache, qint64 capBytes)
{
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(fileFor(folder, key));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(cache.toBytes(key));
    if (!file.commit())
        return false;
    trim(folder, capBytes);
    return true;
}

void trim(const QString &folder, qint64 capBytes)
{
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*") + QLatin1String(Suffix)}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.lastModified() < b.lastModified();
    });
    qint64 total = 0;
    for (const QFileInfo &info : qAsConst(files))
        total += info.size();
    for (const QFileInfo &info : qAsConst(files)) {
        if (total <= capBytes)
            break;
        if (QFile::remove(info.filePath()))
            total -= info.size();
    }
}

} // namespace PreviewStore

QVector<qint64> previewPassTimes(qint64 lengthMs)
{
    constexpr int BaseSteps = 100;
    constexpr int MostSteps = 200;
    constexpr qint64 LongStepMs = 10000;
    constexpr qint64 ShortestStepMs = 500;
    if (lengthMs <= 0)
        return {};
    int steps = int(std::clamp<qint64>((lengthMs + LongStepMs - 1) / LongStepMs, BaseSteps, MostSteps));
    steps = int(std::clamp<qint64>(lengthMs / ShortestStepMs, 1, steps));
    const double step = double(lengthMs) / steps;

    // Coarse to fine: every stride-th step, the stride halving each round.
    int stride = 1;
    while (stride < steps)
        stride *= 2;
    QVector<bool> taken(steps, false);
    QVector<qint64> times;
    times.reserve(steps);
    for (; stride >= 1; stride /= 2) {
        for (int i = 0; i < steps; i += stride) {
            if (!taken[i]) {
                taken[i] = true;
                times.append(qint64((i + 0.5) * step));
            }
        }
    }
    return times;
}

} // namespace LibPlayer
