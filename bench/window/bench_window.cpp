// Times the window's intake of many files: a drop of N tagged MP3 files (tag
// reading, ordering, the playlist, its menu, the log lines, then the first
// item's start) and the read of an M-entry playlist file. Prints the time
// until the drop slot returns and whether item 1 is playing by then.
// With --scale [N] (default 1000000) it reads instead, each in a fresh
// process, a playlist file of N lines all naming one existing file and one of
// N lines naming missing files, and prints the time, the longest stall of the
// event loop and the process's peak resident memory.
// Settings and runtime files go to a temporary folder; audio to a silent device.
#include "core.h"
#include "listtoolbutton.h"
#include "logdialog.h"
#include "modalanswerer.h"
#include "mp3writer.h"
#include "playerwindow.h"
#include "playlistcontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <QProcess>

#include <sys/resource.h>

#include <cstdio>

namespace {

class BenchWindow : public PlayerWindow
{
public:
    BenchWindow()
        : PlayerWindow(QString(), true)
    {
    }
    using PlayerWindow::changeListItem;
    using PlayerWindow::core;
    using PlayerWindow::m_logDialog;
    using PlayerWindow::dropUri;
    using PlayerWindow::playlists;
    using PlayerWindow::readList;
};

// Time until the log lines the slot left for the event loop are all shown.
qint64 settleNs(BenchWindow &window)
{
    QElapsedTimer timer;
    timer.start();
    window.m_logDialog->plainText();
    return timer.nsecsElapsed();
}

void report(const char *what, BenchWindow &window, qint64 ns)
{
    const bool playing = !window.core->isStopped();
    const qint64 settled = settleNs(window);
    std::printf("%-40s slot returned %6.3f s, item 1 playing: %s, log shown after %6.3f s   (%d items)\n", what,
                ns / 1e9, playing ? "yes" : "no", (ns + settled) / 1e9, window.playlists->playlist().size());
}

long residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> fields = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return fields.size() > 1 ? fields.at(1).toLong() * 4096 / (1024 * 1024) : 0;
}

long peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// One playlist file of `entries` lines through a fresh window, in this process.
int scaleRun(const QString &kind, int entries)
{
    QTemporaryDir folder;
    const QString song = QStringLiteral("Some Artist - Some Title of a Song.mp3");
    if (!TarnTest::writeMp3(folder.filePath(song), {{"TPE1", QStringLiteral("Some Artist")}}))
        return 1;
    QFile list(folder.filePath(QStringLiteral("list.m3u")));
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    const bool existing = kind == QLatin1String("existing");
    for (int i = 0; i < entries; ++i)
        list.write(existing ? song.toUtf8() + '\n' : "Missing Artist - Missing Title " + QByteArray::number(i) + ".mp3\n");
    list.close();

    const TarnTest::ModalAnswerer answerer; // closes the "Empty playlist" box
    BenchWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !window.core->isLoaded())
        return 1;
    QTest::qWait(200);
    const long beforeMb = peakRssMb();
    // The longest gap between two turns of a 20 ms timer: how long the window
    // could not answer.
    QElapsedTimer sinceTick;
    qint64 longestStallMs = 0;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStallMs = std::max(longestStallMs, sinceTick.restart());
    });
    sinceTick.start();
    ticker.start();
    QElapsedTimer timer;
    timer.start();
    window.readList(list.fileName());
    const qint64 readMs = timer.elapsed();
    longestStallMs = std::max(longestStallMs, sinceTick.elapsed());
    std::printf("%7d %-8s entries: readList %6.2f s, longest stall %6.2f s, %7d items, peak RSS %5ld MB "
                "(%ld MB before, %ld MB now)\n",
                entries, qPrintable(kind), readMs / 1e3, longestStallMs / 1e3, window.playlists->playlist().size(),
                peakRssMb(), beforeMb, residentMb());
    std::fflush(stdout);
    // The log lines the read left for the event loop, all shown.
    window.m_logDialog->plainText();
    std::printf("%7d %-8s entries: log shown after %6.2f s, peak RSS %5ld MB\n", entries, qPrintable(kind),
                timer.elapsed() / 1e3, peakRssMb());
    return 0;
}

int scaleBench(int entries)
{
    for (const char *kind : {"existing", "missing"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--scale-run"), QLatin1String(kind), QString::number(entries)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    qputenv("ALSA_CONFIG_PATH", TARN_TEST_DATA_DIR "/media/alsa-null.conf");
    qputenv("PLAYER_TARN_SERVER", "http://127.0.0.1:1");
    QApplication app(argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == QLatin1String("--scale"))
        return scaleBench(arguments.size() > 2 ? arguments.at(2).toInt() : 1000000);
    if (arguments.value(1) == QLatin1String("--scale-run") && arguments.size() > 3)
        return scaleRun(arguments.at(2), arguments.at(3).toInt());
    const int files = argc > 1 ? std::max(2, atoi(argv[1])) : 10000;
    const int entries = argc > 2 ? std::max(2, atoi(argv[2])) : 100000;

    QTemporaryDir folder;
    QList<QUrl> urls;
    for (int i = 0; i < files; ++i) {
        const QString path = folder.filePath(QStringLiteral("song %1.mp3").arg(i, 5, 10, QLatin1Char('0')));
        const QMap<QByteArray, QString> tags{{"TPE1", QStringLiteral("Artist %1").arg(i % 37)},
                                             {"TALB", QStringLiteral("Album %1").arg(i % 11)},
                                             {"TIT2", QStringLiteral("Song %1").arg(i)},
                                             {"TRCK", QString::number(i % 20 + 1)}};
        if (!TarnTest::writeMp3(path, tags))
            return 1;
        urls << QUrl::fromLocalFile(path);
    }
    QFile list(folder.filePath(QStringLiteral("list.m3u")));
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    for (int i = 0; i < entries; ++i)
        list.write(QStringLiteral("song %1.mp3\n").arg(i % files, 5, 10, QLatin1Char('0')).toUtf8());
    list.close();
    std::printf("libvlc %s; %d tagged MP3 files, a playlist file of %d entries\n",
                qPrintable(LibPlayer::Core::libvlcVersion()), files, entries);

    for (int round = 1; round <= 3; ++round) {
        BenchWindow window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window) || !window.core->isLoaded())
            return 1;
        QElapsedTimer timer;
        timer.start();
        window.dropUri(urls);
        report(qPrintable(QStringLiteral("round %1: drop of %2 files").arg(round).arg(files)), window,
               timer.nsecsElapsed());
        QTest::qWait(200);

        window.changeListItem(LibPlayer::ListToolButton::ejectPlaylistId);
        timer.restart();
        window.readList(list.fileName());
        report(qPrintable(QStringLiteral("round %1: playlist file of %2 entries").arg(round).arg(entries)), window,
               timer.nsecsElapsed());
        QTest::qWait(200);
    }
    return 0;
}
