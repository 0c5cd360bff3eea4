#include "audiotoolbutton.h"

namespace LibPlayer {

AudioToolButton::AudioToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : ChoiceToolButton(normalImage, hoverImage, WithoutCurrent::FirstChecked, parent)
{
}

AudioToolButton::~AudioToolButton() = default;

void AudioToolButton::addTrack(int id, const QString &name)
{
    addChoice(id, name);
}

void AudioToolButton::setCurrentTrack(int id)
{
    setCurrentId(id);
}

void AudioToolButton::chosen(int id)
{
    emit trackChanged(id);
}

} // namespace LibPlayer
