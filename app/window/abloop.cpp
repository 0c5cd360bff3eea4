#include "abloop.h"

#include "core.h"
#include "feedbacktext.h"
#include "timeslider.h"

AbLoop::AbLoop(LibPlayer::Core *core, LibPlayer::TimeSlider *slider, QObject *parent)
    : QObject(parent)
    , core(core)
    , slider(slider)
{
    // engine time -> back to A past B
    connect(core, &LibPlayer::Core::mediaPlayerTimeChanged, this, &AbLoop::timeChanged);
    // a parse of a new medium -> loop gone
    connect(core, &LibPlayer::Core::mediaParseBegin, this, &AbLoop::sameMedium);
}

AbLoop::~AbLoop() = default;

bool AbLoop::sameMedium()
{
    if (a >= 0 && serial != core->mediaSerial())
        clear();
    return a >= 0;
}

QString AbLoop::step()
{
    sameMedium();
    const qint64 now = std::max<qint64>(0, core->time());
    if (a < 0) {
        a = now;
        serial = core->mediaSerial();
        slider->setLoopBand(a, -1);
        return tr("A-B loop: A set at %1").arg(FeedbackText::clock(a));
    }
    if (b < 0 && now > a) {
        b = now;
        slider->setLoopBand(a, b);
        core->seek(a);
        return tr("A-B loop: %1 to %2").arg(FeedbackText::clock(a), FeedbackText::clock(b));
    }
    clear();
    return tr("A-B loop off");
}

void AbLoop::clear()
{
    a = -1;
    b = -1;
    slider->setLoopBand(-1, -1);
}

void AbLoop::timeChanged(qint64 ms)
{
    if (!isActive() || !sameMedium())
        return;
    if (ms >= b)
        core->seek(a);
}
