// The player window's geometry, full screen and cursor on a real X server,
// with the real X pointer where the behaviour depends on it.
#include "windowfixture.h"

#include "audiotoolbutton.h"
#include "grip.h"
#include "timeslider.h"
#include "playershortcuts.h"
#include "toolbutton.h"
#include "windowgeometry.h"

#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QWindow>

namespace {

// Pointer input through the X server, as a user's.
bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

QStringList at(const QPoint &global)
{
    return {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())};
}

bool cursorBlank()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::BlankCursor;
}

QRect screenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

} // namespace

class WindowGeometryTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { useSilentAudio(); }
    void init()
    {
        QSettings().clear();
        QVERIFY(createWindow());
    }
    void cleanup()
    {
        destroyWindow();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void gripDragKeepsTheRatio();
    void bordersNeitherResizeNorChangeTheCursor();
    void movesSnapToTheScreen_data();
    void movesSnapToTheScreen();
    void storedLayoutIsRestored_data();
    void storedLayoutIsRestored();
    void screensChangedComparesStoredRectangles_data();
    void screensChangedComparesStoredRectangles();
    void openTrackMenuKeepsOverlaysInFullScreen();
    void cursorComesBack_data();
    void cursorComesBack();
    void titleMakesRoomForTheButtons_data();
    void titleMakesRoomForTheButtons();
    void restoreDefaultsAsksFirst_data();
    void restoreDefaultsAsksFirst();

private:
    void recreateWindow()
    {
        destroyWindow();
        QVERIFY(createWindow());
    }
    // Full screen by the button, pointer inside and at rest until the
    // overlays and the cursor are gone.
    void restInFullScreen();
};

void WindowGeometryTest::gripDragKeepsTheRatio()
{
    window->move(100, 100);
    window->resize(640, 360);
    QTRY_COMPARE(window->size(), QSize(640, 360));
    window->changeDisplayRatio(4, 3);
    QCOMPARE(window->size(), QSize(480, 360));

    QWidget *grip = window->bottomBar->grip;
    QCOMPARE(grip->cursor().shape(), Qt::SizeFDiagCursor);
    const QPoint start = grip->mapToGlobal(grip->rect().center());
    QVERIFY(xdotool(at(start)));
    QTest::qWait(100);
    // Mostly sideways: only the height counts, the width follows it.
    QVERIFY(xdotool(QStringList{"mousedown", "1"} + at(start + QPoint(70, 60)) + at(start + QPoint(100, 120))
                    + QStringList{"mouseup", "1"}));
    QTRY_COMPARE(window->height(), 480);
    QCOMPARE(window->width(), 640);
    QCOMPARE(window->pos(), QPoint(100, 100));
    // The bars follow the new size.
    QTRY_COMPARE(window->bottomBar->geometry(), QRect(0, 480 - window->bottomBar->height(), 640,
                                                      window->bottomBar->height()));
}

void WindowGeometryTest::bordersNeitherResizeNorChangeTheCursor()
{
    // The frame resizes from pointer events of the top-level window in its
    // border band; the player window keeps it from doing so.
    window->move(200, 200);
    window->resize(640, 360);
    QTRY_COMPARE(window->size(), QSize(640, 360));
    const QRect before = window->geometry();
    QWindow *handle = window->windowHandle();
    for (const QPoint &border : {QPoint(1, 180), QPoint(2, 357), QPoint(638, 2)}) {
        const QPoint global = window->mapToGlobal(border);
        const auto send = [&](QEvent::Type type, const QPoint &to, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, window->mapFromGlobal(to), to, button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(handle, &event);
        };
        send(QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton);
        QVERIFY(!QGuiApplication::overrideCursor());
        send(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, global + QPoint(-40, 30), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, global + QPoint(-40, 30), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window->geometry(), before);
    }
}

void WindowGeometryTest::movesSnapToTheScreen_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QPoint>("snapped");
    const QRect screen = screenRect();
    const int right = screen.right() - 640 + 1; // x of a window flush with the right edge
    const int bottom = screen.bottom() - 360 + 1;
    QTest::newRow("near the left edge") << QPoint(4, 300) << QPoint(0, 300);
    QTest::newRow("near the top-left corner") << QPoint(6, 5) << QPoint(0, 0);
    QTest::newRow("near the bottom-right corner") << QPoint(right - 5, bottom + 6) << QPoint(right, bottom);
    QTest::newRow("in the middle") << QPoint(300, 300) << QPoint(300, 300);
}

