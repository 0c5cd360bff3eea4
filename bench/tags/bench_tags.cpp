// Generates tagged MP3 files in a temporary folder and reads their five text
// frames with the tag reader, as a drop of that many files would: N files
// (default 10000) with an 8 KiB cover, then N / 5 files with a 256 KiB cover,
// the size of a typical cover photo.
// Usage: bench_tags [N]

#include "id3tag.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <ctime>

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
QByteArray mp3File(int i, int pictureBytes)
{
    const QByteArray n = QByteArray::number(i);
    QByteArray body = frame("TPE1", "\x03" "Artist " + QByteArray::number(i % 97) + '\0')
                      + frame("APIC", "\x00" "image/jpeg\0\x03\0" + QByteArray(pictureBytes, '\x5a'))
                      + frame("TIT2", "\x03" "Title " + n + '\0')
                      + frame("TALB", "\x03" "Album " + QByteArray::number(i % 13) + '\0')
                      + frame("TRCK", "\x03" + QByteArray::number(i % 20 + 1) + "/20" + '\0')
                      + frame("TPOS", "\x03" "1\0" + QByteArray(1, '\0'));
    body += QByteArray(1024, '\0');
    return QByteArray("ID3\x04\x00\x00", 6) + syncsafe(quint32(body.size())) + body
           + QByteArray(16384, '\x55');
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

bool runScenario(int count, int pictureBytes)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return false;
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("track %1.mp3").arg(i));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(mp3File(i, pictureBytes)) < 0)
            return false;
        paths << path;
    }

    // Wall time and the process's CPU time: on a shared machine the second
    // is the steadier figure.
    for (int pass = 1; pass <= 3; ++pass) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuSeconds();
        qint64 found = 0;
        for (const QString &path : qAsConst(paths))
            found += readMp3TagFields(path).size();
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds() - cpuStart;
        std::printf("%d KiB cover, pass %d: %d files, %lld fields, %.3f s, %.0f files/s, %.0f files per CPU second\n",
                    pictureBytes / 1024, pass, count, static_cast<long long>(found), seconds, count / seconds,
                    count / cpu);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    if (count < 5)
        return 1;
    return runScenario(count, 8 * 1024) && runScenario(count / 5, 256 * 1024) ? 0 : 1;
}
