// The frameless window: dragging by the title, resizing from the border with
// its cursors, and the log window behind the debug menu.
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
    using Common::ModernWindow::logAction;
    using Common::ModernWindow::logDialog;
    using Common::ModernWindow::titleLabel;

protected:
    Common::UpdateHelper *createUpdateHelper(bool) override { return nullptr; }
    QString updateLinks() override { return QString(); }
};

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
        QLabel *label = window.titleLabel;
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
        QVERIFY(window.logDialog && window.logDialog->isHidden());
        QCOMPARE(window.logDialog->windowTitle(), QStringLiteral("Application log"));
        window.appDebugOpenStuff();
        QVERIFY(window.logAction->isChecked() && window.logDialog->isVisible());
        // Closing the log window by itself takes the check mark away.
        window.logDialog->close();
        QVERIFY(!window.logAction->isChecked());
        window.logAction->trigger();
        QVERIFY(window.logDialog->isVisible());
        // Hiding the frame hides a log window that was opened from the menu.
        window.hide();
        QVERIFY(window.logDialog->isHidden());
        // The frame's own messages reach it.
        emit window.messageNotice(QStringLiteral("[Main] hello"));
        QCOMPARE(window.logDialog->plainText(), QStringLiteral("[Main] hello"));
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
