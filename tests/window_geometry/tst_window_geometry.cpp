// The player window's geometry, full screen and cursor on a real X server,
// with the real X pointer where the behaviour depends on it.
#include "windowfixture.h"

#include "audiotoolbutton.h"
#include "elidedlabel.h"
#include "grip.h"
#include "playershortcuts.h"
#include "timeslider.h"
#include "toolbutton.h"
#include "windowgeometry.h"

#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace {

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
    void initTestCase()
    {
        useSilentAudio();
        // The top bar's buttons as the program makes them: with their images, and a pin.
        qApp->setProperty("appIconMenu", QStringLiteral(":/AppTarn/images/PlayerIcon64x64black.png"));
        qApp->setProperty("appCloseIcon", QStringLiteral(":/AppTarn/images/app/close_black.png"));
        qApp->setProperty("appMinimizeIcon", QStringLiteral(":/AppTarn/images/app/minimize_black.png"));
        qApp->setProperty("appPinButton", QStringLiteral(":/AppTarn/images/app/pin_black.png"));
        const QString longName = QStringLiteral("A rather long film title, 1982, restored edition - part one.");
        QVERIFY(QFile::copy(TarnTest::media("subtitled.mkv"), temp.filePath(longName + "mkv"))); // 4:3
        QVERIFY(QFile::copy(TarnTest::media("wide.mkv"), temp.filePath(longName + "16x9.mkv")));
    }
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

    void gripDragKeepsTheRatioAndMovesSnap()
    {
        window->move(100, 100);
        window->resize(640, 360);
        QTRY_COMPARE(window->size(), QSize(640, 360));
        window->changeDisplayRatio(4, 3);
        QCOMPARE(window->size(), QSize(480, 360));

        QWidget *grip = window->bottomBar->grip;
        QCOMPARE(grip->cursor().shape(), Qt::SizeFDiagCursor);
        const QPoint start = grip->mapToGlobal(grip->rect().center());
        const auto at = [](const QPoint &p) { return QStringList{"mousemove", QString::number(p.x()), QString::number(p.y())}; };
        // Mostly sideways: only the height counts, the width follows it.
        QCOMPARE(QProcess::execute("xdotool", at(start) + QStringList{"sleep", "0.1", "mousedown", "1"}
                                                  + at(start + QPoint(70, 60)) + at(start + QPoint(100, 120))
                                                  + QStringList{"mouseup", "1"}),
                 0);
        QTRY_COMPARE(window->size(), QSize(640, 480));
        QCOMPARE(window->pos(), QPoint(100, 100));
        QTRY_COMPARE(window->bottomBar->geometry().bottomRight(), QPoint(639, 479));

        // A move near a corner of the screen snaps into it.
        window->move(screenRect().topLeft() + QPoint(6, 5));
        QTRY_COMPARE(window->pos(), screenRect().topLeft());
    }

    void bordersNeitherResizeNorChangeTheCursor()
    {
        // The frame resizes from the top-level window's pointer events in its
        // border band; the player window keeps it from doing so.
        window->resize(640, 360);
        QTRY_COMPARE(window->size(), QSize(640, 360));
        const QRect before = window->geometry();
        const QPoint border = window->mapToGlobal(QPoint(2, 357));
        const auto send = [this](QEvent::Type type, const QPoint &to, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, window->mapFromGlobal(to), to, button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(window->windowHandle(), &event);
        };
        send(QEvent::MouseMove, border, Qt::NoButton, Qt::NoButton);
        QVERIFY(!QGuiApplication::overrideCursor());
        send(QEvent::MouseButtonPress, border, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, border + QPoint(-40, 30), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, border + QPoint(-40, 30), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window->geometry(), before);
    }

    void storedLayoutIsRestored_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<bool>("additional");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("restored");
        const QSize wide(640, 360);
        QTest::newRow("full screen, button checked") << true << QPoint(100, 100) << false << wide << screenRect();
        QTest::newRow("full screen, left for a 4:3 size") << true << QPoint(100, 100) << false << QSize(820, 615)
                                                          << screenRect();
        QTest::newRow("window in its place") << false << QPoint(100, 120) << false << wide << QRect(100, 120, 640, 360);
        QTest::newRow("a 4:3 size with nothing playing") << false << QPoint(100, 120) << false << QSize(820, 615)
                                                         << QRect(100, 120, 820, 615);
        QTest::newRow("second video window offset") << false << QPoint(100, 120) << true << wide
                                                    << QRect(140, 160, 640, 360);
        QTest::newRow("off screen comes back") << false << QPoint(5000, -3000) << false << wide
                                               << QRect(0, 0, 640, 360);
    }

    void storedLayoutIsRestored()
    {
        QFETCH(bool, fullScreen);
        QFETCH(QPoint, position);
        QFETCH(bool, additional);
        QFETCH(QSize, size);
        QFETCH(QRect, restored);
        QSettings settings;
        settings.setValue(QStringLiteral("Layout/Main/position"), position);
        settings.setValue(QStringLiteral("Layout/Main/size"), size);
        settings.setValue(QStringLiteral("Layout/Main/fullscreen"), fullScreen);
        destroyWindow();
        QVERIFY(createWindow());
        if (additional) {
            window->windowGeometry->setAdditionalWindow(true);
            window->layoutLoadSettings();
        }
        QTRY_COMPARE(window->geometry(), restored);
        QCOMPARE(window->isFullScreen(), fullScreen);
        QCOMPARE(window->bottomBar->fullscreenButton->isChecked(), fullScreen);
        if (fullScreen) { // leaving it comes back to the stored place and size
            window->bottomBar->fullscreenButton->click();
            QTRY_COMPARE(window->geometry(), QRect(position, size));
        }
    }

    void screensChangedComparesStoredRectangles_data()
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

    void screensChangedComparesStoredRectangles()
    {
        QFETCH(int, count);
        QFETCH(QRect, stored);
        QFETCH(bool, changed);
        if (count >= 0) {
            QSettings().setValue(QStringLiteral("Desktop/screens"), count);
            QSettings().setValue(QStringLiteral("Desktop/Screen 0/size"), stored);
        }
        QCOMPARE(window->screensChanged(), changed);
    }

    // The top bar is the only place of the frameless window's controls.
    void topBarKeepsTitleAndButtons_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("fresh settings, start file 4:3") << "start";
        QTest::newRow("4:3 film handed over while 16:9 plays") << "handover";
        QTest::newRow("full screen and back, three times") << "fullscreen";
        QTest::newRow("restored layout") << "restored";
    }

    void topBarKeepsTitleAndButtons()
    {
        QFETCH(QString, route);
        const QString film43 = temp.filePath(QStringLiteral("A rather long film title, 1982, restored edition - part one.mkv"));
        const QString film169 = temp.filePath(QStringLiteral("A rather long film title, 1982, restored edition - part one.16x9.mkv"));
        if (route == "start" || route == "restored") {
            destroyWindow();
            if (route == "restored") {
                QSettings().setValue(QStringLiteral("Layout/Main/position"), QPoint(30, 40));
                QSettings().setValue(QStringLiteral("Layout/Main/size"), QSize(480, 360));
            }
            QVERIFY(createWindow(film43));
        } else {
            window->openFile(film169);
            QTRY_COMPARE(window->width(), window->height() * 16 / 9);
            QTRY_COMPARE(topBarFault(), QString());
            if (route == "handover")
                window->handleMessage(film43);
        }
        if (route != "fullscreen") {
            QTRY_COMPARE(window->width(), window->height() * 4 / 3);
            QTRY_COMPARE(window->m_titleLabel->text(), QFileInfo(film43).fileName());
        }
        QTRY_COMPARE(topBarFault(), QString());
        if (route == "fullscreen") {
            const QRect before = window->geometry();
            for (int round = 0; round < 3; ++round) {
                window->bottomBar->fullscreenButton->click();
                QTRY_COMPARE(window->geometry(), screenRect());
                QTRY_COMPARE(topBarFault(), QString());
                window->bottomBar->fullscreenButton->click();
                QTRY_COMPARE(window->geometry(), before);
                QTRY_COMPARE(topBarFault(), QString());
            }
        }
        // Every height from the minimum up; the width follows the ratio.
        for (int height = window->minimumHeight(); height <= 620; height += 55) {
            window->resize(window->width(), height);
            QTRY_COMPARE(window->height(), height);
            QTRY_COMPARE(topBarFault(), QString());
        }
    }

    // A film's text subtitles at the bottom of the picture, where the bars lie.
    void subtitlesShowUnderARestingPointer()
    {
        window->move(20, 20);
        window->resize(480, 360);
        window->openFile(TarnTest::media("subtitled.mkv"));
        QVERIFY(window->playing());
        const auto subtitlePixels = [this] { // white ones where the bars lie when shown
            const int bars = window->bottomBar->height() + window->bottomBar->timeSlider->height();
            const QRect area(window->mapToGlobal(QPoint(0, window->height() - bars)), QSize(window->width(), bars));
            const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
            int count = 0;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x) {
                    const QColor c = shot.pixelColor(x, y);
                    count += c.value() > 230 && c.saturation() < 30;
                }
            }
            return count;
        };
        for (const QPoint &rest : {QPoint(240, 150), QPoint(300, 200)}) {
            QCOMPARE(QProcess::execute("xdotool", {"mousemove", QString::number(window->x() + rest.x()),
                                                   QString::number(window->y() + rest.y())}),
                     0);
            QTRY_VERIFY(window->bottomBar->isVisible()); // a movement shows the bars
            QTRY_VERIFY_WITH_TIMEOUT(
                window->bottomBar->isHidden() && window->m_topBar->isHidden() && subtitlePixels() > 40, 3000);
            QVERIFY(!QGuiApplication::overrideCursor()); // the cursor stays in a window
        }
    }

    void openTrackMenuKeepsOverlaysInFullScreen()
    {
        restInFullScreen();
        QCursor::setPos(screenRect().center() + QPoint(5, 5));
        QTRY_VERIFY(!cursorBlank());
        QMenu *menu = window->bottomBar->audioButton->menu();
        menu->addAction(QStringLiteral("Track 1"));
        menu->popup(screenRect().center() + QPoint(200, 0));
        QTest::qWait(2500);
        QVERIFY(window->bottomBar->isVisible());
        QVERIFY(!cursorBlank());
        menu->hide();
        QTRY_VERIFY_WITH_TIMEOUT(cursorBlank(), 4000);
    }

    void cursorComesBack_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("fullScreenAfter");
        QTest::newRow("pointer moves") << "move" << true;
        QTest::newRow("full-screen button") << "button" << false;
        QTest::newRow("Escape") << "escape" << false;
        QTest::newRow("message box over the window") << "box" << true;
        QTest::newRow("another window takes the focus") << "focus" << true;
    }

    void cursorComesBack()
    {
        QFETCH(QString, route);
        QFETCH(bool, fullScreenAfter);
        bool blankUnderBox = true;
        answerer = std::make_unique<TarnTest::ModalAnswerer>([&blankUnderBox](QWidget *) {
            blankUnderBox = QGuiApplication::overrideCursor() != nullptr;
            return false;
        });
        restInFullScreen();
        QWidget other;
        if (route == "move") {
            QCursor::setPos(screenRect().center() + QPoint(3, 2));
            QTRY_VERIFY(window->bottomBar->isVisible());
        } else if (route == "button") {
            window->bottomBar->fullscreenButton->click();
        } else if (route == "escape") {
            QTest::keyClick(window.get(), Qt::Key_Escape);
        } else if (route == "box") {
            PlayerShortcuts::showHelp(window.get());
            QCOMPARE(answerer->boxes.size(), 1);
            QVERIFY(!blankUnderBox);
        } else {
            other.show();
            QVERIFY(QTest::qWaitForWindowExposed(&other));
            other.activateWindow();
        }
        QTRY_VERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(window->isFullScreen(), fullScreenAfter);
        QCOMPARE(window->bottomBar->fullscreenButton->isChecked(), fullScreenAfter);
        // Out of full screen, or behind another window, it stays while the pointer rests.
        if (route != "move" && route != "box") {
            QTest::qWait(2200);
            QVERIFY(!cursorBlank());
        }
    }

    void restoreDefaultsAsksFirst_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("Cancel keeps the settings") << int(QMessageBox::Cancel) << 0;
        QTest::newRow("Apply clears them and restarts") << int(QMessageBox::Apply) << 1001;
    }

    void restoreDefaultsAsksFirst()
    {
        QFETCH(int, button);
        QFETCH(int, exitCode);
        QSettings().setValue(QStringLiteral("Output/volume"), 40);
        answerer->boxButton = QMessageBox::StandardButton(button);
        // The program's own event loop, which the restart code ends.
        QTimer giveUp;
        connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(0); });
        giveUp.start(1500);
        QTimer::singleShot(0, window.get(), [this] { window->appRestoreDefaultSettings(); });
        QCOMPARE(QCoreApplication::exec(), exitCode);
        QCOMPARE(answerer->boxes.size(), 1);
        QVERIFY(answerer->boxes.first().contains(QStringLiteral("Player Tarn will be restarted to clear settings.")));
        QCOMPARE(QSettings().allKeys().isEmpty(), exitCode == 1001);
    }

