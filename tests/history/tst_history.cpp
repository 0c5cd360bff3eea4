// The history store on real SQLite files in the test's data location, and
// the decisions about resume positions.
#include "historydb.h"
#include "mediaidentity.h"
#include "resumepolicy.h"
#include "tarntest.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <thread>

namespace {

ResumeEntry entry(const QString &key, qint64 position, const QString &path = QString())
{
    ResumeEntry e;
    e.key = key;
    e.path = path;
    e.position = position;
    e.length = 600000;
    return e;
}

} // namespace

Q_DECLARE_METATYPE(ResumePolicy::Action)

class HistoryTest : public QObject
{
    Q_OBJECT

    QString folder() const { return TarnTest::isolationDir().path() + QStringLiteral("/data/stores/") + QTest::currentTestFunction(); }

private slots:
    void keepsPositionsOnlyInsideTheMedium_data()
    {
        QTest::addColumn<qint64>("position");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<ResumePolicy::Action>("action");
        using A = ResumePolicy::Action;
        QTest::newRow("middle of a film") << qint64(3723000) << qint64(7200000) << A::Keep;
        QTest::newRow("first 10 s") << qint64(9999) << qint64(7200000) << A::Leave;
        QTest::newRow("just past 10 s") << qint64(10000) << qint64(7200000) << A::Keep;
        QTest::newRow("last 5 % of a long film") << qint64(6900000) << qint64(7200000) << A::Forget;
        QTest::newRow("before the last 5 %") << qint64(6830000) << qint64(7200000) << A::Keep;
        QTest::newRow("last 20 s of a 2-minute clip") << qint64(101000) << qint64(120000) << A::Forget;
        QTest::newRow("before the last 20 s") << qint64(99000) << qint64(120000) << A::Keep;
        QTest::newRow("30-s clip") << qint64(15000) << qint64(30000) << A::Leave;
        QTest::newRow("unknown length (stream)") << qint64(60000) << qint64(0) << A::Leave;
    }
    void keepsPositionsOnlyInsideTheMedium()
    {
        QFETCH(qint64, position);
        QFETCH(qint64, length);
        QFETCH(ResumePolicy::Action, action);
        QCOMPARE(ResumePolicy::onStop(position, length), action);
    }

