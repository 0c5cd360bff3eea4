#include "titletoolbutton.h"

namespace LibPlayer {

TitleToolButton::TitleToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : ChoiceToolButton(normalImage, hoverImage, WithoutCurrent::NoneChecked, parent)
{
}

TitleToolButton::~TitleToolButton() = default;

void TitleToolButton::addTitle(int id, const QString &name)
{
    addChoice(id, name);
}

void TitleToolButton::setCurrent(int id)
{
    setCurrentId(id);
}

void TitleToolButton::chosen(int id)
{
    emit titleChanged(id);
}

} // namespace LibPlayer
