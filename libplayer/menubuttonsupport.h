#pragma once
// Shared mechanics of the five menu buttons (audio, subtitle, title, CD track,
// playlist). Each button keeps its own parentless QMenu and an exclusive
// QActionGroup; these helpers set them up and maintain them. GUI thread only.

#include <QString>

class QAction;
class QActionGroup;
class QMenu;
class QToolButton;
class QVariant;

namespace LibPlayer {
namespace MenuButton {

// Menu style sheet, instant popup of menu, exclusive group, button hidden.
void setUp(QToolButton *button, QMenu *menu, QActionGroup *group,
           const QString &normalImage, const QString &hoverImage);

// A checkable entry parented to the button, added to menu and group.
QAction *addEntry(QToolButton *button, QMenu *menu, QActionGroup *group,
                  const QString &text, const QVariant &data, bool checked);

// Removes every entry (grouped or not) from group and menu and deletes it
// once control is back in the event loop, so that a reset made from a slot
// connected to the button's own report never deletes the action being
// triggered.
void clear(QMenu *menu, QActionGroup *group);

// Checks the first entry, in menu order, whose data is the int id; nothing
// changes when none is.
void selectById(QMenu *menu, int id);

// The common rule of a triggered entry: true when it is checked and must be
// reported; an entry the user's click left unchecked is checked again and not
// reported.
bool acceptTrigger(QAction *action);

} // namespace MenuButton
} // namespace LibPlayer
