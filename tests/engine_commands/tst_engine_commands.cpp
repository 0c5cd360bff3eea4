// Playback commands of the engine on real libvlc, drawing into a real X window.
#include "core.h"
#include "tarntest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

using LibPlayer::Core;

namespace {

// Every log line of an engine, in order, tagged with its level.
struct LogRecorder
{
    explicit LogRecorder(Core *core)
    {
        QObject::connect(core, &Core::messageError, [this](const QString &m) { lines << "E " + m; });
        QObject::connect(core, &Core::messageWarning, [this](const QString &m) { lines << "W " + m; });
        QObject::connect(core, &Core::messageNotice, [this](const QString &m) { lines << "N " + m; });
    }
    int indexOf(const QString &line) const { return lines.indexOf(line); }
    QStringList lines;
};

QString media(const QString &name)
{
    return TarnTest::dataPath(QStringLiteral("media/") + name);
}

// Whether the pointer image the X server shows now has any visible pixel.
bool pointerVisible(Display *display)
{
    XFixesCursorImage *image = XFixesGetCursorImage(display);
    if (!image)
        return false;
    bool visible = false;
    for (int i = 0; i < image->width * image->height && !visible; ++i)
        visible = (image->pixels[i] >> 24) != 0;
    XFree(image);
    return visible;
}

} // namespace

class TestEngineCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void playFileStartsPlaybackAndLogsIt();
    void playFileOfMissingFileFails();
    void playDiscRejectsUnknownKindsSilently_data();
    void playDiscRejectsUnknownKindsSilently();
    void playDiscPlaysDvdFolder();
    void playDiscOfFolderThatIsNoDiscFails();
    void newPlayOverPlayingPlayerWarnsOnlyForFiles_data();
    void newPlayOverPlayingPlayerWarnsOnlyForFiles();
    void volumeWithoutPlayerAppliesToNextPlayer();
    void seekWhilePausedReportsNewTimeOnce();
    void seekWhilePlayingNeverCallsReceiversInsideLibvlc();
    void commandsWithoutPlayerChangeNothing();
    void pointerOverVideoNeverHidesByItself();
    void destroyingPlayingEngineIsSafe();
    void callbackAfterEngineIsGoneDoesNothing();

private:
    std::unique_ptr<QWidget> video;
    std::unique_ptr<Core> core;
};

void TestEngineCommands::initTestCase()
{
    // This machine has no sound card: a silent ALSA device gives libvlc a
    // working audio output, without which it ignores volume changes (read
    // before libvlc first opens ALSA).
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(media("alsa-null.conf")));
    QVERIFY(QFile::exists(media("av.mkv")));
}

void TestEngineCommands::init()
{
    video = std::make_unique<QWidget>();
    video->resize(320, 240);
    video->show();
    QVERIFY(QTest::qWaitForWindowExposed(video.get()));
    core = std::make_unique<Core>();
    QVERIFY(core->isLoaded());
    core->setVideoWidget(video.get());
}

void TestEngineCommands::cleanup()
{
    core.reset();
    video.reset();
}

void TestEngineCommands::playFileStartsPlaybackAndLogsIt()
{
    LogRecorder log(core.get());
    const QString path = media("av.mkv");
    QVERIFY(core->playFile(path));
    QVERIFY(!core->isStopped());
    QVERIFY(log.lines.contains("N [Core] Playing file: " + path));
    QVERIFY(log.lines.filter(QRegularExpression("^E ")).isEmpty());
}

void TestEngineCommands::playFileOfMissingFileFails()
{
    LogRecorder log(core.get());
    const QString path = QDir::tempPath() + "/no such <file>.mkv";
    QVERIFY(!core->playFile(path));
    // Outside text is escaped for the log window, which renders HTML.
    QVERIFY2(log.lines.contains("E [Core] Failed to play media from file: " + path.toHtmlEscaped()),
             qPrintable(log.lines.join('\n')));
}

void TestEngineCommands::playDiscRejectsUnknownKindsSilently_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("4") << 4;
    QTest::newRow("-1") << -1;
}

void TestEngineCommands::playDiscRejectsUnknownKindsSilently()
{
    QFETCH(int, kind);
    QVERIFY(core->playFile(media("av.mkv")));
    LogRecorder log(core.get());
    QVERIFY(!core->playDisc(kind, media("dvd")));
    QVERIFY(log.lines.isEmpty());
    QVERIFY(!core->isStopped());
}

void TestEngineCommands::playDiscPlaysDvdFolder()
{
    LogRecorder log(core.get());
    QVERIFY2(core->playDisc(0, media("dvd")), qPrintable(log.lines.join('\n')));
    QVERIFY(log.lines.contains("N [Core] Playing disc: dvd:///" + media("dvd")));
}

void TestEngineCommands::playDiscOfFolderThatIsNoDiscFails()
{
    QTemporaryDir folder;
    LogRecorder log(core.get());
    QVERIFY(!core->playDisc(1, folder.path()));
    const QStringList errors = log.lines.filter(QRegularExpression("^E "));
    QCOMPARE(errors.size(), 2);
    QVERIFY(errors.at(0).startsWith("E [Core] Error libvlc: "));
    QCOMPARE(errors.at(1), "E [Core] Failed to play media from disc: bluray:///" + folder.path());
    core->stopPlayback();
    QVERIFY(core->isStopped());
}

