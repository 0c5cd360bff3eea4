// The least a libvlc program does to show a clip: a plain X window, libvlc
// drawing into it, nothing else. The reference for launch to first picture.
// Use: bare_libvlc_player clip
#include <X11/Xlib.h>
#include <vlc/vlc.h>
#include <stdio.h>
#include <unistd.h>

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
