#include "choicetoolbutton.h"

#include <QAction>

namespace LibPlayer {

ChoiceToolButton::ChoiceToolButton(const QString &normalImage, const QString &hoverImage,
                                   WithoutCurrent withoutCurrent, QWidget *parent)
    : MenuToolButton(normalImage, hoverImage, parent)
    , withoutCurrent(withoutCurrent)
{
}

ChoiceToolButton::~ChoiceToolButton() = default;

bool ChoiceToolButton::hasNoChoice() const
{
    return choices.size() < 2;
}

void ChoiceToolButton::clearCurrent()
{
    current = -1;
}

void ChoiceToolButton::reset()
{
    clearEntries();
    choices.clear();
}

void ChoiceToolButton::addChoice(int id, const QString &name)
{
    choices[id] = name;
    const bool first = withoutCurrent == WithoutCurrent::FirstChecked && current == -1 && choices.size() == 1;
    addEntry(name, id, id == current || first);
}

void ChoiceToolButton::setCurrentId(int id)
{
    current = id;
    selectById(id);
}

void ChoiceToolButton::trigger(QAction *action)
{
    if (!acceptTrigger(action))
        return;
    current = action->data().toInt();
    chosen(current);
}

} // namespace LibPlayer
