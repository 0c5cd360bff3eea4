#pragma once
// Helpers of the window benchmarks: the application object, waiting while
// the event loop turns (never sleeping on the GUI thread, which would count
// as a stall) and the process's resident memory. No CMakeLists here: the benchmarks that use it
// add this folder to their include path.

#include "tarntest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <functional>

namespace Bench {

// The application of a benchmark that builds the player's window: the
// player's identity, settings and runtime files in a temporary folder (see
// tarntest.h), audio to the tests' silent device.
class WindowBenchApplication : public QApplication
{
public:
    WindowBenchApplication(int &argc, char **argv)
        : QApplication(isolated(argc), argv)
    {
        setOrganizationName(QStringLiteral("Mirelva"));
        setApplicationName(QStringLiteral("Player"));
        setApplicationDisplayName(QStringLiteral("Player Tarn"));
    }

private:
    // Before the application object exists.
    static int &isolated(int &argc)
    {
        TarnTest::isolateEnvironment();
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(TarnTest::dataPath(QStringLiteral("media/alsa-null.conf"))));
        return argc;
    }
};

// Turns the event loop for ms.
inline void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Turns the event loop until condition holds; false after timeoutMs.
inline bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        idle(5);
    }
    return true;
}

// VmRSS of this process in kB, -1 when unknown.
inline long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace Bench
