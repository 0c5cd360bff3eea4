#include "playbacktools.h"

#include "abloop.h"
#include "bottombar.h"
#include "chaptercontrol.h"
#include "core.h"
#include "feedbacktext.h"
#include "jumptotimedialog.h"
#include "playercommands.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

PlaybackTools::PlaybackTools(LibPlayer::Core *core, PlayerCommands *commands, BottomBar *bar, QWidget *dialogParent)
    : QObject(dialogParent)
    , core(core)
    , commands(commands)
    , bar(bar)
    , dialogParent(dialogParent)
    , loop(new AbLoop(core, bar->timeSlider, this))
    , chapters(new ChapterControl(core, bar->chapterButton, bar->timeSlider, this))
{
    // chapter moves -> the tools' feedback
    connect(chapters, &ChapterControl::feedback, this, &PlaybackTools::feedback);
    // the engine's finished snapshot -> the screenshot's feedback (only for
    // the one this asked for)
    connect(core, &LibPlayer::Core::snapshotFinished, this, [this](const QString &path, bool saved) {
        if (!screenshotPath.isEmpty() && path == screenshotPath)
            reportScreenshot(path, saved);
    });
}

void PlaybackTools::nextChapter()
{
    chapters->next();
}

void PlaybackTools::previousChapter()
{
    chapters->previous();
}

PlaybackTools::~PlaybackTools() = default;

bool PlaybackTools::playing()
{
    if (!core->isStopped())
        return true;
    emit feedback(tr("Nothing is playing"));
    return false;
}

double PlaybackTools::speed() const
{
    return core->rate();
}

void PlaybackTools::speedUp()
{
    setSpeed(FeedbackText::steppedRate(core->rate(), true));
}

void PlaybackTools::speedDown()
{
    setSpeed(FeedbackText::steppedRate(core->rate(), false));
}

void PlaybackTools::setSpeed(double rate)
{
    if (!playing())
        return;
    commands->setRate(rate);
    emit feedback(FeedbackText::speed(core->rate()));
}

void PlaybackTools::frameForward()
{
    stepFrames(1);
}

void PlaybackTools::frameBack()
{
    stepFrames(-1);
}

void PlaybackTools::stepFrames(int frames)
{
    if (!playing())
        return;
    // A paused jump to the start of a picture, both ways: libvlc's own next
    // picture command leaves the time it reports behind the picture shown.
    commands->pause();
    core->seek(FeedbackText::frameStepTarget(core->time(), core->frameDurationMs(), frames));
}

void PlaybackTools::stepAbLoop()
{
    if (playing())
        emit feedback(loop->step());
}

void PlaybackTools::jumpToTime()
{
    if (!playing())
        return;
    JumpToTimeDialog dialog(std::max<qint64>(0, core->time()), dialogParent);
    if (dialog.exec() == QDialog::Accepted && !core->isStopped())
        commands->seekTo(dialog.time());
}

void PlaybackTools::changeAudioDelayBy(qint64 deltaMs)
{
    if (!playing())
        return;
    core->changeAudioDelay(core->audioDelay() + deltaMs);
    emit feedback(FeedbackText::audioDelay(core->audioDelay()));
}

void PlaybackTools::resetAudioDelay()
{
    changeAudioDelayBy(-core->audioDelay());
}

void PlaybackTools::changeSubtitleDelayBy(qint64 deltaMs)
{
    if (!playing())
        return;
    core->changeSubtitleDelay(core->subtitleDelay() + deltaMs);
    emit feedback(FeedbackText::subtitleDelay(core->subtitleDelay()));
}

void PlaybackTools::resetSubtitleDelay()
{
    changeSubtitleDelayBy(-core->subtitleDelay());
}

QString PlaybackTools::screenshotFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void PlaybackTools::takeScreenshot()
{
    if (!playing())
        return;
    if (core->videoSize().isEmpty()) {
        emit feedback(tr("Screenshot failed: no video"));
        return;
    }
    // One at a time: the one under way reports for both key presses.
    if (!screenshotPath.isEmpty())
        return;
    const QString folder = screenshotFolder();
    QString media = QFileInfo(QUrl(core->location()).path()).completeBaseName();
    if (media.isEmpty())
        media = core->metadata(QStringLiteral("Title"));
    if (media.isEmpty())
        media = tr("Screenshot");
    // Never over an earlier file.
    const QString name = FeedbackText::screenshotName(media, core->time());
    QString path = QDir(folder).filePath(name);
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = QDir(folder).filePath(QStringLiteral("%1 (%2).png").arg(name.chopped(4)).arg(copy));
    if (!QFileInfo(folder).isWritable() || !core->requestSnapshot(path)) {
        reportScreenshot(path, false);
        return;
    }
    screenshotPath = path;
}

void PlaybackTools::reportScreenshot(const QString &path, bool saved)
{
    screenshotPath.clear();
    // A stop or another medium came first: nothing to say.
    if (!saved && core->isStopped())
        return;
    if (!saved) {
        const QString folder = QFileInfo(path).absolutePath();
        emit feedback(tr("Screenshot failed: cannot write to %1").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (shown.startsWith(home + QDir::separator()))
        shown.replace(0, home.size(), QStringLiteral("~"));
    emit feedback(tr("Screenshot saved: %1").arg(shown));
}

void PlaybackTools::showVolume(int level)
{
    emit feedback(FeedbackText::volume(level));
}

void PlaybackTools::showPosition(qint64 ms)
{
    emit feedback(FeedbackText::position(ms, core->length()));
}
