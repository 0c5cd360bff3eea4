#include "singleapplication.h"
#include "tarntest.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <algorithm>
#include <memory>
#include <vector>

// Real processes: the probe (the single-instance component alone) and the
// player itself, all sharing this test's private runtime directory.
class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondLaunchHandsTextOverWhole();
    void tenLaunchesAtOnceLeaveOnePrimary();
    void killedPrimaryDoesNotBlockNextLaunch();
    void playerSecondLaunchExitsZero();
    void videoWithNewWindowOptionStartsOwnWindow_data();
    void videoWithNewWindowOptionStartsOwnWindow();

private:
    std::unique_ptr<QProcess> startProbe(const QString &id, const QString &text);
    static bool waitForLine(QProcess *process, const QByteArray &line, int timeout = 10000);
    static QList<QByteArray> lines(QProcess *process);
    static void stopProbe(QProcess *process, const QString &id);
    static QString uniqueId();
    static bool waitForPlayerPrimary();
};

// The player's primary is ready once its socket accepts connections (a file
// left by a killed primary does not count).
bool SingleInstanceTest::waitForPlayerPrimary()
{
    const QString path = SingleApplication::serverPath(QStringLiteral("Mirelva.Player"));
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (socket.waitForConnected(200))
            return true;
        QTest::qWait(50);
    }
    return false;
}

QString SingleInstanceTest::uniqueId()
{
    static int count = 0;
    return QStringLiteral("Mirelva.Test.%1.%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

std::unique_ptr<QProcess> SingleInstanceTest::startProbe(const QString &id, const QString &text)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(PROBE), {id, text});
    return process;
}

bool SingleInstanceTest::waitForLine(QProcess *process, const QByteArray &line, int timeout)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray seen;
    while (timer.elapsed() < timeout) {
        process->waitForReadyRead(100);
        seen += process->readAll();
        if (seen.split('\n').contains(line)) {
            process->setProperty("seen", seen);
            return true;
        }
    }
    process->setProperty("seen", seen);
    return false;
}

QList<QByteArray> SingleInstanceTest::lines(QProcess *process)
{
    QByteArray all = process->property("seen").toByteArray() + process->readAll();
    QList<QByteArray> result = all.split('\n');
    result.removeAll(QByteArray());
    return result;
}

void SingleInstanceTest::stopProbe(QProcess *process, const QString &id)
{
    auto quit = std::make_unique<QProcess>();
    quit->start(QStringLiteral(PROBE), {id, QStringLiteral("quit")});
    quit->waitForFinished(10000);
    if (!process->waitForFinished(10000))
        process->kill();
}

void SingleInstanceTest::secondLaunchHandsTextOverWhole()
{
    const QString id = uniqueId();
    auto primary = startProbe(id, QString());
    QVERIFY(waitForLine(primary.get(), "primary"));

    const QString text = QString::fromUtf8("/home/ana/Vidéos/été 2026/clip ✓.mkv") + QString(3000, QLatin1Char('x'));
    auto second = startProbe(id, text);
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(second->readAll(), QByteArray("sent\n"));

    QVERIFY(waitForLine(primary.get(), "received:" + text.toUtf8()));
    stopProbe(primary.get(), id);
    QCOMPARE(lines(primary.get()).count("received:" + text.toUtf8()), 1);
}

void SingleInstanceTest::tenLaunchesAtOnceLeaveOnePrimary()
{
    const QString id = uniqueId();
    std::vector<std::unique_ptr<QProcess>> probes;
    for (int i = 0; i < 10; ++i)
        probes.push_back(startProbe(id, QStringLiteral("message %1").arg(i)));

    // Nine hand their text over and end; the primary keeps running.
    const auto finishedCount = [&probes] {
        return std::count_if(probes.begin(), probes.end(),
                             [](const auto &probe) { return probe->state() == QProcess::NotRunning; });
    };
    QTRY_COMPARE_WITH_TIMEOUT(int(finishedCount()), 9, 15000);
    QTest::qWait(200);
    QCOMPARE(int(finishedCount()), 9);

    QProcess *primary = nullptr;
    QStringList delivered;
    for (int i = 0; i < 10; ++i) {
        QProcess *probe = probes[size_t(i)].get();
        if (probe->state() == QProcess::NotRunning) {
            QCOMPARE(probe->exitCode(), 0);
            QCOMPARE(probe->readAll(), QByteArray("sent\n"));
            delivered << QStringLiteral("message %1").arg(i);
        } else {
            primary = probe;
        }
    }
    QVERIFY(primary);
    QCOMPARE(delivered.size(), 9);
    QVERIFY(waitForLine(primary, "primary"));
    stopProbe(primary, id);

    const QList<QByteArray> received = lines(primary);
    for (const QString &message : qAsConst(delivered))
        QCOMPARE(received.count("received:" + message.toUtf8()), 1);
    QCOMPARE(received.size(), 1 + 9 + 1); // "primary", nine messages, "quit"
}

void SingleInstanceTest::killedPrimaryDoesNotBlockNextLaunch()
{
    const QString id = uniqueId();
    auto primary = startProbe(id, QString());
    QVERIFY(waitForLine(primary.get(), "primary"));
    primary->kill();
    QVERIFY(primary->waitForFinished(5000));

    QElapsedTimer timer;
    timer.start();
    auto next = startProbe(id, QStringLiteral("hello"));
    QVERIFY(waitForLine(next.get(), "primary"));
    QVERIFY2(timer.elapsed() < 4000, "the next launch waited for the dead primary's time-out");
    stopProbe(next.get(), id);
}

void SingleInstanceTest::playerSecondLaunchExitsZero()
{
    QProcess player;
    player.start(QStringLiteral(PLAYER), QStringList());
    QVERIFY(player.waitForStarted());
    QVERIFY(waitForPlayerPrimary());

    QProcess second;
    second.start(QStringLiteral(PLAYER), {QStringLiteral("--start"), QStringLiteral("/nonexistent/song.mp3")});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(player.state(), QProcess::Running);
    player.kill();
    QVERIFY(player.waitForFinished(10000));
}

void SingleInstanceTest::videoWithNewWindowOptionStartsOwnWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("ownWindow");
    QTest::newRow("mkv opens a second window") << "/nonexistent/clip.mkv" << true;
    QTest::newRow("mp3 goes to the running instance") << "/nonexistent/song.mp3" << false;
    QTest::newRow("MKV in capitals is not a video") << "/nonexistent/clip.MKV" << false;
}

void SingleInstanceTest::videoWithNewWindowOptionStartsOwnWindow()
{
    QFETCH(QString, file);
    QFETCH(bool, ownWindow);
    QSettings().setValue(QStringLiteral("Input/video instance"), true);
    QSettings().sync();

    QProcess player;
    player.start(QStringLiteral(PLAYER), QStringList());
    QVERIFY(player.waitForStarted());
    QVERIFY(waitForPlayerPrimary());

    QProcess second;
    second.start(QStringLiteral(PLAYER), {QStringLiteral("--start"), file});
    const bool finished = second.waitForFinished(ownWindow ? 2000 : 10000);
    QCOMPARE(!finished, ownWindow);
    if (finished)
        QCOMPARE(second.exitCode(), 0);
    for (QProcess *process : {&second, &player}) {
        process->kill();
        process->waitForFinished(10000);
    }
    QSettings().remove(QStringLiteral("Input/video instance"));
}

TARN_TEST_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
