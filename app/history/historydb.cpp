#include "historydb.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QSqlQuery>
#include <QVariant>

namespace {

QAtomicInt connectionCounter;

// SQLite's result codes for a file that is not (or no longer) a database.
bool isDamage(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("11") || code == QLatin1String("26");
}

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

const char *const schemaV1[] = {
    ("CREATE TABLE IF NOT EXISTS resume (key TEXT PRIMARY KEY, path TEXT, position INTEGER, length INTEGER,"
     " audio INTEGER, subtitle INTEGER, subtitle_file TEXT, title INTEGER, updated INTEGER)"),
    "CREATE INDEX IF NOT EXISTS resume_path ON resume (path)",
    "CREATE INDEX IF NOT EXISTS resume_updated ON resume (updated)",
    "CREATE TABLE IF NOT EXISTS recent (location TEXT PRIMARY KEY, kind INTEGER, opened INTEGER)",
    "CREATE INDEX IF NOT EXISTS recent_opened ON recent (opened)",
    "CREATE TABLE IF NOT EXISTS playlist (row INTEGER PRIMARY KEY, location TEXT)",
    "CREATE TABLE IF NOT EXISTS state (name TEXT PRIMARY KEY, value)",
};

const QString resumeColumns = QStringLiteral("key, path, position, length, audio, subtitle, subtitle_file, title");

ResumeEntry readEntry(const QSqlQuery &query)
{
    ResumeEntry entry;
    entry.key = query.value(0).toString();
    entry.path = query.value(1).toString();
    entry.position = query.value(2).toLongLong();
    entry.length = query.value(3).toLongLong();
    entry.audioTrack = query.value(4).toInt();
    entry.subtitleTrack = query.value(5).toInt();
    entry.subtitleFile = query.value(6).toString();
    entry.title = query.value(7).toInt();
    return entry;
}

} // namespace

HistoryDb::HistoryDb()
    : connectionName(QStringLiteral("history-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

HistoryDb::~HistoryDb()
{
    if (db.isValid())
        db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
}

bool HistoryDb::fail(const QString &what, const QSqlError &error)
{
    lastError = what + QStringLiteral(": ") + error.text();
    damageSeen = damageSeen || isDamage(error);
    return false;
}

bool HistoryDb::exec(const QString &statement)
{
    QSqlQuery query(db);
    return query.exec(statement) || fail(statement, query.lastError());
}

bool HistoryDb::connect(const QString &path)
{
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open())
        return fail(QStringLiteral("open"), db.lastError());
    return true;
}

// Reading the header, switching to WAL and a quick check find a file that
// is not a database or is damaged.
bool HistoryDb::check()
{
    QSqlQuery query(db);
    // SQLite answers a change of journal mode racing another connection's
    // first use of the file with "locked" at once, without its busy wait;
    // the mode is kept in the file, so the switch is retried for as long as
    // any other lock is waited for. Runs on the history's worker thread.
    QElapsedTimer waited;
    waited.start();
    while (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        if (query.lastError().nativeErrorCode() != QLatin1String("5") || waited.elapsed() >= BusyTimeoutMs)
            return fail(QStringLiteral("journal mode"), query.lastError());
        QThread::msleep(10);
    }
    // In WAL mode NORMAL loses at most the last commits at a power cut, never
    // the file, and spares every save a sync of the disk.
    if (!query.exec(QStringLiteral("PRAGMA synchronous=NORMAL")))
        return fail(QStringLiteral("synchronous"), query.lastError());
    if (!query.exec(QStringLiteral("PRAGMA quick_check(1)")) || !query.next())
        return fail(QStringLiteral("check"), query.lastError());
    if (query.value(0).toString() != QLatin1String("ok")) {
        lastError = QStringLiteral("check: ") + query.value(0).toString();
        damageSeen = true;
        return false;
    }
    return true;
}

// Brings the schema to SchemaVersion inside one write transaction, so that
// two processes opening a new file at once do not both build it.
bool HistoryDb::migrate()
{
    return write([this] {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
            return fail(QStringLiteral("schema version"), query.lastError());
        const int version = query.value(0).toInt();
        if (version > SchemaVersion) // a newer program's file: used as far as it matches
            return true;
        if (version < 1) {
            for (const char *statement : schemaV1) {
                if (!exec(QString::fromLatin1(statement)))
                    return false;
            }
        }
        return version == SchemaVersion || exec(QStringLiteral("PRAGMA user_version=%1").arg(SchemaVersion));
    });
}

HistoryDb::OpenResult HistoryDb::open(const QString &path)
{
    opened = false;
    damageSeen = false;
    damagedCopy.clear();
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        lastError = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return OpenResult::Unavailable;
    }
    if (connect(path) && check() && migrate()) {
        opened = true;
        return OpenResult::Opened;
    }
    if (!damageSeen || !QFile::exists(path))
        return OpenResult::Unavailable;
    db.close();
    damagedCopy = path + QStringLiteral(".corrupt-")
                  + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(path, damagedCopy)) {
        lastError = QStringLiteral("cannot move the damaged file aside");
        damagedCopy.clear();
        return OpenResult::Unavailable;
    }
    for (const char *suffix : {"-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    if (connect(path) && check() && migrate()) {
        opened = true;
        return OpenResult::Recreated;
    }
    return OpenResult::Unavailable;
}

