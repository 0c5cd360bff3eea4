#include "titletoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "menubuttonsupport.h"

namespace LibPlayer {

TitleToolButton::TitleToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : QToolButton(parent)
    , group(new QActionGroup(this))
    , popupMenu(std::make_unique<QMenu>())
{
    MenuButton::setUp(this, popupMenu.get(), group, normalImage, hoverImage);
    connect(popupMenu.get(), &QMenu::triggered, this, &TitleToolButton::trigger);
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
    MenuButton::addEntry(this, popupMenu.get(), group, name, id, id == current);
}

void TitleToolButton::clearCurrent()
{
    current = -1;
}

void TitleToolButton::reset()
{
    MenuButton::clear(popupMenu.get(), group);
    titles.clear();
}

void TitleToolButton::setCurrent(int id)
{
    current = id;
    MenuButton::selectById(popupMenu.get(), id);
}

void TitleToolButton::trigger(QAction *action)
{
    if (!MenuButton::acceptTrigger(action))
        return;
    current = action->data().toInt();
    emit titleChanged(current);
}

} // namespace LibPlayer
