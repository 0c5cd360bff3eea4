// Prints the history store's figures on a file of 100,000 positions made in
// a temporary folder: the lookup time on the database thread, the GUI
// thread's cost of one save and of creating and opening the store.
#include "historydb.h"
#include "historystore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <cstdio>

namespace {

constexpr int Entries = 100000;
constexpr int Lookups = 2000;

void fill(const QString &file)
{
    HistoryDb schema;
    schema.open(file);
    QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    raw.setDatabaseName(file);
    raw.open();
    raw.transaction();
    QSqlQuery insert(raw);
    insert.prepare(QStringLiteral("INSERT INTO resume (key, path, position, length, updated) VALUES (?, ?, 60000, 7200000, ?)"));
    for (int i = 0; i < Entries; ++i) {
        insert.addBindValue(QStringLiteral("file:%1:%2").arg(1000000 + i).arg(i * 7919, 40, 16, QLatin1Char('0')));
        insert.addBindValue(QStringLiteral("/home/user/Videos/film %1.mkv").arg(i));
        insert.addBindValue(i);
        insert.exec();
    }
    raw.commit();
    raw.close();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    fill(file);

    HistoryDb db;
    QElapsedTimer timer;
    timer.start();
    db.open(file);
    const qint64 openNs = timer.nsecsElapsed();
    timer.restart();
    int found = 0;
    for (int i = 0; i < Lookups; ++i) {
        const int n = (i * 48271) % Entries;
        found += bool(db.findPosition(QStringLiteral("file:%1:%2").arg(1000000 + n).arg(n * 7919, 40, 16, QLatin1Char('0'))));
    }
    const double keyUs = timer.nsecsElapsed() / 1000.0 / Lookups;
    timer.restart();
    for (int i = 0; i < Lookups; ++i) {
        const int n = (i * 48271) % Entries;
        found += bool(db.findPosition(QStringLiteral("file:0:0"), QStringLiteral("/home/user/Videos/film %1.mkv").arg(n)));
    }
    const double pathUs = timer.nsecsElapsed() / 1000.0 / Lookups;

    timer.restart();
    auto store = std::make_unique<HistoryStore>(dir.path());
    const qint64 createNs = timer.nsecsElapsed();
    store->open();
    const qint64 launchNs = timer.nsecsElapsed();
    ResumeEntry entry;
    entry.path = QStringLiteral("/home/user/Videos/new.mkv");
    entry.length = 7200000;
    qint64 worstSaveNs = 0;
    timer.restart();
    for (int i = 0; i < 500; ++i) {
        entry.key = QStringLiteral("url:bench%1").arg(i);
        entry.position = 60000 + i;
        QElapsedTimer one;
        one.start();
        store->savePosition(entry);
        worstSaveNs = std::max(worstSaveNs, one.nsecsElapsed());
    }
    const double saveUs = timer.nsecsElapsed() / 1000.0 / 500;
    timer.restart();
    store->flush();
    const double drainMs = timer.nsecsElapsed() / 1e6;

    std::printf("entries                         %d (found %d of %d)\n", Entries, found, 2 * Lookups);
    std::printf("open and check (database thread) %.1f ms\n", openNs / 1e6);
    std::printf("lookup by key                   %.1f us\n", keyUs);
    std::printf("lookup by path                  %.1f us\n", pathUs);
    std::printf("store creation + open, GUI side %.3f ms (creation %.3f ms)\n", launchNs / 1e6, createNs / 1e6);
    std::printf("save, GUI side                  %.1f us mean, %.1f us worst\n", saveUs, worstSaveNs / 1000.0);
    std::printf("500 saves written on the thread %.1f ms\n", drainMs);
    return 0;
}
