#pragma once

#include "historyentry.h"

#include <QMenu>
#include <QVector>

class HistoryStore;

// The "Recent" submenu: the last RecentShown media opened, newest first,
// each once; a local file by its name (its folder as tooltip), shown
// disabled with "(missing)" while it is not there; then "Clear". Choosing
// an entry asks for it to be opened by the route of its kind. The list is
// kept in the history store. GUI thread only.
class RecentMenu : public QMenu
{
    Q_OBJECT

public:
    static constexpr int RecentShown = 15;

    RecentMenu(HistoryStore *store, QWidget *parent);

    // Reads the list from the store (answered later).
    void load();
    // A medium was opened.
    void add(const RecentEntry &entry);
    // Forgets the list here (the store is cleared by its owner).
    void forget();
    const QVector<RecentEntry> &entries() const { return list; }

signals:
    void openFileRequested(const QString &path);
    void openUrlRequested(const QString &url);

private:
    void rebuild();

    HistoryStore *store;
    QVector<RecentEntry> list;
};
