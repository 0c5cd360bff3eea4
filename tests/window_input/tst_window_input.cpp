// Keyboard shortcuts and the mouse on the video, in the real window with the
// real engine; the pointer is the X server's.
#include "windowfixture.h"

#include "logdialog.h"
#include "playercommands.h"
#include "playtoolbutton.h"
#include "toolbutton.h"
#include "videoframe.h"
#include "volumecontrol.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// A silent 8 kHz, 8-bit mono WAV file of 60 s: the RIFF header, then the samples.
bool writeWav(const QString &path)
{
    const QByteArray data = QByteArray::fromHex("524946462453070057415645666d74201000000001000100401f0000401f0000"
                                                "010008006461746100530700") + QByteArray(480000, char(0x80));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

class WindowInputTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useSilentAudio();
        qApp->setProperty("appPinButton", QStringLiteral(":/AppTarn/images/app/pin_black.png"));
        for (const char *name : {"long.wav", "a.wav", "b.wav", "c.wav"})
            QVERIFY(writeWav(wav(name)));
    }
    void init() { QVERIFY(createFocusedWindow()); }
    void cleanup() { destroyWindow(); }

    // Each opened from its menu entry with the pin on; a key typed on the X
    // server's keyboard reaches it. Before the row that quits: a modal
    // dialog's event loop would return at once after that.
    void dialogsStayAboveThePinnedWindow_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("kind");
        QTest::newRow("message box") << "Keyboard shortcuts" << "Common::ModernMessageBox";
        QTest::newRow("about box") << "About" << "Common::ModernAboutDialog";
        QTest::newRow("URL dialog") << "Open URL" << "InputUrlDialog";
        QTest::newRow("disc dialog") << "Open disc" << "InputDiscDialog";
        QTest::newRow("report dialog") << "Report issue" << "Common::ReportDialog";
        QTest::newRow("update dialog") << "Check for updates" << "Common::ModernUpdateDialog";
        QTest::newRow("log window") << "Log" << "LibTarnCommon::LogDialog";
    }

    void dialogsStayAboveThePinnedWindow()
    {
        QFETCH(QString, entry);
        QFETCH(QString, kind);
        window->m_pinButton->click();
        QVERIFY(window->m_pinButton->isChecked());
        QAction *action = nullptr;
        for (QAction *candidate : window->findChildren<QAction *>())
            action = candidate->text() == entry ? candidate : action;
        QVERIFY(action);

        QPointer<QWidget> shown;
        QString seen; // class of the dialog
        QString transientFor;
        QElapsedTimer sinceShown;
        bool typed = false;
        bool keyLost = false;
        answerer = std::make_unique<TarnTest::ModalAnswerer>([&](QWidget *modal) {
            if (!shown) {
                shown = modal;
                seen = QLatin1String(modal->metaObject()->className());
                transientFor = transientForOf(modal);
                sinceShown.start();
            }
            if (!typed && QGuiApplication::focusWindow() == modal->windowHandle())
                typed = QProcess::execute("xdotool", {"key", "Escape"}) == 0;
            keyLost = sinceShown.elapsed() > 5000; // then the answerer closes it
            return !keyLost;
        });
        action->trigger();
        if (kind.startsWith("LibTarnCommon")) { // not modal
            shown = window->findChild<LibTarnCommon::LogDialog *>();
            QTRY_VERIFY(shown && shown->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(shown));
            seen = kind;
            transientFor = transientForOf(shown);
        } else {
            QTRY_VERIFY(!seen.isEmpty() && (!shown || !shown->isVisible()));
            QVERIFY2(!keyLost, "the key did not reach the dialog");
        }
        QCOMPARE(seen, kind);
        QCOMPARE(transientFor, QString::number(window->winId()));
    }

    void keysDriveTheControls_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("Space pauses") << "play" << QKeySequence(Qt::Key_Space) << "paused";
        QTest::newRow("Space starts the ended file again") << "ended" << QKeySequence(Qt::Key_Space) << "replayed";
        QTest::newRow("Space starts the ended playlist from item 1")
            << "playlist ended" << QKeySequence(Qt::Key_Space) << "item 1";
        QTest::newRow("Space after a stop in a playlist: the same item")
            << "playlist at 2 stopped" << QKeySequence(Qt::Key_Space) << "item 2";
        QTest::newRow("F enters full screen") << "" << QKeySequence(Qt::Key_F) << "full screen";
        QTest::newRow("F leaves full screen") << "full screen" << QKeySequence(Qt::Key_F) << "window";
        QTest::newRow("Escape leaves full screen") << "full screen" << QKeySequence(Qt::Key_Escape) << "window";
        QTest::newRow("Left: 5 s back") << "at 20000" << QKeySequence(Qt::Key_Left) << "time 15000";
        QTest::newRow("Right: 5 s forward") << "at 20000" << QKeySequence(Qt::Key_Right) << "time 25000";
        QTest::newRow("Shift+Right: 30 s forward") << "at 20000" << QKeySequence(Qt::SHIFT + Qt::Key_Right)
                                                   << "time 50000";
        QTest::newRow("Shift+Left clamps at 0") << "at 20000" << QKeySequence(Qt::SHIFT + Qt::Key_Left) << "time 0";
        QTest::newRow("Shift+Right clamps before the end") << "at 50000" << QKeySequence(Qt::SHIFT + Qt::Key_Right)
                                                           << "time 59000";
        QTest::newRow("Up raises the volume") << "volume 70" << QKeySequence(Qt::Key_Up) << "volume 75 volume_black";
        QTest::newRow("Down lowers it") << "volume 75" << QKeySequence(Qt::Key_Down) << "volume 70 volume_less_black";
        QTest::newRow("M mutes") << "volume 75" << QKeySequence(Qt::Key_M) << "volume 0 volume_off_black";
        QTest::newRow("N: next item") << "playlist" << QKeySequence(Qt::Key_N) << "item 2";
        QTest::newRow("Page Down: next item") << "playlist" << QKeySequence(Qt::Key_PageDown) << "item 2";
        QTest::newRow("P: previous item") << "playlist at 2" << QKeySequence(Qt::Key_P) << "item 1";
        QTest::newRow("Page Up: previous item") << "playlist at 2" << QKeySequence(Qt::Key_PageUp) << "item 1";
        QTest::newRow("Ctrl+O asks for a file") << "" << QKeySequence(Qt::CTRL + Qt::Key_O) << "QFileDialog";
        QTest::newRow("Ctrl+Shift+O asks for a folder") << "" << QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_O)
                                                        << "QFileDialog";
        QTest::newRow("Ctrl+U asks for a URL") << "" << QKeySequence(Qt::CTRL + Qt::Key_U) << "InputUrlDialog";
        QTest::newRow("Ctrl+Q quits, saving the changed volume")
            << "volume 35" << QKeySequence(Qt::CTRL + Qt::Key_Q) << "quit";
    }

    void keysDriveTheControls()
    {
        QFETCH(QString, setup);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, outcome);
        BottomBar *bar = window->bottomBar;
        QStringList dialogs;
        answerer = std::make_unique<TarnTest::ModalAnswerer>([&dialogs](QWidget *modal) {
            dialogs << QLatin1String(modal->metaObject()->className());
            return false;
        });
        const QString value = setup.section(QLatin1Char(' '), 1);
        if (setup == "play") {
            window->openFile(wav("long.wav"));
        } else if (setup == "full screen") {
            bar->fullscreenButton->click();
        } else if (setup.startsWith("volume")) {
            bar->volumeControl->setValue(value.toInt());
        } else if (setup.startsWith("at")) {
            playPaused(wav("long.wav"));
            QTRY_VERIFY(window->core->length() > 59000);
            window->commands->seekTo(value.toInt());
            QTRY_VERIFY(std::abs(window->core->time() - value.toInt()) < 700);
        } else if (setup.startsWith("playlist")) {
            window->dropUri({QUrl::fromLocalFile(wav("a.wav")), QUrl::fromLocalFile(wav("b.wav")),
                             QUrl::fromLocalFile(wav("c.wav"))});
            window->commands->pause();
            if (setup.contains("2"))
                window->changeListItem(2);
            if (setup.endsWith("stopped"))
                window->commands->stop();
            for (int item = 1; setup.endsWith("ended") && item <= 3; ++item) {
                QCOMPARE(window->currentItem(), item);
                window->finishMedium();
            }
        } else if (setup == "ended") {
            window->openFile(wav("a.wav"));
            window->finishMedium();
        }
        if (setup.endsWith("ended") || setup.endsWith("stopped")) {
            QTRY_VERIFY(!window->playing());
            QVERIFY(bar->playButton->isEnabled() && !bar->playButton->isPlaying());
        }

        QTest::keySequence(window.get(), keys);
        window->settle();

        const QString expected = outcome.section(QLatin1Char(' '), 1, 1);
        if (outcome == "paused") {
            QVERIFY(!bar->playButton->isPlaying());
            QTRY_VERIFY(!window->core->isPlaying());
        } else if (outcome == "full screen" || outcome == "window") {
            QCOMPARE(bar->fullscreenButton->isChecked(), outcome == "full screen");
            QTRY_COMPARE(window->isFullScreen(), outcome == "full screen");
        } else if (outcome.startsWith("time")) {
            QTRY_VERIFY2(std::abs(window->core->time() - expected.toInt()) < 700,
                         qPrintable(QString::number(window->core->time())));
        } else if (outcome.startsWith("volume")) {
            QCOMPARE(volume(), expected.toInt());
            QVERIFY(bar->volumeControl->styleSheet().contains(outcome.section(QLatin1Char(' '), 2) + ".png"));
        } else if (outcome.startsWith("item")) {
            QCOMPARE(window->currentItem(), expected.toInt());
            QVERIFY(window->playing());
        } else if (outcome == "replayed") {
            QVERIFY(window->playing());
            QVERIFY(bar->playButton->isPlaying());
            QCOMPARE(window->playback->lastFile(), wav("a.wav"));
        } else if (outcome == "quit") {
            QCOMPARE(QSettings().value(QStringLiteral("Output/volume")).toInt(), 35); // written by fileQuit only
        } else {
            QTRY_COMPARE(dialogs, QStringList{outcome});
        }
    }

    void textFieldKeepsItsKeys()
    {
        auto *field = new QLineEdit(window.get());
        field->show();
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        for (const QKeySequence &keys : {QKeySequence(Qt::Key_F), QKeySequence(Qt::Key_M), QKeySequence(Qt::Key_Up),
                                         QKeySequence(Qt::Key_Space), QKeySequence(Qt::CTRL + Qt::Key_O)})
            QTest::keySequence(field, keys);
        QCOMPARE(field->text(), QStringLiteral("fm "));
        QVERIFY(!window->bottomBar->fullscreenButton->isChecked());
        QCOMPARE(volume(), 100);
        QVERIFY(answerer->fileDialogs.isEmpty());

        delete field; // the focus leaves the field: the shortcuts are back
        QTest::keyClick(window.get(), Qt::Key_M);
        QCOMPARE(volume(), 0);
    }

    void mouseOnTheVideo()
    {
        playPaused(QStringLiteral(TARN_SAMPLE_CLIP));
        LibPlayer::PlayToolButton *play = window->bottomBar->playButton;
        LibPlayer::VideoFrame *frame = window->videoHost->frame();
        const QPoint centre = frame->mapToGlobal(frame->rect().center());
        const auto xdotool = [](const QStringList &arguments) { return QProcess::execute("xdotool", arguments) == 0; };
        QVERIFY(xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())}));

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
        QVERIFY(xdotool({"click", "4", "click", "4"}));
        QTRY_COMPARE(volume(), 110);
        QVERIFY(xdotool({"click", "5"}));
        QTRY_COMPARE(volume(), 105);
    }

private:
    // The X window a top-level widget is transient for (decimal), empty when none.
    static QString transientForOf(QWidget *widget)
    {
        QProcess xprop;
        xprop.start("xprop", {"-id", QString::number(widget->winId()), "WM_TRANSIENT_FOR"});
        xprop.waitForFinished();
        const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
        const int hash = out.indexOf(QLatin1String("# "));
        bool ok = false;
        const qulonglong id = hash < 0 ? 0 : out.mid(hash + 2).trimmed().toULongLong(&ok, 16);
        return ok ? QString::number(id) : QString();
    }

    void playPaused(const QString &path)
    {
        window->openFile(path);
        QVERIFY(window->playing());
        // The silent device plays faster than real time: hold the medium still.
        window->commands->pause();
    }
    QString wav(const char *name) const { return folder.filePath(QLatin1String(name)); }
    int volume() const { return window->bottomBar->volumeControl->value(); }

    QTemporaryDir folder;
};

TARN_TEST_MAIN(WindowInputTest)
#include "tst_window_input.moc"
