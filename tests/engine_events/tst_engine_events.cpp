// libvlc events and the periodic media parse on real clips and a real X window.
#include "core.h"
#include "tarntest.h"

#include <QWidget>

#include <memory>

using LibPlayer::Core;

namespace {

QString media(const QString &name)
{
    return TarnTest::dataPath(QStringLiteral("media/") + name);
}

// The engine's parse output as one ordered list of short lines.
struct ParseRecorder
{
    explicit ParseRecorder(Core *core)
    {
        QObject::connect(core, &Core::mediaParseBegin, [this] { events << "begin"; });
        QObject::connect(core, &Core::mediaParseEnd, [this] { events << "end"; });
        QObject::connect(core, &Core::mediaTitle, [this](int id, const QString &) { events << QString("title %1").arg(id); });
        QObject::connect(core, &Core::mediaTrackVideo, [this](int id, const QString &) { events << QString("video %1").arg(id); });
        QObject::connect(core, &Core::mediaTrackAudio, [this](int id, const QString &) { events << QString("audio %1").arg(id); });
        QObject::connect(core, &Core::mediaTrackSubtitle, [this](int id, const QString &) { events << QString("subtitle %1").arg(id); });
        QObject::connect(core, &Core::messageNotice, [this](const QString &m) { notices << m; });
        QObject::connect(core, &Core::messageWarning, [this](const QString &m) { warnings << m; });
    }
    int count(const QString &prefix) const { return events.filter(QRegularExpression("^" + prefix)).size(); }
    QStringList events;
    QStringList notices;
    QStringList warnings;
};

} // namespace

class TestEngineEvents : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void clipGetsOneFullPassAnnouncingItsTwoStreams();
    void transportStreamGoesQuietOnceItsPictureSizeIsKnown();
    void audioOnlyMediaHasNoVideoAndSortedMetadata();
    void dvdAnnouncesTitlesAndDescriptionIds();
    void endOfShortClipIsReported();
    void subtitleFileIsCheckedAddedOnceThenSelected();

private:
    // Plays `name`, lets its video output start, then runs `ticks` parse ticks.
    void playAndParse(const QString &name, int ticks);

    std::unique_ptr<QWidget> video;
    std::unique_ptr<Core> core;
};

void TestEngineEvents::initTestCase()
{
    // This machine has no sound card: a silent ALSA device gives libvlc a
    // working audio output (read before libvlc first opens ALSA).
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(media("alsa-null.conf")));
}

void TestEngineEvents::init()
{
    video = std::make_unique<QWidget>();
    video->resize(320, 240);
    video->show();
    QVERIFY(QTest::qWaitForWindowExposed(video.get()));
    core = std::make_unique<Core>();
    core->setVideoWidget(video.get());
}

void TestEngineEvents::cleanup()
{
    core.reset();
    video.reset();
}

void TestEngineEvents::playAndParse(const QString &name, int ticks)
{
    QVERIFY(core->playFile(media(name)));
    QTest::qWait(400);
    for (int i = 0; i < ticks; ++i) {
        core->parseMedia();
        QTest::qWait(100);
    }
}

void TestEngineEvents::clipGetsOneFullPassAnnouncingItsTwoStreams()
{
    ParseRecorder parse(core.get());
    QSignalSpy ratios(core.get(), &Core::displayRatioChanged);
    playAndParse("av.mkv", 3);
    QCOMPARE(parse.count("begin"), 1);
    QCOMPARE(parse.notices.filter("[Core] Media tracks:"),
             QStringList{"[Core] Media tracks: 2 newly identified (total 2)"});
    QCOMPARE(parse.events.first(), QStringLiteral("begin"));
    QCOMPARE(parse.events.last(), QStringLiteral("end"));
    // libvlc's "Disable" entries (id -1) are not announced.
    QCOMPARE(parse.count("video "), 1);
    QCOMPARE(parse.count("audio "), 1);
    QCOMPARE(parse.count("subtitle "), 0);
    QVERIFY(!parse.events.join(',').contains(" -1"));
    QCOMPARE(ratios.count(), 1);
    QCOMPARE(ratios.first().at(0).toUInt(), 160u);
    QCOMPARE(ratios.first().at(1).toUInt(), 120u);
    QVERIFY(!core->noVideo());
    QCOMPARE(core->metadata("Title"), QStringLiteral("Engine clip"));
}

