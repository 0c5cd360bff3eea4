#include "tracktoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>


namespace LibPlayer {

TrackToolButton::TrackToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : MenuToolButton(normalImage, hoverImage, parent)
{
    reset();
}

TrackToolButton::~TrackToolButton() = default;

int TrackToolButton::currentTrack() const
{
    const QAction *checked = group->checkedAction();
    return checked ? checked->data().toInt() : -1;
}

bool TrackToolButton::isLast() const
{
    return currentTrack() == group->actions().size();
}

bool TrackToolButton::isEmpty() const
{
    return group->actions().isEmpty();
}

void TrackToolButton::selectNext()
{
    const int next = currentTrack() + 1;
    const QList<QAction *> actions = group->actions();
    for (QAction *action : actions) {
        if (action->data().toInt() == next) {
            action->setChecked(true);
            emit trackChanged(next);
            return;
        }
    }
}

void TrackToolButton::reset()
{
    clearEntries();
    hide();
}

void TrackToolButton::setTrackNumber(int count)
{
    if (count < 1) {
        hide();
        return;
    }
    for (int n = 1; n <= count; ++n)
        addEntry(tr("CD Track %1").arg(n), n, n == 1);
    show();
}

void TrackToolButton::trigger(QAction *action)
{
    if (!acceptTrigger(action))
        return;
    emit trackChanged(action->data().toInt());
}

} // namespace LibPlayer
