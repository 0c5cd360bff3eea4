#include "audiotoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "menubuttonsupport.h"

namespace LibPlayer {

AudioToolButton::AudioToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : QToolButton(parent)
    , group(new QActionGroup(this))
    , popupMenu(std::make_unique<QMenu>())
{
    MenuButton::setUp(this, popupMenu.get(), group, normalImage, hoverImage);
    connect(popupMenu.get(), &QMenu::triggered, this, &AudioToolButton::trigger);
    reset();
}

AudioToolButton::~AudioToolButton() = default;

bool AudioToolButton::hasNoChoice() const
{
    return tracks.size() < 2;
}

void AudioToolButton::addTrack(int id, const QString &name)
{
    tracks[id] = name;
    const bool checked = id == current || (current == -1 && tracks.size() == 1);
    MenuButton::addEntry(this, popupMenu.get(), group, name, id, checked);
}

void AudioToolButton::clearCurrent()
{
    current = -1;
}

void AudioToolButton::reset()
{
    MenuButton::clear(popupMenu.get(), group);
    tracks.clear();
}

void AudioToolButton::setCurrentTrack(int id)
{
    current = id;
    MenuButton::selectById(popupMenu.get(), id);
}

void AudioToolButton::trigger(QAction *action)
{
    if (!MenuButton::acceptTrigger(action))
        return;
    current = action->data().toInt();
    emit trackChanged(current);
}

} // namespace LibPlayer