void TestEngineCommands::newPlayOverPlayingPlayerWarnsOnlyForFiles_data()
{
    QTest::addColumn<bool>("asUrl");
    QTest::newRow("file") << false;
    QTest::newRow("url") << true;
}

void TestEngineCommands::newPlayOverPlayingPlayerWarnsOnlyForFiles()
{
    QFETCH(bool, asUrl);
    QVERIFY(core->playFile(media("av.mkv")));
    LogRecorder log(core.get());
    const QString next = media("clip.ts");
    const QString url = QUrl::fromLocalFile(next).toString();
    QVERIFY(asUrl ? core->playUrl(url) : core->playFile(next));
    const int warning = log.indexOf("W [Core] Stop playback is not safe from core player (Windows blocking bug)");
    const int playing = log.indexOf(asUrl ? "N [Core] Playing URL: " + url : "N [Core] Playing file: " + next);
    QVERIFY(playing >= 0);
    if (asUrl)
        QCOMPARE(warning, -1);
    else
        QVERIFY(warning >= 0 && warning < playing);
}

void TestEngineCommands::volumeWithoutPlayerAppliesToNextPlayer()
{
    QCOMPARE(core->playerVolume(), -1);
    core->changeVolume(40);
    QVERIFY(core->playFile(media("av.mkv")));
    // libvlc may drop the volume while its audio output starts; the next
    // parse tick restores it.
    QTRY_COMPARE_WITH_TIMEOUT(core->playerVolume(), 40, 1500);
    core->changeVolume(75);
    QCOMPARE(core->playerVolume(), 75);
    QVERIFY(core->playFile(media("clip.ts")));
    QTRY_COMPARE_WITH_TIMEOUT(core->playerVolume(), 75, 1500);
}

void TestEngineCommands::seekWhilePausedReportsNewTimeOnce()
{
    QVERIFY(core->playFile(media("av.mkv")));
    core->pausePlayback();
    QTest::qWait(100); // time events queued before the pause
    QSignalSpy times(core.get(), &Core::mediaPlayerTimeChanged);
    core->seek(1500);
    QTest::qWait(200);
    QCOMPARE(times.count(), 1);
    QVERIFY(qAbs(times.first().first().toLongLong() - 1500) < 100);
}

void TestEngineCommands::seekWhilePlayingNeverCallsReceiversInsideLibvlc()
{
    bool insideCommand = false;
    int calledInside = 0;
    int received = 0;
    connect(core.get(), &Core::mediaPlayerTimeChanged, this, [&](qint64) {
        ++received;
        calledInside += insideCommand ? 1 : 0;
    });
    QVERIFY(core->playFile(media("av.mkv")));
    for (qint64 ms : {1000, 500, 2000}) {
        insideCommand = true;
        core->seek(ms);
        core->changeVolume(50);
        insideCommand = false;
        QTest::qWait(50);
    }
    QTRY_VERIFY(received > 0);
    QCOMPARE(calledInside, 0);
}

void TestEngineCommands::commandsWithoutPlayerChangeNothing()
{
    LogRecorder log(core.get());
    QSignalSpy times(core.get(), &Core::mediaPlayerTimeChanged);
    QSignalSpy subtitles(core.get(), &Core::subtitleFileAdded);
    core->pausePlayback();
    core->resumePlayback();
    core->seek(1000);
    core->changeAudio(1);
    core->changeSubtitle(1);
    core->changeSubtitle(media("sub.srt"));
    core->changeTitle(1);
    core->changeCdaTrack(2);
    core->parseMedia();
    core->stopPlayback();
    QTest::qWait(20);
    QVERIFY(core->isStopped());
    QCOMPARE(core->playerVolume(), -1);
    QVERIFY(log.lines.isEmpty());
    QCOMPARE(times.count(), 0);
    QCOMPARE(subtitles.count(), 0);
    QVERIFY(core->metadataKeys().isEmpty());
}

void TestEngineCommands::pointerOverVideoNeverHidesByItself()
{
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display);
    const QPoint centre = video->mapToGlobal(video->rect().center());
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, centre.x(), centre.y());
    XFlush(display);
    QVERIFY(core->playFile(TarnTest::dataPath("../../resources/sample/sample.mp4")));
    // libvlc hides the pointer over its video after a second without motion.
    bool alwaysVisible = true;
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 1800 && alwaysVisible) {
        QTest::qWait(200);
        alwaysVisible = pointerVisible(display);
    }
    XCloseDisplay(display);
    QVERIFY(alwaysVisible);
}

void TestEngineCommands::destroyingPlayingEngineIsSafe()
{
    QVERIFY(core->playFile(media("av.mkv")));
    core->stopPlayback();
    QVERIFY(core->isStopped());
    QVERIFY(core->playFile(media("av.mkv")));
    core->seek(500);
    core.reset();
    QTest::qWait(200); // anything queued for the engine is dropped with it
    core = std::make_unique<Core>();
    QVERIFY(core->playFile(media("clip.ts")));
}

void TestEngineCommands::callbackAfterEngineIsGoneDoesNothing()
{
    core.reset();
    // No engine exists: the callback must not look at its arguments at all.
    Core::handleEvent(nullptr, reinterpret_cast<void *>(quintptr(0x10)));
}

TARN_TEST_MAIN(TestEngineCommands)
#include "tst_engine_commands.moc"
