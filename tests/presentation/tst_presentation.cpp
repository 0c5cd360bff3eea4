// What the window shows of a parsed medium, and its judgement of libvlc's version.
#include "mediapresentation.h"

#include <QtTest>

class PresentationTest : public QObject
{
    Q_OBJECT

private slots:
    void mediumIsPresentedByKind_data();
    void mediumIsPresentedByKind();
    void libvlcBefore210IsTooOld_data();
    void libvlcBefore210IsTooOld();
};

void PresentationTest::mediumIsPresentedByKind_data()
{
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("noVideo");
    QTest::addColumn<int>("cdTrack");
    QTest::addColumn<QStringList>("lines"); // empty for a film
    QTest::addColumn<QString>("titleText");
    QTest::addColumn<QString>("windowTitle");

    QTest::newRow("film, file name as title") << "" << "clip.ts" << false << -1 << QStringList() << "clip.ts"
                                              << "clip.ts \u2014 Player Tarn";
    QTest::newRow("film, path title") << "" << "file:///m/a%20b.mkv" << false << -1 << QStringList() << "a b.mkv"
                                      << "a b.mkv \u2014 Player Tarn";
    QTest::newRow("film without title") << "" << "" << false << -1 << QStringList() << "Player Tarn" << "Player Tarn";
    QTest::newRow("tagged song") << "Zed Band" << "Song 3" << true << -1 << QStringList{"Zed Band", "Song 3"}
                                 << "Zed Band - Song 3" << "Zed Band - Song 3 \u2014 Player Tarn";
    QTest::newRow("untagged song") << "" << "short.mp3" << true << -1 << QStringList{"Playing audio", "short.mp3"}
                                   << "short.mp3" << "short.mp3 \u2014 Player Tarn";
    QTest::newRow("artist without title") << "Zed Band" << "" << true << -1 << QStringList{"Playing audio"}
                                          << "Player Tarn" << "Player Tarn";
    QTest::newRow("CD track") << "" << "cdda:///dev/sr0" << true << 4 << QStringList{"Audio CD", "Track 4"}
                              << "Audio CD - Track 4" << "Audio CD - Track 4 \u2014 Player Tarn";
    QTest::newRow("CD without track") << "Zed" << "cdda:///dev/sr0" << true << -1 << QStringList{"Audio CD"}
                                      << "Audio CD" << "Audio CD \u2014 Player Tarn";
}

void PresentationTest::mediumIsPresentedByKind()
{
    QFETCH(QString, artist);
    QFETCH(QString, title);
    QFETCH(bool, noVideo);
    QFETCH(int, cdTrack);
    QFETCH(QStringList, lines);
    QFETCH(QString, titleText);
    QFETCH(QString, windowTitle);
    const MediaPresentation shown = presentMedia(artist, title, noVideo, cdTrack, QStringLiteral("Player Tarn"));
    QCOMPARE(shown.audio, noVideo);
    QCOMPARE(shown.lines, lines);
    QCOMPARE(shown.titleText, titleText);
    QCOMPARE(windowTitleFor(shown.titleText, QStringLiteral("Player Tarn")), windowTitle);
}

void PresentationTest::libvlcBefore210IsTooOld_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("tooOld");
    QTest::newRow("2.0.8") << "2.0.8 Twoflower" << true;
    QTest::newRow("1.1.13") << "1.1.13" << true;
    QTest::newRow("2.1.0") << "2.1.0 Rincewind" << false;
    QTest::newRow("3.0.0") << "3.0.0 Vetinari" << false;
    QTest::newRow("two numbers only") << "3.0" << false;
    QTest::newRow("no numbers") << "unknown" << false;
}

void PresentationTest::libvlcBefore210IsTooOld()
{
    QFETCH(QString, version);
    QFETCH(bool, tooOld);
    QCOMPARE(engineVersionTooOld(version), tooOld);
}

QTEST_GUILESS_MAIN(PresentationTest)
#include "tst_presentation.moc"
