#include "menutoolbutton.h"

#include "toolbuttonstyle.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace LibPlayer {

MenuToolButton::MenuToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : QToolButton(parent)
    , group(new QActionGroup(this))
    , popupMenu(std::make_unique<QMenu>())
{
    setStyleSheet(menuButtonStyle(normalImage, hoverImage));
    hide();
    group->setExclusive(true);
    setMenu(popupMenu.get());
    setPopupMode(QToolButton::InstantPopup);
    connect(popupMenu.get(), &QMenu::triggered, this, &MenuToolButton::trigger);
}

MenuToolButton::~MenuToolButton() = default;

QAction *MenuToolButton::addEntry(const QString &text, const QVariant &data, bool checked)
{
    auto *action = new QAction(text, this);
    action->setCheckable(true);
    action->setData(data);
    group->addAction(action);
    action->setChecked(checked);
    popupMenu->addAction(action);
    return action;
}

void MenuToolButton::clearEntries()
{
    const QList<QAction *> grouped = group->actions();
    for (QAction *action : grouped)
        group->removeAction(action);
    const QList<QAction *> listed = popupMenu->actions();
    for (QAction *action : listed) {
        popupMenu->removeAction(action);
        action->deleteLater();
    }
}

void MenuToolButton::selectById(int id)
{
    const QList<QAction *> actions = popupMenu->actions();
    for (QAction *action : actions) {
        const QVariant data = action->data();
        if (data.userType() == QMetaType::Int && data.toInt() == id) {
            action->setChecked(true);
            return;
        }
    }
}

bool MenuToolButton::acceptTrigger(QAction *action)
{
    if (action->isChecked())
        return true;
    action->setChecked(true);
    return false;
}

} // namespace LibPlayer
