// The engine's arithmetic and text rendering, without libvlc or a display.
#include "displayratio.h"
#include "mediainfo.h"
#include "mediatrack.h"

#include <QtTest>

using LibPlayer::MediaTrack;

class EnginePureTest : public QObject
{
    Q_OBJECT

private slots:
    void displayRatioFollowsSampleAspect_data()
    {
        QTest::addColumn<QList<uint>>("sizeAndAspect");
        QTest::addColumn<QSize>("ratio");
        QTest::newRow("PAL 16:15") << QList<uint>{720, 576, 16, 15} << QSize(48, 36);
        QTest::newRow("square pixels") << QList<uint>{1920, 1080, 1, 1} << QSize(1920, 1080);
        QTest::newRow("large sample aspect stretches") << QList<uint>{720, 480, 4320, 4739} << QSize(656, 480);
        QTest::newRow("zero sample aspect") << QList<uint>{640, 360, 0, 0} << QSize(0, 0);
        QTest::newRow("zero denominator") << QList<uint>{640, 360, 1, 0} << QSize(0, 360);
        QTest::newRow("zero numerator, small width") << QList<uint>{2, 360, 0, 1} << QSize(0, 0);
    }

    void displayRatioFollowsSampleAspect()
    {
        QFETCH(QList<uint>, sizeAndAspect);
        QFETCH(QSize, ratio);
        const auto &v = sizeAndAspect;
        const LibPlayer::DisplayRatio result = LibPlayer::displayRatio(v[0], v[1], v[2], v[3]);
        QCOMPARE(QSize(int(result.width), int(result.height)), ratio);
    }

    void trackTextHasOneAlignedLinePerFieldOfItsType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("lastLines");
        QTest::addColumn<quint32>("codec");
        QTest::addColumn<QString>("codecText"); // as written: first character in the lowest byte
        QTest::newRow("audio") << 0 << "Audio track 3" << QStringList{"Channels", "Rate"}
                               << quint32('h' | '2' << 8 | '6' << 16 | '4' << 24) << "h264 (0x34363268)";
        QTest::newRow("video") << 1 << "Video track 3" << QStringList{"Resolution    : 160x120", "SAR", "Frame rate    : 25/1"}
                               << quint32('m' | 'p' << 8 | '4' << 16 | 'a' << 24) << "mp4a (0x6134706d)";
        QTest::newRow("subtitle") << 2 << "Subtitle track 3" << QStringList{"Encoding"} << quint32(0) << ".... (0x0)";
        QTest::newRow("unknown") << 7 << "Unknown track 3" << QStringList{} << quint32(0) << ".... (0x0)";
    }

    // Empty fields keep their line; a label column of 22 puts every " : " there.
    void trackTextHasOneAlignedLinePerFieldOfItsType()
    {
        QFETCH(int, type);
        QFETCH(QString, header);
        QFETCH(QStringList, lastLines);
        QFETCH(quint32, codec);
        QFETCH(QString, codecText);
        MediaTrack track(type);
        track.id = 3;
        track.codec = codec;
        if (track.video) {
            track.video->width = 160;
            track.video->height = 120;
            track.video->frameRateNum = 25;
            track.video->frameRateDen = 1;
        }
        const QString text = track.toString(22, 7);
        QVERIFY(!text.endsWith(QLatin1Char('\n')));
        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.first().trimmed(), header);
        const QStringList expected = QStringList{"Codec         : " + codecText, "FOURCC", "Profile", "Level",
                                                 "Language      : ", "Description   : "} + lastLines;
        QCOMPARE(lines.size(), 1 + expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(lines.at(i + 1).indexOf(QLatin1String(" : ")), 22);
            const QString line = QString(9, ' ') + expected.at(i);
            QVERIFY2(expected.at(i).endsWith(": ") ? lines.at(i + 1) == line : lines.at(i + 1).startsWith(line),
                     qPrintable(lines.at(i + 1)));
        }
        // A label longer than its column is written whole.
        QCOMPARE(track.toString(10, 7).split(QLatin1Char('\n')).at(1), "         Codec : " + codecText);
    }

    // A fourcc reads in its usual order; the container comes from the suffix.
    void mediaInformationTextReadsCodecsInOrderAndLeavesOutTheUnknown()
    {
        LibPlayer::MediaInfo info;
        info.location = QStringLiteral("/films/Clip.M2TS");
        info.container = LibPlayer::containerName(QStringLiteral("file:///films/Clip.M2TS"));
        info.lengthMs = 3723000;
        LibPlayer::MediaInfo::Track video;
        video.type = LibPlayer::MediaInfo::TrackType::Video;
        video.codec = 'h' | '2' << 8 | '6' << 16 | '4' << 24;
        video.width = 1920;
        video.height = 1080;
        video.frameRateNum = 30000;
        video.frameRateDen = 1001;
        video.bitRate = 4499600;
        LibPlayer::MediaInfo::Track subtitle;
        subtitle.type = LibPlayer::MediaInfo::TrackType::Subtitle;
        subtitle.id = 3;
        subtitle.codec = 's' | 'u' << 8 | 'b' << 16 | 't' << 24;
        subtitle.language = QStringLiteral("fre");
        info.tracks = {video, subtitle};
        info.date = QStringLiteral("2024");
        QCOMPARE(LibPlayer::mediaInfoText(info),
                 QStringLiteral("General\n  Location: /films/Clip.M2TS\n  Length: 1:02:03\n  Container: MPEG-TS\n\n"
                                "Video track 0\n  Codec: h264\n  Resolution: 1920x1080\n  Frame rate: 29.97 fps\n"
                                "  Bit rate: 4500 kb/s\n\n"
                                "Subtitle track 3\n  Codec: subt\n  Language: fre\n\n"
                                "Tags\n  Date: 2024\n"));
        QCOMPARE(LibPlayer::codecText('a' | ' ' << 8 | 0x01 << 16 | ' ' << 24), QStringLiteral("a ."));
        QCOMPARE(LibPlayer::containerName(QStringLiteral("http://host/live")), QString());
        QCOMPARE(LibPlayer::containerName(QStringLiteral("file:///a/b.xyz")), QStringLiteral("XYZ"));
    }
};

QTEST_GUILESS_MAIN(EnginePureTest)
#include "tst_engine_pure.moc"
