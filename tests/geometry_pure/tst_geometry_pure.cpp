// The arithmetic of the window geometry: ratio lock, snapping, restored layouts.
#include "geometrymath.h"
#include "tarntest.h"

using namespace GeometryMath;

Q_DECLARE_METATYPE(GeometryMath::DisplayRatio)

class GeometryPureTest : public QObject
{
    Q_OBJECT

private slots:
    void ratioLockGivesWidthFromHeight_data()
    {
        QTest::addColumn<uint>("w");
        QTest::addColumn<uint>("h");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("locked");
        QTest::addColumn<bool>("resizes");
        const QSize any(1000, 540);
        QTest::newRow("4:3 on 540 high") << 4u << 3u << any << QSize(720, 540) << true;
        QTest::newRow("pixel terms do not wrap") << 4000000000u << 3000000000u << any << QSize(720, 540) << true;
        QTest::newRow("zero height term gives 16:9, no resize") << 4u << 0u << any << QSize(960, 540) << false;
        QTest::newRow("zero width term gives 16:9, resize") << 0u << 3u << any << QSize(960, 540) << true;
        QTest::newRow("both zero gives 16:9, no resize") << 0u << 0u << any << QSize(960, 540) << false;
        QTest::newRow("width raised to the minimum") << 4u << 3u << QSize(200, 180) << QSize(320, 180) << true;
        QTest::newRow("height raised to the minimum") << 16u << 9u << QSize(400, 100) << QSize(320, 180) << true;
        QTest::newRow("width only: same height same width") << 16u << 9u << QSize(975, 540) << QSize(960, 540) << true;
        QTest::newRow("wider than the screen fits it") << 64u << 27u << QSize(1000, 1000) << QSize(1280, 540) << true;
        QTest::newRow("higher than the screen fits it") << 16u << 9u << QSize(500, 1100) << QSize(1280, 720) << true;
    }

    void ratioLockGivesWidthFromHeight()
    {
        QFETCH(uint, w);
        QFETCH(uint, h);
        QFETCH(QSize, requested);
        // From 16:9, a change to the same ratio with a zero width term does not count.
        const RatioChange change = displayRatioChange(w, h, DisplayRatio{16, 9});
        QTEST(change.resize, "resizes");
        QTEST(lockedSize(requested, change.ratio, QSize(320, 180), QSize(1280, 1024)), "locked");
    }

    void ratioChangesDoNotDrift()
    {
        // What the window does on each announcement: take the new ratio's width
        // at its height, then lock whatever size it got.
        DisplayRatio ratio;
        QSize window(700, 523);
        QSize first[2]; // the size at 16:9 and at 4:3
        const QList<QPair<uint, uint>> ratios{{4, 3}, {16, 9}, {0, 3}, {1920, 1080}, {4, 0}};
        for (int i = 0; i < 100; ++i) {
            const auto terms = ratios.at(i % ratios.size());
            const RatioChange change = displayRatioChange(terms.first, terms.second, ratio);
            ratio = change.ratio;
            if (change.resize)
                window.setWidth(widthForHeight(window.height(), ratio));
            window = lockedSize(window, ratio, QSize(320, 180));
            // and a grip drag that only moved sideways
            window = lockedSize(window + QSize(7, 0), ratio, QSize(320, 180));
            QSize &seen = first[ratio == DisplayRatio{4, 3}];
            if (seen.isEmpty())
                seen = window;
            QCOMPARE(window, seen);
        }
        QCOMPARE(first[1], QSize(697, 523));
        QCOMPARE(first[0], QSize(929, 523));
    }

    void snappingAtThresholds_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QPoint>("snapped");
        // A 400 x 300 window on a 1280 x 1024 screen at (100, 50); right and
        // bottom put the window flush with the screen's right and bottom edges.
        const int right = 100 + 1280 - 400;
        const int bottom = 50 + 1024 - 300;
        QTest::newRow("top-left corner at 11") << QPoint(106, 55) << QPoint(100, 50);
        QTest::newRow("top-left corner at 12 snaps to the left edge") << QPoint(104, 58) << QPoint(100, 58);
        QTest::newRow("top-right corner at 11") << QPoint(right - 6, 55) << QPoint(right, 50);
        QTest::newRow("top-right corner at 12") << QPoint(right - 6, 56) << QPoint(right - 6, 56);
        QTest::newRow("bottom-left corner at 11") << QPoint(106, bottom + 5) << QPoint(100, bottom);
        QTest::newRow("bottom-left corner at 12") << QPoint(106, bottom + 6) << QPoint(106, bottom + 6);
        QTest::newRow("bottom-right corner at 11") << QPoint(right + 5, bottom - 6) << QPoint(right, bottom);
        QTest::newRow("bottom-right corner at 12") << QPoint(right + 6, bottom - 6) << QPoint(right + 6, bottom - 6);
        QTest::newRow("left edge at 5") << QPoint(105, 400) << QPoint(100, 400);
        QTest::newRow("left edge at 6") << QPoint(106, 400) << QPoint(106, 400);
        QTest::newRow("top edge at 5") << QPoint(500, 55) << QPoint(500, 50);
        QTest::newRow("top edge at 6") << QPoint(500, 56) << QPoint(500, 56);
        QTest::newRow("right edge at 5") << QPoint(right - 5, 400) << QPoint(right, 400);
        QTest::newRow("right edge at 6") << QPoint(right - 6, 400) << QPoint(right - 6, 400);
        QTest::newRow("bottom edge at 5") << QPoint(500, bottom + 5) << QPoint(500, bottom);
        QTest::newRow("bottom edge at 6") << QPoint(500, bottom - 6) << QPoint(500, bottom - 6);
    }

    void snappingAtThresholds()
    {
        QFETCH(QPoint, pos);
        QTEST(snappedPosition(pos, QSize(400, 300), QRect(100, 50, 1280, 1024)), "snapped");
    }

    void restoredGeometryIsReachable_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("restored");
        // Primary 1280 x 1000 at the origin, a second screen to its right.
        QTest::newRow("on the primary stays") << QRect(50, 60, 600, 400) << QRect(50, 60, 600, 400);
        QTest::newRow("partly off stays") << QRect(1000, 900, 600, 400) << QRect(1000, 900, 600, 400);
        QTest::newRow("on the second screen stays") << QRect(1400, 100, 600, 400) << QRect(1400, 100, 600, 400);
        QTest::newRow("larger than its screen is clamped") << QRect(1300, 10, 2000, 1500)
                                                           << QRect(1300, 10, 1024, 768);
        QTest::newRow("off screen and too large") << QRect(-4000, 0, 3000, 2000) << QRect(0, 0, 1280, 1000);
    }

    void restoredGeometryIsReachable()
    {
        QFETCH(QRect, stored);
        const QList<QRect> screens{QRect(1280, 0, 1024, 768), QRect(0, 0, 1280, 1000)};
        QTEST(restoredGeometry(stored, screens, 1), "restored");
    }
};

TARN_TEST_GUILESS_MAIN(GeometryPureTest)
#include "tst_geometry_pure.moc"
