#pragma once

#include <QToolButton>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QVariant;

namespace LibPlayer {

// Base of the five menu buttons of the bottom bar (audio, subtitle, title, CD
// track, playlist): an image button that opens its menu at once, with the
// menu's entries checkable and exclusive. The menu has no parent (it is the
// button's menu()); the entries are children of the button. Hidden until a
// subclass shows it. GUI thread only.
class MenuToolButton : public QToolButton
{
    Q_OBJECT

public:
    ~MenuToolButton() override;

protected:
    MenuToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent);

    // A checkable entry with data at the end of the menu.
    QAction *addEntry(const QString &text, const QVariant &data, bool checked);
    // Removes every entry (grouped or not) and deletes it once control is back
    // in the event loop, so that a reset made from a slot connected to the
    // button's own report never deletes the action being triggered.
    void clearEntries();
    // Checks the first entry, in menu order, whose data is the int id; nothing
    // changes when none is.
    void selectById(int id);
    // The common rule of a triggered entry: true when it is checked and must
    // be reported; an entry the user's click left unchecked is checked again
    // and not reported.
    static bool acceptTrigger(QAction *action);

    QActionGroup *group = nullptr;
    // Not named menu, which would hide QToolButton::menu().
    std::unique_ptr<QMenu> popupMenu;

protected slots:
    // An entry of the menu was triggered.
    virtual void trigger(QAction *action) = 0;
};

} // namespace LibPlayer
