// Idle cost of the real player window: CPU time of the whole process (GUI
// thread, libvlc's threads) over a quiet period, with nothing loaded and with
// a paused video, and the paint and layout events that reach the window's
// widgets meanwhile.
#include "platform.h"
#include "playerwindow.h"
#include "playtoolbutton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace {

// CPU seconds of the GUI thread alone (the window, its timers, the engine's
// calls), from the kernel's per-thread accounting.
double guiThreadCpuSeconds()
{
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(getpid()));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // Fields after the command name, which ends with the last ')'.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the line, 12 and 13 here.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Counts paints and layout requests of every widget of the program.
class EventCounter : public QObject
{
public:
    int paints = 0;
    int layouts = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched->isWidgetType()) {
            if (event->type() == QEvent::Paint)
                ++paints;
            else if (event->type() == QEvent::LayoutRequest)
                ++layouts;
        }
        return false;
    }
};

// The program's own event loop, sleeping between events.
void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void measure(const char *what, int seconds, EventCounter &counter)
{
    wait(2000); // settle: start-up timers, the first parse
    counter.paints = 0;
    counter.layouts = 0;
    const double before = cpuSeconds();
    const double guiBefore = guiThreadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    wait(seconds * 1000);
    const double used = cpuSeconds() - before;
    const double gui = guiThreadCpuSeconds() - guiBefore;
    const double elapsed = double(wall.elapsed()) / 1000.0;
    std::printf("%-16s %6.2f s wall  process %7.3f s CPU = %6.3f %% of a core  (GUI thread %6.3f %%)"
                "  %d paints  %d layouts\n",
                what, elapsed, used, 100.0 * used / elapsed, 100.0 * gui / elapsed, counter.paints, counter.layouts);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    // Settings and runtime files of this run only.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    qputenv("PLAYER_TARN_SERVER", "http://127.0.0.1:1");
    // As the program starts.
    Platform::initThreads();
    Platform::skipQtOpenGlIntegration();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Mirelva"));
    QCoreApplication::setApplicationName(QStringLiteral("Player"));
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    EventCounter counter;
    app.installEventFilter(&counter);
    auto *window = new PlayerWindow(QString(), true);
    window->show();

    measure("nothing loaded", seconds, counter);

    // A video, paused: through the same slots as the menu and the play button.
    QMetaObject::invokeMethod(window, "openFile", Q_ARG(QString, QStringLiteral(TARN_SAMPLE_CLIP)));
    wait(500);
    if (auto *play = window->findChild<LibPlayer::PlayToolButton *>())
        play->click();
    measure("paused video", seconds, counter);

    delete window;
    return 0;
}
