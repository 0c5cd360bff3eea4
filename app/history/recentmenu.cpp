#include "recentmenu.h"

#include "historystore.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>

RecentMenu::RecentMenu(HistoryStore *store, QWidget *parent)
    : QMenu(tr("Recent"), parent)
    , store(store)
{
    setToolTipsVisible(true);
    // Built when shown, so that a file gone meanwhile shows as missing.
    connect(this, &QMenu::aboutToShow, this, &RecentMenu::rebuild);
    rebuild();
}

void RecentMenu::load()
{
    const QPointer<RecentMenu> self(this);
    store->recent(RecentShown, [self](const QVector<RecentEntry> &entries) {
        if (!self)
            return;
        // Media opened before the answer came (a start file) stay in front.
        for (const RecentEntry &entry : entries) {
            const bool known = std::any_of(self->list.cbegin(), self->list.cend(), [&](const RecentEntry &shown) {
                return shown.location == entry.location;
            });
            if (!known && self->list.size() < RecentShown)
                self->list.append(entry);
        }
    });
}

void RecentMenu::add(const RecentEntry &entry)
{
    for (int i = list.size() - 1; i >= 0; --i) {
        if (list.at(i).location == entry.location)
            list.removeAt(i);
    }
    list.prepend(entry);
    if (list.size() > RecentShown)
        list.resize(RecentShown);
    store->addRecent(entry);
}

void RecentMenu::forget()
{
    list.clear();
}

void RecentMenu::rebuild()
{
    clear();
    for (const RecentEntry &entry : qAsConst(list)) {
        QAction *action = addAction(entry.location);
        if (entry.kind == RecentKind::File) {
            const QFileInfo file(entry.location);
            action->setToolTip(QDir::toNativeSeparators(file.absolutePath()));
            if (file.exists()) {
                action->setText(file.fileName());
            } else {
                action->setText(tr("%1 (missing)").arg(file.fileName()));
                action->setEnabled(false);
            }
        }
        // A name with an ampersand shows as it is.
        action->setText(action->text().replace(QLatin1Char('&'), QLatin1String("&&")));
        const RecentEntry chosen = entry;
        connect(action, &QAction::triggered, this, [this, chosen] {
            if (chosen.kind == RecentKind::File)
                emit openFileRequested(chosen.location);
            else
                emit openUrlRequested(chosen.location);
        });
    }
    if (!list.isEmpty())
        addSeparator();
    QAction *clearAction = addAction(tr("Clear"));
    clearAction->setEnabled(!list.isEmpty());
    connect(clearAction, &QAction::triggered, this, [this] {
        list.clear();
        store->clearRecent();
    });
}
