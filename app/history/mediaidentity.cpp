#include "mediaidentity.h"

#include <QCryptographicHash>
#include <QFile>
#include <QUrl>

#include <algorithm>

namespace MediaIdentity {

namespace {
constexpr qint64 SampleBytes = 64 * 1024;
}

Kind kindOf(const QString &mrl)
{
    if (mrl.startsWith(QLatin1String("file://")))
        return Kind::File;
    if (mrl.startsWith(QLatin1String("cdda:")))
        return Kind::AudioCd;
    for (const char *prefix : {"dvd:", "bluray:", "vcd:", "dvdsimple:"}) {
        if (mrl.startsWith(QLatin1String(prefix)))
            return Kind::Disc;
    }
    return Kind::Url;
}

QString localPath(const QString &mrl)
{
    return kindOf(mrl) == Kind::File ? QUrl(mrl).toLocalFile() : QString();
}

QString fileKey(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const qint64 size = file.size();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(file.read(SampleBytes));
    if (size > SampleBytes && file.seek(std::max(SampleBytes, size - SampleBytes)))
        hash.addData(file.read(SampleBytes));
    if (file.error() != QFileDevice::NoError)
        return QString();
    return QStringLiteral("file:%1:%2").arg(size).arg(QString::fromLatin1(hash.result().toHex()));
}

QString discKey(const QString &mrl, int title)
{
    return QStringLiteral("disc:%1#%2").arg(mrl).arg(title);
}

QString urlKey(const QString &mrl)
{
    return QStringLiteral("url:") + mrl;
}

} // namespace MediaIdentity
