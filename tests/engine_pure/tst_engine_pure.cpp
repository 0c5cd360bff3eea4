// The engine's arithmetic and text rendering, without libvlc or a display.
#include "displayratio.h"
#include "mediatrack.h"

#include <QtTest>

using LibPlayer::MediaTrack;

class TestEnginePure : public QObject
{
    Q_OBJECT

private slots:
    void displayRatioFollowsSampleAspect_data();
    void displayRatioFollowsSampleAspect();
    void trackTextHasOneLinePerFieldOfItsType_data();
    void trackTextHasOneLinePerFieldOfItsType();
    void trackTextWritesFourccMostSignificantByteFirst_data();
    void trackTextWritesFourccMostSignificantByteFirst();
    void trackTextAlignsSeparatorsAndKeepsEmptyFields();
};

void TestEnginePure::displayRatioFollowsSampleAspect_data()
{
    QTest::addColumn<uint>("width");
    QTest::addColumn<uint>("height");
    QTest::addColumn<uint>("sarNum");
    QTest::addColumn<uint>("sarDen");
    QTest::addColumn<uint>("ratioWidth");
    QTest::addColumn<uint>("ratioHeight");
    QTest::newRow("PAL 16:15") << 720u << 576u << 16u << 15u << 48u << 36u;
    QTest::newRow("square pixels") << 1920u << 1080u << 1u << 1u << 1920u << 1080u;
    QTest::newRow("large sample aspect stretches") << 720u << 480u << 4320u << 4739u << 656u << 480u;
    QTest::newRow("zero sample aspect") << 640u << 360u << 0u << 0u << 0u << 0u;
    QTest::newRow("zero denominator") << 640u << 360u << 1u << 0u << 0u << 360u;
    QTest::newRow("zero numerator, small width") << 2u << 360u << 0u << 1u << 0u << 0u;
    QTest::newRow("unknown size") << 0u << 0u << 1u << 1u << 0u << 0u;
}

void TestEnginePure::displayRatioFollowsSampleAspect()
{
    QFETCH(uint, width);
    QFETCH(uint, height);
    QFETCH(uint, sarNum);
    QFETCH(uint, sarDen);
    QFETCH(uint, ratioWidth);
    QFETCH(uint, ratioHeight);
    const LibPlayer::DisplayRatio ratio = LibPlayer::displayRatio(width, height, sarNum, sarDen);
    QCOMPARE(ratio.width, ratioWidth);
    QCOMPARE(ratio.height, ratioHeight);
}

void TestEnginePure::trackTextHasOneLinePerFieldOfItsType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("lastLabels");
    QTest::newRow("audio") << 0 << "Audio track 3" << QStringList{"Channels", "Rate"};
    QTest::newRow("video") << 1 << "Video track 3" << QStringList{"Resolution", "SAR", "Frame rate"};
    QTest::newRow("subtitle") << 2 << "Subtitle track 3" << QStringList{"Encoding"};
    QTest::newRow("unknown") << 7 << "Unknown track 3" << QStringList{};
}

void TestEnginePure::trackTextHasOneLinePerFieldOfItsType()
{
    QFETCH(int, type);
    QFETCH(QString, header);
    QFETCH(QStringList, lastLabels);
    MediaTrack track(type);
    track.id = 3;
    const QString text = track.toString(22, 7);
    QVERIFY(!text.endsWith(QLatin1Char('\n')));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.first().trimmed(), header);
    const QStringList common{"Codec", "FOURCC", "Profile", "Level", "Language", "Description"};
    const QStringList labels = common + lastLabels;
    QCOMPARE(lines.size(), 1 + labels.size());
    for (int i = 0; i < labels.size(); ++i)
        QCOMPARE(lines.at(i + 1).section(QLatin1String(" : "), 0, 0).trimmed(), labels.at(i));
}

void TestEnginePure::trackTextWritesFourccMostSignificantByteFirst_data()
{
    QTest::addColumn<quint32>("codec");
    QTest::addColumn<QString>("written");
    QTest::newRow("h264 read from the low byte") << quint32('h' | '2' << 8 | '6' << 16 | '4' << 24) << "462h (0x34363268)";
    QTest::newRow("abcd from the high byte") << quint32('a' << 24 | 'b' << 16 | 'c' << 8 | 'd') << "abcd (0x61626364)";
    QTest::newRow("zero has no control characters") << quint32(0) << ".... (0x0)";
}

void TestEnginePure::trackTextWritesFourccMostSignificantByteFirst()
{
    QFETCH(quint32, codec);
    QFETCH(QString, written);
    MediaTrack track(1);
    track.codec = codec;
    const QStringList lines = track.toString(22, 7).split(QLatin1Char('\n'));
    QCOMPARE(lines.at(1), QStringLiteral("         Codec         : ") + written);
}

void TestEnginePure::trackTextAlignsSeparatorsAndKeepsEmptyFields()
{
    MediaTrack track(1);
    track.id = 1;
    track.video->width = 160;
    track.video->height = 120;
    track.video->sarNum = 1;
    track.video->sarDen = 1;
    track.video->frameRateNum = 25;
    track.video->frameRateDen = 1;
    const QStringList lines = track.toString(22, 7).split(QLatin1Char('\n'));
    QCOMPARE(lines.at(0), QStringLiteral("       Video track 1  "));
    for (int i = 1; i < lines.size(); ++i)
        QCOMPARE(lines.at(i).indexOf(QLatin1String(" : ")), 22);
    QCOMPARE(lines.at(5), QStringLiteral("         Language      : "));
    QCOMPARE(lines.at(6), QStringLiteral("         Description   : "));
    QCOMPARE(lines.at(7), QStringLiteral("         Resolution    : 160x120"));
    QCOMPARE(lines.at(9), QStringLiteral("         Frame rate    : 25/1"));

    // A label longer than its column is written whole.
    const QStringList narrow = track.toString(10, 7).split(QLatin1Char('\n'));
    QCOMPARE(narrow.at(1), QStringLiteral("         Codec : .... (0x0)"));
}

QTEST_GUILESS_MAIN(TestEnginePure)
#include "tst_engine_pure.moc"
