// What the real window remembers between runs, with real libvlc, real clips
// and the real history file in the test's data location: resume positions,
// the recent files and the playlist kept at quit.
#include "windowfixture.h"

#include "historydb.h"
#include "historystore.h"
#include "logdialog.h"
#include "mediaidentity.h"
#include "platform.h"
#include "playercommands.h"
#include "playerhistory.h"
#include "recentmenu.h"
#include "resumenotice.h"
#include "resumetracker.h"

#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using TarnTest::media;

namespace {

const bool glIntegrationOff = (Platform::skipQtOpenGlIntegration(), true);

} // namespace

class WindowHistoryTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

    QTemporaryDir dir;

    ResumeNotice *notice() const { return window->findChild<ResumeNotice *>(); }

    QString copyOf(const QString &clip, const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        QFile::copy(media(clip), path);
        return path;
    }

    void reopenWindow()
    {
        window->fileQuit();
        destroyWindow();
        // The quit asked the event loop to end; one that starts and ends
        // here takes that request, so that later modal boxes run.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        QVERIFY(createWindow());
    }

    bool playsNear(qint64 ms, qint64 tolerance)
    {
        return !window->core->isStopped() && std::abs(window->core->time() - ms) <= tolerance;
    }

private slots:
    void initTestCase()
    {
        useSilentAudio();
        QVERIFY(dir.isValid());
    }
    void init() { QVERIFY(createWindow()); }
    void cleanup() { destroyWindow(); }

    // Quit at 1:00 of a two-minute clip with its second audio track and a
    // subtitle file chosen: the next start of the same file, under its name
    // or another, starts there with both and says so; Home starts over.
    void resumesWhereTheUserQuit_data()
    {
        QTest::addColumn<bool>("renamed");
        QTest::newRow("same name") << false;
        QTest::newRow("renamed") << true;
    }
    void resumesWhereTheUserQuit()
    {
        QFETCH(bool, renamed);
        const QString file = copyOf(QStringLiteral("long.mkv"), QStringLiteral("film.mkv"));
        const QString subtitles = media(QStringLiteral("sub.srt"));
        QSignalSpy audioTracks(window->core.get(), &LibPlayer::Core::mediaTrackAudio);
        window->openFile(file);
        QTRY_VERIFY(audioTracks.size() >= 2);
        const int chosen = audioTracks.last().at(0).toInt();
        QSignalSpy current(window->core.get(), &LibPlayer::Core::currentTrackAudio);
        window->core->changeAudio(chosen);
        window->core->changeSubtitle(subtitles);
        QTRY_VERIFY(!current.isEmpty() && current.last().at(0).toInt() == chosen);
        window->core->seek(60000);
        QTRY_VERIFY(window->core->time() >= 60000);
        reopenWindow();
        QString again = file;
        if (renamed) {
            again = dir.filePath(QStringLiteral("moved.mkv"));
            QFile::remove(again);
            QVERIFY(QFile::rename(file, again));
        }
        QSignalSpy restoredAudio(window->core.get(), &LibPlayer::Core::currentTrackAudio);
        QSignalSpy restoredFile(window->core.get(), &LibPlayer::Core::subtitleFileAdded);
        window->openFile(again);
        QTRY_VERIFY_WITH_TIMEOUT(playsNear(60000, 1500), 5000);
        QTRY_VERIFY(notice()->isVisible());
        QCOMPARE(notice()->text(), QStringLiteral("Resumed at 1:00 - Home: start over"));
        QTRY_VERIFY(!restoredFile.isEmpty());
        QCOMPARE(restoredFile.last().at(1).toString(), subtitles);
        QTRY_VERIFY(!restoredAudio.isEmpty() && restoredAudio.last().at(0).toInt() == chosen);
        QApplication::setActiveWindow(window.get());
        QTest::keyClick(window.get(), Qt::Key_Home);
        QTRY_VERIFY(playsNear(0, 3000));
        QVERIFY(!notice()->isVisible());
    }

    // The program started with a file it has a position for resumes it, and
    // keeps the position it reaches on disk while it plays: killed without
    // warning, it has lost at most the last seconds.
    void killedProgramKeepsItsPosition()
    {
        const QString file = copyOf(QStringLiteral("long.mkv"), QStringLiteral("program.mkv"));
        ResumeEntry entry;
        entry.key = MediaIdentity::fileKey(file);
        entry.path = file;
        entry.position = 60000;
        entry.length = 120000;
        {
            HistoryDb db;
            QVERIFY(db.open(HistoryStore::defaultFolder() + QStringLiteral("/history.sqlite")) != HistoryDb::OpenResult::Unavailable);
            QVERIFY(db.savePosition(entry));
        }
        QProcess player;
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(QStringLiteral(PLAYER), {QStringLiteral("--start"), file});
        QVERIFY(player.waitForStarted());
        HistoryDb db;
        QVERIFY(db.open(HistoryStore::defaultFolder() + QStringLiteral("/history.sqlite")) != HistoryDb::OpenResult::Unavailable);
        QTRY_VERIFY_WITH_TIMEOUT(db.findPosition(entry.key)->position > 61000, 30000);
        QTest::qWait(1000);
        player.kill();
        QVERIFY(player.waitForFinished(10000));
        const qint64 kept = db.findPosition(entry.key)->position;
        QVERIFY2(kept > 61000 && kept < 100000, qPrintable(QString::number(kept)));
    }

    // A process killed without warning has its position on disk, at most
    // 5 s behind; another connection (another process) reads it.
    void savesWhilePlaying()
    {
        window->openFile(copyOf(QStringLiteral("long.mkv"), QStringLiteral("killed.mkv")));
        QTRY_VERIFY(!window->core->isStopped());
        window->core->seek(60000);
        QTest::qWait(6500);
        const qint64 now = window->core->time();
        HistoryDb other;
        QVERIFY(other.open(HistoryStore::defaultFolder() + QStringLiteral("/history.sqlite")) != HistoryDb::OpenResult::Unavailable);
        const std::optional<ResumeEntry> kept = other.findPosition(QString(), dir.filePath(QStringLiteral("killed.mkv")));
        QVERIFY(kept);
        QVERIFY2(now - kept->position <= 5500 && kept->position >= 60000, qPrintable(QString::number(kept->position)));
    }

    // Resume turned off (the rows after turn it on again), played to its
    // end, or too short to resume: the next start is at 0.
    void startsOverWhenThereIsNothingToResume_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<qint64>("seekTo");
        QTest::addColumn<bool>("toTheEnd");
        QTest::addColumn<bool>("resumeOff");
        QTest::newRow("resume turned off") << QStringLiteral("long.mkv") << qint64(60000) << false << true;
        QTest::newRow("played to the end") << QStringLiteral("long.mkv") << qint64(60000) << true << false;
        QTest::newRow("30-s clip") << QStringLiteral("half.mkv") << qint64(15000) << false << false;
    }
    void startsOverWhenThereIsNothingToResume()
    {
        QFETCH(QString, clip);
        QFETCH(qint64, seekTo);
        QFETCH(bool, toTheEnd);
        QFETCH(bool, resumeOff);
        const QString file = copyOf(clip, QStringLiteral("end-") + clip);
        window->openFile(file);
        QTRY_VERIFY(!window->core->isStopped());
        window->core->seek(seekTo);
        QTRY_VERIFY(window->core->time() >= seekTo);
        if (toTheEnd) {
            window->history->tracker()->saveNow();
            window->core->seek(118500);
            QTRY_VERIFY_WITH_TIMEOUT(window->core->isStopped(), 15000);
        }
        reopenWindow();
        for (QAction *action : window->history->findChildren<QAction *>()) {
            if (action->text() == QLatin1String("Resume playback"))
                action->setChecked(!resumeOff);
        }
        window->openFile(file);
        QTRY_VERIFY(!window->core->isStopped());
        QTest::qWait(1500);
        QVERIFY2(window->core->time() < 5000, qPrintable(QString::number(window->core->time())));
        QVERIFY(!notice()->isVisible());
    }

    // Newest first, each once, a file gone shown disabled; an entry reopens.
    void listsRecentMedia()
    {
        window->history->store()->clear();
        window->history->recent()->forget();
        const QString first = copyOf(QStringLiteral("half.mkv"), QStringLiteral("first.mkv"));
        const QString second = copyOf(QStringLiteral("half.mkv"), QStringLiteral("second.mkv"));
        for (const QString &file : {first, second, first}) {
            window->openFile(file);
            QTRY_COMPARE(MediaIdentity::localPath(window->core->location()), file);
        }
        reopenWindow();
        RecentMenu *menu = window->history->recent();
        QTRY_COMPARE(menu->entries().size(), 2);
        QVERIFY(QFile::remove(second));
        emit menu->aboutToShow();
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.at(0)->text(), QStringLiteral("first.mkv"));
        QCOMPARE(actions.at(0)->toolTip(), dir.path());
        QCOMPARE(actions.at(1)->text(), QStringLiteral("second.mkv (missing)"));
        QVERIFY(!actions.at(1)->isEnabled());
        actions.at(0)->trigger();
        QTRY_COMPARE(MediaIdentity::localPath(window->core->location()), first);
        // A location reopens as a location (this one fails as one).
        menu->add({RecentKind::Url, QStringLiteral("http://127.0.0.1:1/film.mkv")});
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("http://127.0.0.1:1/film.mkv"));
        menu->actions().at(0)->trigger();
        QTRY_VERIFY(answerer->boxes.join(QString()).contains(QLatin1String("not able to play this URL")));

        // "Clear history" asks first; No keeps everything.
        QAction *clear = nullptr;
        for (QAction *action : window->history->findChildren<QAction *>())
            clear = action->text() == QLatin1String("Clear history") ? action : clear;
        QVERIFY(clear);
        for (const QMessageBox::StandardButton button : {QMessageBox::No, QMessageBox::Yes}) {
            answerer->boxButton = button;
            clear->trigger();
            std::optional<QVector<RecentEntry>> kept;
            window->history->store()->recent(15, [&](const QVector<RecentEntry> &entries) { kept = entries; });
            QTRY_VERIFY(kept);
            QCOMPARE(kept->size(), button == QMessageBox::No ? 3 : 0);
            QCOMPARE(menu->entries().size(), kept->size());
        }
    }

    // The playlist at quit comes back at the next start without a file:
    // the same items, the same current one, paused where it was.
    void restoresThePlaylistAtStart()
    {
        QList<QUrl> urls;
        for (const QString &name : {QStringLiteral("a.mkv"), QStringLiteral("b.mkv"), QStringLiteral("c.mkv")})
            urls << QUrl::fromLocalFile(copyOf(QStringLiteral("long.mkv"), name));
        window->dropUri(urls);
        QTRY_COMPARE(window->playlistItems().size(), 3);
        window->changeListItem(2);
        QTRY_COMPARE(MediaIdentity::localPath(window->core->location()), urls.at(1).toLocalFile());
        window->core->seek(40000);
        QTRY_VERIFY(window->core->time() >= 40000);
        reopenWindow();
        QTRY_COMPARE(window->playlistItems().size(), 3);
        QTRY_VERIFY(!window->core->isStopped());
        QCOMPARE(window->currentItem(), 2);
        QTRY_VERIFY(playsNear(40000, 1500));
        QTRY_VERIFY(!window->core->isPlaying());
        QTRY_COMPARE(window->m_titleLabel->text(), QStringLiteral("Long clip"));
        window->commands->play();
        QTRY_VERIFY(window->core->isPlaying());

        // A start file plays instead.
        window->fileQuit();
        destroyWindow();
        const QString startFile = copyOf(QStringLiteral("half.mkv"), QStringLiteral("start.mkv"));
        window = std::make_unique<TarnTest::TestWindow>(startFile);
        window->show();
        QTRY_COMPARE(MediaIdentity::localPath(window->core->location()), startFile);
        QTest::qWait(500);
        QVERIFY(window->playlistItems().isEmpty());
    }

    // A damaged history file is set aside, a data folder that cannot be
    // made leaves the player without history: either way one warning, and
    // the file plays.
    void playsWithABrokenStore_data()
    {
        QTest::addColumn<bool>("folderBlocked");
        QTest::addColumn<QString>("warning");
        QTest::newRow("damaged file") << false << QStringLiteral("[Main] The history database was damaged");
        QTest::newRow("folder cannot be made") << true << QStringLiteral("[Main] History is not kept in this session");
    }
    void playsWithABrokenStore()
    {
        QFETCH(bool, folderBlocked);
        QFETCH(QString, warning);
        destroyWindow();
        const QString folder = HistoryStore::defaultFolder();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folderBlocked ? folder : folder + QStringLiteral("/history.sqlite"));
        QDir().mkpath(folderBlocked ? QFileInfo(folder).path() : folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write(QByteArray(4096, 'x'));
        blocker.close();
        QVERIFY(createWindow());
        auto *log = window->findChild<LibTarnCommon::LogDialog *>();
        window->openFile(copyOf(QStringLiteral("half.mkv"), QStringLiteral("broken.mkv")));
        QTRY_VERIFY(log->plainText().contains(warning));
        QTRY_VERIFY(window->core->isPlaying());
        QTest::qWait(1500);
        QCOMPARE(log->plainText().count(QStringLiteral("[Main] History")) + log->plainText().count(QStringLiteral("[Main] The history")), 1);
        if (!folderBlocked)
            QCOMPARE(QDir(folder).entryList({QStringLiteral("history.sqlite.corrupt-*")}).size(), 1);
        destroyWindow();
        QFile::remove(folder);
    }
};

TARN_TEST_MAIN(WindowHistoryTest)
#include "tst_window_history.moc"
