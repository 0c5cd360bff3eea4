// Times the window's intake of many files: a drop of N tagged MP3 files (tag
// reading, ordering, the playlist, its menu, the log lines, then the first
// item's start) and the read of an M-entry playlist file. Prints the time
// until the drop slot returns and whether item 1 is playing by then.
// Settings and runtime files go to a temporary folder; audio to a silent device.
#include "core.h"
#include "listtoolbutton.h"
#include "logdialog.h"
#include "mp3writer.h"
#include "playerwindow.h"
#include "playlistcontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

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
    using PlayerWindow::logDialog;
    using PlayerWindow::dropUri;
    using PlayerWindow::playlists;
    using PlayerWindow::readList;
};

// Time until the log lines the slot left for the event loop are all shown.
qint64 settleNs(BenchWindow &window)
{
    QElapsedTimer timer;
    timer.start();
    window.logDialog->plainText();
    return timer.nsecsElapsed();
}

void report(const char *what, BenchWindow &window, qint64 ns)
{
    const bool playing = !window.core->isStopped();
    const qint64 settled = settleNs(window);
    std::printf("%-40s slot returned %6.3f s, item 1 playing: %s, log shown after %6.3f s   (%d items)\n", what,
                ns / 1e9, playing ? "yes" : "no", (ns + settled) / 1e9, window.playlists->playlist().size());
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
