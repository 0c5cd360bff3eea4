// libvlc events and the periodic media parse on real clips and a real X window.
#include "enginefixture.h"

#include <QScopeGuard>
#include <QTemporaryFile>

using LibPlayer::Core;
using TarnTest::media;

namespace {

// The engine's parse output as one ordered list of short lines.
struct ParseRecorder
{
    explicit ParseRecorder(Core *core)
    {
        QObject::connect(core, &Core::mediaParseBegin, [this] { events << "begin"; });
        QObject::connect(core, &Core::mediaParseEnd, [this] { events << "end"; });
        QObject::connect(core, &Core::mediaTrackVideo, [this](int id, const QString &) { events << QString("video %1").arg(id); });
        QObject::connect(core, &Core::mediaTrackAudio, [this](int id, const QString &) { events << QString("audio %1").arg(id); });
        QObject::connect(core, &Core::mediaTrackSubtitle, [this](int id, const QString &) { events << QString("subtitle %1").arg(id); });
        QObject::connect(core, &Core::messageNotice, [this](const QString &m) { messages << m; });
        QObject::connect(core, &Core::messageWarning, [this](const QString &m) { messages << m; });
    }
    int count(const QString &prefix) const { return events.filter(QRegularExpression("^" + prefix)).size(); }
    QStringList events;
    QStringList messages;
};

} // namespace

