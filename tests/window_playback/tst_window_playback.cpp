// The window hosting the engine: real libvlc, real clips, a real X server.
#include "windowfixture.h"

#include "audiotoolbutton.h"
#include "platform.h"
#include "titletoolbutton.h"
#include "videoframe.h"
#include "volumecontrol.h"

#include <QLabel>
#include <QScreen>
#include <QSettings>

using TarnTest::media;

namespace {

// The program runs without Qt's OpenGL integration; so do these tests, so
// that they show that the video still reaches the screen without it.
const bool glIntegrationOff = (Platform::skipQtOpenGlIntegration(), true);

} // namespace

class WindowPlaybackTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { useSilentAudio(); }
    void init()
    {
        QSettings().clear();
        QVERIFY(createWindow());
    }
    void cleanup() { destroyWindow(); }

    void parsedMediumIsPresented_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("titleText");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("audioMenuShown");
        QTest::newRow("film") << "clip.ts" << "clip.ts" << QStringList() << false;
        QTest::newRow("film with two audio tracks") << "twoaudio.mkv" << "Two tongues" << QStringList() << true;
        QTest::newRow("tagged song") << "audio.mp3" << "Tarn Tests - Test Tone"
                                     << QStringList{"Tarn Tests", "Test Tone"} << false;
        QTest::newRow("untagged song") << "untagged.mp3" << "untagged.mp3"
                                       << QStringList{"Playing audio", "untagged.mp3"} << false;
    }

    void parsedMediumIsPresented()
    {
        QFETCH(QString, name);
        QFETCH(QString, titleText);
        QFETCH(QStringList, lines);
        QFETCH(bool, audioMenuShown);
        window->resize(400, 300);
        QTemporaryDir folder;
        const QString untagged = folder.filePath(QStringLiteral("untagged.mp3"));
        QVERIFY(TarnTest::writeMp3(untagged));
        QSignalSpy parsed(window->core.get(), &LibPlayer::Core::mediaParseEnd);
        window->openFile(name == QLatin1String("untagged.mp3") ? untagged : media(name));
        QVERIFY(window->playing());
        // The silent audio device plays faster than real time: parse before a
        // short song is over instead of waiting for the engine's tick.
        window->core->parseMedia();
        QVERIFY(parsed.count() > 0 || parsed.wait(3000));
        QCOMPARE(window->titleLabel->text(), titleText);
        QCOMPARE(window->windowTitle(), titleText + QStringLiteral(" \u2014 Player Tarn"));
        QCOMPARE(window->videoHost->frame()->textLines(), lines);
        QCOMPARE(!window->bottomBar->audioButton->isHidden(), audioMenuShown);
        QVERIFY(window->bottomBar->titleButton->isHidden());
        if (!lines.isEmpty()) // audio goes back to 16:9
            QCOMPARE(window->width(), window->height() * 16 / 9);
        window->finishMedium();
        QTRY_VERIFY(!window->playing());
        QCOMPARE(window->windowTitle(), QStringLiteral("Player Tarn"));
    }

    void videoReachesTheScreen()
    {
        window->resize(320, 180);
        window->openFile(QStringLiteral(TARN_SAMPLE_CLIP));
        QVERIFY(window->playing());
        LibPlayer::VideoFrame *frame = window->videoHost->frame();
        // Pixels that are neither black nor the grey of the bars: the picture.
        const auto coloured = [frame] {
            const QPoint origin = frame->mapToGlobal(QPoint(0, 0));
            const QImage shot = QGuiApplication::primaryScreen()
                                    ->grabWindow(0, origin.x(), origin.y(), frame->width(), frame->height())
                                    .toImage();
            int count = 0;
            for (int y = 0; y < shot.height(); y += 4) {
                for (int x = 0; x < shot.width(); x += 4) {
                    const QColor c = shot.pixelColor(x, y);
                    count += c.saturation() > 100 && c.value() > 100;
                }
            }
            return count;
        };
        QTRY_VERIFY_WITH_TIMEOUT(coloured() > 500, 5000);
    }

    void volumeIsRestoredClampedAndWrittenOnlyAtQuit()
    {
        destroyWindow();
        QSettings().setValue(QStringLiteral("Output/volume"), 999);
        QVERIFY(createWindow());
        QCOMPARE(window->bottomBar->volumeControl->value(), 150);
        window->bottomBar->volumeControl->setValue(40);
        window->openFile(media("short.mp3"));

        // A close from the window manager: no volume written, the engine gone.
        QSettings().clear();
        auto *closing = window.release();
        QPointer<PlayerWindow> guard(closing);
        closing->close();
        QTRY_VERIFY(!guard);
        QCOMPARE(LibPlayer::Core::liveEngines(), 0);
        QVERIFY(!QSettings().contains(QStringLiteral("Output/volume")));

        QVERIFY(createWindow());
        QCOMPARE(window->bottomBar->volumeControl->value(), 100);
        window->bottomBar->volumeControl->setValue(40);
        QMetaObject::invokeMethod(window.get(), "fileQuit");
        QCOMPARE(QSettings().value(QStringLiteral("Output/volume")).toInt(), 40);
    }
};

TARN_TEST_MAIN(WindowPlaybackTest)
#include "tst_window_playback.moc"
