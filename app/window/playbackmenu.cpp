#include "playbackmenu.h"

#include "feedbacktext.h"
#include "playbacktools.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

#include <cmath>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PlaybackMenu", text);
}

QMenu *createSpeedMenu(PlaybackTools *tools, QMenu *parent)
{
    auto *menu = parent->addMenu(tr("Speed"));
    auto *group = new QActionGroup(menu);
    for (double rate = FeedbackText::steppedRate(0, false);;) {
        QAction *action = menu->addAction(rate == 1.0 ? tr("Normal") : QStringLiteral("%1x").arg(rate));
        action->setCheckable(true);
        action->setData(rate);
        group->addAction(action);
        // entry -> speed
        QObject::connect(action, &QAction::triggered, tools, [tools, rate] { tools->setSpeed(rate); });
        const double next = FeedbackText::steppedRate(rate, true);
        if (next == rate)
            break;
        rate = next;
    }
    // opening -> the current speed checked
    QObject::connect(menu, &QMenu::aboutToShow, menu, [tools, group] {
        for (QAction *action : group->actions())
            action->setChecked(std::abs(action->data().toDouble() - tools->speed()) < 0.001);
    });
    return menu;
}

} // namespace

QMenu *createPlaybackMenu(PlaybackTools *tools, QWidget *parent)
{
    using T = PlaybackTools;
    auto *menu = new QMenu(tr("Playback"), parent);
    createSpeedMenu(tools, menu);
    menu->addAction(tr("Jump to time..."), tools, &T::jumpToTime);
    menu->addAction(tr("Next frame"), tools, &T::frameForward);
    menu->addAction(tr("Previous frame"), tools, &T::frameBack);
    menu->addAction(tr("A-B loop"), tools, &T::stepAbLoop);
    menu->addAction(tr("Next chapter"), tools, &T::nextChapter);
    menu->addAction(tr("Previous chapter"), tools, &T::previousChapter);
    menu->addSeparator();
    QMenu *audio = menu->addMenu(tr("Audio delay"));
    audio->addAction(tr("+50 ms"), tools, [tools] { tools->changeAudioDelayBy(T::DelayStepMs); });
    audio->addAction(tr("-50 ms"), tools, [tools] { tools->changeAudioDelayBy(-T::DelayStepMs); });
    audio->addAction(tr("Reset"), tools, &T::resetAudioDelay);
    QMenu *subtitles = menu->addMenu(tr("Subtitle delay"));
    subtitles->addAction(tr("+50 ms"), tools, [tools] { tools->changeSubtitleDelayBy(T::DelayStepMs); });
    subtitles->addAction(tr("-50 ms"), tools, [tools] { tools->changeSubtitleDelayBy(-T::DelayStepMs); });
    subtitles->addAction(tr("Reset"), tools, &T::resetSubtitleDelay);
    menu->addSeparator();
    menu->addAction(tr("Take screenshot"), tools, &T::takeScreenshot);
    return menu;
}
