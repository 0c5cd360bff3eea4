// Time texts of the bottom bar and the size arithmetic of the video frame's
// text lines: pure functions, no display.

#include <QtTest>

#include "timeformat.h"
#include "videoframelayout.h"

using namespace LibPlayer;

class TestControlsPure : public QObject
{
    Q_OBJECT

private slots:
    void timeTextsSwitchToHoursAndNeverWrap_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("75 s") << qint64(75) << "01:15";
        QTest::newRow("one second short of an hour") << qint64(3599) << "59:59";
        QTest::newRow("one hour") << qint64(3600) << "1:00:00";
        QTest::newRow("25 hours") << qint64(90000) << "25:00:00";
        QTest::newRow("negative reads as zero") << qint64(-5) << "00:00";
    }

    void timeTextsSwitchToHoursAndNeverWrap()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(formatSeconds(seconds), text);
        QCOMPARE(formatMilliseconds(seconds * 1000 + 999), text);
    }

    void textMarginsAndSizeFollowTheFrame_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("block");
        QTest::addColumn<QSize>("margins");
        QTest::addColumn<int>("pointSize");
        // 200x50 scales to 1000x250, less 240x60 is 760x190: 3.8 x 16.
        QTest::newRow("600 px, wide block") << QSize(1000, 600) << QSize(200, 50) << QSize(240, 60) << 60;
        // 100x100 scales to 600x600, less 240x60 is 360x540: min(3.6, 5.4) x 16.
        QTest::newRow("600 px, square block") << QSize(800, 600) << QSize(100, 100) << QSize(240, 60) << 57;
        QTest::newRow("300 px, empty block") << QSize(800, 300) << QSize(0, 0) << QSize(120, 40) << 16;
        QTest::newRow("tiny frame: floors") << QSize(60, 30) << QSize(200, 50) << QSize(40, 40) << 16;
    }

    void textMarginsAndSizeFollowTheFrame()
    {
        QFETCH(QSize, frame);
        QFETCH(QSize, block);
        QFETCH(QSize, margins);
        QFETCH(int, pointSize);
        QCOMPARE(videoFrameTextMargins(frame.height()), margins);
        QCOMPARE(videoFrameTextPointSize(block, frame), pointSize);
    }
};

QTEST_GUILESS_MAIN(TestControlsPure)
#include "tst_controls_pure.moc"
