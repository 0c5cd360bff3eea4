// libvlc's event callback: its events queued to the GUI thread, the settling
// of a start, and the end (or failure) of a player's input.
#include "core_p.h"

#include <QTimer>

#include <vlc/vlc.h>

#include <memory>
#include <utility>

namespace LibPlayer {

namespace {


// Attached in this order and detached in the same order. The first four are
// media events that a player's manager never raises; attaching them is harmless.
// Stopped comes last of all events of a player's input, once it has ended
// (or failed) and its statistics are final; the player's own stop raises it
// too, but the events are detached before every stop.
constexpr libvlc_event_type_t playerEvents[] = {
    libvlc_MediaDurationChanged,     libvlc_MediaMetaChanged,         libvlc_MediaParsedChanged,
    libvlc_MediaStateChanged,        libvlc_MediaPlayerEndReached,    libvlc_MediaPlayerLengthChanged,
    libvlc_MediaPlayerMediaChanged,  libvlc_MediaPlayerPlaying,       libvlc_MediaPlayerPositionChanged,
    libvlc_MediaPlayerTimeChanged,   libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerPaused,
    libvlc_MediaPlayerStopped,
};

} // namespace


void Core::handleEvent(const libvlc_event_t *event, void *tag)
{
    if (liveEngineCount.load() == 0)
        return;
    const EventTag source = *static_cast<const EventTag *>(tag);
    Core *core = source.core;
    // libvlc calls some callbacks on the GUI thread from inside its own calls
    // (set_time, stop, set_volume): queue every emission, so that receivers
    // never run inside libvlc, and never call libvlc from here. By the time
    // the emission runs the player may have been released or replaced; what
    // it reported then belongs to another media and is dropped. While the
    // player's start is not settled, what it reports besides the settling
    // events waits for the start's own report (held).
    enum class Delivery { Held, Settling };
    const auto queue = [core, source](Delivery delivery, auto function) {
        QMetaObject::invokeMethod(
            core,
            [core, source, delivery, function] {
                CorePrivate &d = *core->d;
                if (d.playerSerial != source.serial)
                    return;
                if (delivery == Delivery::Held && d.opening)
                    d.heldEvents.append(function);
                else
                    function();
            },
            Qt::QueuedConnection);
    };
    // Settles a start that is still open; false when that dropped the player.
    const auto settle = [](Core *core, bool started) {
        const quint64 serial = core->d->playerSerial;
        if (core->d->opening)
            core->finishOpen(started);
        return started && core->d->playerSerial == serial;
    };
    switch (event->type) {
    case libvlc_MediaPlayerPlaying:
        queue(Delivery::Settling, [core, settle] {
            if (!settle(core, true))
                return;
            if (core->d->asked == CorePrivate::Asked::Resume)
                core->d->asked = CorePrivate::Asked::Nothing;
            emit core->messageNotice(tr("[Core] Playing"));
        });
        break;
    case libvlc_MediaPlayerPaused:
        queue(Delivery::Settling, [core] {
            if (core->d->asked == CorePrivate::Asked::Pause)
                core->d->asked = CorePrivate::Asked::Nothing;
        });
        break;
    case libvlc_MediaDurationChanged:
    case libvlc_MediaStateChanged:
    case libvlc_MediaPlayerMediaChanged:
        queue(Delivery::Held, [core] { emit core->messageWarning(tr("[Core] Callback not managed yet!")); });
        break;
    case libvlc_MediaPlayerEndReached:
        // A medium that ends before it was seen playing has started all the same.
        queue(Delivery::Settling, [core, settle] {
            if (!settle(core, true))
                return;
            emit core->messageNotice(tr("[Core] Playback end reached"));
            core->setState(State::Ended);
        });
        break;
    case libvlc_MediaPlayerEncounteredError:
        // A medium that cannot be opened (a missing file, a folder that is no
        // disc, a refused connection) reports its error before its end.
        queue(Delivery::Settling, [core, settle] {
            if (core->d->opening) {
                settle(core, false);
                return;
            }
            emit core->messageWarning(tr("[Core] Playback error"));
            const CorePrivate::Asked asked = std::exchange(core->d->asked, CorePrivate::Asked::Nothing);
            if (asked == CorePrivate::Asked::Pause)
                emit core->messageError(tr("[Core] Failed to pause playback"));
            else if (asked == CorePrivate::Asked::Resume)
                emit core->messageError(tr("[Core] Failed to resume playback"));
        });
        break;
    case libvlc_MediaPlayerStopped:
        queue(Delivery::Settling, [core, settle] {
            if (settle(core, core->d->opening == nullptr))
                core->finishPlayback();
        });
        break;
    case libvlc_MediaPlayerTimeChanged: {
        const qint64 time = event->u.media_player_time_changed.new_time;
        queue(Delivery::Held, [core, time] { emit core->mediaPlayerTimeChanged(time); });
        break;
    }
    case libvlc_MediaPlayerLengthChanged: {
        const qint64 length = event->u.media_player_length_changed.new_length;
        queue(Delivery::Held, [core, length] {
            emit core->messageWarning(tr("[Core] Playback length: %1 milliseconds").arg(length));
            emit core->mediaPlayerLengthChanged(length);
        });
        break;
    }
    default:
        break;
    }
}

void Core::attachEvents()
{
    d->eventTag = std::make_unique<EventTag>(EventTag{this, d->playerSerial});
    libvlc_event_manager_t *manager = libvlc_media_player_event_manager(d->player);
    for (libvlc_event_type_t type : playerEvents)
        libvlc_event_attach(manager, type, &Core::handleEvent, d->eventTag.get());
}

void Core::detachEvents()
{
    // libvlc holds the manager's lock while it runs a callback, so once the
    // detach returns no callback of this player is running or will run, and
    // the tag may go. libvlc aborts on the detach of a callback that was never
    // attached (a failed start), hence the test.
    if (!d->eventTag)
        return;
    libvlc_event_manager_t *manager = libvlc_media_player_event_manager(d->player);
    for (libvlc_event_type_t type : playerEvents)
        libvlc_event_detach(manager, type, &Core::handleEvent, d->eventTag.get());
    d->eventTag.reset();
}

void Core::finishPlayback()
{
    // A file that only looks like media (random bytes, an MP4 without its
    // index) plays and ends at once, or yields streams that never play:
    // probing mistakes the bytes for MPEG audio, and now and then a frame of
    // them even decodes, but none reaches the audio output. Audio handed to
    // the output or a picture decoded is the one sign that covers every such
    // case. Buffers the output lost count as handed: on a machine without a
    // working sound device every buffer is lost, and the file still plays.
    // Without statistics the end counts as a normal one.
    if (!d->player)
        return;
    bool played = true;
    if (libvlc_media_t *media = libvlc_media_player_get_media(d->player)) {
        libvlc_media_stats_t stats{};
        if (libvlc_media_get_stats(media, &stats))
            played = stats.i_played_abuffers > 0 || stats.i_lost_abuffers > 0 || stats.i_decoded_video > 0 ||
                     stats.i_displayed_pictures > 0;
        libvlc_media_release(media);
    }
    if (played) {
        setState(State::Ended);
        emit mediaPlayerEndReached();
        return;
    }
    emit messageWarning(tr("[Core] No audio or video played: %1").arg(location().toHtmlEscaped()));
    setState(State::Failed);
    emit mediaPlayerFailed();
}

} // namespace LibPlayer
