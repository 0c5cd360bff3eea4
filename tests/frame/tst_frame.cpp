// The frameless window: the border zones as pure functions, then dragging by
// the title, resizing from the border with its cursors, and the log window
// behind the debug menu.
#include "borderzones.h"
#include "frameservices.h"
#include "logdialog.h"
#include "modernwindow.h"
#include "tarntest.h"

#include <QAction>
#include <QLabel>
#include <QWindow>

// The frame with the hooks a concrete application supplies.
class TestWindow : public Common::ModernWindow
{
public:
    explicit TestWindow(bool hideDebug = true) : Common::ModernWindow(hideDebug) {}
    using Common::ModernWindow::appDebugOpenStuff;
    using Common::ModernWindow::m_logAction;
    using Common::ModernWindow::m_logDialog;
    using Common::ModernWindow::m_titleLabel;

protected:
    Common::UpdateHelper *createUpdateHelper(bool) override { return nullptr; }
    QString updateLinks() override { return QString(); }
};

using Common::BorderZone;
using Common::BorderZoneFlags;
using Common::ZoneChange;

Q_DECLARE_METATYPE(Common::BorderZone)

namespace {
void sendMouse(QObject *target, QEvent::Type type, const QPoint &local, const QPoint &global,
               Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}
} // namespace

class FrameTest : public QObject
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

    void titleDragMovesByMouseDisplacement_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("left button moves") << int(Qt::LeftButton) << QPoint(37, -12);
        QTest::newRow("right button does not") << int(Qt::RightButton) << QPoint(0, 0);
    }

    void titleDragMovesByMouseDisplacement()
    {
        QFETCH(int, button);
        QFETCH(QPoint, moved);
        TestWindow window;
        window.setGeometry(100, 100, 400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();
        const auto mouseButton = Qt::MouseButton(button);
        QLabel *label = window.m_titleLabel;
        const QPoint grab = label->rect().center();
        const QPoint global = label->mapToGlobal(grab);
        sendMouse(label, QEvent::MouseButtonPress, grab, global, mouseButton, mouseButton);
        sendMouse(label, QEvent::MouseMove, grab, global + QPoint(30, -10), Qt::NoButton, mouseButton);
        sendMouse(label, QEvent::MouseMove, grab, global + QPoint(37, -12), Qt::NoButton, mouseButton);
        sendMouse(label, QEvent::MouseButtonRelease, grab, global + QPoint(37, -12), mouseButton, Qt::NoButton);
        QCOMPARE(window.pos(), start + moved);
        // After the release, moves do not drag.
        sendMouse(label, QEvent::MouseMove, grab, global + QPoint(90, 90), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), start + moved);
    }

    void bottomLeftCornerDragWidensAndMovesLeft()
    {
        TestWindow window;
        window.setGeometry(200, 150, 400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWindow *handle = window.windowHandle();
        const QRect before = window.geometry();
        const QPoint corner(2, window.height() - 3);
        const QPoint global = window.mapToGlobal(corner);
        sendMouse(handle, QEvent::MouseMove, corner, global, Qt::NoButton, Qt::NoButton);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeBDiagCursor);
        sendMouse(handle, QEvent::MouseButtonPress, corner, global, Qt::LeftButton, Qt::LeftButton);
        sendMouse(handle, QEvent::MouseMove, corner, global + QPoint(-20, 0), Qt::NoButton, Qt::LeftButton);
        sendMouse(handle, QEvent::MouseButtonRelease, corner, global + QPoint(-20, 0), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window.geometry(), before.adjusted(-20, 0, 0, 0));

        // Into the interior: the override cursor is restored.
        const QPoint inside(200, 150);
        sendMouse(handle, QEvent::MouseMove, inside, window.mapToGlobal(inside), Qt::NoButton, Qt::NoButton);
        QVERIFY(!QGuiApplication::overrideCursor());
        // Leaving the window from the border band restores it too.
        const QPoint edge(window.width() - 1, 100);
        sendMouse(handle, QEvent::MouseMove, edge, window.mapToGlobal(edge), Qt::NoButton, Qt::NoButton);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(handle, &leave);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void logActionTogglesTheLogWindow()
    {
        TestWindow window(false);
        window.show();
        QVERIFY(window.m_logDialog && window.m_logDialog->isHidden());
        QCOMPARE(window.m_logDialog->windowTitle(), QStringLiteral("Application log"));
        window.appDebugOpenStuff();
        QVERIFY(window.m_logAction->isChecked() && window.m_logDialog->isVisible());
        // Closing the log window by itself takes the check mark away.
        window.m_logDialog->close();
        QVERIFY(!window.m_logAction->isChecked());
        window.m_logAction->trigger();
        QVERIFY(window.m_logDialog->isVisible());
        // Hiding the frame hides a log window that was opened from the menu.
        window.hide();
        QVERIFY(window.m_logDialog->isHidden());
        // The frame's own messages reach it.
        emit window.messageNotice(QStringLiteral("[Main] hello"));
        QCOMPARE(window.m_logDialog->plainText(), QStringLiteral("[Main] hello"));
    }

    void driveLetterIsTheLowestVolumeBit_data()
    {
        QTest::addColumn<uint>("mask");
        QTest::addColumn<QChar>("letter");
        QTest::newRow("A and C give A") << 0x5u << QChar('A');
        QTest::newRow("Z") << (1u << 25) << QChar('Z');
        QTest::newRow("none of the 26 bits") << (1u << 26 | 1u << 31) << QChar('[');
        QTest::newRow("empty") << 0u << QChar('[');
    }

    void driveLetterIsTheLowestVolumeBit()
    {
        QFETCH(uint, mask);
        QFETCH(QChar, letter);
        QCOMPARE(Common::driveLetterOf(mask), letter);
    }
};

TARN_TEST_MAIN(FrameTest)
#include "tst_frame.moc"