void WindowGeometryTest::movesSnapToTheScreen()
{
    QFETCH(QPoint, to);
    QFETCH(QPoint, snapped);
    window->resize(640, 360);
    window->move(300, 300);
    QTRY_COMPARE(window->pos(), QPoint(300, 300));
    window->move(to);
    QTRY_COMPARE(window->pos(), snapped);
    QTest::qWait(50);
    QCOMPARE(window->pos(), snapped);
}

void WindowGeometryTest::storedLayoutIsRestored_data()
{
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("additional");
    QTest::addColumn<QRect>("restored");
    const QRect screen = screenRect();
    QTest::newRow("full screen, button checked") << true << QPoint(100, 100) << QSize(640, 360) << false << screen;
    QTest::newRow("window in its place") << false << QPoint(100, 120) << QSize(640, 360) << false
                                         << QRect(100, 120, 640, 360);
    QTest::newRow("second video window offset") << false << QPoint(100, 120) << QSize(640, 360) << true
                                                << QRect(140, 160, 640, 360);
    QTest::newRow("off screen comes back") << false << QPoint(5000, -3000) << QSize(640, 360) << false
                                           << QRect(0, 0, 640, 360);
    QTest::newRow("too large fits the screen") << false << QPoint(100, 100) << QSize(4000, 3000) << false
                                               << QRect(100, 100, screen.width(), screen.width() * 9 / 16);
}

void WindowGeometryTest::storedLayoutIsRestored()
{
    QFETCH(bool, fullScreen);
    QFETCH(QPoint, position);
    QFETCH(QSize, size);
    QFETCH(bool, additional);
    QFETCH(QRect, restored);
    {
        QSettings settings;
        settings.setValue(QStringLiteral("Layout/Main/position"), position);
        settings.setValue(QStringLiteral("Layout/Main/size"), size);
        settings.setValue(QStringLiteral("Layout/Main/fullscreen"), fullScreen);
    }
    recreateWindow();
    if (additional) {
        window->windowGeometry->setAdditionalWindow(true);
        window->layoutLoadSettings();
    }
    QTRY_COMPARE(window->geometry(), restored);
    QCOMPARE(window->isFullScreen(), fullScreen);
    QCOMPARE(window->bottomBar->fullscreenButton->isChecked(), fullScreen);
    if (fullScreen) {
        // Leaving full screen comes back to the stored size and place.
        window->bottomBar->fullscreenButton->click();
        QTRY_COMPARE(window->geometry(), QRect(position, size));
    }
}

void WindowGeometryTest::screensChangedComparesStoredRectangles_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<bool>("changed");
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::newRow("nothing stored") << -1 << QRect() << false;
    QTest::newRow("two stored, one attached") << 2 << available << true;
    QTest::newRow("the same screen") << 1 << available << false;
    QTest::newRow("one pixel lower today") << 1 << available.adjusted(0, 0, 0, 1) << true;
    QTest::newRow("one pixel narrower today") << 1 << available.adjusted(0, 0, 1, 0) << true;
    QTest::newRow("larger today") << 1 << available.adjusted(0, 0, -100, -100) << false;
}

void WindowGeometryTest::screensChangedComparesStoredRectangles()
{
    QFETCH(int, count);
    QFETCH(QRect, stored);
    QFETCH(bool, changed);
    if (count >= 0) {
        QSettings settings;
        settings.setValue(QStringLiteral("Desktop/screens"), count);
        settings.setValue(QStringLiteral("Desktop/Screen 0/size"), stored);
    }
    QCOMPARE(window->screensChanged(), changed);
}

void WindowGeometryTest::restInFullScreen()
{
    window->activateWindow();
    QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
    QTest::mouseClick(window->bottomBar->fullscreenButton, Qt::LeftButton);
    QTRY_VERIFY(window->isFullScreen());
    // Full screen under a bare X server still takes the whole screen.
    QTRY_COMPARE(window->geometry(), screenRect());
    QCursor::setPos(screenRect().center());
    QTRY_VERIFY(window->bottomBar->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(cursorBlank(), 4000);
    QVERIFY(window->bottomBar->isHidden());
    QVERIFY(window->bottomBar->timeSlider->isHidden());
}

void WindowGeometryTest::openTrackMenuKeepsOverlaysInFullScreen()
{
    restInFullScreen();
    QCursor::setPos(screenRect().center() + QPoint(5, 5));
    QTRY_VERIFY(!cursorBlank());
    QMenu *menu = window->bottomBar->audioButton->menu();
    menu->addAction(QStringLiteral("Track 1"));
    menu->popup(screenRect().center() + QPoint(200, 0));
    QTRY_VERIFY(menu->isVisible());
    QTest::qWait(2500);
    QVERIFY(window->bottomBar->isVisible());
    QVERIFY(!cursorBlank());
    menu->hide();
    QTRY_VERIFY_WITH_TIMEOUT(cursorBlank(), 4000);
}

void WindowGeometryTest::cursorComesBack_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("fullScreenAfter");
    QTest::newRow("pointer moves") << "move" << true;
    QTest::newRow("full-screen button") << "button" << false;
    QTest::newRow("Escape") << "escape" << false;
    QTest::newRow("message box over the window") << "box" << true;
    QTest::newRow("another window takes the focus") << "focus" << true;
}

