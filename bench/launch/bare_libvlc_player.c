// The least a libvlc program does to show a clip: a plain X window, libvlc
// drawing into it, nothing else. The reference for launch to first picture.
// With a number of cycles, the reference for memory over open/stop cycles
// instead: a new player each cycle, drawing into the same window until its
// video output knows the picture's size and hold_ms more, then stopped and
// released; prints "cycle resident_kB" after cycle 1, every 50th cycle and
// the last.
// Use: bare_libvlc_player clip [cycles [hold_ms]]
#include "rss.h"

#include <X11/Xlib.h>
#include <vlc/vlc.h>
#include <stdio.h>
#include <unistd.h>

static int cycle_clip(libvlc_instance_t *instance, const char *clip, Window w, int cycles, int hold_ms)
{
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        libvlc_media_t *media = libvlc_media_new_path(instance, clip);
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
        usleep(hold_ms * 1000);
        libvlc_media_player_stop(player);
        libvlc_media_player_release(player);
        if (cycle == 1 || cycle % 50 == 0 || cycle == cycles) {
            printf("%d %ld\n", cycle, rss_kb_of("self"));
            fflush(stdout);
        }
    }
    libvlc_release(instance);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    XInitThreads();
    Display *d = XOpenDisplay(NULL);
    if (!d)
        return 2;
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 600, 338, 0, 0, 0);
    XMapWindow(d, w);
    XFlush(d);
    libvlc_instance_t *instance = libvlc_new(0, NULL);
    if (argc > 2)
        return instance ? cycle_clip(instance, argv[1], w, atoi(argv[2]), argc > 3 ? atoi(argv[3]) : 0) : 1;
    libvlc_media_t *media = instance ? libvlc_media_new_path(instance, argv[1]) : NULL;
    if (!media)
        return 1;
    libvlc_media_player_t *player = libvlc_media_player_new_from_media(media);
    libvlc_media_release(media);
    libvlc_media_player_set_xwindow(player, (uint32_t)w);
    libvlc_media_player_play(player);
    for (;;)
        pause();
}
