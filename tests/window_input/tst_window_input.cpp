// Keyboard shortcuts and the mouse on the video, in the real window with the
// real engine; the pointer is the X server's.
#include "windowfixture.h"

#include "listtoolbutton.h"
#include "playercommands.h"
#include "playtoolbutton.h"
#include "toolbutton.h"
#include "videoframe.h"
#include "volumecontrol.h"

#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// A silent 8 kHz mono WAV file of the given length.
bool writeWav(const QString &path, int seconds)
{
    const quint32 rate = 8000;
    const quint32 bytes = rate * quint32(seconds);
    QByteArray data("RIFF");
    const auto le32 = [&data](quint32 v) { data.append(reinterpret_cast<const char *>(&(v = qToLittleEndian(v))), 4); };
    const auto le16 = [&data](quint16 v) { data.append(reinterpret_cast<const char *>(&(v = qToLittleEndian(v))), 2); };
    le32(36 + bytes);
    data += "WAVEfmt ";
    le32(16);
    le16(1); // PCM
    le16(1); // mono
    le32(rate);
    le32(rate); // bytes per second
    le16(1);    // block align
    le16(8);    // bits
    data += "data";
    le32(bytes);
    data += QByteArray(int(bytes), char(0x80));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

class WindowInputTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useSilentAudio();
        QVERIFY(folder.isValid());
        for (const char *name : {"long.wav", "a.wav", "b.wav", "c.wav"})
            QVERIFY(writeWav(folder.filePath(QLatin1String(name)), 60));
    }
    void init()
    {
        QSettings().clear();
        QVERIFY(createWindow());
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
    }
    void cleanup() { destroyWindow(); }

    void keysDriveTheControls_data();
    void keysDriveTheControls();
    void seekKeysMoveAndClamp_data();
    void seekKeysMoveAndClamp();
    void textFieldKeepsItsKeys();
    void ctrlQQuits();
    void mouseOnTheVideo();
    void helpListsTheInputs();

private:
    void playPaused(const QString &path);
    QString wav(const char *name) const { return folder.filePath(QLatin1String(name)); }
    int volume() const { return window->bottomBar->volumeControl->value(); }

    QTemporaryDir folder;
};

void WindowInputTest::playPaused(const QString &path)
{
    window->openFile(path);
    QVERIFY(window->playing());
    // The silent device plays faster than real time: hold the medium still.
    window->commands->pause();
    QVERIFY(!window->bottomBar->playButton->isPlaying());
}

void WindowInputTest::keysDriveTheControls_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("outcome");
    const int none = Qt::NoModifier;
    QTest::newRow("Space pauses") << "play" << int(Qt::Key_Space) << none << "paused";
    QTest::newRow("F enters full screen") << "" << int(Qt::Key_F) << none << "full screen";
    QTest::newRow("F leaves full screen") << "full screen" << int(Qt::Key_F) << none << "window";
    QTest::newRow("Escape leaves full screen") << "full screen" << int(Qt::Key_Escape) << none << "window";
    QTest::newRow("Up raises the volume") << "volume 70" << int(Qt::Key_Up) << none << "volume 75 volume_black";
    QTest::newRow("Down lowers the volume") << "volume 75" << int(Qt::Key_Down) << none
                                            << "volume 70 volume_less_black";
    QTest::newRow("M mutes") << "volume 75" << int(Qt::Key_M) << none << "volume 0 volume_off_black";
    QTest::newRow("N plays the next item") << "playlist" << int(Qt::Key_N) << none << "item 2";
    QTest::newRow("Page Down plays the next item") << "playlist" << int(Qt::Key_PageDown) << none << "item 2";
    QTest::newRow("P plays the previous item") << "playlist at 2" << int(Qt::Key_P) << none << "item 1";
    QTest::newRow("Page Up plays the previous item") << "playlist at 2" << int(Qt::Key_PageUp) << none << "item 1";
    QTest::newRow("Ctrl+O asks for a file") << "" << int(Qt::Key_O) << int(Qt::ControlModifier) << "file dialog";
    QTest::newRow("Ctrl+U asks for a URL") << "" << int(Qt::Key_U) << int(Qt::ControlModifier) << "url dialog";
}

void WindowInputTest::keysDriveTheControls()
{
    QFETCH(QString, setup);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, outcome);
    BottomBar *bar = window->bottomBar;
    QStringList dialogs;
    answerer = std::make_unique<TarnTest::ModalAnswerer>([&dialogs](QWidget *modal) {
        dialogs << QLatin1String(modal->metaObject()->className());
        return false;
    });
    if (setup == QLatin1String("play")) {
        window->openFile(wav("long.wav"));
        QVERIFY(bar->playButton->isPlaying());
    } else if (setup == QLatin1String("full screen")) {
        bar->fullscreenButton->click();
        QTRY_VERIFY(window->isFullScreen());
    } else if (setup.startsWith(QLatin1String("volume"))) {
        bar->volumeControl->setValue(setup.section(QLatin1Char(' '), 1).toInt());
    } else if (setup.startsWith(QLatin1String("playlist"))) {
        window->dropUri({QUrl::fromLocalFile(wav("a.wav")), QUrl::fromLocalFile(wav("b.wav")),
                         QUrl::fromLocalFile(wav("c.wav"))});
        window->commands->pause();
        if (setup.endsWith(QLatin1String("2"))) {
            window->changeListItem(2);
            window->commands->pause();
        }
    }

    QTest::keyClick(window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    if (outcome == QLatin1String("paused")) {
        QVERIFY(!bar->playButton->isPlaying());
        QTRY_VERIFY(!window->core->isPlaying());
    } else if (outcome == QLatin1String("full screen") || outcome == QLatin1String("window")) {
        const bool on = outcome == QLatin1String("full screen");
        QCOMPARE(bar->fullscreenButton->isChecked(), on);
        QTRY_COMPARE(window->isFullScreen(), on);
    } else if (outcome.startsWith(QLatin1String("volume"))) {
        QCOMPARE(volume(), outcome.section(QLatin1Char(' '), 1, 1).toInt());
        QVERIFY(bar->volumeControl->styleSheet().contains(outcome.section(QLatin1Char(' '), 2) + ".png"));
    } else if (outcome.startsWith(QLatin1String("item"))) {
        QCOMPARE(window->currentItem(), outcome.section(QLatin1Char(' '), 1).toInt());
        QVERIFY(window->playing());
    } else if (outcome == QLatin1String("file dialog")) {
        QTRY_COMPARE(dialogs, QStringList{"QFileDialog"});
    } else if (outcome == QLatin1String("url dialog")) {
        QTRY_COMPARE(dialogs, QStringList{"InputUrlDialog"});
    }
}