void TestEngineEvents::transportStreamGoesQuietOnceItsPictureSizeIsKnown()
{
    ParseRecorder parse(core.get());
    QSignalSpy ratios(core.get(), &Core::displayRatioChanged);
    playAndParse("clip.ts", 4);
    QCOMPARE(parse.count("begin"), 1);
    QCOMPARE(ratios.count(), 1);
    QCOMPARE(ratios.first().at(0).toUInt(), 160u);
    QVERIFY(!core->noVideo());
}

void TestEngineEvents::audioOnlyMediaHasNoVideoAndSortedMetadata()
{
    ParseRecorder parse(core.get());
    playAndParse("audio.mp3", 2);
    QCOMPARE(parse.count("begin"), 1);
    QVERIFY(core->noVideo());
    QVERIFY(parse.warnings.contains("[Core] Media tracks: no video detected"));
    QCOMPARE(core->metadataKeys(), (QStringList{"Artist", "Title"}));
    QCOMPARE(core->metadata("Artist"), QStringLiteral("Tarn Tests"));
    QCOMPARE(core->metadata("Album"), QString());
}

void TestEngineEvents::dvdAnnouncesTitlesAndDescriptionIds()
{
    ParseRecorder parse(core.get());
    QSignalSpy titles(core.get(), &Core::mediaTitle);
    QSignalSpy current(core.get(), &Core::currentTitle);
    QSignalSpy ratios(core.get(), &Core::displayRatioChanged);
    QVERIFY(core->playDisc(0, media("dvd")));
    QTest::qWait(400);
    core->parseMedia();
    core->parseMedia();
    QVERIFY(titles.count() >= 1);
    QVERIFY(std::any_of(titles.cbegin(), titles.cend(),
                        [](const QList<QVariant> &t) { return t.at(1).toString().startsWith("Title 1"); }));
    // The current title is reported on every tick of a disc.
    QCOMPARE(current.count(), 2);
    // Menus use the ids of the descriptions, not those of the track array.
    const QStringList audio = parse.events.filter(QRegularExpression("^audio "));
    QCOMPARE(audio.size(), 1);
    QVERIFY(audio.first() != QStringLiteral("audio 0"));
    // 720x576 with a 16:15 sample aspect.
    QVERIFY(!ratios.isEmpty());
    QCOMPARE(ratios.last().at(0).toUInt(), 48u);
    QCOMPARE(ratios.last().at(1).toUInt(), 36u);
}

void TestEngineEvents::endOfShortClipIsReported()
{
    QSignalSpy ends(core.get(), &Core::mediaPlayerEndReached);
    QSignalSpy notices(core.get(), &Core::messageNotice);
    QVERIFY(core->playFile(media("audio.mp3")));
    QVERIFY(ends.wait(8000));
    QVERIFY(std::any_of(notices.cbegin(), notices.cend(), [](const QList<QVariant> &n) {
        return n.first().toString() == QLatin1String("[Core] Playback end reached");
    }));
    // The window stops the engine from its end-of-media slot: that must not hang.
    core->stopPlayback();
    QVERIFY(core->isStopped());
}

void TestEngineEvents::subtitleFileIsCheckedAddedOnceThenSelected()
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
    core->changeSubtitle(path);
    QCOMPARE(added.count(), 1);
    const int id = added.first().at(0).toInt();
    QVERIFY(id >= 0);
    QCOMPARE(added.first().at(1).toString(), path);
    QCOMPARE(current.count(), 1);
    QCOMPARE(current.last().first().toInt(), id);

    core->changeSubtitle(-1);
    core->changeSubtitle(path);
    QCOMPARE(added.count(), 1);
    QCOMPARE(current.count(), 2);
    QCOMPARE(current.last().first().toInt(), id);
}

TARN_TEST_MAIN(TestEngineEvents)
#include "tst_engine_events.moc"
