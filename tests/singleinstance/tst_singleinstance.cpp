// Real processes: the probe (the single-instance component alone) and the
// player itself, all sharing this test's private runtime directory.
#include "instancefolder.h"
#include "singleapplication.h"
#include "windowfixture.h"

#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QSysInfo>
#include <memory>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace {

using Process = std::unique_ptr<QProcess>;

Process start(const QString &program, const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->start(program, arguments);
    return process;
}

// Ends a primary probe with a "quit" message; returns all it printed.
QList<QByteArray> stopProbe(QProcess *probe, const QString &id)
{
    start(PROBE, {id, QStringLiteral("quit")})->waitForFinished(10000);
    if (!probe->waitForFinished(10000))
        probe->kill();
    QList<QByteArray> lines = probe->readAll().split('\n');
    lines.removeAll(QByteArray());
    return lines;
}

QString uniqueId()
{
    static int count = 0;
    return QStringLiteral("Mirelva.Test.%1.%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

bool becomesPrimary(QProcess *probe)
{
    return probe->waitForReadyRead(10000) && probe->peek(8) == "primary\n";
}

// Whether the player's socket accepts connections (a killed primary's file does not).
bool playerListens()
{
    QLocalSocket socket;
    socket.connectToServer(SingleApplication::serverPath(QStringLiteral("Mirelva.Player")));
    return socket.waitForConnected(50);
}

// Starts command with the runtime folder mounted read-only (in a mount
// namespace of its own) and temp as its temporary folder.
Process startReadOnlyRuntime(const QString &runtime, const QString &temp, const QStringList &command)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("TMPDIR"), temp);
    process->setProcessEnvironment(environment);
    QStringList arguments{QStringLiteral("--mount")};
    if (::geteuid() != 0)
        arguments << QStringLiteral("--map-root-user");
    arguments << QStringLiteral("sh") << QStringLiteral("-c")
              << QStringLiteral("mount --bind -o ro \"$0\" \"$0\" && exec \"$@\"") << runtime << command;
    process->start(QStringLiteral("unshare"), arguments);
    return process;
}

