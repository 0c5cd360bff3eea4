// How long the player window's GUI thread stops answering while it does the
// slow things a user asks for. A 10 ms timer runs on the GUI thread; each
// scenario prints the largest late arrival of that timer (the longest stall),
// the sum of all late time, and what the scenario waited for. All through the
// real window, engine and X server (late time counts the gaps over two ticks,
// so that the timer's ordinary jitter adds nothing):
//   hanging-url   open a URL whose server (127.0.0.1) accepts and never answers
//   refused-url   open a URL whose port refuses the connection
//   seek-paused   seek a paused film (and when the new time is reported)
//   stop-ts       open, then stop, an MPEG-TS clip (three cycles)
//   switch-items  next items at their end and items chosen in the menu
//   quit-opening  close a real player-tarn process while it opens a hanging
//                 URL: the time from the close request to the process's end
//   m3u           read a playlist file of 100,000 entries (log window hidden),
//                 then show its playlist menu
//   m3u-log       the same with the log window shown
//   log-burst     100,000 lines into the shown log window
// Usage (under an X server): bench_freeze [scenario ...]   (default: all)
// Settings and runtime files go to a temporary folder; audio to a silent device.
#include "localhttpserver.h"
#include "logdialog.h"
#include "windowfixture.h"
#include "benchloop.h"

#include "listtoolbutton.h"
#include "playtoolbutton.h"
#include "timeslider.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

using Bench::idle;
using Bench::residentKb;
using Bench::waitFor;

constexpr int TickMs = 10;

class BenchWindow : public TarnTest::TestWindow
{
public:
    using PlayerWindow::endPlayback;
    using PlayerWindow::m_logDialog;
};

// The GUI thread's pulse: a 10 ms timer whose late arrivals are stalls.
class StallProbe
{
public:
    StallProbe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(TickMs);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    }

    void start()
    {
        longestNs = 0;
        lateNs = 0;
        clock.start();
        lastNs = 0;
        timer.start();
    }
    void stop()
    {
        tick();
        timer.stop();
    }
    void tick()
    {
        const qint64 now = clock.nsecsElapsed();
        const qint64 late = now - lastNs - qint64(TickMs) * 1000000;
        longestNs = std::max(longestNs, late);
        if (late > qint64(TickMs) * 1000000) {
            lateNs += late;
            if (trace)
                std::printf("    stall of %lld ms ending at %lld ms\n", late / 1000000, now / 1000000);
        }
        lastNs = now;
        if (onTick)
            onTick();
    }

    std::function<void()> onTick;
    // Each stall printed as it ends (environment variable BENCH_FREEZE_TRACE).
    const bool trace = qEnvironmentVariableIsSet("BENCH_FREEZE_TRACE");
    qint64 longestNs = 0;
    qint64 lateNs = 0;

private:
    QTimer timer;
    QElapsedTimer clock;
    qint64 lastNs = 0;
};

struct Stall
{
    qint64 longestMs = 0;
    qint64 lateMs = 0;
    qint64 doneMs = -1; // when the condition held, -1: not within the time-out

    void add(const Stall &other)
    {
        longestMs = std::max(longestMs, other.longestMs);
        lateMs += other.lateMs;
        doneMs = std::max(doneMs, other.doneMs);
    }
};

// Runs action from the event loop and keeps the loop turning until done()
// holds (or timeoutMs passes), then settleMs more, probing all the while.
Stall measure(StallProbe &probe, const std::function<void()> &action, const std::function<bool()> &done,
              int timeoutMs, int settleMs = 0)
{
    Stall result;
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 doneAt = -1;
    probe.onTick = [&] {
        const qint64 now = clock.elapsed();
        if (doneAt < 0 && done()) {
            doneAt = now;
            result.doneMs = now;
        }
        if ((doneAt >= 0 && now - doneAt >= settleMs) || now >= timeoutMs)
            loop.quit();
    };
    clock.start();
    probe.start();
    QTimer::singleShot(0, &loop, action);
    loop.exec();
    probe.stop();
    probe.onTick = nullptr;
    result.longestMs = probe.longestNs / 1000000;
    result.lateMs = probe.lateNs / 1000000;
    return result;
}

void print(const char *name, const Stall &stall, const QString &what)
{
    std::printf("%-14s longest stall %6lld ms, late in all %7lld ms;  %s\n", name, stall.longestMs, stall.lateMs,
                qPrintable(what));
    std::fflush(stdout);
}

QString after(qint64 ms)
{
    return ms < 0 ? QStringLiteral("not within the time-out") : QStringLiteral("after %1 ms").arg(ms);
}

