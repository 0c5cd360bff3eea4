#include "historystore.h"

#include "historydb.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>

namespace {
// A save of every few seconds reaches the limits slowly: pruning after every
// few hundred saves keeps the tables near them without a cost per save.
constexpr int SavesPerPrune = 200;
}

HistoryStore::HistoryStore(const QString &folder, QObject *parent)
    : QObject(parent)
    , path((folder.isEmpty() ? defaultFolder() : folder) + QStringLiteral("/history.sqlite"))
    , db(std::make_shared<HistoryDb>())
{
}

HistoryStore::~HistoryStore()
{
    if (!thread)
        return;
    // The database is closed on the thread that opened it, after the writes
    // queued before; then the thread ends.
    std::shared_ptr<HistoryDb> closing = std::move(db);
    QMetaObject::invokeMethod(worker, [closing]() mutable {
        closing.reset();
        QThread::currentThread()->quit();
    });
    thread->wait();
    delete worker;
    delete thread;
}

QString HistoryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void HistoryStore::open()
{
    if (thread)
        return;
    thread = new QThread;
    thread->setObjectName(QStringLiteral("history"));
    worker = new QObject;
    worker->moveToThread(thread);
    thread->start(QThread::LowPriority);
    post([this](HistoryDb &history) { openOnThread(history); });
}

// On the database thread: log lines go out queued through this object.
void HistoryStore::openOnThread(HistoryDb &history)
{
    const HistoryDb::OpenResult result = history.open(path);
    QString line;
    switch (result) {
    case HistoryDb::OpenResult::Opened:
        history.prune();
        return;
    case HistoryDb::OpenResult::Recreated:
        line = tr("[Main] The history database was damaged: moved aside as %1, a new one was made")
                   .arg(QDir::toNativeSeparators(history.movedAside()).toHtmlEscaped());
        break;
    case HistoryDb::OpenResult::Unavailable:
        line = tr("[Main] History is not kept in this session (%1): %2")
                   .arg(QDir::toNativeSeparators(path).toHtmlEscaped(), history.error().toHtmlEscaped());
        break;
    }
    QMetaObject::invokeMethod(this, [this, line] { emit messageWarning(line); }, Qt::QueuedConnection);
}

// On the database thread: the first failed write of an open store is logged;
// the rest of the session goes on with what the store still takes.
void HistoryStore::checkWrite(HistoryDb &history, bool written)
{
    if (written || !history.isOpen() || writeFailureLogged.exchange(true))
        return;
    const QString line = tr("[Main] The history could not be written: %1").arg(history.error().toHtmlEscaped());
    QMetaObject::invokeMethod(this, [this, line] { emit messageWarning(line); }, Qt::QueuedConnection);
}

void HistoryStore::post(std::function<void(HistoryDb &)> task)
{
    if (!thread)
        open();
    std::shared_ptr<HistoryDb> history = db;
    QMetaObject::invokeMethod(worker, [history, task] { task(*history); }, Qt::QueuedConnection);
}

template <typename T>
void HistoryStore::answer(std::function<void(const T &)> done, T value)
{
    QMetaObject::invokeMethod(this, [done, value] { done(value); }, Qt::QueuedConnection);
}

void HistoryStore::savePosition(const ResumeEntry &entry)
{
    const bool pruneNow = ++savesSincePrune >= SavesPerPrune;
    if (pruneNow)
        savesSincePrune = 0;
    post([this, entry, pruneNow](HistoryDb &history) {
        checkWrite(history, history.savePosition(entry));
        if (pruneNow)
            history.prune();
    });
}

void HistoryStore::removePosition(const QString &key)
{
    post([this, key](HistoryDb &history) { checkWrite(history, history.removePosition(key)); });
}

void HistoryStore::findPosition(const QString &key, const QString &file,
                                std::function<void(const std::optional<ResumeEntry> &)> done)
{
    post([this, key, file, done](HistoryDb &history) { answer(done, history.findPosition(key, file)); });
}

void HistoryStore::findNewest(const QString &prefix, std::function<void(const std::optional<ResumeEntry> &)> done)
{
    post([this, prefix, done](HistoryDb &history) { answer(done, history.findNewest(prefix)); });
}

void HistoryStore::addRecent(const RecentEntry &entry)
{
    post([this, entry](HistoryDb &history) { checkWrite(history, history.addRecent(entry)); });
}

void HistoryStore::recent(int limit, std::function<void(const QVector<RecentEntry> &)> done)
{
    post([this, limit, done](HistoryDb &history) { answer(done, history.recent(limit)); });
}

void HistoryStore::savePlaylist(const StoredPlaylist &stored)
{
    post([this, stored](HistoryDb &history) { checkWrite(history, history.savePlaylist(stored)); });
}

void HistoryStore::playlist(std::function<void(const std::optional<StoredPlaylist> &)> done)
{
    post([this, done](HistoryDb &history) { answer(done, history.playlist()); });
}

void HistoryStore::clearRecent()
{
    post([this](HistoryDb &history) { checkWrite(history, history.clearRecent()); });
}

void HistoryStore::clear()
{
    post([this](HistoryDb &history) { checkWrite(history, history.clear()); });
}

void HistoryStore::flush()
{
    if (thread)
        QMetaObject::invokeMethod(worker, [] {}, Qt::BlockingQueuedConnection);
}
