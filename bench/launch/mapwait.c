// Launch to mapped window, and idle memory, of a desktop program, measured
// from outside the process.
//
// Launches a command in its own process group and waits for the first
// top-level window that is mapped on the X server (override-redirect popups
// do not count). Prints the milliseconds from launch to that map, then, after
// idle_ms more, the resident memory of the launched process in kB; -1 on
// time-out. Then it stops the command's process group.
//
// Use: DISPLAY=:99 ./mapwait timeout_ms idle_ms command [args...]
#include "rss.h"

#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

static long rss_kb(pid_t pid)
{
    char process[32];
    snprintf(process, sizeof process, "%d", (int)pid);
    return rss_kb_of(process);
}

int main(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    const int timeout = atoi(argv[1]);
    const int idle = atoi(argv[2]);
    Display *d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);
    const long long t0 = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    long long mapped = -1;
    const int fd = ConnectionNumber(d);
    while (mapped < 0 && now_ms() - t0 < timeout) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect && e.xmap.event == root) {
                mapped = now_ms() - t0;
                break;
            }
        }
        if (mapped >= 0)
            break;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        struct timeval tv = {0, 2000};
        select(fd + 1, &set, NULL, NULL, &tv);
    }
    long kb = -1;
    if (mapped >= 0) {
        usleep(idle * 1000);
        kb = rss_kb(pid);
    }
    printf("%lld %ld\n", mapped, kb);
    kill(-pid, SIGTERM);
    usleep(200000);
    kill(-pid, SIGKILL);
    waitpid(pid, NULL, 0);
    return mapped < 0;
}
