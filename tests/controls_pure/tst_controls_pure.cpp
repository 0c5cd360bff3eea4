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
    void timeTextsSwitchToHoursAndNeverWrap_data();
    void timeTextsSwitchToHoursAndNeverWrap();
    void marginsComeFromTheHeightWithAFloor_data();
    void marginsComeFromTheHeightWithAFloor();
    void textGrowsToFillTheFrameButNotBelowBase_data();
    void textGrowsToFillTheFrameButNotBelowBase();
};

void TestControlsPure::timeTextsSwitchToHoursAndNeverWrap_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("75 s") << qint64(75) << "01:15";
    QTest::newRow("one second short of an hour") << qint64(3599) << "59:59";
    QTest::newRow("one hour") << qint64(3600) << "1:00:00";
    QTest::newRow("last second of a day") << qint64(86399) << "23:59:59";
    QTest::newRow("24 hours") << qint64(86400) << "24:00:00";
    QTest::newRow("25 hours") << qint64(90000) << "25:00:00";
    QTest::newRow("negative reads as zero") << qint64(-5) << "00:00";
}

void TestControlsPure::timeTextsSwitchToHoursAndNeverWrap()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(formatSeconds(seconds), text);
    QCOMPARE(formatMilliseconds(seconds * 1000 + 999), text);
}

void TestControlsPure::marginsComeFromTheHeightWithAFloor_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("margins");
    QTest::newRow("600 px") << 600 << QSize(240, 60);
    QTest::newRow("300 px: height margin floor") << 300 << QSize(120, 40);
    QTest::newRow("50 px: both floors") << 50 << QSize(40, 40);
    QTest::newRow("1001 px truncates") << 1001 << QSize(400, 100);
}

void TestControlsPure::marginsComeFromTheHeightWithAFloor()
{
    QFETCH(int, height);
    QFETCH(QSize, margins);
    QCOMPARE(videoFrameTextMargins(height), margins);
}

void TestControlsPure::textGrowsToFillTheFrameButNotBelowBase_data()
{
    QTest::addColumn<QSize>("block");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<int>("pointSize");
    // 200x50 scales to 1000x250, less 240x60 is 760x190: 3.8 x 16.
    QTest::newRow("wide block, width and height agree") << QSize(200, 50) << QSize(1000, 600) << 60;
    // 100x100 scales to 600x600, less 240x60 is 360x540: min(3.6, 5.4) x 16.
    QTest::newRow("square block, width margin decides") << QSize(100, 100) << QSize(800, 600) << 57;
    QTest::newRow("tiny frame keeps the base size") << QSize(200, 50) << QSize(60, 30) << 16;
    QTest::newRow("shrinking is floored at base") << QSize(100, 100) << QSize(140, 140) << 16;
    QTest::newRow("empty block") << QSize(0, 0) << QSize(800, 600) << 16;
}

void TestControlsPure::textGrowsToFillTheFrameButNotBelowBase()
{
    QFETCH(QSize, block);
    QFETCH(QSize, frame);
    QFETCH(int, pointSize);
    QCOMPARE(videoFrameTextPointSize(block, frame), pointSize);
}

QTEST_GUILESS_MAIN(TestControlsPure)
#include "tst_controls_pure.moc"
