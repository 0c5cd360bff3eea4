#pragma once

#include <QMap>
#include "menutoolbutton.h"

class QAction;

namespace LibPlayer {

// Menu of the current playlist: two commands ("Save playlist as...", id
// -998, and "Eject playlist", id -999), a separator, then one entry per item
// named after the location's file name. Hidden while empty; reports the
// chosen item number or command id with itemChanged().
//
// A menu cannot usefully show a playlist of thousands of items (and Qt's
// menus slow down with every entry added): beyond MenuWindow items the menu
// lists the MenuWindow items around the checked one, between "..." markers,
// and is rebuilt when it is about to show.
class ListToolButton : public MenuToolButton
{
    Q_OBJECT

public:
    // Ids of the two commands.
    static constexpr int savePlaylistId = -998;
    static constexpr int ejectPlaylistId = -999;
    // Most item entries the menu holds at a time.
    static constexpr int MenuWindow = 400;

    ListToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~ListToolButton() override;

signals:
    void itemChanged(int index);

public slots:
    void addItem(int index, const QString &location);
    // Replaces the items with these, keeping the checked one. The map is
    // shared with the caller's, not copied, however long the playlist.
    void setItems(const QMap<int, QString> &all);
    void reset();
    void setItem(int index);

protected slots:
    void trigger(QAction *action) override;

private:
    void addCommands();
    void addItemEntry(int index, bool checked);
    // Rebuilds the item entries around the checked item (windowed menus only).
    void rebuildWindow();

    int checkedItem = 0; // 0: none
    bool windowed = false;
    bool windowStale = false;
    QMap<int, QString> items;
};

} // namespace LibPlayer