    void writesResumeTimes_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("hours") << qint64(3723400) << QStringLiteral("Resumed at 1:02:03 - Home: start over");
        QTest::newRow("minutes") << qint64(61000) << QStringLiteral("Resumed at 1:01 - Home: start over");
        QTest::newRow("seconds") << qint64(59999) << QStringLiteral("Resumed at 0:59 - Home: start over");
    }
    void writesResumeTimes()
    {
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(ResumePolicy::resumedLine(ms), text);
    }

    void identifiesMediaByContentAndLocation()
    {
        using namespace MediaIdentity;
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("film.mkv"));
        QFile file(first);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(200 * 1024, 'a') + QByteArray("tail"));
        file.close();
        const QString key = fileKey(first);
        QVERIFY(key.startsWith(QLatin1String("file:204804:")));
        const QString moved = dir.filePath(QStringLiteral("renamed.mkv"));
        QVERIFY(QFile::rename(first, moved));
        QCOMPARE(fileKey(moved), key);
        file.setFileName(moved);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(file.size() - 1);
        file.write("X");
        file.close();
        QVERIFY(fileKey(moved) != key);
        QVERIFY(fileKey(dir.filePath(QStringLiteral("none"))).isEmpty());

        QCOMPARE(kindOf(QUrl::fromLocalFile(moved).toString()), Kind::File);
        QCOMPARE(localPath(QUrl::fromLocalFile(moved).toString()), moved);
        QCOMPARE(kindOf(QStringLiteral("dvd:///dev/sr0")), Kind::Disc);
        QCOMPARE(kindOf(QStringLiteral("cdda:///dev/sr0")), Kind::AudioCd);
        QCOMPARE(kindOf(QStringLiteral("http://127.0.0.1/a.mp4")), Kind::Url);
        QCOMPARE(discKey(QStringLiteral("dvd:///dev/sr0"), 2), QStringLiteral("disc:dvd:///dev/sr0#2"));
    }

    // Positions by key and by path, recent entries newest first without
    // repeats, the playlist, and a clear that empties all three.
    void keepsWhatItIsGiven()
    {
        HistoryDb db;
        QCOMPARE(db.open(folder() + QStringLiteral("/history.sqlite")), HistoryDb::OpenResult::Opened);
        QVERIFY(db.savePosition(entry(QStringLiteral("file:1:aa"), 61000, QStringLiteral("/m/a.mkv"))));
        QVERIFY(db.savePosition(entry(QStringLiteral("file:1:aa"), 62000, QStringLiteral("/m/b.mkv"))));
        QCOMPARE(db.findPosition(QStringLiteral("file:1:aa"))->position, 62000);
        QCOMPARE(db.findPosition(QStringLiteral("file:0:00"), QStringLiteral("/m/b.mkv"))->key, QStringLiteral("file:1:aa"));
        QVERIFY(!db.findPosition(QStringLiteral("file:0:00"), QStringLiteral("/m/a.mkv")));
        QVERIFY(db.savePosition(entry(QStringLiteral("disc:dvd:///d#1"), 70000)));
        QVERIFY(db.savePosition(entry(QStringLiteral("disc:dvd:///d#3"), 80000)));
        QCOMPARE(db.findNewest(QStringLiteral("disc:dvd:///d#"))->position, 80000);
        QVERIFY(db.removePosition(QStringLiteral("file:1:aa")));
        QVERIFY(!db.findPosition(QStringLiteral("file:1:aa")));

        for (const QString &location : {QStringLiteral("/m/a.mkv"), QStringLiteral("http://h/s"), QStringLiteral("/m/a.mkv")})
            QVERIFY(db.addRecent({location.startsWith('/') ? RecentKind::File : RecentKind::Url, location}));
        const QVector<RecentEntry> recent = db.recent(15);
        QCOMPARE(recent.size(), 2);
        QCOMPARE(recent.at(0).location, QStringLiteral("/m/a.mkv"));
        QCOMPARE(recent.at(1).kind, RecentKind::Url);

        QVERIFY(db.savePlaylist({true, {QStringLiteral("file:///1.mp3"), QStringLiteral("file:///2.mp3")}, 2, 40000}));
        const std::optional<StoredPlaylist> list = db.playlist();
        QVERIFY(list);
        QCOMPARE(list->items.size(), 2);
        QCOMPARE(list->current, 2);
        QCOMPARE(list->position, 40000);

        QVERIFY(db.clear());
        QCOMPARE(db.positionCount(), 0);
        QVERIFY(db.recent(15).isEmpty());
        QVERIFY(!db.playlist());
    }

    // A file of an older schema is brought up to date; pruning keeps the
    // newest entries.
    void migratesAndPrunes()
    {
        const QString file = folder() + QStringLiteral("/history.sqlite");
        QDir().mkpath(folder());
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(file);
            QVERIFY(raw.open());
            QSqlQuery(raw).exec(QStringLiteral("CREATE TABLE resume (key TEXT PRIMARY KEY, path TEXT, position INTEGER,"
                                               " length INTEGER, audio INTEGER, subtitle INTEGER, subtitle_file TEXT,"
                                               " title INTEGER, updated INTEGER)"));
            raw.transaction();
            QSqlQuery insert(raw);
            insert.prepare(QStringLiteral("INSERT INTO resume (key, position, updated) VALUES (?, 20000, ?)"));
            for (int i = 0; i < HistoryDb::ResumeLimit + 5; ++i) {
                insert.addBindValue(QStringLiteral("url:%1").arg(i));
                insert.addBindValue(i);
                QVERIFY(insert.exec());
            }
            raw.commit();
            raw.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        HistoryDb db;
        QCOMPARE(db.open(file), HistoryDb::OpenResult::Opened);
        QVERIFY(db.addRecent({RecentKind::Url, QStringLiteral("http://h/s")}));
        QVERIFY(db.prune());
        QCOMPARE(db.positionCount(), HistoryDb::ResumeLimit);
        QVERIFY(!db.findPosition(QStringLiteral("url:4")));
        QVERIFY(db.findPosition(QStringLiteral("url:5")));
    }

    // Two windows save at the same moment: each write waits its turn.
    void twoWritersShareTheFile()
    {
        const QString file = folder() + QStringLiteral("/history.sqlite");
        std::atomic_int failures{0};
        const auto writer = [&](const QString &prefix) {
            HistoryDb db;
            if (db.open(file) == HistoryDb::OpenResult::Unavailable) {
                ++failures;
                return;
            }
            for (int i = 0; i < 150; ++i) {
                if (!db.savePosition(entry(prefix + QString::number(i % 10), 20000 + i)) || !db.addRecent({RecentKind::Url, prefix}))
                    ++failures;
            }
        };
        std::thread one(writer, QStringLiteral("url:one"));
        std::thread two(writer, QStringLiteral("url:two"));
        one.join();
        two.join();
        QCOMPARE(failures.load(), 0);
        HistoryDb db;
        QCOMPARE(db.open(file), HistoryDb::OpenResult::Opened);
        QCOMPARE(db.findPosition(QStringLiteral("url:one9"))->position, 20149);
        QCOMPARE(db.findPosition(QStringLiteral("url:two9"))->position, 20149);
    }
};

TARN_TEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
