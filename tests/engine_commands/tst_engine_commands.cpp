// Playback commands of the engine on real libvlc, drawing into a real X window.
#include "enginefixture.h"
#include "localhttpserver.h"

#include <QSignalSpy>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

using LibPlayer::Core;
using TarnTest::media;

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
    QStringList lines;
};

// Whether the pointer image the X server shows now has any visible pixel.
bool pointerVisible(Display *display)
{
    XFixesCursorImage *image = XFixesGetCursorImage(display);
    const bool visible = image && std::any_of(image->pixels, image->pixels + image->width * image->height,
                                              [](unsigned long pixel) { return pixel >> 24; });
    XFree(image);
    return visible;
}

// A location on 127.0.0.1 where nothing listens: the connection is refused at once.
QString refusedUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1/refused.ts").arg(probe.serverPort());
}

// Every state the engine announces, and how its opens ended.
struct StateRecorder
{
    explicit StateRecorder(Core *core)
    {
        QObject::connect(core, &Core::stateChanged, [this](Core::State state) { states << state; });
        QObject::connect(core, &Core::mediaStarted, [this] { ++started; });
        QObject::connect(core, &Core::mediaOpenFailed, [this] { ++failed; });
    }
    QList<Core::State> states;
    int started = 0;
    int failed = 0;
};

const QString unsafeStop = QStringLiteral("W [Core] Stop playback is not safe from core player (Windows blocking bug)");

} // namespace

