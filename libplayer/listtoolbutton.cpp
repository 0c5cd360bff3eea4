#include "listtoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QUrl>

#include "menubuttonsupport.h"

namespace LibPlayer {

ListToolButton::ListToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : QToolButton(parent)
    , group(new QActionGroup(this))
    , popupMenu(std::make_unique<QMenu>())
{
    MenuButton::setUp(this, popupMenu.get(), group, normalImage, hoverImage);
    connect(popupMenu.get(), &QMenu::triggered, this, &ListToolButton::trigger);
    reset();
}

ListToolButton::~ListToolButton() = default;

void ListToolButton::addItem(int index, const QString &location)
{
    if (items.isEmpty()) {
        auto *save = new QAction(tr("Save playlist as..."), this);
        save->setData(savePlaylistId);
        popupMenu->addAction(save);
        auto *eject = new QAction(tr("Eject playlist"), this);
        eject->setData(ejectPlaylistId);
        popupMenu->addAction(eject);
        popupMenu->addSeparator();
    }
    items[index] = location;
    // A location without a file name (a bare host URL) is listed as it stands.
    QString text = QUrl(location).fileName(QUrl::FullyDecoded);
    if (text.isEmpty())
        text = location;
    MenuButton::addEntry(this, popupMenu.get(), group, text, index, false);
    show();
}

void ListToolButton::reset()
{
    MenuButton::clear(popupMenu.get(), group);
    items.clear();
    hide();
}

void ListToolButton::setItem(int index)
{
    MenuButton::selectById(popupMenu.get(), index);
}

void ListToolButton::trigger(QAction *action)
{
    const int id = action->data().toInt();
    if (id == savePlaylistId || id == ejectPlaylistId) {
        emit itemChanged(id);
        return;
    }
    if (!MenuButton::acceptTrigger(action))
        return;
    emit itemChanged(id);
}

} // namespace LibPlayer
