#include "audiotoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>


namespace LibPlayer {

AudioToolButton::AudioToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : MenuToolButton(normalImage, hoverImage, parent)
{
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
    addEntry(name, id, checked);
}

void AudioToolButton::clearCurrent()
{
    current = -1;
}

void AudioToolButton::reset()
{
    clearEntries();
    tracks.clear();
}

void AudioToolButton::setCurrentTrack(int id)
{
    current = id;
    selectById(id);
}

void AudioToolButton::trigger(QAction *action)
{
    if (!acceptTrigger(action))
        return;
    current = action->data().toInt();
    emit trackChanged(current);
}

} // namespace LibPlayer
