#include "titletoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>


namespace LibPlayer {

TitleToolButton::TitleToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : MenuToolButton(normalImage, hoverImage, parent)
{
    reset();
}

TitleToolButton::~TitleToolButton() = default;

bool TitleToolButton::hasNoChoice() const
{
    return titles.size() < 2;
}

void TitleToolButton::addTitle(int id, const QString &name)
{
    titles[id] = name;
    addEntry(name, id, id == current);
}

void TitleToolButton::clearCurrent()
{
    current = -1;
}

void TitleToolButton::reset()
{
    clearEntries();
    titles.clear();
}

void TitleToolButton::setCurrent(int id)
{
    current = id;
    selectById(id);
}

void TitleToolButton::trigger(QAction *action)
{
    if (!acceptTrigger(action))
        return;
    current = action->data().toInt();
    emit titleChanged(current);
}

} // namespace LibPlayer
