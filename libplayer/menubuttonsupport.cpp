#include "menubuttonsupport.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolButton>

#include "toolbuttonstyle.h"

namespace LibPlayer {
namespace MenuButton {

void setUp(QToolButton *button, QMenu *menu, QActionGroup *group,
           const QString &normalImage, const QString &hoverImage)
{
    button->setStyleSheet(menuButtonStyle(normalImage, hoverImage));
    button->hide();
    group->setExclusive(true);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
}

QAction *addEntry(QToolButton *button, QMenu *menu, QActionGroup *group,
                  const QString &text, const QVariant &data, bool checked)
{
    auto *action = new QAction(text, button);
    action->setCheckable(true);
    action->setData(data);
    group->addAction(action);
    action->setChecked(checked);
    menu->addAction(action);
    return action;
}

void clear(QMenu *menu, QActionGroup *group)
{
    const QList<QAction *> grouped = group->actions();
    for (QAction *action : grouped)
        group->removeAction(action);
    const QList<QAction *> listed = menu->actions();
    for (QAction *action : listed) {
        menu->removeAction(action);
        action->deleteLater();
    }
}

void selectById(QMenu *menu, int id)
{
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        const QVariant data = action->data();
        if (data.userType() == QMetaType::Int && data.toInt() == id) {
            action->setChecked(true);
            return;
        }
    }
}

bool acceptTrigger(QAction *action)
{
    if (action->isChecked())
        return true;
    action->setChecked(true);
    return false;
}

} // namespace MenuButton
} // namespace LibPlayer
