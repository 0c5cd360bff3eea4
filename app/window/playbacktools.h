#pragma once

#include <QObject>
#include <QString>

class AbLoop;
class ChapterControl;
class BottomBar;
class PlayerCommands;
class QWidget;

namespace LibPlayer {
class Core;
}

// The commands beyond the bottom bar's controls: speed, frame steps, the A-B
// loop, jump to time, chapters, audio and subtitle delays and the screenshot. Each
// tells what it did as one feedback line; on no medium the line is "Nothing
// is playing" and nothing else happens. Pausing goes through the play
// button's path, so its look follows. Speed and delays belong to the
// engine's current player and so start afresh with every medium. GUI thread
// only.
class PlaybackTools : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 DelayStepMs = 50;

    // dialogParent: the window the jump dialog opens over.
    PlaybackTools(LibPlayer::Core *core, PlayerCommands *commands, BottomBar *bar, QWidget *dialogParent);
    ~PlaybackTools() override;

    AbLoop *abLoop() const { return loop; }
    // The current medium's playback speed, 1.0 without one.
    double speed() const;
    // Where screenshots go: the user's Pictures folder, the home folder when
    // there is none.
    static QString screenshotFolder();

public slots:
    void speedUp();
    void speedDown();
    void setSpeed(double rate);
    void frameForward();
    void frameBack();
    void stepAbLoop();
    void jumpToTime();
    void changeAudioDelayBy(qint64 deltaMs);
    void resetAudioDelay();
    void changeSubtitleDelayBy(qint64 deltaMs);
    void resetSubtitleDelay();
    void takeScreenshot();
    void nextChapter();
    void previousChapter();
    // Feedback for the volume keys and wheel, and for seeks.
    void showVolume(int level);
    void showPosition(qint64 ms);

signals:
    void feedback(const QString &line);

private:
    // True with a medium; otherwise says "Nothing is playing".
    bool playing();
    // Pauses, then moves the time by that many pictures.
    void stepFrames(int frames);
    // Tells where the screenshot went, or that it failed.
    void reportScreenshot(const QString &path, bool saved);

    LibPlayer::Core *core;
    PlayerCommands *commands;
    BottomBar *bar;
    QWidget *dialogParent;
    AbLoop *loop = nullptr;
    ChapterControl *chapters = nullptr;
    // The screenshot under way, empty when none is.
    QString screenshotPath;
};
