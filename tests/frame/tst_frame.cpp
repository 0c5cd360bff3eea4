#include "frameservices.h"
#include "logdialog.h"
#include "modernwindow.h"
#include "tarntest.h"

#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

// The frame with the hooks a concrete application supplies.
class TestWindow : public Common::ModernWindow
{
public:
    explicit TestWindow(bool hideDebug = true)
        : Common::ModernWindow(hideDebug)
    {
    }
    using Common::ModernWindow::appDebugOpenStuff;
    using Common::ModernWindow::logAction;
    using Common::ModernWindow::logDialog;
    using Common::ModernWindow::titleLabel;
    using Common::ModernWindow::topBar;

protected:
    Common::UpdateHelper *createUpdateHelper(bool) override { return nullptr; }
    QString updateLinks() override { return QString(); }
};

class FrameTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void topBarHoldsFourWidgetsWithoutPinProperty();
    void titleDragMovesByMouseDisplacement_data();
    void titleDragMovesByMouseDisplacement();
    void bottomLeftCornerDragWidensAndMovesLeft();
    void logActionTogglesTheLogWindow();
    void driveLetterIsTheLowestVolumeBit_data();
    void driveLetterIsTheLowestVolumeBit();

private:
    static void sendMouse(QObject *target, QEvent::Type type, const QPoint &local, const QPoint &global,
                          Qt::MouseButton button, Qt::MouseButtons buttons);
};

void FrameTest::init()
{
    qApp->setProperty("appPinButton", QVariant());
}

void FrameTest::sendMouse(QObject *target, QEvent::Type type, const QPoint &local, const QPoint &global,
                          Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void FrameTest::topBarHoldsFourWidgetsWithoutPinProperty()
{
    TestWindow window;
    QCOMPARE(window.topBar->actions().size(), 4);
    QCOMPARE(window.topBar->objectName(), QStringLiteral("AppTopBar"));
    QCOMPARE(window.titleLabel->text(), QGuiApplication::applicationDisplayName());
}




void FrameTest::titleDragMovesByMouseDisplacement_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("left button moves") << int(Qt::LeftButton) << QPoint(37, -12);
    QTest::newRow("right button does not") << int(Qt::RightButton) << QPoint(0, 0);
}

void FrameTest::titleDragMovesByMouseDisplacement()
{
    QFETCH(int, button);
    QFETCH(QPoint, moved);
    TestWindow window;
    window.resize(400, 300);
    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();

    const auto mouseButton = Qt::MouseButton(button);
    QLabel *label = window.titleLabel;
    const QPoint grab(label->width() / 2, label->height() / 2);
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

void FrameTest::bottomLeftCornerDragWidensAndMovesLeft()
{
    TestWindow window;
    window.resize(400, 300);
    window.move(200, 150);
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

    QCOMPARE(window.width(), before.width() + 20);
    QCOMPARE(window.height(), before.height());
    QCOMPARE(window.x(), before.x() - 20);
    QCOMPARE(window.y(), before.y());

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

void FrameTest::logActionTogglesTheLogWindow()
{
    TestWindow window(false);
    window.show();
    QVERIFY(window.logDialog);
    QVERIFY(window.logDialog->isHidden());
    QCOMPARE(window.logDialog->windowTitle(), QStringLiteral("Application log"));

    window.appDebugOpenStuff();
    QVERIFY(window.logAction->isChecked());
    QVERIFY(window.logDialog->isVisible());

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

void FrameTest::driveLetterIsTheLowestVolumeBit_data()
{
    QTest::addColumn<uint>("mask");
    QTest::addColumn<QChar>("letter");
    QTest::newRow("C") << 0x4u << QChar('C');
    QTest::newRow("A and C give A") << 0x5u << QChar('A');
    QTest::newRow("Z") << (1u << 25) << QChar('Z');
    QTest::newRow("none of the 26 bits") << (1u << 26 | 1u << 31) << QChar('[');
    QTest::newRow("empty") << 0u << QChar('[');
}

void FrameTest::driveLetterIsTheLowestVolumeBit()
{
    QFETCH(uint, mask);
    QFETCH(QChar, letter);
    QCOMPARE(Common::driveLetterOf(mask), letter);
}

TARN_TEST_MAIN(FrameTest)
#include "tst_frame.moc"
