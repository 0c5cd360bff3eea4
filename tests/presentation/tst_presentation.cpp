// What the window shows of a parsed medium, and its judgement of libvlc's version.
#include "mediapresentation.h"

#include <QtTest>

class PresentationTest : public QObject
{
    Q_OBJECT

private slots:
    void mediumIsPresentedByKind_data()
    {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("noVideo");
        QTest::addColumn<int>("cdTrack");
        QTest::addColumn<QStringList>("lines"); // empty for a film
        QTest::addColumn<QString>("titleText");
        QTest::addColumn<QString>("windowTitle");

        QTest::newRow("film, path title") << "" << "file:///m/a%20b.mkv" << false << -1 << QStringList() << "a b.mkv"
                                          << "a b.mkv \u2014 Player Tarn";
        QTest::newRow("film, plain file name") << "" << "Cr\u00e8me br\u00fbl\u00e9e #1 100% \u2013 \u65e5\u672c.mp4" << false
                                               << -1 << QStringList() << "Cr\u00e8me br\u00fbl\u00e9e #1 100% \u2013 \u65e5\u672c.mp4"
                                               << "Cr\u00e8me br\u00fbl\u00e9e #1 100% \u2013 \u65e5\u672c.mp4 \u2014 Player Tarn";
        QTest::newRow("song, plain file name") << "" << "a?b %41.mp3" << true << -1
                                               << QStringList{"Playing audio", "a?b %41.mp3"} << "a?b %41.mp3"
                                               << "a?b %41.mp3 \u2014 Player Tarn";
        QTest::newRow("film without title") << "" << "" << false << -1 << QStringList() << "Player Tarn" << "Player Tarn";
        QTest::newRow("artist without title") << "Zed Band" << "" << true << -1 << QStringList{"Playing audio"}
                                              << "Player Tarn" << "Player Tarn";
        QTest::newRow("CD track") << "" << "cdda:///dev/sr0" << true << 4 << QStringList{"Audio CD", "Track 4"}
                                  << "Audio CD - Track 4" << "Audio CD - Track 4 \u2014 Player Tarn";
        QTest::newRow("CD without track") << "Zed" << "cdda:///dev/sr0" << true << -1 << QStringList{"Audio CD"}
                                          << "Audio CD" << "Audio CD \u2014 Player Tarn";
    }

    void mediumIsPresentedByKind()
    {
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(bool, noVideo);
        QFETCH(int, cdTrack);
        const MediaPresentation shown = presentMedia(artist, title, noVideo, cdTrack, QStringLiteral("Player Tarn"));
        QCOMPARE(shown.audio, noVideo);
        QTEST(shown.lines, "lines");
        QTEST(shown.titleText, "titleText");
        QTEST(windowTitleFor(shown.titleText, QStringLiteral("Player Tarn")), "windowTitle");
    }

    void libvlcBefore210IsTooOld_data()
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

    void libvlcBefore210IsTooOld()
    {
        QFETCH(QString, version);
        QTEST(engineVersionTooOld(version), "tooOld");
    }
};

QTEST_GUILESS_MAIN(PresentationTest)
#include "tst_presentation.moc"
