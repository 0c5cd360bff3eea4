#pragma once

#include "historyentry.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class HistoryDb;
class QThread;

// The one place that remembers media between runs: resume positions, the
// recent files and the playlist at quit, in "history.sqlite" under the
// application's data location.
//
// Lives on the GUI thread; the database lives on a thread of its own, so no
// call here waits for the disk: writes are queued in order, and questions
// answer through a callback on the GUI thread (never called once the store
// is gone). Nothing here ever stops a medium from playing: a store that
// cannot be used logs it once and then answers every question with nothing.
class HistoryStore : public QObject
{
    Q_OBJECT

public:
    // folder empty: the application's data location.
    explicit HistoryStore(const QString &folder = QString(), QObject *parent = nullptr);
    // Writes what is queued, then closes the database.
    ~HistoryStore() override;

    static QString defaultFolder();
    QString filePath() const { return path; }

    // Starts the thread and opens the file on it; calls before are queued.
    void open();

    void savePosition(const ResumeEntry &entry);
    void removePosition(const QString &key);
    void findPosition(const QString &key, const QString &path,
                      std::function<void(const std::optional<ResumeEntry> &)> done);
    void findNewest(const QString &prefix, std::function<void(const std::optional<ResumeEntry> &)> done);
    void addRecent(const RecentEntry &entry);
    void recent(int limit, std::function<void(const QVector<RecentEntry> &)> done);
    void savePlaylist(const StoredPlaylist &playlist);
    void playlist(std::function<void(const std::optional<StoredPlaylist> &)> done);
    void clearRecent();
    // Positions, recent entries and the playlist.
    void clear();
    // Blocks until every queued write is done (at quit and session end).
    void flush();

signals:
    void messageError(const QString &message);
    void messageNotice(const QString &message);
    void messageWarning(const QString &message);

private:
    // Runs task on the database thread.
    void post(std::function<void(HistoryDb &)> task);
    // Runs done on the GUI thread, unless the store is gone by then.
    template <typename T>
    void answer(std::function<void(const T &)> done, T value);
    void openOnThread(HistoryDb &db);
    void checkWrite(HistoryDb &db, bool written);

    QString path;
    QThread *thread = nullptr;
    QObject *worker = nullptr; // lives on thread
    std::shared_ptr<HistoryDb> db;
    int savesSincePrune = 0;
    std::atomic_bool writeFailureLogged{false};
};
