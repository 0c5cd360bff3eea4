// Questions about the current player, and the commands that act on it in
// place: pause, resume, seek, tracks, title and volume. GUI thread only.
#include "core_p.h"

#include <QTimer>

#include <vlc/vlc.h>

#include <utility>

namespace LibPlayer {

namespace {

// The time a paused player takes to show the picture of a seek.
constexpr qint64 PausedSeekPictureMs = 300;

} // namespace

qint64 Core::time() const
{
    // Until a paused player shows the time of a seek, the seek's target is
    // where it stands.
    const bool seekPending = d->pausedSeekQueued || d->resumeQueued
                             || (d->pausedSeekClock.isValid() && !d->pausedSeekReported);
    if (d->player && d->pausedSeekTimer->isActive() && seekPending)
        return d->pausedSeekTarget;
    return d->player ? libvlc_media_player_get_time(d->player) : -1;
}

qint64 Core::length() const
{
    return d->player ? libvlc_media_player_get_length(d->player) : -1;
}

QString Core::location() const
{
    QString text;
    if (!d->player)
        return text;
    if (libvlc_media_t *media = libvlc_media_player_get_media(d->player)) {
        if (char *mrl = libvlc_media_get_mrl(media)) {
            text = QString::fromUtf8(mrl);
            libvlc_free(mrl);
        }
        libvlc_media_release(media);
    }
    return text;
}

bool Core::noVideo() const
{
    return d->noVideoTracks;
}

int Core::playerVolume() const
{
    return d->player ? libvlc_audio_get_volume(d->player) : -1;
}

void Core::pausePlayback()
{
    if (d->state != State::Playing)
        return;
    d->resumeQueued = false;
    d->parseTimer->stop();
    d->asked = CorePrivate::Asked::Pause;
    libvlc_media_player_set_pause(d->player, 1);
    setState(State::Paused);
}

bool Core::firstPictureShown() const
{
    bool shown = false;
    if (libvlc_media_t *media = libvlc_media_player_get_media(d->player)) {
        libvlc_media_stats_t stats{};
        shown = libvlc_media_get_stats(media, &stats) && stats.i_displayed_pictures > 0;
        libvlc_media_release(media);
    }
    return shown;
}

void Core::resumePlayback()
{
    if (d->state != State::Paused)
        return;
    // A paused seek that libvlc has not shown yet is shown first: playback
    // goes on from its picture.
    if (d->pausedSeekTimer->isActive() && (d->pausedSeekQueued || !d->pausedSeekReported))
        d->resumeQueued = true;
    else
        libvlc_media_player_set_pause(d->player, 0);
    d->asked = CorePrivate::Asked::Resume;
    d->parseTimer->start();
    setState(State::Playing);
}

void Core::seek(qint64 ms)
{
    if (!d->player)
        return;
    if (d->state != State::Paused) {
        libvlc_media_player_set_time(d->player, ms);
        return;
    }
    // A paused player reports no time changes of its own: the time it has
    // reached is reported once libvlc has moved there (or after a bound, for
    // a seek that lands where the player stood). Paused seeks go to libvlc
    // one at a time, once it has paused and shown the picture of the last
    // one; of the seeks that come meanwhile only the latest is made.
    d->pausedSeekTarget = ms;
    d->pausedSeekReported = false;
    d->pausedSeekQueued = true;
    if (!d->pausedSeekTimer->isActive())
        d->pausedSeekClock.invalidate();
    d->pausedSeekTimer->start();
    reportPausedTime();
}

void Core::makeQueuedSeek()
{
    d->pausedSeekFrom = libvlc_media_player_get_time(d->player);
    libvlc_media_player_set_time(d->player, d->pausedSeekTarget);
    d->pausedSeekClock.start();
    d->pausedSeekQueued = false;
}

void Core::reportPausedTime()
{
    if (!d->player || (d->state != State::Paused && !d->resumeQueued)) {
        d->pausedSeekTimer->stop();
        return;
    }
    if (d->pausedSeekQueued) {
        const bool lastShown = !d->pausedSeekClock.isValid() || d->pausedSeekClock.elapsed() >= PausedSeekPictureMs;
        if (lastShown && libvlc_media_player_get_state(d->player) == libvlc_Paused)
            makeQueuedSeek();
        return;
    }
    if (!d->pausedSeekClock.isValid()) {
        d->pausedSeekTimer->stop();
        return;
    }
    const qint64 elapsed = d->pausedSeekClock.elapsed();
    const qint64 time = libvlc_media_player_get_time(d->player);
    if (!d->pausedSeekReported && (time != d->pausedSeekFrom || elapsed >= PausedSeekPictureMs)) {
        d->pausedSeekReported = true;
        emit mediaPlayerTimeChanged(time);
    }
    if (!d->pausedSeekReported || elapsed < PausedSeekPictureMs)
        return;
    d->pausedSeekTimer->stop();
    if (std::exchange(d->resumeQueued, false))
        libvlc_media_player_set_pause(d->player, 0);
}

void Core::changeAudio(int id)
{
    if (d->player)
        libvlc_audio_set_track(d->player, id);
}

void Core::changeSubtitle(int id)
{
    if (d->player)
        libvlc_video_set_spu(d->player, id);
}

void Core::changeTitle(int title)
{
    if (d->player)
        libvlc_media_player_set_title(d->player, title);
}

void Core::changeVolume(int volume)
{
    d->volume = volume;
    if (d->player)
        libvlc_audio_set_volume(d->player, d->volume);
}

} // namespace LibPlayer