bool HistoryDb::write(const std::function<bool()> &body)
{
    if (!db.isOpen())
        return false;
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (!body()) {
        exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return exec(QStringLiteral("COMMIT"));
}

std::optional<ResumeEntry> HistoryDb::findPosition(const QString &key, const QString &path)
{
    if (!opened)
        return std::nullopt;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT %1 FROM resume WHERE key = ?").arg(resumeColumns));
    query.addBindValue(key);
    if (query.exec() && query.next())
        return readEntry(query);
    if (path.isEmpty())
        return std::nullopt;
    query.prepare(QStringLiteral("SELECT %1 FROM resume WHERE path = ? ORDER BY updated DESC, rowid DESC LIMIT 1").arg(resumeColumns));
    query.addBindValue(path);
    if (query.exec() && query.next())
        return readEntry(query);
    return std::nullopt;
}

std::optional<ResumeEntry> HistoryDb::findNewest(const QString &prefix)
{
    if (!opened)
        return std::nullopt;
    QSqlQuery query(db);
    // A range on the key rather than LIKE, whose wildcards the prefix may hold.
    query.prepare(QStringLiteral("SELECT %1 FROM resume WHERE key >= ? AND key < ? ORDER BY updated DESC, rowid DESC LIMIT 1")
                      .arg(resumeColumns));
    query.addBindValue(prefix);
    query.addBindValue(prefix + QChar(0xFFFF));
    if (query.exec() && query.next())
        return readEntry(query);
    return std::nullopt;
}

bool HistoryDb::savePosition(const ResumeEntry &entry)
{
    return opened && write([&] {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO resume (%1, updated) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                          .arg(resumeColumns));
        for (const QVariant &value :
             {QVariant(entry.key), QVariant(entry.path), QVariant(entry.position), QVariant(entry.length),
              QVariant(entry.audioTrack), QVariant(entry.subtitleTrack), QVariant(entry.subtitleFile),
              QVariant(entry.title), QVariant(now())})
            query.addBindValue(value);
        return query.exec() || fail(QStringLiteral("save position"), query.lastError());
    });
}

bool HistoryDb::removePosition(const QString &key)
{
    return opened && write([&] {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM resume WHERE key = ?"));
        query.addBindValue(key);
        return query.exec() || fail(QStringLiteral("remove position"), query.lastError());
    });
}