void stop(std::initializer_list<QProcess *> processes)
{
    for (QProcess *process : processes) {
        process->kill();
        process->waitForFinished(10000);
    }
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondLaunchHandsTextOverWhole()
    {
        const QString id = uniqueId();
        Process primary = start(PROBE, {id, QString()});
        QVERIFY(becomesPrimary(primary.get()));
        const QString text = QString::fromUtf8("/home/ana/Vidéos/été 2026/clip ✓.mkv") + QString(3000, QLatin1Char('x'));
        Process second = start(PROBE, {id, text});
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(second->readAll(), QByteArray("sent\n"));
        QCOMPARE(stopProbe(primary.get(), id), (QList<QByteArray>{"primary", "received:" + text.toUtf8(), "received:quit"}));
    }

    void tenLaunchesAtOnceLeaveOnePrimary()
    {
        const QString id = uniqueId();
        std::vector<Process> probes;
        for (int i = 0; i < 10; ++i)
            probes.push_back(start(PROBE, {id, QStringLiteral("message %1").arg(i)}));
        // Nine hand their text over and end; the primary keeps running.
        const auto running = [&probes] {
            std::vector<QProcess *> result;
            for (const Process &probe : probes) {
                if (probe->state() != QProcess::NotRunning)
                    result.push_back(probe.get());
            }
            return result;
        };
        QTRY_COMPARE_WITH_TIMEOUT(running().size(), size_t(1), 15000);
        QTest::qWait(200);
        QCOMPARE(running().size(), size_t(1));

        QList<QByteArray> expected{"primary"};
        for (int i = 0; i < 10; ++i) {
            QProcess *probe = probes[size_t(i)].get();
            if (probe->state() == QProcess::NotRunning) {
                QCOMPARE(probe->exitCode(), 0);
                QCOMPARE(probe->readAll(), QByteArray("sent\n"));
                expected << "received:message " + QByteArray::number(i);
            }
        }
        expected << "received:quit";
        QList<QByteArray> received = stopProbe(running().front(), id);
        std::sort(received.begin() + 1, received.end() - 1); // arrival order is free
        QCOMPARE(received, expected);
    }

    void killedPrimaryDoesNotBlockNextLaunch()
    {
        const QString id = uniqueId();
        Process primary = start(PROBE, {id, QString()});
        QVERIFY(becomesPrimary(primary.get()));
        stop({primary.get()});
        QElapsedTimer timer;
        timer.start();
        Process next = start(PROBE, {id, QStringLiteral("hello")});
        QVERIFY(becomesPrimary(next.get()));
        QVERIFY2(timer.elapsed() < 4000, "the next launch waited for the dead primary's time-out");
        stopProbe(next.get(), id);
    }

    void lockNamingNoLiveProcessOfOursIsTakenOverAtOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
        const QByteArray host = QSysInfo::machineHostName().toLocal8Bit();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\xff\xfe\x00garbage\n\n\n", 14);
        QTest::newRow("another host's name") << pid + "\nplayer-tarn\nelsewhere.invalid\n";
        QTest::newRow("another machine's id") << pid + "\nplayer-tarn\n" + host + "\n0123456789abcdef\n";
        QTest::newRow("live process of another program") << pid + "\nplayer-tarn\n" + host + "\n";
    }

    void lockNamingNoLiveProcessOfOursIsTakenOverAtOnce()
    {
        QFETCH(QByteArray, content);
        const QString lockPath = SingleApplication::serverPath(QStringLiteral("Mirelva.Player")) + QStringLiteral(".lock");
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(lock.write(content), qint64(content.size()));
        lock.close();

        QElapsedTimer timer;
        timer.start();
        Process player = start(PLAYER, {});
        QTRY_VERIFY_WITH_TIMEOUT(playerListens(), 5000);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QStringLiteral("window after %1 ms").arg(timer.elapsed())));
        qint64 owner = 0;
        QString host, application;
        QVERIFY(QLockFile(lockPath).getLockInfo(&owner, &host, &application));
        QCOMPARE(owner, player->processId());

        Process next = start(PLAYER, {QStringLiteral("--start"), QStringLiteral("/nonexistent/song.mp3")});
        QVERIFY(next->waitForFinished(10000));
        QCOMPARE(next->exitCode(), 0);
        QCOMPARE(player->state(), QProcess::Running);
        stop({player.get()});
    }

    // A primary frozen past the sender's time-out: the sender opens its own
    // window, so the primary must not open the same file when it wakes.
    void frozenPrimaryDropsMessageItsSenderGaveUp()
    {
        const QString id = uniqueId();
        Process primary = start(PROBE, {id, QString()});
        QVERIFY(becomesPrimary(primary.get()));
        QCOMPARE(::kill(pid_t(primary->processId()), SIGSTOP), 0);

        Process second = start(PROBE, {id, QStringLiteral("abandoned")});
        QVERIFY(second->waitForReadyRead(10000)); // after its 5 s wait
        QCOMPARE(second->readAll(), QByteArray("primary\n"));
        QCOMPARE(::kill(pid_t(primary->processId()), SIGCONT), 0);
        const QByteArray dropped = "warning:[Main] Dropped a message whose sender stopped waiting: abandoned\n";
        QTRY_VERIFY_WITH_TIMEOUT(primary->peek(4096).contains(dropped), 5000);

        Process third = start(PROBE, {id, QStringLiteral("third")});
        QVERIFY(third->waitForFinished(10000));
        QCOMPARE(third->readAll(), QByteArray("sent\n"));
        QCOMPARE(stopProbe(primary.get(), id),
                 (QList<QByteArray>{"primary", dropped.trimmed(), "received:third", "received:quit"}));

        // The second launch takes the lock and the server once the first is gone.
        const auto lockOwner = [&id] {
            qint64 pid = 0;
            QString host, application;
            QLockFile(SingleApplication::serverPath(id) + QStringLiteral(".lock")).getLockInfo(&pid, &host, &application);
            return pid;
        };
        QTRY_COMPARE_WITH_TIMEOUT(lockOwner(), second->processId(), 5000);
        QCOMPARE(stopProbe(second.get(), id), QList<QByteArray>{"received:quit"});
    }

    void playerHandsOverUnlessVideoInNewWindow_data()
    {
        QTest::addColumn<bool>("videoInstance");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("ownWindow");
        const QString mkv = QStringLiteral("/nonexistent/clip.mkv");
        QTest::newRow("option off: mkv handed over") << false << QStringList{"--start", mkv} << false;
        QTest::newRow("option on: mkv opens a window") << true << QStringList{"--start", mkv} << true;
        QTest::newRow("option on: bare mkv name opens a window") << true << QStringList{mkv} << true;
        QTest::newRow("option on: mp3 handed over") << true << QStringList{"--start", "/nonexistent/song.mp3"} << false;
    }

    void playerHandsOverUnlessVideoInNewWindow()
    {
        QFETCH(bool, videoInstance);
        QFETCH(QStringList, arguments);
        QFETCH(bool, ownWindow);
        QSettings().setValue(QStringLiteral("Input/video instance"), videoInstance);
        QSettings().sync();
        Process player = start(PLAYER, {});
        QTRY_VERIFY_WITH_TIMEOUT(playerListens(), 10000);
        Process second = start(PLAYER, arguments);
        const bool finished = second->waitForFinished(ownWindow ? 2000 : 10000);
        QCOMPARE(!finished, ownWindow);
        if (finished)
            QCOMPARE(second->exitCode(), 0);
        QCOMPARE(player->state(), QProcess::Running);
        stop({second.get(), player.get()});
    }

    void instanceFolderIsRuntimeOrPrivateFallback_data()
    {
        QTest::addColumn<QString>("runtime"); // "long": a path with no room for the socket name
        QTest::addColumn<QString>("fallback"); // made beforehand: "", "open", "link", "foreign"
        QTest::addColumn<QString>("chosen");  // "runtime", "fallback" or "" (none)
        QTest::newRow("writable runtime folder") << "dir" << "" << "runtime";
        QTest::newRow("runtime is a file") << "file" << "" << "fallback";
        QTest::newRow("runtime path too long for a socket") << "long" << "" << "fallback";
        QTest::newRow("no runtime folder") << "" << "" << "fallback";
        QTest::newRow("fallback open to others is refused") << "file" << "open" << "";
        QTest::newRow("fallback that is a link is refused") << "file" << "link" << "";
        if (::geteuid() == 0)
            QTest::newRow("fallback of another user is refused") << "file" << "foreign" << "";
    }

    void instanceFolderIsRuntimeOrPrivateFallback()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, fallback);
        QFETCH(QString, chosen);
        QTemporaryDir root;
        QString runtimePath;
        if (runtime == QLatin1String("dir")) {
            runtimePath = root.filePath(QStringLiteral("run"));
        } else if (runtime == QLatin1String("file")) {
            runtimePath = root.filePath(QStringLiteral("run"));
            QFile(runtimePath).open(QIODevice::WriteOnly);
        } else if (runtime == QLatin1String("long")) {
            runtimePath = root.filePath(QString(60, QLatin1Char('r')));
        }
        const QString fallbackPath = root.filePath(QStringLiteral("private"));
        if (fallback == QLatin1String("open") || fallback == QLatin1String("foreign")) {
            QVERIFY(QDir().mkdir(fallbackPath));
            QFile::setPermissions(fallbackPath, fallback == QLatin1String("open")
                                                    ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther
                                                    : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (fallback == QLatin1String("foreign"))
                QCOMPARE(::chown(QFile::encodeName(fallbackPath).constData(), 65534, 65534), 0);
        } else if (fallback == QLatin1String("link")) {
            QVERIFY(QDir().mkdir(root.filePath(QStringLiteral("elsewhere"))));
            QVERIFY(QFile::link(root.filePath(QStringLiteral("elsewhere")), fallbackPath));
        }

        const InstanceFolder::Choice choice = InstanceFolder::choose(runtimePath, fallbackPath);
        const QString expected = chosen == QLatin1String("runtime")    ? runtimePath
                                 : chosen == QLatin1String("fallback") ? fallbackPath
                                                                       : QString();
        QCOMPARE(choice.folder, expected);
        QCOMPARE(choice.logLine.isEmpty(), chosen == QLatin1String("runtime"));
        if (chosen == QLatin1String("fallback"))
            QCOMPARE(QFileInfo(fallbackPath).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                         | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    }

    // A read-only runtime folder (as a read-only mount): the lock and socket
    // move to the private fallback, so launches neither wait nor lose the
    // single instance; a fallback open to others is refused and each launch
    // runs on its own, still without waiting.
    void readOnlyRuntimeFolderNeitherWaitsNorSplits_data()
    {
        QTest::addColumn<bool>("fallbackOpen");
        QTest::newRow("private fallback") << false;
        QTest::newRow("fallback open to others") << true;
    }

    void readOnlyRuntimeFolderNeitherWaitsNorSplits()
    {
        QFETCH(bool, fallbackOpen);
        QTemporaryDir root;
        const QString runtime = root.filePath(QStringLiteral("run"));
        const QString temp = root.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(runtime) && QDir().mkpath(temp));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Process mountCheck = startReadOnlyRuntime(runtime, temp, {QStringLiteral("true")});
        if (!mountCheck->waitForFinished(10000) || mountCheck->exitCode() != 0)
            QSKIP("no mount namespace for a read-only runtime folder here");
        if (fallbackOpen) {
            // The name the fallback takes inside the namespace (root there when not root here).
            QVERIFY(QDir().mkpath(temp + QStringLiteral("/player-tarn-runtime-0")));
            QVERIFY(QDir().mkpath(temp + QStringLiteral("/player-tarn-runtime-%1").arg(::geteuid())));
        }
        const QString id = uniqueId();
        QElapsedTimer timer;
        timer.start();
        Process primary = startReadOnlyRuntime(runtime, temp, {PROBE, id, QString()});
        QVERIFY(becomesPrimary(primary.get()));
        QVERIFY2(timer.elapsed() < 4000, qPrintable(QStringLiteral("primary after %1 ms").arg(timer.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(primary->peek(4096).contains("\nwarning:[Main] Runtime folder " + runtime.toUtf8()), 5000);

        timer.restart();
        Process second = startReadOnlyRuntime(runtime, temp, {PROBE, id, QStringLiteral("hello")});
        if (fallbackOpen) {
            QVERIFY(becomesPrimary(second.get()));
            QVERIFY2(timer.elapsed() < 4000, qPrintable(QStringLiteral("second after %1 ms").arg(timer.elapsed())));
            stop({second.get(), primary.get()});
            return;
        }
        QVERIFY2(second->waitForFinished(10000), second->readAllStandardError().constData());
        QCOMPARE(second->readAllStandardOutput(), QByteArray("sent\n"));
        QVERIFY2(timer.elapsed() < 4000, qPrintable(QStringLiteral("hand-over after %1 ms").arg(timer.elapsed())));
        startReadOnlyRuntime(runtime, temp, {PROBE, id, QStringLiteral("quit")})->waitForFinished(10000);
        QVERIFY(primary->waitForFinished(10000));
        QList<QByteArray> lines = primary->readAllStandardOutput().split('\n');
        QCOMPARE(lines.mid(2), (QList<QByteArray>{"received:hello", "received:quit", ""}));
        QCOMPARE(QDir(runtime).entryList(QDir::Files | QDir::System | QDir::Hidden), QStringList());
    }

    // A second launch's file that arrives before the window's start (a quick
    // double-click on two files) is the one that plays.
    void requestHandedOverBeforeStartReplacesStartFile()
    {
        const TarnTest::ModalAnswerer answerer;
        const QString handed = TarnTest::media(QStringLiteral("audio.mp3"));
        TarnTest::TestWindow window(TarnTest::media(QStringLiteral("av.mkv")));
        window.handleMessage(handed); // as the event loop delivers it, before start's 100 ms
        QTest::qWait(500);
        QCOMPARE(window.playback->lastFile(), handed);
    }
};

TARN_TEST_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