void WindowInputTest::seekKeysMoveAndClamp_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("Left: 5 s back") << int(Qt::Key_Left) << int(Qt::NoModifier) << 20000 << 15000;
    QTest::newRow("Right: 5 s forward") << int(Qt::Key_Right) << int(Qt::NoModifier) << 20000 << 25000;
    QTest::newRow("Shift+Right: 30 s forward") << int(Qt::Key_Right) << int(Qt::ShiftModifier) << 20000 << 50000;
    QTest::newRow("Shift+Left before 0 clamps") << int(Qt::Key_Left) << int(Qt::ShiftModifier) << 20000 << 0;
    QTest::newRow("Shift+Right past the end clamps") << int(Qt::Key_Right) << int(Qt::ShiftModifier) << 50000
                                                     << 59000;
}

void WindowInputTest::seekKeysMoveAndClamp()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, from);
    QFETCH(int, to);
    playPaused(wav("long.wav"));
    QTRY_VERIFY(window->core->length() > 59000);
    const auto near = [this](int ms) { return std::abs(window->core->time() - ms) < 700; };
    window->commands->seekTo(from);
    QTRY_VERIFY2(near(from), qPrintable(QString::number(window->core->time())));
    QTest::keyClick(window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY2(near(to), qPrintable(QString::number(window->core->time())));
}

void WindowInputTest::textFieldKeepsItsKeys()
{
    auto *field = new QLineEdit(window.get());
    field->setGeometry(50, 50, 200, 30);
    field->show();
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    for (Qt::Key key : {Qt::Key_F, Qt::Key_M, Qt::Key_Up, Qt::Key_Space})
        QTest::keyClick(field, key);
    QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(field->text(), QStringLiteral("fm "));
    QVERIFY(!window->bottomBar->fullscreenButton->isChecked());
    QCOMPARE(volume(), 100);
    QVERIFY(answerer->fileDialogs.isEmpty());

    // Focus elsewhere: the shortcuts are back.
    delete field;
    QTest::keyClick(window.get(), Qt::Key_M);
    QCOMPARE(volume(), 0);
}

void WindowInputTest::ctrlQQuits()
{
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    giveUp.start(2000);
    QTimer::singleShot(0, window.get(), [this] { QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(QSettings().contains(QStringLiteral("Output/volume")));
}

void WindowInputTest::mouseOnTheVideo()
{
    playPaused(QStringLiteral(TARN_SAMPLE_CLIP));
    LibPlayer::PlayToolButton *play = window->bottomBar->playButton;
    const QPoint centre = window->videoHost->frame()->mapToGlobal(window->videoHost->frame()->rect().center());
    const QStringList over{"mousemove", QString::number(centre.x()), QString::number(centre.y())};
    QVERIFY(xdotool(over));

    // A single click plays, once no second click can follow.
    QVERIFY(xdotool({"click", "1"}));
    QTest::qWait(100);
    QVERIFY(!play->isPlaying());
    QTRY_VERIFY(play->isPlaying());
    window->commands->pause();

    // A double click is full screen, without a play/pause.
    QVERIFY(xdotool({"click", "--repeat", "2", "--delay", "60", "1"}));
    QTRY_VERIFY(window->bottomBar->fullscreenButton->isChecked());
    QTRY_VERIFY(window->isFullScreen());
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    QVERIFY(!play->isPlaying());

    // The wheel: 5 per notch.
    QVERIFY(xdotool(over + QStringList{"click", "4", "click", "4"}));
    QTRY_COMPARE(volume(), 110);
    QVERIFY(xdotool({"click", "5"}));
    QTRY_COMPARE(volume(), 105);
}

void WindowInputTest::helpListsTheInputs()
{
    window->helpShortcuts();
    QCOMPARE(answerer->boxes.size(), 1);
    const QString text = answerer->boxes.first();
    for (const char *input : {"Space", "single click on the video", "double click on the video", "Esc", "Shift+Left",
                              "wheel up over the video", "PgDown", "Ctrl+U", "Ctrl+Q"})
        QVERIFY2(text.contains(QLatin1String(input)), input);
}

TARN_TEST_MAIN(WindowInputTest)
#include "tst_window_input.moc"
