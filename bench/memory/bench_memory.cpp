// Resident memory of the player over open/stop cycles of a short clip,
// against a bare libvlc program doing the same (bare_libvlc_player with a
// cycle count): the player window opens the clip through its "Open file"
// slot, waits until its video output knows the picture's size (and hold_ms
// more) and stops it (the end of a medium without a playlist advance), as
// often as asked. Prints the resident memory after cycle 1, every 50th cycle
// and the last, with the video frames still alive and the X windows under the
// player's window, then the growth of both programs from cycle 50 on.
// Usage (under an X server): bench_memory [cycles] [clip] [hold_ms]   (300, av.mkv, 0; "" for av.mkv)
// Settings and runtime files go to a temporary folder; audio to a silent device.
#include "videoframe.h"
#include "windowfixture.h"
#include "benchloop.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <X11/Xlib.h>

#include <cstdio>
#include <functional>

namespace {

using Bench::idle;
using Bench::residentKb;
using Bench::waitFor;

class BenchWindow : public TarnTest::TestWindow
{
public:
    using PlayerWindow::endPlayback;
};

// X windows below window (itself not counted), at any depth.
int xWindowsBelow(Display *display, Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return 0;
    int total = int(count);
    for (unsigned int i = 0; i < count; ++i)
        total += xWindowsBelow(display, children[i]);
    if (children)
        XFree(children);
    return total;
}

bool isReported(int cycle, int cycles)
{
    return cycle == 1 || cycle % 50 == 0 || cycle == cycles;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::WindowBenchApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int cycles = std::max(50, arguments.value(1, QStringLiteral("300")).toInt());
    const QString clip = arguments.value(2).isEmpty() ? TarnTest::media(QStringLiteral("av.mkv")) : arguments.at(2);
    const int holdMs = arguments.value(3, QStringLiteral("0")).toInt();
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;

    const TarnTest::ModalAnswerer answerer;
    BenchWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !window.core->isLoaded())
        return 1;
    std::printf("libvlc %s; %d open/stop cycles of %s\n", qPrintable(LibPlayer::Core::libvlcVersion()), cycles,
                qPrintable(clip));
    long playerAt50 = 0;
    long playerLast = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        window.openFile(clip);
        if (!waitFor([&] { return !window.core->videoSize().isEmpty(); }, 10000)) {
            std::printf("cycle %d: the clip did not play\n", cycle);
            return 1;
        }
        idle(holdMs);
        window.endPlayback(true);
        if (!waitFor([&] { return window.core->isStopped(); }, 10000))
            return 1;
        idle(10);
        if (isReported(cycle, cycles)) {
            const long kb = residentKb();
            if (cycle == 50)
                playerAt50 = kb;
            playerLast = kb;
            std::printf("player cycle %3d: %7ld kB resident, %d video frames alive, %d X windows in the window\n",
                        cycle, kb, int(window.findChildren<LibPlayer::VideoFrame *>().size()),
                        xWindowsBelow(display, Window(window.winId())));
            std::fflush(stdout);
        }
    }
    XCloseDisplay(display);

    QProcess bare;
    bare.setProcessChannelMode(QProcess::SeparateChannels);
    bare.start(QStringLiteral(BARE_PLAYER_PATH), {clip, QString::number(cycles), QString::number(holdMs)});
    if (!bare.waitForFinished(-1) || bare.exitCode() != 0)
        return 1;
    long bareAt50 = 0;
    long bareLast = 0;
    for (const QByteArray &line : bare.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 2)
            continue;
        const int cycle = fields.at(0).toInt();
        const long kb = fields.at(1).toLong();
        std::printf("bare   cycle %3d: %7ld kB resident\n", cycle, kb);
        if (cycle == 50)
            bareAt50 = kb;
        bareLast = kb;
    }
    std::printf("growth from cycle 50 to %d: player %+.1f MB, bare libvlc %+.1f MB\n", cycles,
                (playerLast - playerAt50) / 1024.0, (bareLast - bareAt50) / 1024.0);
    return 0;
}