private:
    // Empty when the title (shortened as needed), the pin, minimise and close
    // buttons lie in the top bar and inside the window; else what is wrong.
    QString topBarFault() const
    {
        QWidget *bar = window->m_topBar;
        // What a movement of the pointer shows.
        if (bar->isHidden())
            bar->show();
        if (bar->width() != window->width())
            return QStringLiteral("bar %1 wide in a window %2 wide").arg(bar->width()).arg(window->width());
        const auto *title = qobject_cast<Common::ElidedLabel *>(window->m_titleLabel);
        const QList<QPair<QString, QWidget *>> parts{{"title", window->m_titleLabel},
                                                    {"pin", window->m_pinButton},
                                                    {"minimise", window->m_minimizeButton},
                                                    {"close", window->m_closeButton}};
        for (const auto &part : parts) {
            QWidget *widget = part.second;
            const QRect inWindow(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
            if (!widget->isVisibleTo(bar) || widget->width() < 16 || !window->rect().contains(inWindow))
                return QStringLiteral("%1 lost at width %2").arg(part.first).arg(window->width());
        }
        if (title->fontMetrics().horizontalAdvance(title->shownText()) > title->contentsRect().width())
            return QStringLiteral("title overflows at width %1").arg(window->width());
        return QString();
    }

    // Full screen by the button, pointer inside and at rest until the
    // overlays and the cursor are gone.
    void restInFullScreen()
    {
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
        QTest::mouseClick(window->bottomBar->fullscreenButton, Qt::LeftButton);
        QTRY_VERIFY(window->isFullScreen());
        QTRY_COMPARE(window->geometry(), screenRect()); // even without a window manager
        QCursor::setPos(screenRect().center());
        QTRY_VERIFY(window->bottomBar->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(cursorBlank(), 4000);
        QVERIFY(window->bottomBar->isHidden() && window->bottomBar->timeSlider->isHidden());
    }

    QTemporaryDir temp;
};

TARN_TEST_MAIN(WindowGeometryTest)
#include "tst_window_geometry.moc"