class EngineCommandsTest : public QObject, private TarnTest::EngineFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useSilentAudio();
        QVERIFY(QFile::exists(media("av.mkv")));
    }

    void init() { QVERIFY(createEngine()); }
    void cleanup() { destroyEngine(); }

    void playOverPlayingPlayerLogsAndReports_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("log"); // in order; the last may end in a varying part
        const QString file = media("clip.ts");
        const QString url = QUrl::fromLocalFile(file).toString();
        // Outside text is escaped for the log window, which renders HTML.
        const QString missing = QDir::tempPath() + "/no such <file>.mkv";
        const QString noDisc = TarnTest::isolationDir().path();
        QTest::newRow("file") << "file" << 0 << file << true << QStringList{unsafeStop, "N [Core] Playing file: " + file};
        QTest::newRow("url") << "url" << 0 << url << true << QStringList{"N [Core] Playing URL: " + url};
        QTest::newRow("missing file") << "file" << 0 << missing << false
                                      << QStringList{unsafeStop, "E [Core] Failed to play media from file: " + missing.toHtmlEscaped()};
        QTest::newRow("DVD folder") << "disc" << 0 << media("dvd") << true
                                    << QStringList{unsafeStop, "N [Core] Playing disc: dvd:///" + media("dvd")};
        QTest::newRow("folder that is no disc")
            << "disc" << 1 << noDisc << false
            << QStringList{unsafeStop, "E [Core] Error libvlc: ", "E [Core] Failed to play media from disc: bluray:///" + noDisc};
        QTest::newRow("disc kind 4") << "disc" << 4 << media("dvd") << false << QStringList{};
        QTest::newRow("disc kind -1") << "disc" << -1 << media("dvd") << false << QStringList{};
    }

    void playOverPlayingPlayerLogsAndReports()
    {
        QFETCH(QString, command);
        QFETCH(int, kind);
        QFETCH(QString, path);
        QFETCH(bool, ok);
        QFETCH(QStringList, log);
        QVERIFY(startFile(media("av.mkv")));
        LogRecorder recorder(core.get());
        const bool accepted = command == "file" ? core->playFile(path)
                              : command == "url" ? core->playUrl(path)
                                                 : core->playDisc(kind, path);
        QTRY_VERIFY(core->state() != Core::State::Opening);
        QCOMPARE(accepted && core->state() != Core::State::Failed, ok);
        // What the medium reports once it plays is not the command's.
        QStringList seen = recorder.lines.filter(QRegularExpression("^[EW] |^N \\[Core\\] Playing"));
        const int outcome = seen.indexOf(QRegularExpression("(E \\[Core\\] Failed to play|N \\[Core\\] Playing ).*"));
        seen = seen.mid(0, outcome + 1);
        QVERIFY2(seen.size() == log.size(), qPrintable(recorder.lines.join('\n')));
        for (int i = 0; i < log.size(); ++i)
            QVERIFY2(seen.at(i) == log.at(i) || (log.at(i).endsWith(": ") && seen.at(i).startsWith(log.at(i))),
                     qPrintable(seen.at(i)));
        if (ok || log.isEmpty())
            QVERIFY(!core->isStopped());
        core->stopPlayback();
        QVERIFY(core->isStopped());
    }

    // The play commands return at once; the state and one outcome signal
    // follow from libvlc's events.
    void openReturnsAtOnceAndItsOutcomeFollows_data()
    {
        QTest::addColumn<QString>("location"); // a path, or a URL
        QTest::addColumn<QList<Core::State>>("states");
        QTest::addColumn<bool>("plays");
        using State = Core::State;
        QTest::newRow("good file") << media("av.mkv") << QList<State>{State::Opening, State::Playing} << true;
        QTest::newRow("broken file") << QDir::tempPath() + "/no such file.mkv"
                                     << QList<State>{State::Opening, State::Failed} << false;
        QTest::newRow("refused URL") << refusedUrl() << QList<State>{State::Opening, State::Failed} << false;
    }

    void openReturnsAtOnceAndItsOutcomeFollows()
    {
        QFETCH(QString, location);
        QFETCH(QList<Core::State>, states);
        QFETCH(bool, plays);
        StateRecorder recorder(core.get());
        QVERIFY(location.startsWith("http") ? core->playUrl(location) : core->playFile(location));
        QCOMPARE(core->state(), Core::State::Opening);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.states, states, 12000);
        QCOMPARE(recorder.started, plays ? 1 : 0);
        QCOMPARE(recorder.failed, plays ? 0 : 1);
        // A failed start keeps no player (nor its connection).
        QCOMPARE(core->isStopped(), !plays);
        core->stopPlayback();
        QCOMPARE(core->state(), Core::State::Stopped);
        QTRY_COMPARE(core->releasesPending(), 0);
    }

    // The window replaces its video widget at every open and destroys the
    // old one once no player draws into it: each widget is free as soon as
    // its own player is released, while later players still draw.
    void widgetIsFreeOnceItsPlayerIsReleased()
    {
        QWidget second;
        second.resize(160, 90);
        second.show();
        QSignalSpy released(core.get(), &Core::playerReleased);
        QVERIFY(core->playFile(media("av.mkv")));
        QTRY_COMPARE(core->state(), Core::State::Playing);
        QVERIFY(core->drawsInto(video.get()));
        QVERIFY(!core->drawsInto(&second));
        core->setVideoWidget(&second);
        QVERIFY(core->playFile(media("av.mkv")));
        QTRY_COMPARE(core->state(), Core::State::Playing);
        QVERIFY(core->drawsInto(&second));
        QTRY_COMPARE(released.count(), 1);
        QVERIFY(!core->drawsInto(video.get()));
        core->stopPlayback();
        QVERIFY(core->drawsInto(&second)); // until its release is over
        QTRY_COMPARE(released.count(), 2);
        QVERIFY(!core->drawsInto(&second));
        core->setVideoWidget(video.get());
    }

    // A server that accepts and never answers: the engine stays Opening
    // without holding the thread; a newer open wins and the abandoned
    // player's connection is closed.
    void newerOpenWinsOverAHangingOne()
    {
        TarnTest::LocalHttpServer server;
        server.reply.silent = true;
        StateRecorder recorder(core.get());
        QElapsedTimer returned;
        returned.start();
        QVERIFY(core->playUrl(server.base() + "/hang.ts"));
        QVERIFY2(returned.elapsed() < 1000, qPrintable(QString::number(returned.elapsed())));
        QTRY_COMPARE(server.requests.size(), 1);
        QTest::qWait(500);
        QCOMPARE(core->state(), Core::State::Opening);
        QCOMPARE(server.findChildren<QTcpSocket *>().size(), 1);

        QVERIFY(core->playFile(media("av.mkv")));
        QTRY_COMPARE(core->state(), Core::State::Playing);
        QCOMPARE(recorder.states, (QList<Core::State>{Core::State::Opening, Core::State::Playing}));
        QCOMPARE(recorder.started, 1);
        QTRY_COMPARE(core->releasesPending(), 0);
        QTRY_COMPARE(server.findChildren<QTcpSocket *>().size(), 0);
        QCOMPARE(recorder.failed, 0);
    }

    void seekReachesReceiversOutsideLibvlcOnceWhilePausedAndEngineMayGo()
    {
        bool insideCommand = false;
        int calledInside = 0;
        connect(core.get(), &Core::mediaPlayerTimeChanged, this, [&] { calledInside += insideCommand; });
        QVERIFY(core->playFile(media("av.mkv")));
        for (qint64 ms : {1000, 500, 2000}) {
            insideCommand = true;
            core->seek(ms);
            core->changeVolume(50);
            insideCommand = false;
            QTest::qWait(50);
        }

        core->pausePlayback();
        QTest::qWait(100); // time events queued before the pause
        QSignalSpy times(core.get(), &Core::mediaPlayerTimeChanged);
        core->seek(1500);
        QTest::qWait(200);
        QCOMPARE(times.count(), 1);
        QVERIFY(qAbs(times.first().first().toLongLong() - 1500) < 100);
        QCOMPARE(calledInside, 0);

        // The engine goes while it plays: anything queued for it is dropped with it.
        core->resumePlayback();
        core->seek(500);
        core.reset();
        QTest::qWait(200);
        // No engine exists: the callback must not look at its arguments at all.
        Core::handleEvent(nullptr, reinterpret_cast<void *>(quintptr(0x10)));
        core = std::make_unique<Core>();
        QVERIFY(core->playFile(media("clip.ts")));
    }

    // Before a player exists commands change nothing, except the volume,
    // which the next player takes.
    void commandsWithoutPlayerChangeNothingButVolume()
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
        QCOMPARE(times.count() + subtitles.count(), 0);
        QVERIFY(core->metadataKeys().isEmpty());

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

    void pointerOverVideoNeverHidesByItself()
    {
        Display *display = XOpenDisplay(nullptr);
        QVERIFY(display);
        const QPoint centre = video->mapToGlobal(video->rect().center());
        XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, centre.x(), centre.y());
        XFlush(display);
        QVERIFY(core->playFile(TarnTest::dataPath("../../resources/sample/sample.mp4")));
        // libvlc hides the pointer over its video after a second without motion.
        bool alwaysVisible = true;
        for (int wait = 0; wait < 9 && alwaysVisible; ++wait) {
            QTest::qWait(200);
            alwaysVisible = pointerVisible(display);
        }
        XCloseDisplay(display);
        QVERIFY(alwaysVisible);
    }
};

TARN_TEST_MAIN(EngineCommandsTest)
#include "tst_engine_commands.moc"