int HistoryDb::positionCount()
{
    if (!opened)
        return 0;
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM resume")) && query.next() ? query.value(0).toInt() : 0;
}

bool HistoryDb::addRecent(const RecentEntry &entry)
{
    return opened && write([&] {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO recent (location, kind, opened) VALUES (?, ?, ?)"));
        query.addBindValue(entry.location);
        query.addBindValue(int(entry.kind));
        query.addBindValue(now());
        return query.exec() || fail(QStringLiteral("add recent"), query.lastError());
    });
}

QVector<RecentEntry> HistoryDb::recent(int limit)
{
    QVector<RecentEntry> entries;
    if (!opened)
        return entries;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT location, kind FROM recent ORDER BY opened DESC, rowid DESC LIMIT ?"));
    query.addBindValue(limit);
    if (!query.exec())
        return entries;
    while (query.next())
        entries.append({RecentKind(query.value(1).toInt()), query.value(0).toString()});
    return entries;
}

bool HistoryDb::clearRecent()
{
    return opened && write([this] { return exec(QStringLiteral("DELETE FROM recent")); });
}

bool HistoryDb::savePlaylist(const StoredPlaylist &playlist)
{
    return opened && write([&] {
        if (!exec(QStringLiteral("DELETE FROM playlist")) || !exec(QStringLiteral("DELETE FROM state")))
            return false;
        if (playlist.items.isEmpty())
            return true;
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO playlist (row, location) VALUES (?, ?)"));
        for (int row = 0; row < playlist.items.size(); ++row) {
            query.addBindValue(row + 1);
            query.addBindValue(playlist.items.at(row));
            if (!query.exec())
                return fail(QStringLiteral("save playlist"), query.lastError());
        }
        query.prepare(QStringLiteral("INSERT INTO state (name, value) VALUES (?, ?)"));
        const QList<QPair<QString, QVariant>> values{{QStringLiteral("playlist audio"), playlist.audio},
                                                     {QStringLiteral("playlist current"), playlist.current},
                                                     {QStringLiteral("playlist position"), playlist.position}};
        for (const auto &value : values) {
            query.addBindValue(value.first);
            query.addBindValue(value.second);
            if (!query.exec())
                return fail(QStringLiteral("save playlist"), query.lastError());
        }
        return true;
    });
}

std::optional<StoredPlaylist> HistoryDb::playlist()
{
    if (!opened)
        return std::nullopt;
    StoredPlaylist stored;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT location FROM playlist ORDER BY row")))
        return std::nullopt;
    while (query.next())
        stored.items.append(query.value(0).toString());
    if (stored.items.isEmpty() || !query.exec(QStringLiteral("SELECT name, value FROM state")))
        return std::nullopt;
    while (query.next()) {
        const QString name = query.value(0).toString();
        if (name == QLatin1String("playlist audio"))
            stored.audio = query.value(1).toBool();
        else if (name == QLatin1String("playlist current"))
            stored.current = query.value(1).toInt();
        else if (name == QLatin1String("playlist position"))
            stored.position = query.value(1).toLongLong();
    }
    return stored;
}

bool HistoryDb::clear()
{
    return opened && write([this] {
        return exec(QStringLiteral("DELETE FROM resume")) && exec(QStringLiteral("DELETE FROM recent"))
               && exec(QStringLiteral("DELETE FROM playlist")) && exec(QStringLiteral("DELETE FROM state"));
    });
}

bool HistoryDb::prune()
{
    return opened && write([this] {
        return exec(QStringLiteral("DELETE FROM resume WHERE key IN (SELECT key FROM resume ORDER BY updated DESC, rowid DESC"
                                   " LIMIT -1 OFFSET %1)").arg(ResumeLimit))
               && exec(QStringLiteral("DELETE FROM recent WHERE location IN (SELECT location FROM recent ORDER BY"
                                      " opened DESC LIMIT -1 OFFSET %1)").arg(RecentLimit));
    });
}
