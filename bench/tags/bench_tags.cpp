// Generates N tagged MP3 files (default 10000) in a temporary folder and reads
// their five text frames with the tag reader, as a drop of N files would.
// Usage: bench_tags [N]

#include "id3tag.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>

namespace {

QByteArray syncsafe(quint32 v)
{
    const char bytes[] = {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F),
                          char(v & 0x7F)};
    return QByteArray(bytes, 4);
}

QByteArray frame(const QByteArray &id, const QByteArray &data)
{
    return id + syncsafe(quint32(data.size())) + QByteArray(2, '\0') + data;
}

// An ID3v2.4 tag like a tagger writes it: five UTF-8 texts with terminators,
// a cover picture ahead of some of them, padding; then some audio bytes.
QByteArray mp3File(int i)
{
    const QByteArray n = QByteArray::number(i);
    QByteArray body = frame("TPE1", "\x03" "Artist " + QByteArray::number(i % 97) + '\0')
                      + frame("APIC", "\x00" "image/jpeg\0\x03\0" + QByteArray(8192, '\x5a'))
                      + frame("TIT2", "\x03" "Title " + n + '\0')
                      + frame("TALB", "\x03" "Album " + QByteArray::number(i % 13) + '\0')
                      + frame("TRCK", "\x03" + QByteArray::number(i % 20 + 1) + "/20" + '\0')
                      + frame("TPOS", "\x03" "1\0" + QByteArray(1, '\0'));
    body += QByteArray(1024, '\0');
    return QByteArray("ID3\x04\x00\x00", 6) + syncsafe(quint32(body.size())) + body
           + QByteArray(16384, '\x55');
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir dir;
    if (count < 1 || !dir.isValid())
        return 1;

    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("track %1.mp3").arg(i));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(mp3File(i)) < 0)
            return 1;
        paths << path;
    }

    for (int pass = 1; pass <= 3; ++pass) {
        QElapsedTimer timer;
        timer.start();
        qint64 found = 0;
        for (const QString &path : qAsConst(paths))
            found += readMp3TagFields(path).size();
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("pass %d: %d files, %lld fields, %.3f s, %.0f files/s\n", pass, count,
                    static_cast<long long>(found), seconds, count / seconds);
    }
    return 0;
}
