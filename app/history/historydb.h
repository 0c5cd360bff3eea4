#pragma once

#include "historyentry.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

// The history's SQLite database, used from one thread only (the thread that
// opened it). Every call is synchronous; HistoryStore runs them on its own
// thread. Several connections, in one or several processes, share the file:
// it is in WAL mode, waits up to BusyTimeoutMs for a lock, and every write
// takes the write lock at its start (BEGIN IMMEDIATE).
//
// The schema is versioned with PRAGMA user_version; open() brings an older
// file up to date. A file that is not a database or fails its check is moved
// aside as "<file>.corrupt-<date>" and a new one made in its place.
class HistoryDb
{
public:
    static constexpr int SchemaVersion = 1;
    static constexpr int BusyTimeoutMs = 5000;
    static constexpr int ResumeLimit = 10000;
    static constexpr int RecentLimit = 1000;

    enum class OpenResult { Opened, Recreated, Unavailable };

    HistoryDb();
    ~HistoryDb();
    HistoryDb(const HistoryDb &) = delete;
    HistoryDb &operator=(const HistoryDb &) = delete;

    // Opens (or creates) the database file at path. After Recreated,
    // movedAside() names the damaged file; after Unavailable, error() tells
    // why and every other call does nothing.
    OpenResult open(const QString &path);
    bool isOpen() const { return opened; }
    QString error() const { return lastError; }
    QString movedAside() const { return damagedCopy; }

    // The entry under key; otherwise the newest entry last played from path.
    std::optional<ResumeEntry> findPosition(const QString &key, const QString &path = QString());
    // Newest entry whose key starts with prefix (a disc, whatever its title).
    std::optional<ResumeEntry> findNewest(const QString &prefix);
    bool savePosition(const ResumeEntry &entry);
    bool removePosition(const QString &key);
    int positionCount();

    bool addRecent(const RecentEntry &entry);
    QVector<RecentEntry> recent(int limit);
    bool clearRecent();

    bool savePlaylist(const StoredPlaylist &playlist);
    std::optional<StoredPlaylist> playlist();

    // Removes positions, recent entries and the stored playlist.
    bool clear();
    // Keeps the newest ResumeLimit positions and RecentLimit recent entries.
    bool prune();

private:
    bool connect(const QString &path);
    bool check();
    bool migrate();
    bool exec(const QString &statement);
    bool write(const std::function<bool()> &body);
    bool fail(const QString &what, const QSqlError &error);

    QString connectionName;
    QSqlDatabase db;
    bool opened = false;
    bool damageSeen = false;
    QString lastError;
    QString damagedCopy;
};
