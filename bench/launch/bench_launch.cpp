// Starts the player again and again and prints the medians of the time from
// launch until its window is mapped on the X server: once with no session
// bus at all, once with a session bus of its own (a dbus-daemon started
// here). With the bus it also prints when the MPRIS name appeared (through
// "gdbus wait", when glib's tool is there), to show that registration comes
// after the window. Each launch gets fresh settings and runtime folders.
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

pid_t spawn(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

bool hasGdbus()
{
    return std::system("command -v gdbus >/dev/null 2>&1") == 0;
}

struct Launch
{
    double windowMs = -1;
    double nameMs = -1;
};

// One launch: fresh XDG folders, wait for a top-level map (and the name).
Launch launchOnce(Display *display, bool watchName)
{
    char folder[] = "/tmp/tarn-bench-launch-XXXXXX";
    if (!mkdtemp(folder))
        return {};
    const std::string root = folder;
    for (const char *sub : {"/config", "/runtime", "/cache", "/data"})
        mkdir((root + sub).c_str(), 0700);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);

    XSync(display, True); // drop the events of earlier runs
    Launch result;
    const Clock::time_point start = Clock::now();
    const pid_t player = spawn({PLAYER});
    const pid_t waiter = watchName ? spawn({"gdbus", "wait", "--session", "--timeout", "20",
                                            "org.mpris.MediaPlayer2.player_tarn"})
                                   : -1;
    pollfd x{ConnectionNumber(display), POLLIN, 0};
    while (msSince(start) < 20000 && (result.windowMs < 0 || (waiter > 0 && result.nameMs < 0))) {
        poll(&x, 1, 1);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect && result.windowMs < 0)
                result.windowMs = msSince(start);
        }
        int status = 0;
        if (waiter > 0 && result.nameMs < 0 && waitpid(waiter, &status, WNOHANG) == waiter)
            result.nameMs = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? msSince(start) : -2;
    }
    kill(player, SIGTERM);
    waitpid(player, nullptr, 0);
    if (waiter > 0 && result.nameMs == -1) {
        kill(waiter, SIGTERM);
        waitpid(waiter, nullptr, 0);
    }
    std::system(("rm -rf " + root).c_str());
    return result;
}

// A session bus of its own; returns the daemon's pid, 0 when it failed.
pid_t startBus()
{
    FILE *out = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
    if (!out)
        return 0;
    char address[512] = {};
    char pid[64] = {};
    const bool read = fgets(address, sizeof address, out) && fgets(pid, sizeof pid, out);
    pclose(out);
    if (!read)
        return 0;
    address[strcspn(address, "\n")] = 0;
    setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
    return pid_t(atoi(pid));
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    setenv("PLAYER_TARN_SERVER", "http://127.0.0.1:1", 1); // no update check leaves the machine

    std::vector<double> without, with, withWatcher, names;
    const pid_t bus = startBus();
    const std::string busAddress = bus ? getenv("DBUS_SESSION_BUS_ADDRESS") : "";
    const bool watchName = bus && hasGdbus();
    // One launch of each first, so that both meet warm caches.
    for (int i = -1; i < runs; ++i) {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        const Launch alone = launchOnce(display, false);
        Launch joined;
        Launch watched;
        if (bus) {
            setenv("DBUS_SESSION_BUS_ADDRESS", busAddress.c_str(), 1);
            joined = launchOnce(display, false);
            // Separately: the watching client takes CPU time of its own.
            if (watchName)
                watched = launchOnce(display, true);
        }
        if (i < 0)
            continue;
        without.push_back(alone.windowMs);
        if (bus)
            with.push_back(joined.windowMs);
        if (watched.nameMs >= 0) {
            names.push_back(watched.nameMs);
            withWatcher.push_back(watched.windowMs);
        }
    }
    if (bus)
        kill(bus, SIGTERM);

    printf("launch to window mapped, median of %d runs\n", runs);
    printf("  no session bus:       %7.1f ms\n", median(without));
    if (bus)
        printf("  with a session bus:   %7.1f ms\n", median(with));
    else
        printf("  with a session bus:   (dbus-daemon could not be started)\n");
    if (!names.empty())
        printf("  runs watching the name: window %.1f ms, MPRIS name on the bus %.1f ms after launch"
               " (%zu of %d runs)\n",
               median(withWatcher), median(names), names.size(), runs);
    XCloseDisplay(display);
    return 0;
}
