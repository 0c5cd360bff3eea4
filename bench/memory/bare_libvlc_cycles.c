// The least a libvlc program does to open and stop a clip over and over: one
// plain X window, a new player for each cycle drawing into it, played until
// its video output knows the picture's size, stopped and released. The reference for the
// player's memory over open/stop cycles. Prints "cycle resident_kB" after
// cycle 1, every 50th cycle and the last.
// Use: bare_libvlc_cycles clip cycles
#include <X11/Xlib.h>
#include <vlc/vlc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static long rss_kb(void)
{
    char line[256];
    long kb = -1;
    FILE *f = fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, "VmRSS:", 6) == 0)
            kb = atol(line + 6);
    fclose(f);
    return kb;
}

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const int cycles = atoi(argv[2]);
    XInitThreads();
    Display *d = XOpenDisplay(NULL);
    if (!d)
        return 2;
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 600, 338, 0, 0, 0);
    XMapWindow(d, w);
    XFlush(d);
    libvlc_instance_t *instance = libvlc_new(0, NULL);
    if (!instance)
        return 1;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        libvlc_media_t *media = libvlc_media_new_path(instance, argv[1]);
        libvlc_media_player_t *player = media ? libvlc_media_player_new_from_media(media) : NULL;
        if (media)
            libvlc_media_release(media);
        if (!player)
            return 1;
        libvlc_media_player_set_xwindow(player, (uint32_t)w);
        libvlc_media_player_play(player);
        unsigned width = 0, height = 0;
        for (int i = 0; i < 2000 && (libvlc_video_get_size(player, 0, &width, &height) != 0 || width == 0); ++i)
            usleep(5000);
        libvlc_media_player_stop(player);
        libvlc_media_player_release(player);
        if (cycle == 1 || cycle % 50 == 0 || cycle == cycles) {
            printf("%d %ld\n", cycle, rss_kb());
            fflush(stdout);
        }
    }
    libvlc_release(instance);
    XCloseDisplay(d);
    return 0;
}
