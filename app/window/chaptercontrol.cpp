#include "chaptercontrol.h"

#include "core.h"
#include "timeslider.h"
#include "titletoolbutton.h"

#include <QMenu>

namespace {

QString chapterName(const LibPlayer::Core::Chapter &chapter, int index)
{
    const QString number = ChapterControl::tr("Chapter %1").arg(index + 1);
    return chapter.name.isEmpty() ? number : ChapterControl::tr("%1: %2").arg(number, chapter.name);
}

} // namespace

ChapterControl::ChapterControl(LibPlayer::Core *core, LibPlayer::TitleToolButton *button,
                               LibPlayer::TimeSlider *slider, QObject *parent)
    : QObject(parent)
    , core(core)
    , button(button)
    , slider(slider)
{
    // engine parse -> menu and ticks
    connect(core, &LibPlayer::Core::mediaParseEnd, this, &ChapterControl::refresh);
    // menu choice -> chapter
    connect(button, &LibPlayer::TitleToolButton::titleChanged, this, &ChapterControl::choose);
    // menu opens -> the chapter playing now checked
    connect(button->menu(), &QMenu::aboutToShow, this, [this] { this->button->setCurrent(this->core->chapter()); });
}

ChapterControl::~ChapterControl() = default;

void ChapterControl::refresh()
{
    const QList<LibPlayer::Core::Chapter> chapters = core->chapters();
    button->reset();
    button->setCurrent(core->chapter());
    QList<qint64> starts;
    for (int i = 0; i < chapters.size(); ++i) {
        button->addTitle(i, chapterName(chapters.at(i), i));
        starts << chapters.at(i).startMs;
    }
    button->setVisible(!button->hasNoChoice());
    slider->setChapterMarks(chapters.size() > 1 ? starts : QList<qint64>());
}

void ChapterControl::choose(int index)
{
    const QList<LibPlayer::Core::Chapter> chapters = core->chapters();
    if (index < 0 || index >= chapters.size())
        return;
    core->changeChapter(index);
    button->setCurrent(index);
    emit feedback(chapterName(chapters.at(index), index));
}

void ChapterControl::next()
{
    step(1);
}

void ChapterControl::previous()
{
    step(-1);
}

void ChapterControl::step(int delta)
{
    if (core->isStopped()) {
        emit feedback(tr("Nothing is playing"));
        return;
    }
    const int count = core->chapters().size();
    if (count < 2) {
        emit feedback(tr("No chapters"));
        return;
    }
    choose(qBound(0, core->chapter() + delta, count - 1));
}