void WindowGeometryTest::cursorComesBack()
{
    QFETCH(QString, route);
    QFETCH(bool, fullScreenAfter);
    int cursorsWhileBox = -1;
    answerer = std::make_unique<TarnTest::ModalAnswerer>([&cursorsWhileBox](QWidget *) {
        cursorsWhileBox = QGuiApplication::overrideCursor() ? 1 : 0;
        return false;
    });
    restInFullScreen();
    QWidget other;
    if (route == QLatin1String("move")) {
        QCursor::setPos(screenRect().center() + QPoint(3, 2));
        QTRY_VERIFY(window->bottomBar->isVisible());
    } else if (route == QLatin1String("button")) {
        window->bottomBar->fullscreenButton->click();
    } else if (route == QLatin1String("escape")) {
        QTest::keyClick(window.get(), Qt::Key_Escape);
    } else if (route == QLatin1String("box")) {
        PlayerShortcuts::showHelp(window.get());
        QCOMPARE(answerer->boxes.size(), 1);
        QCOMPARE(cursorsWhileBox, 0);
    } else {
        other.resize(200, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.activateWindow();
    }
    QTRY_VERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(window->isFullScreen(), fullScreenAfter);
    QCOMPARE(window->bottomBar->fullscreenButton->isChecked(), fullScreenAfter);
    // Out of full screen, or with another window in front, nothing blanks it
    // again while the pointer rests.
    if (route != QLatin1String("move") && route != QLatin1String("box")) {
        QTest::qWait(2200);
        QVERIFY(!cursorBlank());
    }
}

void WindowGeometryTest::titleMakesRoomForTheButtons_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("alignment");
    QTest::newRow("wide enough: centred") << 540 << "Clip" << int(Qt::AlignCenter);
    QTest::newRow("too narrow: left") << 180
                                      << "A rather long artist name - and an even longer title of the song"
                                      << int(Qt::AlignLeft | Qt::AlignVCenter);
}

void WindowGeometryTest::titleMakesRoomForTheButtons()
{
    QFETCH(int, height);
    QFETCH(QString, title);
    QFETCH(int, alignment);
    int buttons = 0;
    for (const QToolButton *button : {window->iconButton, window->minimizeButton, window->closeButton})
        buttons += button->sizeHint().width();
    // As shown first, after the default layout's ratio lock.
    QCOMPARE(window->titleLabel->width(), window->width() - buttons);

    window->resize(2000, height);
    QTRY_COMPARE(window->height(), height);
    window->setTitleText(title);
    QCOMPARE(int(window->titleLabel->alignment()), alignment);
    QCOMPARE(window->titleLabel->width(), window->width() - buttons);
}

void WindowGeometryTest::restoreDefaultsAsksFirst_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("Cancel keeps the settings") << int(QMessageBox::Cancel) << 0;
    QTest::newRow("Apply clears them and restarts") << int(QMessageBox::Apply) << 1001;
}

void WindowGeometryTest::restoreDefaultsAsksFirst()
{
    QFETCH(int, button);
    QFETCH(int, exitCode);
    QSettings().setValue(QStringLiteral("Output/volume"), 40);
    QSettings().setValue(QStringLiteral("Input/video instance"), true);
    answerer->boxButton = QMessageBox::StandardButton(button);

    // The program's own event loop, which the restart code ends.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(0); });
    giveUp.start(1500);
    QTimer::singleShot(0, window.get(), [this] { window->appRestoreDefaultSettings(); });
    QCOMPARE(QCoreApplication::exec(), exitCode);

    QCOMPARE(answerer->boxes.size(), 1);
    QVERIFY(answerer->boxes.first().contains(QStringLiteral("Player Tarn will be restarted to clear settings.")));
    QSettings settings;
    QCOMPARE(settings.allKeys().isEmpty(), exitCode == 1001);
}

TARN_TEST_MAIN(WindowGeometryTest)
#include "tst_window_geometry.moc"
