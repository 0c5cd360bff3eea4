// Questions about the current player, and the commands that act on it in
// place: pause, resume, seek, tracks, title and volume. GUI thread only.
#include "core.h"

#include <QThread>
#include <QTimer>

#include <vlc/vlc.h>

namespace LibPlayer {

qint64 Core::time() const
{
    return player ? libvlc_media_player_get_time(player) : -1;
}

qint64 Core::length() const
{
    return player ? libvlc_media_player_get_length(player) : -1;
}

QString Core::location() const
{
    QString text;
    if (!player)
        return text;
    if (libvlc_media_t *media = libvlc_media_player_get_media(player)) {
        if (char *mrl = libvlc_media_get_mrl(media)) {
            text = QString::fromUtf8(mrl);
            libvlc_free(mrl);
        }
        libvlc_media_release(media);
    }
    return text;
}

bool Core::isPlaying() const
{
    return player && libvlc_media_player_get_state(player) == libvlc_Playing;
}

bool Core::isStopped() const
{
    return player == nullptr;
}

bool Core::noVideo() const
{
    return noVideoTracks;
}

int Core::playerVolume() const
{
    return player ? libvlc_audio_get_volume(player) : -1;
}

void Core::pausePlayback()
{
    if (!player)
        return;
    parseTimer->stop();
    libvlc_media_player_set_pause(player, 1);
    const int state = waitForState({libvlc_Paused, libvlc_Error, libvlc_Ended});
    if (state == libvlc_Error)
        emit messageError(tr("[Core] Failed to pause playback"));
}

void Core::resumePlayback()
{
    if (!player)
        return;
    libvlc_media_player_set_pause(player, 0);
    const int state = waitForState({libvlc_Playing, libvlc_Error, libvlc_Ended});
    if (state == libvlc_Playing)
        parseTimer->start();
    else if (state == libvlc_Error)
        emit messageError(tr("[Core] Failed to resume playback"));
}

void Core::seek(qint64 ms)
{
    if (!player)
        return;
    libvlc_media_player_set_time(player, ms);
    if (libvlc_media_player_get_state(player) == libvlc_Paused) {
        // A paused player reports no time changes of its own.
        QThread::msleep(300);
        emit mediaPlayerTimeChanged(libvlc_media_player_get_time(player));
    }
}

void Core::changeAudio(int id)
{
    if (player)
        libvlc_audio_set_track(player, id);
}

void Core::changeSubtitle(int id)
{
    if (player)
        libvlc_video_set_spu(player, id);
}

void Core::changeTitle(int title)
{
    if (player)
        libvlc_media_player_set_title(player, title);
}

void Core::changeVolume(int volume)
{
    this->volume = volume;
    if (player)
        libvlc_audio_set_volume(player, volume);
}

} // namespace LibPlayer
