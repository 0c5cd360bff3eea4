// The window hosting the engine: real libvlc, real clips, a real X server.
#include "localhttpserver.h"
#include "windowfixture.h"

#include "audiotoolbutton.h"
#include "inputdiscdialog.h"
#include "feedbackline.h"
#include "mediainfodialog.h"
#include "logdialog.h"
#include "opticaldrives.h"
#include "platform.h"
#include "playtoolbutton.h"
#include "timelabel.h"
#include "tracktoolbutton.h"
#include "titletoolbutton.h"
#include "videoframe.h"
#include "volumecontrol.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>

using TarnTest::media;

namespace {

// The program runs without Qt's OpenGL integration; so do these tests, so
// that they show that the video still reaches the screen without it.
const bool glIntegrationOff = (Platform::skipQtOpenGlIntegration(), true);

// A machine without optical drives, whatever this one has.
class NoDrives : public Platform::OpticalDrives
{
public:
    QList<Platform::OpticalDrive> drives() const override { return {}; }
    Platform::DiscInfo discInfo(const QString &) const override { return {}; }
};

// Answers the disc dialog: browses to folder (the file dialog is answered by
// the modal answerer), checks the kind's radio button, then presses Play; an
// empty folder cancels, "-" presses Play without browsing.
std::function<bool(QWidget *)> discDialogAnswer(const QString &kind, const QString &folder)
{
    return [kind, folder](QWidget *modal) {
        auto *dialog = qobject_cast<InputDiscDialog *>(modal);
        if (!dialog)
            return false;
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        if (folder.isEmpty()) {
            QTimer::singleShot(0, buttons->button(QDialogButtonBox::Cancel), &QPushButton::click);
            return true;
        }
        if (dialog->findChild<QComboBox *>()->count() == 0 && folder != QLatin1String("-")) {
            // Deferred: the file dialog it opens must be answered from the
            // event loop, not from inside this answer.
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == QLatin1String("Browse..."))
                    QTimer::singleShot(0, button, &QPushButton::click);
            }
            return true;
        }
        for (QRadioButton *radio : dialog->findChildren<QRadioButton *>()) {
            if (radio->text() == kind)
                radio->setChecked(true);
        }
        QTimer::singleShot(0, buttons->button(QDialogButtonBox::Ok), &QPushButton::click);
        return true;
    };
}

} // namespace

class WindowPlaybackTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useSilentAudio();
        QVERIFY(QDir().mkpath(urlDvd + "/VIDEO_TS"));
        for (const QString &name : QDir(media("dvd/VIDEO_TS")).entryList(QDir::Files))
            QVERIFY(QFile::copy(media("dvd/VIDEO_TS/") + name, urlDvd + "/VIDEO_TS/" + name));
    }
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
        const QString hint = QStringLiteral("Drop files here, or press Ctrl+O");
        QCOMPARE(window->videoHost->frame()->hint(), hint); // the empty player
        window->openFile(name == QLatin1String("untagged.mp3") ? untagged : media(name));
        QVERIFY(window->playing());
        // The silent audio device plays faster than real time: parse before a
        // short song is over instead of waiting for the engine's tick.
        window->core->parseMedia();
        QVERIFY(parsed.count() > 0 || parsed.wait(3000));
        QCOMPARE(window->m_titleLabel->text(), titleText);
        QCOMPARE(window->windowTitle(), titleText + QStringLiteral(" \u2014 Player Tarn"));
        QCOMPARE(window->videoHost->frame()->textLines(), lines);
        QCOMPARE(window->videoHost->frame()->hint(), QString());
        QCOMPARE(!window->bottomBar->audioButton->isHidden(), audioMenuShown);
        QVERIFY(window->bottomBar->titleButton->isHidden());
        if (!lines.isEmpty()) // audio goes back to 16:9
            QCOMPARE(window->width(), window->height() * 16 / 9);
        window->finishMedium();
        QTRY_VERIFY(!window->playing());
        QCOMPARE(window->windowTitle(), QStringLiteral("Player Tarn"));
        QCOMPARE(window->videoHost->frame()->hint(), hint);
    }

    // Ctrl+I shows what the engine knows of the medium, and copies it as
    // text; with nothing playing it only says so on the feedback line.
    void mediaInformationListsContainerTracksAndTags_data()
    {
        // The film's mono AAC track is announced with 1 or 2 channels,
        // depending on whether its decoder has started: only the line is pinned.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("film") << "av.mkv"
                              << QStringList{"  Container: Matroska", "  Length: 00:03", "Video track ",
                                             "  Codec: h264", "  Resolution: 160x120", "  Frame rate: 25 fps\n\n",
                                             "  Codec: mp4a", "  Channels: ", "  Sample rate: 44100 Hz"};
        QTest::newRow("two languages") << "twoaudio.mkv"
                                       << QStringList{"  Codec: mp4a (MPEG AAC Audio)", "  Language: eng", "  Language: fra",
                                                      "  Title: Two tongues"};
        QTest::newRow("tagged song") << "audio.mp3"
                                     << QStringList{"  Container: MPEG audio", "  Codec: mp3 (", "  Sample rate: 22050 Hz",
                                                    "  Title: Test Tone", "  Artist: Tarn Tests"};
        QTest::newRow("nothing playing") << "" << QStringList();
    }

    void mediaInformationListsContainerTracksAndTags()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QStringList log;
        connect(window.get(), &PlayerWindow::messageNotice, [&log](const QString &line) { log << line; });
        int shown = 0;
        answerer = std::make_unique<TarnTest::ModalAnswerer>([&shown](QWidget *modal) {
            auto *dialog = qobject_cast<MediaInfoDialog *>(modal);
            if (!dialog)
                return false;
            ++shown;
            dialog->copyButton()->click();
            dialog->reject();
            return true;
        });
        QApplication::clipboard()->clear();
        if (!name.isEmpty()) {
            QSignalSpy parsed(window->core.get(), &LibPlayer::Core::mediaParseEnd);
            window->openFile(media(name));
            window->core->parseMedia();
            QVERIFY(parsed.count() > 0 || parsed.wait(3000));
        }
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
        QTest::keySequence(window.get(), QKeySequence(Qt::CTRL + Qt::Key_I));
        if (name.isEmpty()) {
            QTest::qWait(200);
            QCOMPARE(shown, 0);
            QVERIFY(log.contains("[Main] Nothing is playing"));
            QCOMPARE(window->feedbackLine->text(), QStringLiteral("Nothing is playing"));
            return;
        }
        QTRY_COMPARE(shown, 1);
        const QString text = QApplication::clipboard()->text();
        QVERIFY2(text.startsWith("General\n  Location: " + media(name) + "\n"), qPrintable(text));
        for (const QString &line : lines)
            QVERIFY2(text.contains(line), qPrintable(line + " not in:\n" + text));
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

    void discFolderPlaysOrIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("box");
        QTest::newRow("DVD folder") << "DVD" << media("dvd") << "";
        QTest::newRow("DVD folder with URL characters in its path") << "DVD" << urlDvd << "";
        QTest::newRow("no audio CD there") << "Audio CD" << media("dvd") << "No audio CD";
        QTest::newRow("cancelled") << "DVD" << "" << "";
    }

    void discFolderPlaysOrIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, folder);
        QFETCH(QString, box);
        answerer = std::make_unique<TarnTest::ModalAnswerer>(discDialogAnswer(kind, folder));
        answerer->fileAnswers << folder;
        window->playback->setOpticalDrives(std::make_shared<NoDrives>());
        window->playback->setLastDisc(QStringLiteral("/earlier"));
        QMetaObject::invokeMethod(window.get(), "openDisc");
        window->settle();
        const bool plays = box.isEmpty() && !folder.isEmpty();
        QCOMPARE(window->playing(), plays);
        QCOMPARE(window->playback->lastDisc(), plays ? folder : QStringLiteral("/earlier"));
        QCOMPARE(answerer->boxes.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QVERIFY(answerer->boxes.first().contains(box));
        if (!plays)
            return;
        window->core->parseMedia();
        QTRY_VERIFY(!window->bottomBar->titleButton->menu()->actions().isEmpty());
    }

    void stoppedControlsThenPlay_data()
    {
        QTest::addColumn<QString>("before"); // "", "playing", "ended", "failed URL"
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("playStartsAgain");
        QTest::newRow("end: Play starts the film again") << "playing" << "end" << true;
        QTest::newRow("a URL that fails to open") << "playing" << "failed URL" << false;
        QTest::newRow("disc dialog played empty, nothing before") << "" << "empty disc" << false;
        QTest::newRow("disc dialog played empty after an end") << "ended" << "empty disc" << true;
        QTest::newRow("disc dialog played empty after a failed URL") << "failed URL" << "empty disc" << false;
    }

    void stoppedControlsThenPlay()
    {
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(bool, playStartsAgain);
        LibPlayer::PlayToolButton *play = window->bottomBar->playButton;
        if (before == "playing" || before == "ended") {
            window->openFile(media("av.mkv"));
            QTRY_VERIFY(!window->bottomBar->timeLabel->text().isEmpty());
        }
        if (before == "ended" || action == "end") {
            window->finishMedium();
            QTRY_VERIFY(!window->playing());
        }
        if (before == "failed URL" || action == "failed URL") {
            answerer->textAnswers << QStringLiteral("http://127.0.0.1:9/none.mp4");
            window->openUrl();
            QCOMPARE(answerer->boxes.size(), 1);
        }
        if (action == "empty disc") {
            answerer = std::make_unique<TarnTest::ModalAnswerer>(discDialogAnswer("DVD", "-"));
            window->playback->setOpticalDrives(std::make_shared<NoDrives>());
            QMetaObject::invokeMethod(window.get(), "openDisc");
            QVERIFY(!answerer->seen.isEmpty());
        }
        QVERIFY(!window->core->isPlaying());
        QVERIFY(!play->isPlaying());
        QVERIFY(play->styleSheet().contains(QLatin1String("play_black.png")));
        QCOMPARE(window->bottomBar->timeLabel->text(), QString());
        QCOMPARE(play->isEnabled(), playStartsAgain);
        QTest::mouseClick(play, Qt::LeftButton);
        window->settle();
        QCOMPARE(window->core->isPlaying(), playStartsAgain);
        QCOMPARE(play->isPlaying(), playStartsAgain);
    }

    // A URL whose server accepts and never answers: the window goes on
    // (keys, repaints, its timers), the play button offers nothing yet, and a
    // file opened meanwhile plays without any box for the abandoned URL.
    void openWhileAUrlHangsWins()
    {
        TarnTest::LocalHttpServer server;
        server.reply.silent = true;
        QElapsedTimer returned;
        returned.start();
        QMetaObject::invokeMethod(window.get(), "openUrl", Q_ARG(QString, server.base() + "/hang.ts"));
        QVERIFY2(returned.elapsed() < 1000, qPrintable(QString::number(returned.elapsed())));
        QTRY_COMPARE(server.requests.size(), 1);
        QTest::qWait(300);
        QCOMPARE(window->core->state(), LibPlayer::Core::State::Opening);
        QVERIFY(!window->bottomBar->playButton->isPlaying());

        window->openFile(media("av.mkv"));
        QCOMPARE(window->core->state(), LibPlayer::Core::State::Playing);
        QVERIFY(window->bottomBar->playButton->isPlaying());
        QTRY_COMPARE(server.findChildren<QTcpSocket *>().size(), 0);
        QTest::qWait(200);
        QCOMPARE(answerer->boxes.size(), 0);
    }

    void audioCdMovesTrackByTrackThenStops()
    {
        LibPlayer::TrackToolButton *tracks = window->bottomBar->cdTrackButton;
        tracks->setTrackNumber(3);
        QCOMPARE(tracks->menu()->actions().size(), 3);
        QCOMPARE(tracks->currentTrack(), 1);
        for (int track : {2, 3}) {
            window->finishMedium();
            QTRY_COMPARE(tracks->currentTrack(), track);
            QCOMPARE(window->videoHost->frame()->textLines(),
                     (QStringList{QStringLiteral("Audio CD"), QStringLiteral("Track %1").arg(track)}));
        }
        window->finishMedium(); // the last track: playback ends
        QTRY_VERIFY(tracks->isEmpty());
        QVERIFY(tracks->isHidden());
        QVERIFY(!window->bottomBar->playButton->isEnabled());
    }

    void volumeIsRestoredClampedAndChangedInputWrittenOnlyAtQuit()
    {
        destroyWindow();
        QSettings().setValue(QStringLiteral("Output/volume"), 999);
        QVERIFY(createWindow());
        QCOMPARE(window->bottomBar->volumeControl->value(), 150);
        window->bottomBar->volumeControl->setValue(40);
        window->openFile(media("short.mp3"));

        // A close from the window manager: only the layout written, the engine gone.
        QSettings().clear();
        auto *closing = window.release();
        QPointer<PlayerWindow> guard(closing);
        closing->close();
        QTRY_VERIFY(!guard);
        QCOMPARE(LibPlayer::Core::liveEngines(), 0);
        for (const char *key : {"Output/volume", "Input/last file", "Input/last disc"})
            QVERIFY2(!QSettings().contains(QLatin1String(key)), key);
        QVERIFY(QSettings().contains(QStringLiteral("Layout/Main/size")));

        QSettings().setValue(QStringLiteral("Input/last disc"), QStringLiteral("/dev/sr0"));
        QVERIFY(createWindow());
        QCOMPARE(window->bottomBar->volumeControl->value(), 100);
        window->bottomBar->volumeControl->setValue(40);
        window->openFile(media("short.mp3"));
        QSettings().clear();
        QMetaObject::invokeMethod(window.get(), "fileQuit");
        QCOMPARE(QSettings().value(QStringLiteral("Output/volume")).toInt(), 40);
        QCOMPARE(QSettings().value(QStringLiteral("Input/last file")).toString(), media("short.mp3"));
        // Unchanged since the start: left as the store holds it (another window may have changed it).
        QVERIFY(!QSettings().contains(QStringLiteral("Input/last disc")));
        QVERIFY(window->findChildren<LibTarnCommon::LogDialog *>().isEmpty());
    }

private:
    QTemporaryDir temp;
    const QString urlDvd = temp.filePath(QStringLiteral("a b#c%d/dvd"));
};

TARN_TEST_MAIN(WindowPlaybackTest)
#include "tst_window_playback.moc"
