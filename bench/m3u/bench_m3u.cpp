// Reads a generated playlist of N entries (default 100000): mostly files next
// to the playlist, some missing ones, some network locations, with extended
// directives; then writes the found entries back.
// Usage: bench_m3u [N]

#include "m3u.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    if (count < 1 || !dir.isValid())
        return 1;

    QFile list(dir.filePath(QStringLiteral("list.m3u8")));
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    list.write("#EXTM3U\n");
    for (int i = 0; i < count; ++i) {
        const QByteArray name = "Caf\xc3\xa9 " + QByteArray::number(i) + ".mp3";
        list.write("#EXTINF:180,Artist - Title " + QByteArray::number(i) + "\n");
        if (i % 20 == 0) {
            list.write("http://127.0.0.1:8000/stream" + QByteArray::number(i) + ".mp3\n");
        } else if (i % 20 == 1) {
            list.write("missing " + QByteArray::number(i) + ".mp3\n");
        } else {
            QFile media(dir.filePath(QString::fromUtf8(name)));
            if (!media.open(QIODevice::WriteOnly))
                return 1;
            list.write("  " + name + "\r\n");
        }
    }
    list.close();

    int lines = 0;
    const M3uLogSink collect = [&lines](const QString &) { ++lines; };
    for (int pass = 1; pass <= 3; ++pass) {
        lines = 0;
        QElapsedTimer timer;
        timer.start();
        const M3uReadResult result = readM3u(list.fileName(), collect, collect);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("read pass %d: %d entries (%d files, %d locations), %d log lines, %.3f s, %.0f entries/s\n",
                    pass, int(result.entries.size()), int(result.urls(M3uEntryKind::LocalFile).size()),
                    int(result.urls(M3uEntryKind::Location).size()), lines, seconds,
                    result.entries.size() / seconds);
        if (pass == 3) {
            QStringList locations;
            for (const QUrl &url : result.urls(M3uEntryKind::LocalFile))
                locations << url.toString();
            timer.restart();
            const M3uWriteResult written = writeM3u(dir.filePath(QStringLiteral("saved.m3u8")), locations);
            const double writeSeconds = timer.nsecsElapsed() / 1e9;
            std::printf("write: %d entries, %s, %.3f s, %.0f entries/s\n", int(locations.size()),
                        written.written ? "ok" : "failed", writeSeconds, locations.size() / writeSeconds);
        }
    }
    return 0;
}
