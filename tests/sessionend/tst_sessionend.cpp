// The frame's session-end block against a logind stand-in on a private bus
// that this test starts.
#include "modernwindow.h"
#include "privatebus.h"
#include "shutdowninhibitor.h"
#include "tarntest.h"

#include <QProcess>

class BlockingWindow : public Common::ModernWindow
{
public:
    BlockingWindow()
        : Common::ModernWindow(true)
    {
    }
    using Common::ModernWindow::blockShutdown;
    using Common::ModernWindow::releaseShutdownBlock;
    using Common::ModernWindow::m_shutdownReason;
    using Common::ModernWindow::m_shutdownWindow;

protected:
    Common::UpdateHelper *createUpdateHelper(bool) override { return nullptr; }
    QString updateLinks() override { return QString(); }
};

class SessionEndTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase()
    {
        logind.terminate();
        logind.waitForFinished(3000);
    }

    void initTestCase()
    {
        QVERIFY(bus.start());
        // Read by libdbus when the program first asks for the system bus.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address);
    }

    void withoutLogindNothingIsBlocked()
    {
        BlockingWindow window;
        QVERIFY(!window.blockShutdown(QStringLiteral("Burning a disc")));
        QCOMPARE(window.m_shutdownWindow, WId(0));
        QVERIFY(!window.releaseShutdownBlock());

        // No bus at all.
        Platform::ShutdownInhibitor inhibitor(QDBusConnection(QStringLiteral("no such connection")));
        QVERIFY(!inhibitor.acquire(QStringLiteral("Player Tarn"), QStringLiteral("why")));
        QVERIFY(!inhibitor.isHeld());
    }

    void blockHoldsTheLockUntilReleased()
    {
        logind.start(QStringLiteral(FAKE_LOGIND), {QString::fromUtf8(bus.address)});
        QCOMPARE(nextLine(), QStringLiteral("ready"));
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
        BlockingWindow window;

        QVERIFY(window.blockShutdown(QStringLiteral("Burning a disc")));
        QCOMPARE(nextLine(), QStringLiteral("inhibit shutdown|Player Tarn|Burning a disc|delay"));
        QCOMPARE(window.m_shutdownReason, QStringLiteral("Burning a disc"));
        QCOMPARE(window.m_shutdownWindow, window.winId());
        QCOMPARE(nextLine(300), QString()); // still held

        // A new block replaces the one held.
        QVERIFY(window.blockShutdown(QStringLiteral("Writing a file")));
        QCOMPARE(nextLine(), QStringLiteral("released"));
        QCOMPARE(nextLine(), QStringLiteral("inhibit shutdown|Player Tarn|Writing a file|delay"));
        QCOMPARE(nextLine(300), QString());

        QVERIFY(window.releaseShutdownBlock());
        QCOMPARE(nextLine(), QStringLiteral("released"));
        QVERIFY(window.m_shutdownReason.isEmpty());
        QCOMPARE(window.m_shutdownWindow, WId(0));
        QVERIFY(!window.releaseShutdownBlock());
    }

private:
    // The stand-in's next line, waiting up to timeoutMs; empty when none.
    QString nextLine(int timeoutMs = 3000)
    {
        QElapsedTimer waited;
        waited.start();
        while (!logind.canReadLine() && waited.elapsed() < timeoutMs)
            logind.waitForReadyRead(50);
        return logind.canReadLine() ? QString::fromUtf8(logind.readLine()).trimmed() : QString();
    }

    TarnTest::PrivateSessionBus bus;
    QProcess logind;
};

TARN_TEST_MAIN(SessionEndTest)
#include "tst_sessionend.moc"
