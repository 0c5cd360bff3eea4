// Which border zone the pointer is in, the cursor it gets, and the geometry a
// drag from each zone gives: pure functions of the frame.
#include "borderzones.h"

#include <QtTest>

using Common::BorderZone;
using Common::BorderZoneFlags;
using Common::ZoneChange;

Q_DECLARE_METATYPE(Common::BorderZone)

class BorderZonesTest : public QObject
{
    Q_OBJECT

private slots:
    // The zone under the pointer, its cursor, and what a drag from it by
    // (-20, 10) makes of the window at (100, 50), 200 x 100.
    void pointerEntersTheZoneUnderItAndDragsItsEdges_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<BorderZone>("zone");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QRect>("dragged");
        const int fdiag = Qt::SizeFDiagCursor, bdiag = Qt::SizeBDiagCursor;
        QTest::newRow("top-left corner") << QPoint(0, 0) << BorderZone::TopLeft << fdiag << QRect(80, 60, 220, 90);
        QTest::newRow("top-left, inner edge of band") << QPoint(3, 9) << BorderZone::TopLeft << fdiag << QRect(80, 60, 220, 90);
        QTest::newRow("top-right corner") << QPoint(199, 2) << BorderZone::TopRight << bdiag << QRect(100, 60, 180, 90);
        QTest::newRow("top-right corner start") << QPoint(190, 0) << BorderZone::TopRight << bdiag << QRect(100, 60, 180, 90);
        QTest::newRow("bottom-right corner") << QPoint(197, 99) << BorderZone::BottomRight << fdiag << QRect(100, 50, 180, 110);
        QTest::newRow("bottom-left corner") << QPoint(0, 90) << BorderZone::BottomLeft << bdiag << QRect(80, 50, 220, 110);
        QTest::newRow("top edge end") << QPoint(189, 0) << BorderZone::Top << int(Qt::SizeVerCursor) << QRect(100, 60, 200, 90);
        QTest::newRow("bottom edge") << QPoint(100, 96) << BorderZone::Bottom << int(Qt::SizeVerCursor) << QRect(100, 50, 200, 110);
        QTest::newRow("left edge") << QPoint(0, 50) << BorderZone::Left << int(Qt::SizeHorCursor) << QRect(80, 50, 220, 100);
        QTest::newRow("right edge") << QPoint(196, 10) << BorderZone::Right << int(Qt::SizeHorCursor) << QRect(100, 50, 180, 100);
    }

    void pointerEntersTheZoneUnderItAndDragsItsEdges()
    {
        QFETCH(QPoint, point);
        QFETCH(BorderZone, zone);
        QFETCH(int, cursor);
        QFETCH(QRect, dragged);
        BorderZoneFlags flags;
        const ZoneChange change = Common::trackPointer(flags, point, QSize(200, 100));
        QCOMPARE(int(change.kind), int(ZoneChange::Kind::Enter));
        QCOMPARE(change.zone, zone);
        QVERIFY(!change.restorePrevious);
        QCOMPARE(int(Common::zoneCursor(change.zone)), cursor);
        QVERIFY(flags.isSet(zone));
        // The same point again: the flag is set already, nothing more happens.
        QCOMPARE(int(Common::trackPointer(flags, point, QSize(200, 100)).kind), int(ZoneChange::Kind::None));
        QCOMPARE(Common::resizedGeometry(flags, QRect(100, 50, 200, 100), QPoint(-20, 10)), dragged);
    }

    void cornerFlagStaysAlongTheEdgeUntilTheInterior()
    {
        BorderZoneFlags flags;
        const QSize size(200, 100);
        QCOMPARE(Common::trackPointer(flags, QPoint(2, 2), size).zone, BorderZone::TopLeft);
        // Along the top edge past the corner square: the top-left flag is still
        // set, so the top zone comes next and replaces the override cursor.
        const ZoneChange top = Common::trackPointer(flags, QPoint(50, 1), size);
        QCOMPARE(int(top.kind), int(ZoneChange::Kind::Enter));
        QCOMPARE(top.zone, BorderZone::Top);
        QVERIFY(top.restorePrevious && flags.isSet(BorderZone::TopLeft));
        // Back into the corner square: its flag is still set, nothing changes.
        QCOMPARE(int(Common::trackPointer(flags, QPoint(3, 3), size).kind), int(ZoneChange::Kind::None));
        QCOMPARE(int(Common::trackPointer(flags, QPoint(50, 50), size).kind), int(ZoneChange::Kind::Leave));
        QVERIFY(!flags.any());
        // Restored once: a second interior move changes nothing.
        QCOMPARE(int(Common::trackPointer(flags, QPoint(60, 50), size).kind), int(ZoneChange::Kind::None));
    }

};

QTEST_GUILESS_MAIN(BorderZonesTest)
#include "tst_borderzones.moc"
