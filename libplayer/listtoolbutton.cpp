#include "listtoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QUrl>


namespace LibPlayer {

ListToolButton::ListToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : MenuToolButton(normalImage, hoverImage, parent)
{
    connect(popupMenu.get(), &QMenu::aboutToShow, this, &ListToolButton::rebuildWindow);
    reset();
}

ListToolButton::~ListToolButton() = default;

void ListToolButton::addCommands()
{
    auto *save = new QAction(tr("Save playlist as..."), this);
    save->setData(savePlaylistId);
    popupMenu->addAction(save);
    auto *eject = new QAction(tr("Eject playlist"), this);
    eject->setData(ejectPlaylistId);
    popupMenu->addAction(eject);
    popupMenu->addSeparator();
}

void ListToolButton::addItemEntry(int index, bool checked)
{
    // A location without a file name (a bare host URL) is listed as it stands.
    const QString location = items.value(index);
    QString text = QUrl(location).fileName(QUrl::FullyDecoded);
    if (text.isEmpty())
        text = location;
    addEntry(text, index, checked);
}

void ListToolButton::addItem(int index, const QString &location)
{
    if (items.isEmpty())
        addCommands();
    items[index] = location;
    if (!windowed && items.size() > MenuWindow)
        windowed = true;
    if (windowed)
        windowStale = true;
    else
        addItemEntry(index, false);
    show();
}

void ListToolButton::setItems(const QMap<int, QString> &all)
{
    const int checked = checkedItem;
    reset();
    if (all.isEmpty())
        return;
    items = all;
    checkedItem = items.contains(checked) ? checked : 0;
    addCommands();
    windowed = items.size() > MenuWindow;
    windowStale = windowed;
    if (!windowed) {
        for (auto it = items.cbegin(); it != items.cend(); ++it)
            addItemEntry(it.key(), it.key() == checkedItem);
    }
    show();
}

void ListToolButton::reset()
{
    clearEntries();
    items.clear();
    checkedItem = 0;
    windowed = false;
    windowStale = false;
    hide();
}

void ListToolButton::setItem(int index)
{
    checkedItem = index;
    if (windowed)
        windowStale = true;
    else
        selectById(index);
}

void ListToolButton::rebuildWindow()
{
    if (!windowed || !windowStale)
        return;
    windowStale = false;
    clearEntries();
    addCommands();
    // The window starts half a window before the checked item, and is full
    // wherever the playlist allows.
    auto first = items.lowerBound(checkedItem);
    for (int i = 0; i < MenuWindow / 2 && first != items.cbegin(); ++i)
        --first;
    auto last = first;
    int count = 0;
    for (; last != items.cend() && count < MenuWindow; ++last)
        ++count;
    for (; count < MenuWindow && first != items.cbegin(); ++count)
        --first;
    const auto marker = [this] {
        auto *more = popupMenu->addAction(QStringLiteral("..."));
        more->setEnabled(false);
    };
    if (first != items.cbegin())
        marker();
    for (auto it = first; it != last; ++it)
        addItemEntry(it.key(), it.key() == checkedItem);
    if (last != items.cend())
        marker();
}

void ListToolButton::trigger(QAction *action)
{
    const int id = action->data().toInt();
    if (id == savePlaylistId || id == ejectPlaylistId) {
        emit itemChanged(id);
        return;
    }
    if (!acceptTrigger(action))
        return;
    checkedItem = id;
    emit itemChanged(id);
}

} // namespace LibPlayer
