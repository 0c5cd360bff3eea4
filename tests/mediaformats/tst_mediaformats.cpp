#include "folderwalk.h"
#include "mediaformats.h"

#include <QUrl>
#include <QtTest>

using MediaFormats::Kind;
Q_DECLARE_METATYPE(MediaFormats::Kind)

class MediaFormatsTest : public QObject
{
    Q_OBJECT

private slots:
    void classificationIgnoresCaseAndTriesVideoFirst_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("camera MOV") << "/media/MVI_0001.MOV" << Kind::Video;
        QTest::newRow("f4v, written without a dot") << "clip.f4v" << Kind::Video;
        QTest::newRow("ogg in both tables") << "a.ogg" << Kind::Video;
        QTest::newRow("mp2 in both tables") << "a.MP2" << Kind::Video;
        QTest::newRow("mp3") << "/a b/Song.Mp3" << Kind::Audio;
        QTest::newRow("srt") << "film.en.SRT" << Kind::Subtitle;
        QTest::newRow("playlist") << "LIST.M3U8" << Kind::Playlist;
        QTest::newRow("no suffix") << "/media/README" << Kind::Unknown;
        QTest::newRow("dot in folder only") << "/media.mkv/clip" << Kind::Unknown;
        QTest::newRow("unknown") << "notes.pdf" << Kind::Unknown;
    }

    void classificationIgnoresCaseAndTriesVideoFirst()
    {
        QFETCH(QString, name);
        QTEST(MediaFormats::classifyFile(name), "kind");
        QTEST(MediaFormats::classifyUrl(QUrl::fromLocalFile(name)), "kind");
    }

    void naturalOrderComparesNumbersByValueAndIgnoresCase_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("2 before 10") << "Track 2.mp3" << "Track 10.mp3" << -1;
        QTest::newRow("leading zeros") << "007.mkv" << "7a.mkv" << -1;
        QTest::newRow("case ignored") << "b.mkv" << "C.mkv" << -1;
        QTest::newRow("numbers beyond 64 bits") << "99999999999999999999" << "100000000000000000000" << -1;
        QTest::newRow("prefix first") << "clip" << "clip 2" << -1;
        QTest::newRow("differ only in case: text order") << "A.mkv" << "a.mkv" << -1;
    }

    void naturalOrderComparesNumbersByValueAndIgnoresCase()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        QCOMPARE(qBound(-1, FolderWalk::naturalCompare(a, b), 1), sign);
        QCOMPARE(qBound(-1, FolderWalk::naturalCompare(b, a), 1), -sign);
    }

    void dialogFiltersListEveryTableSpaceSeparated()
    {
        const QString open = MediaFormats::openFileFilter(QStringLiteral("All files"), QStringLiteral("Video files"),
                                                          QStringLiteral("Audio files"), QStringLiteral("Playlist files"));
        QVERIFY(open.startsWith(QLatin1String("All files ( *.* );;Video files ( *.3g2 *.3gp ")));
        QVERIFY(open.contains(QLatin1String(" *.xesc );;Audio files ( *.3ga ")));
        QVERIFY(open.endsWith(QLatin1String(" *.xm );;Playlist files ( *.m3u *.m3u8 );;")));
        QVERIFY(!open.contains(QLatin1String(";*")) && !open.contains(QLatin1String("*. ")));
        QCOMPARE(MediaFormats::subtitleFileFilter(QStringLiteral("Subtitle files"), QStringLiteral("All files")).left(30),
                 QStringLiteral("Subtitle files ( *.cdg *.idx *"));
    }
};

QTEST_GUILESS_MAIN(MediaFormatsTest)
#include "tst_mediaformats.moc"