// A window built as the tests build one, with its boxes answered.
struct Session
{
    Session()
    {
        answerer = std::make_unique<TarnTest::ModalAnswerer>();
        window = std::make_unique<BenchWindow>();
        window->show();
        ok = QTest::qWaitForWindowExposed(window.get()) && window->core->isLoaded();
        idle(300);
    }
    ~Session()
    {
        window.reset();
        answerer.reset();
    }
    bool playing() const { return window->core->isPlaying(); }
    bool playingFile(const QString &name) const
    {
        return playing() && window->core->location().endsWith(QLatin1Char('/') + name);
    }

    std::unique_ptr<TarnTest::ModalAnswerer> answerer;
    std::unique_ptr<BenchWindow> window;
    bool ok = false;
};

int closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

int openFailingUrl(const char *name, const QString &url, int timeoutMs)
{
    Session session;
    if (!session.ok)
        return 1;
    StallProbe probe;
    const int boxes = session.answerer->boxes.size();
    const Stall stall = measure(
        probe, [&] { session.window->openUrl(url); },
        [&] { return session.answerer->boxes.size() > boxes; }, timeoutMs, 200);
    print(name, stall, QStringLiteral("failure box %1").arg(after(stall.doneMs)));
    return 0;
}

int hangingUrl()
{
    TarnTest::LocalHttpServer server;
    server.reply.silent = true;
    return openFailingUrl("hanging-url", server.base() + QStringLiteral("/film.mp4"), 15000);
}

int refusedUrl()
{
    return openFailingUrl("refused-url", QStringLiteral("http://127.0.0.1:%1/film.mp4").arg(closedPort()), 10000);
}

// The long film opened and paused through the play button.
bool pausedFilm(Session &session)
{
    if (!session.ok)
        return false;
    session.window->openFile(TarnTest::media(QStringLiteral("long.mkv")));
    if (!waitFor([&] { return session.playing(); }, 10000))
        return false;
    idle(500);
    session.window->bottomBar->playButton->click();
    if (!waitFor([&] { return !session.playing(); }, 5000))
        return false;
    idle(300);
    return true;
}

int seekPaused()
{
    Session session;
    if (!pausedFilm(session))
        return 1;
    qint64 reported = -1;
    QObject::connect(session.window->core.get(), &LibPlayer::Core::mediaPlayerTimeChanged,
                     [&reported](qint64 ms) { reported = ms; });
    StallProbe probe;
    Stall all;
    for (const qint64 target : {30000, 60000, 90000, 20000}) {
        reported = -1;
        const Stall stall = measure(
            probe, [&] { emit session.window->bottomBar->timeSlider->seeked(target); },
            [&] { return reported >= target - 1000 && reported <= target + 1000; }, 3000, 200);
        all.add(stall);
    }
    print("seek-paused", all, QStringLiteral("new time reported %1 at the latest (4 seeks)").arg(after(all.doneMs)));
    return 0;
}

// Screenshots of a paused film, each after a paused seek.
int screenshotPaused()
{
    Session session;
    if (!pausedFilm(session))
        return 1;
    QTemporaryDir folder;
    LibPlayer::Core *core = session.window->core.get();
    int saved = 0;
    QObject::connect(core, &LibPlayer::Core::snapshotFinished, [&saved](const QString &, bool ok) { saved += ok; });
    StallProbe probe;
    Stall all;
    int finished = 0;
    QObject::connect(core, &LibPlayer::Core::snapshotFinished, [&finished] { ++finished; });
    for (const qint64 target : {30000, 60000, 90000, 20000}) {
        core->seek(target);
        const int before = finished;
        const Stall stall = measure(
            probe, [&] { core->requestSnapshot(folder.filePath(QStringLiteral("%1.png").arg(target))); },
            [&] { return finished > before; }, 8000, 200);
        all.add(stall);
    }
    print("screenshot", all, QStringLiteral("%1 of 4 saved, %2 at the latest").arg(saved).arg(after(all.doneMs)));
    return 0;
}

int stopTs()
{
    Session session;
    if (!session.ok)
        return 1;
    StallProbe probe;
    Stall opens;
    Stall stops;
    qint64 cycleMs = 0;
    const int cycles = 3;
    for (int i = 0; i < cycles; ++i) {
        const Stall open = measure(
            probe, [&] { session.window->openFile(TarnTest::media(QStringLiteral("clip.ts"))); },
            [&] { return session.playing(); }, 10000);
        idle(700);
        const Stall stop = measure(
            probe, [&] { session.window->endPlayback(true); }, [&] { return session.window->core->isStopped(); },
            10000);
        opens.add(open);
        stops.add(stop);
        cycleMs += open.doneMs + stop.doneMs;
        idle(300);
    }
    print("stop-ts", stops,
          QStringLiteral("stopped %1 at the latest; open: longest stall %2 ms, playing %3; play+stop %4 ms a cycle")
              .arg(after(stops.doneMs))
              .arg(opens.longestMs)
              .arg(after(opens.doneMs))
              .arg(cycleMs / cycles));
    return 0;
}