class EngineEventsTest : public QObject, private TarnTest::EngineFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { useSilentAudio(); }

    void init() { QVERIFY(createEngine()); }
    void cleanup() { destroyEngine(); }

    void clipGetsFullPassesUntilItsStreamsAreKnownThenEnds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("videoTracks"); // besides one audio track; also the display ratios reported
        QTest::addColumn<QStringList>("metadata"); // sorted by key
        QTest::newRow("one audio, one video") << "av.mkv" << 1 << QStringList{"Title=Engine clip"};
        QTest::newRow("transport stream") << "clip.ts" << 1 << QStringList{"Title=clip.ts"};
        QTest::newRow("audio only") << "audio.mp3" << 0 << QStringList{"Artist=Tarn Tests", "Title=Test Tone"};
    }

    void clipGetsFullPassesUntilItsStreamsAreKnownThenEnds()
    {
        QFETCH(QString, name);
        QFETCH(int, videoTracks);
        QFETCH(QStringList, metadata);
        ParseRecorder parse(core.get());
        QSignalSpy ratios(core.get(), &Core::displayRatioChanged);
        QSignalSpy ends(core.get(), &Core::mediaPlayerEndReached);
        QVERIFY(core->playFile(media(name)));
        QTest::qWait(400);
        for (int i = 0; i < 4; ++i) {
            core->parseMedia();
            QTest::qWait(100);
        }
        const QString events = parse.events.join(',');
        QCOMPARE(parse.count("begin"), 1);
        QVERIFY2(events.startsWith("begin,") && events.endsWith(",end"), qPrintable(events));
        QCOMPARE(parse.count("video "), videoTracks);
        QCOMPARE(parse.count("audio "), 1);
        QCOMPARE(parse.count("subtitle "), 0);
        // libvlc's "Disable" entries (id -1) are not announced.
        QVERIFY(!events.contains(" -1"));
        QStringList tracks{QString("[Core] Media tracks: %1 newly identified (total %1)").arg(videoTracks + 1)};
        if (!videoTracks)
            tracks << "[Core] Media tracks: no video detected";
        QCOMPARE(parse.messages.filter("[Core] Media tracks:"), tracks);
        QCOMPARE(core->noVideo(), videoTracks == 0);
        QCOMPARE(ratios.count(), videoTracks);
        if (videoTracks)
            QCOMPARE(ratios.first().mid(0, 2), (QList<QVariant>{160u, 120u}));
        QStringList known;
        for (const QString &key : core->metadataKeys())
            known << key + '=' + core->metadata(key);
        QCOMPARE(known, metadata);
        QCOMPARE(core->metadata("Album"), QString());

        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), 1, 8000);
        QVERIFY(parse.messages.contains("[Core] Playback end reached"));
        // The window stops the engine from its end-of-media slot: that must not hang.
        core->stopPlayback();
        QVERIFY(core->isStopped());
    }

    void everyShortMediumEndsOnceAndOnlyForItself()
    {
        // The silent device plays a 0.5 s song in about 0.1 s: its end comes
        // while the start is still being confirmed, and must not be lost.
        QSignalSpy ends(core.get(), &Core::mediaPlayerEndReached);
        for (int round = 1; round <= 5; ++round) {
            QVERIFY(core->playFile(media("short.mp3")));
            QTRY_COMPARE_WITH_TIMEOUT(ends.count(), round, 3000);
            core->stopPlayback();
        }
        // An end that libvlc reported for a song whose player is gone by the
        // time the GUI thread looks never ends the next medium.
        QVERIFY(core->playFile(media("short.mp3")));
        QThread::msleep(600); // the end is queued meanwhile
        QVERIFY(core->playFile(media("av.mkv")));
        QTest::qWait(400);
        QCOMPARE(ends.count(), 5);
    }

    void songPlaysToItsEndWithoutASoundDevice()
    {
        // A machine without a sound card: the output loses every buffer. The
        // song still plays (on the clock) and ends as a song, not as a file
        // that only looks like media.
        QTemporaryFile noCard;
        QVERIFY(noCard.open());
        noCard.write("pcm.!default { type hw card 7 }\n");
        noCard.close();
        const QByteArray silent = qgetenv("ALSA_CONFIG_PATH");
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(noCard.fileName()));
        const auto restore = qScopeGuard([&] { qputenv("ALSA_CONFIG_PATH", silent); });
        QSignalSpy ends(core.get(), &Core::mediaPlayerEndReached);
        QSignalSpy failures(core.get(), &Core::mediaPlayerFailed);
        QVERIFY(core->playFile(media("audio.mp3")));
        QTRY_COMPARE_WITH_TIMEOUT(ends.count() + failures.count(), 1, 8000);
        QCOMPARE(failures.count(), 0);
    }

    void dvdAnnouncesTitlesAndDescriptionIds()
    {
        ParseRecorder parse(core.get());
        QSignalSpy titles(core.get(), &Core::mediaTitle);
        QSignalSpy current(core.get(), &Core::currentTitle);
        QVERIFY(core->playDisc(0, media("dvd")));
        QTest::qWait(400);
        core->parseMedia();
        core->parseMedia();
        QVERIFY(std::any_of(titles.cbegin(), titles.cend(),
                            [](const QList<QVariant> &t) { return t.at(1).toString().startsWith("Title 1"); }));
        // The current title is reported on every tick of a disc.
        QCOMPARE(current.count(), 2);
        // Menus use the ids of the descriptions, not those of the track array.
        // A busy machine may need a second full pass: its menu is the last one.
        const QStringList audio =
            parse.events.mid(parse.events.lastIndexOf("begin")).filter(QRegularExpression("^audio "));
        QCOMPARE(audio.size(), 1);
        QVERIFY(audio.first() != QStringLiteral("audio 0"));
    }

    void subtitleFileIsCheckedAddedOnceThenSelected()
    {
        QSignalSpy added(core.get(), &Core::subtitleFileAdded);
        QSignalSpy current(core.get(), &Core::currentTrackSubtitle);
        QSignalSpy errors(core.get(), &Core::messageError);
        QVERIFY(core->playFile(media("av.mkv")));
        // libvlc would accept a missing file silently.
        core->changeSubtitle(media("missing.srt"));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(added.count(), 0);
        const QString path = media("sub.srt");
        for (int time = 0; time < 2; ++time) {
            // The first time, asked twice before its track shows up, it is
            // handed to libvlc once; its track comes a moment later.
            core->changeSubtitle(path);
            if (time == 0)
                core->changeSubtitle(path);
            QTRY_COMPARE(current.count(), time + 1);
            QCOMPARE(added.count(), 1);
            QCOMPARE(added.first().at(1).toString(), path);
            QCOMPARE(current.count(), time + 1);
            QCOMPARE(current.last().first(), added.first().first());
            core->changeSubtitle(-1);
        }
        QVERIFY(added.first().first().toInt() >= 0);
    }
};

TARN_TEST_MAIN(EngineEventsTest)
#include "tst_engine_events.moc"
