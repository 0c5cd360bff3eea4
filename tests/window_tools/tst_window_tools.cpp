// Speed, frame steps, the A-B loop, delays, the screenshot and the feedback
// line, driven by keys through the real window with the real engine.
#include "windowfixture.h"

#include "abloop.h"
#include "feedbackline.h"
#include "feedbacktext.h"
#include "jumptotimedialog.h"
#include "playbacktools.h"
#include "playercommands.h"
#include "playtoolbutton.h"
#include "timeslider.h"
#include "titletoolbutton.h"

#include <QAction>
#include <QMenu>

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using TarnTest::media;

class WindowToolsTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useSilentAudio();
        // The Pictures folder of the user's folders file.
        QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
        QFile dirs(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs");
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_PICTURES_DIR=\"" + QFile::encodeName(pictures.path()) + "\"\n");
    }
    void init() { QVERIFY(createFocusedWindow()); }
    void cleanup() { destroyWindow(); }

    void jumpTimeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("ms"); // -1: not a time
        QTest::newRow("seconds") << "90" << 90000LL;
        QTest::newRow("MM:SS") << "12:34" << 754000LL;
        QTest::newRow("H:MM:SS, spaces around") << " 1:02:03 " << 3723000LL;
        QTest::newRow("minutes past an hour") << "75:00" << 4500000LL;
        QTest::newRow("zero") << "0:00" << 0LL;
        QTest::newRow("seconds of 60 after a colon") << "1:60" << -1LL;
        QTest::newRow("minutes of 60 after hours") << "1:60:00" << -1LL;
        QTest::newRow("empty") << "" << -1LL;
        QTest::newRow("negative") << "-5" << -1LL;
        QTest::newRow("letters") << "1:2x" << -1LL;
        QTest::newRow("four fields") << "1:00:00:00" << -1LL;
        QTest::newRow("decimal") << "1.5" << -1LL;
    }
    void jumpTimeText()
    {
        QFETCH(QString, text);
        QFETCH(qlonglong, ms);
        QCOMPARE(parseJumpTime(text).value_or(-1), ms);
    }

    void frameStepTarget_data()
    {
        QTest::addColumn<qlonglong>("ms");
        QTest::addColumn<int>("frames");
        QTest::addColumn<qlonglong>("target");
        QTest::newRow("reported early: the next picture") << 990LL << 1 << 1040LL;
        QTest::newRow("on a picture: the one before") << 1000LL << -1 << 960LL;
        QTest::newRow("within a picture: the one before") << 1025LL << -1 << 960LL;
        QTest::newRow("first picture: stays at 0") << 10LL << -1 << 0LL;
    }
    void frameStepTarget()
    {
        QFETCH(qlonglong, ms);
        QFETCH(int, frames);
        QFETCH(qlonglong, target);
        QCOMPARE(FeedbackText::frameStepTarget(ms, 40, frames), target);
    }

    void keysTellOnTheLine_data()
    {
        QTest::addColumn<bool>("medium");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("line");
        for (const auto key : {Qt::Key_BracketRight, Qt::Key_Period, Qt::Key_L, Qt::Key_Minus, Qt::Key_G, Qt::Key_S})
            QTest::newRow(qPrintable("nothing playing: " + QKeySequence(key).toString()))
                << false << QKeySequence(key) << "Nothing is playing";
        QTest::newRow("nothing playing: Shift+N")
            << false << QKeySequence(Qt::SHIFT + Qt::Key_N) << "Nothing is playing";
        QTest::newRow("nothing playing: Ctrl+T opens no dialog")
            << false << QKeySequence(Qt::CTRL + Qt::Key_T) << "Nothing is playing";
        QTest::newRow("Up: volume") << false << QKeySequence(Qt::Key_Up) << "Volume 105 %";
        QTest::newRow("M: muted") << false << QKeySequence(Qt::Key_M) << "Muted";
        QTest::newRow("Right: time and length") << true << QKeySequence(Qt::Key_Right) << "0:00:05 / 0:00:06";
        QTest::newRow("-: audio delay") << true << QKeySequence(Qt::Key_Minus) << "Audio delay -50 ms";
        QTest::newRow("H: subtitle delay") << true << QKeySequence(Qt::Key_H) << "Subtitle delay +50 ms";
        QTest::newRow("[: slower") << true << QKeySequence(Qt::Key_BracketLeft) << "Speed 0.9x";
        QTest::newRow("L: A set") << true << QKeySequence(Qt::Key_L) << "A-B loop: A set at 0:00:00";
    }
    void keysTellOnTheLine()
    {
        QFETCH(bool, medium);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, line);
        if (medium)
            playPaused();
        QTest::keySequence(window.get(), keys);
        FeedbackLine *shown = window->feedbackLine;
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->text(), line);
        QVERIFY(answerer->fileDialogs.isEmpty() && answerer->seen.isEmpty());
        // Top-left over the video, never in the mouse's way; gone after its
        // time, and no timer runs while nothing shows.
        QVERIFY(shown->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(shown->geometry().bottom() < window->height() / 2);
        QTRY_VERIFY_WITH_TIMEOUT(!shown->isVisible(), 5000);
        QVERIFY(!shown->isTimerActive());
    }

    void jumpDialogTakesOnlyATime()
    {
        playPaused();
        QStringList prefilled;
        QList<bool> playEnabled;
        answerer = std::make_unique<TarnTest::ModalAnswerer>([&](QWidget *modal) {
            auto *edit = modal->findChild<QLineEdit *>();
            auto *play = modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            prefilled << edit->text();
            QTest::keyClicks(edit, "x"); // typed over the selected time
            playEnabled << play->isEnabled();
            edit->setText("0:03");
            playEnabled << play->isEnabled();
            play->click();
            return true;
        });
        QTest::keySequence(window.get(), QKeySequence(Qt::CTRL + Qt::Key_T));
        QCOMPARE(prefilled, QStringList{"0:00:00"});
        QCOMPARE(playEnabled, (QList<bool>{false, true}));
        QTRY_VERIFY(std::abs(window->core->time() - 3000) < 100);
    }

    void speedAndDelaysHoldUntilTheNextMedium()
    {
        window->openFile(media("red.mkv"));
        QVERIFY(window->playing());
        QTest::keyClick(window.get(), Qt::Key_BracketRight);
        QTest::keyClick(window.get(), Qt::Key_BracketRight);
        QCOMPARE(window->core->rate(), 1.25);
        QCOMPARE(window->feedbackLine->text(), QStringLiteral("Speed 1.25x"));
        QTRY_VERIFY(window->core->time() > 200);
        QElapsedTimer wall;
        const qint64 from = window->core->time();
        wall.start();
        QTest::qWait(2000);
        const double ratio = double(window->core->time() - from) / wall.elapsed();
        QVERIFY2(std::abs(ratio - 1.25) < 1.25 * 0.15, qPrintable(QString::number(ratio)));

        QTest::keyClick(window.get(), Qt::Key_Minus);
        QCOMPARE(window->core->audioDelay(), -50);
        window->openFile(media("av.mkv"));
        QVERIFY(window->playing());
        QCOMPARE(window->core->rate(), 1.0);
        QCOMPARE(window->core->audioDelay(), 0);
    }

    void clickOnTheLineReachesTheVideo()
    {
        window->openFile(media("red.mkv"));
        QVERIFY(window->playing());
        QTest::keyClick(window.get(), Qt::Key_BracketRight);
        FeedbackLine *line = window->feedbackLine;
        QTRY_VERIFY(line->isVisible());
        const QPoint centre = line->mapToGlobal(line->rect().center());
        QCOMPARE(QProcess::execute("xdotool", {"mousemove", QString::number(centre.x()), QString::number(centre.y()),
                                               "click", "1"}),
                 0);
        QTRY_VERIFY(!window->bottomBar->playButton->isPlaying());
    }

    void frameStepsMoveOnePicture()
    {
        playPaused();
        const qint64 frame = window->core->frameDurationMs();
        QCOMPARE(frame, 40);
        window->commands->seekTo(1000);
        const qint64 before = window->core->time();
        const QImage pictureBefore = snapshot("before.png");
        QTest::keyClick(window.get(), Qt::Key_Period);
        QTRY_VERIFY(std::abs(window->core->time() - (before + frame)) <= frame);
        QVERIFY(!window->core->isPlaying());
        QTRY_VERIFY(snapshot("after.png") != pictureBefore);

        const qint64 after = window->core->time();
        QTest::keyClick(window.get(), Qt::Key_Comma);
        QTRY_VERIFY(std::abs(window->core->time() - (after - frame)) <= frame);
        QVERIFY(!window->core->isPlaying());
    }

    void abLoopHoldsTheTimeBetweenAAndB()
    {
        playPaused();
        window->commands->seekTo(1000);
        QTest::keyClick(window.get(), Qt::Key_L);
        window->commands->seekTo(2000);
        QTest::keyClick(window.get(), Qt::Key_L);
        AbLoop *loop = window->tools->abLoop();
        QVERIFY(loop->isActive());
        QVERIFY(std::abs(loop->start() - 1000) < 100 && std::abs(loop->end() - 2000) < 100);
        window->commands->play();
        QElapsedTimer wall;
        wall.start();
        while (wall.elapsed() < 3000) {
            QTest::qWait(50);
            const qint64 now = window->core->time();
            // A time event or two may pass B before the jump back.
            QVERIFY2(now >= loop->start() - 100 && now <= loop->end() + 400, qPrintable(QString::number(now)));
        }
        QTest::keyClick(window.get(), Qt::Key_L);
        QVERIFY(!loop->isActive());

        QTest::keyClick(window.get(), Qt::Key_L);
        window->openFile(media("red.mkv"));
        QTRY_COMPARE(loop->start(), -1);
    }

    void chaptersFillTheMenuAndMoveTheTime()
    {
        window->openFile(media("red.mkv"));
        QVERIFY(window->playing());
        LibPlayer::TitleToolButton *chapters = window->bottomBar->chapterButton;
        QTRY_VERIFY(!chapters->isHidden());
        const QList<QAction *> entries = chapters->menu()->actions();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(2)->text(), QStringLiteral("Chapter 3: Ending"));
        window->commands->pause();
        entries.at(2)->trigger();
        QTRY_VERIFY(window->core->time() >= 3950 && window->core->time() < 4500);
        QTest::keySequence(window.get(), QKeySequence(Qt::SHIFT + Qt::Key_P));
        QCOMPARE(window->feedbackLine->text(), QStringLiteral("Chapter 2: Middle"));
        QTRY_VERIFY(window->core->time() >= 1950 && window->core->time() < 2500);
        QCOMPARE(window->core->chapter(), 1);
    }

    void screenshotSavesThePictureAtItsSize()
    {
        playPaused();
        window->commands->seekTo(2500);
        QTest::keyClick(window.get(), Qt::Key_S);
        const QString path = pictures.filePath("red 0-00-02.png");
        // Taken off the GUI thread: the line comes when the file is written.
        QTRY_COMPARE_WITH_TIMEOUT(window->feedbackLine->text(), "Screenshot saved: " + path, 8000);
        const QImage picture(path);
        QCOMPARE(picture.size(), QSize(120, 80));
        const QColor corner = picture.pixelColor(4, 4);
        QVERIFY2(corner.red() > 200 && corner.green() < 60 && corner.blue() < 60, qPrintable(corner.name()));

        // A second one never replaces the first.
        QTest::keyClick(window.get(), Qt::Key_S);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pictures.filePath("red 0-00-02 (2).png")), 8000);

        // The key returns while the picture is taken, and a stop that
        // overtakes it ends it (saved or not, its thread held the player on
        // its own) with no failure told.
        QTRY_VERIFY(!window->core->snapshotPending());
        QSignalSpy lines(window->tools, &PlaybackTools::feedback);
        QTest::keyClick(window.get(), Qt::Key_S);
        QVERIFY(window->core->snapshotPending());
        window->commands->stop();
        QTRY_VERIFY(!window->core->snapshotPending());
        for (const QList<QVariant> &line : qAsConst(lines))
            QVERIFY2(!line.at(0).toString().startsWith("Screenshot failed"), qPrintable(line.at(0).toString()));
    }

private:
    void playPaused()
    {
        window->openFile(media("red.mkv"));
        QVERIFY(window->playing());
        window->commands->pause();
        QTRY_VERIFY(window->core->length() > 5000);
    }
    QImage snapshot(const QString &name)
    {
        const QString path = scratch.filePath(name);
        QFile::remove(path);
        QSignalSpy finished(window->core.get(), &LibPlayer::Core::snapshotFinished);
        if (window->core->requestSnapshot(path))
            finished.wait(8000);
        return QImage(path);
    }

    QTemporaryDir pictures;
    QTemporaryDir scratch;
};

TARN_TEST_MAIN(WindowToolsTest)
#include "tst_window_tools.moc"