int switchItems()
{
    Session session;
    if (!session.ok)
        return 1;
    const QStringList names{QStringLiteral("av.mkv"), QStringLiteral("wide.mkv"), QStringLiteral("half.mkv"),
                            QStringLiteral("red.mkv")};
    QList<QUrl> urls;
    for (const QString &name : names)
        urls << QUrl::fromLocalFile(TarnTest::media(name));
    session.window->dropUri(urls);
    if (!waitFor([&] { return session.playingFile(names.first()); }, 10000))
        return 1;
    idle(500);
    StallProbe probe;
    Stall all;
    // At their end: 2, 3; chosen in the menu: 1, 4.
    const QList<QPair<int, bool>> steps{{2, false}, {3, false}, {1, true}, {4, true}};
    for (const auto &step : steps) {
        const QString name = names.at(step.first - 1);
        const Stall stall = measure(
            probe,
            [&] {
                if (step.second)
                    session.window->changeListItem(step.first);
                else
                    session.window->finishMedium();
            },
            [&] { return session.playingFile(name); }, 10000);
        all.add(stall);
        idle(500);
    }
    print("switch-items", all, QStringLiteral("each item playing %1 at the latest (4 switches)").arg(after(all.doneMs)));
    return 0;
}

// The viewable top-level window of process pid, 0 when there is none.
Window windowOf(Display *display, qint64 pid)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, left = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                               &left, &data) == Success
            && data) {
            if (items == 1 && *reinterpret_cast<unsigned long *>(data) == static_cast<unsigned long>(pid))
                found = children[i];
            XFree(data);
        }
    }
    if (children)
        XFree(children);
    return found;
}

