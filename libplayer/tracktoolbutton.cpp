#include "tracktoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "menubuttonsupport.h"

namespace LibPlayer {

TrackToolButton::TrackToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : QToolButton(parent)
    , group(new QActionGroup(this))
    , popupMenu(std::make_unique<QMenu>())
{
    MenuButton::setUp(this, popupMenu.get(), group, normalImage, hoverImage);
    connect(popupMenu.get(), &QMenu::triggered, this, &TrackToolButton::trigger);
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
    MenuButton::clear(popupMenu.get(), group);
    hide();
}

void TrackToolButton::setTrackNumber(int count)
{
    if (count < 1) {
        hide();
        return;
    }
    for (int n = 1; n <= count; ++n)
        MenuButton::addEntry(this, popupMenu.get(), group, tr("CD Track %1").arg(n), n, n == 1);
    show();
}

void TrackToolButton::trigger(QAction *action)
{
    if (!MenuButton::acceptTrigger(action))
        return;
    emit trackChanged(action->data().toInt());
}

} // namespace LibPlayer