// What a window manager sends when the user closes a window.
void requestClose(Display *display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

int quitOpening()
{
    TarnTest::LocalHttpServer server;
    server.reply.silent = true;
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    QProcess player;
    player.setProcessEnvironment(environment);
    player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player.setStandardOutputFile(QProcess::nullDevice());
    player.start(QStringLiteral(TARN_PLAYER_PATH),
                 {QStringLiteral("--start"), server.base() + QStringLiteral("/film.mp4")});
    Display *display = XOpenDisplay(nullptr);
    if (!display || !player.waitForStarted())
        return 1;
    Window window = 0;
    const bool opening = waitFor(
        [&] {
            window = windowOf(display, player.processId());
            return window && !server.requests.isEmpty();
        },
        15000);
    if (!opening) {
        XCloseDisplay(display);
        return 1;
    }
    idle(500);
    QElapsedTimer clock;
    clock.start();
    requestClose(display, window);
    const bool ended = waitFor([&] { return player.state() == QProcess::NotRunning; }, 30000);
    const qint64 ms = clock.elapsed();
    XCloseDisplay(display);
    if (!ended) {
        player.kill();
        player.waitForFinished();
    }
    std::printf("%-14s close request to the end of the process: %s (%s, exit code %d)\n", "quit-opening",
                ended ? qPrintable(QStringLiteral("%1 ms").arg(ms)) : "over 30 s, killed",
                player.exitStatus() == QProcess::NormalExit ? "normal exit" : "crashed", player.exitCode());
    std::fflush(stdout);
    return 0;
}

// A playlist file of `entries` lines, each naming its own 2 s MP3 next to
// it (hard links, a new original every LinksPerFile), one in a hundred
// missing, with extended directives.
bool writeLargePlaylist(const QTemporaryDir &folder, int entries, QString *path)
{
    constexpr int LinksPerFile = 10000; // file systems bound the links of one file
    *path = folder.filePath(QStringLiteral("large.m3u8"));
    QFile list(*path);
    if (!list.open(QIODevice::WriteOnly))
        return false;
    list.write("#EXTM3U\n");
    QByteArray original;
    for (int i = 0; i < entries; ++i) {
        if (i % LinksPerFile == 0) {
            const QString copy = folder.filePath(QStringLiteral("original %1.mp3").arg(i / LinksPerFile));
            if (!QFile::copy(TarnTest::media(QStringLiteral("audio.mp3")), copy))
                return false;
            original = QFile::encodeName(copy);
        }
        const QByteArray name = "Artist " + QByteArray::number(i % 97) + " - Song " + QByteArray::number(i) + ".mp3";
        if (i % 100 != 99 && ::link(original, QFile::encodeName(folder.filePath(QString::fromUtf8(name)))) != 0)
            return false;
        list.write("#EXTINF:1,Artist " + QByteArray::number(i % 97) + " - Song " + QByteArray::number(i) + "\n");
        list.write(name + "\n");
    }
    return true;
}

int largePlaylist(const char *name, bool logShown)
{
    constexpr int entries = 100000;
    QTemporaryDir folder;
    QString path;
    if (!folder.isValid() || !writeLargePlaylist(folder, entries, &path)) {
        std::perror("playlist file");
        return 1;
    }
    Session session;
    if (!session.ok)
        return 1;
    if (logShown) {
        session.window->m_logDialog->show();
        idle(300);
    }
    StallProbe probe;
    bool returned = false;
    qint64 returnedMs = 0;
    QElapsedTimer clock;
    const Stall read = measure(
        probe,
        [&] {
            clock.start();
            session.window->readList(path);
            returnedMs = clock.elapsed();
            returned = true;
        },
        [&] { return returned && session.playing(); }, 60000, 1000);
    print(name, read,
          QStringLiteral("read returned after %1 ms, item 1 playing %2, %3 items")
              .arg(returnedMs)
              .arg(after(read.doneMs))
              .arg(session.window->playlistItems().size()));

    QMenu *menu = session.window->bottomBar->playlistButton->menu();
    const Stall shown = measure(
        probe, [&] { menu->popup(session.window->mapToGlobal(QPoint(20, 20))); },
        [&] { return menu->isVisible(); }, 5000, 200);
    const int entriesShown = menu->actions().size();
    menu->hide();
    print("  its menu", shown, QStringLiteral("shown %1 with %2 entries").arg(after(shown.doneMs)).arg(entriesShown));
    return 0;
}

// A burst of log lines (notices, warnings and errors, a few with a link) into
// the shown log window, as a long drop or playlist gives when every item is
// logged; done when the window's text holds the last line.
int logBurst()
{
    constexpr int lines = 100000;
    Session session;
    if (!session.ok)
        return 1;
    LibTarnCommon::LogDialog *log = session.window->m_logDialog;
    log->show();
    idle(300);
    const long residentBefore = residentKb();
    StallProbe probe;
    bool sent = false;
    const Stall stall = measure(
        probe,
        [&] {
            for (int i = 0; i < lines; ++i) {
                const QString file = QStringLiteral("/home/user/Music/Artist %1 - Song &amp; Title %2.mp3").arg(i % 97).arg(i);
                if (i % 1000 == 999)
                    emit session.window->messageNotice(
                        QStringLiteral("[Main] see <a href='https://example.invalid/%1'>help</a>").arg(i));
                else if (i % 10 == 1)
                    emit session.window->messageWarning(QStringLiteral("[Main] Invalid item in playlist: ") + file);
                else if (i % 10 == 2)
                    emit session.window->core->messageError(QStringLiteral("[Core] Failed to play: ") + file);
                else
                    emit session.window->messageNotice(QStringLiteral("[Main] Found item in playlist: ") + file);
            }
            sent = true;
        },
        [&] { return sent; }, 60000, 3000);
    const long grownKb = residentKb() - residentBefore;
    QElapsedTimer clock;
    clock.start();
    const int shown = log->plainText().count(QLatin1Char('\n')) + 1;
    print("log-burst", stall,
          QStringLiteral("%1 lines sent, resident memory %2 MB more; then %3 lines in the window's text, read in %4 ms")
              .arg(lines)
              .arg(grownKb / 1024.0, 0, 'f', 1)
              .arg(shown)
              .arg(clock.elapsed()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::WindowBenchApplication app(argc, argv);

    const QList<QPair<QString, std::function<int()>>> scenarios{
        {QStringLiteral("hanging-url"), hangingUrl},
        {QStringLiteral("refused-url"), refusedUrl},
        {QStringLiteral("seek-paused"), seekPaused},
        {QStringLiteral("screenshot"), screenshotPaused},
        {QStringLiteral("stop-ts"), stopTs},
        {QStringLiteral("switch-items"), switchItems},
        {QStringLiteral("quit-opening"), quitOpening},
        {QStringLiteral("m3u"), [] { return largePlaylist("m3u", false); }},
        {QStringLiteral("m3u-log"), [] { return largePlaylist("m3u-log", true); }},
        {QStringLiteral("log-burst"), logBurst},
    };
    const QStringList chosen = QCoreApplication::arguments().mid(1);
    std::printf("libvlc %s\n", qPrintable(LibPlayer::Core::libvlcVersion()));
    int failures = 0;
    for (const auto &scenario : scenarios) {
        if (!chosen.isEmpty() && !chosen.contains(scenario.first))
            continue;
        if (scenario.second() != 0) {
            std::printf("%-14s could not be run\n", qPrintable(scenario.first));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
