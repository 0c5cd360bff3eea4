#include "playercommands.h"

#include "bottombar.h"
#include "core.h"
#include "playlist.h"
#include "playbacksession.h"
#include "toolbutton.h"
#include "volumecontrol.h"

#include <algorithm>

namespace {

constexpr int MaximumVolume = 150;

} // namespace

PlayerCommands::PlayerCommands(LibPlayer::Core *core, BottomBar *bar, const Playlist *playlist,
                               const PlaybackSession *session, QObject *parent)
    : QObject(parent)
    , core(core)
    , bar(bar)
    , playlist(playlist)
    , session(session)
{
}

PlayerCommands::~PlayerCommands() = default;

bool PlayerCommands::canPlayPause() const
{
    const LibPlayer::Core::State state = core->state();
    return state == LibPlayer::Core::State::Playing || state == LibPlayer::Core::State::Paused;
}

bool PlayerCommands::canStartAgain() const
{
    return core->isStopped() && (session->canReplay() || !playlist->isEmpty());
}

bool PlayerCommands::canGoNext() const
{
    return !playlist->isEmpty() && playlist->hasNext();
}

bool PlayerCommands::canGoPrevious() const
{
    return !playlist->isEmpty() && playlist->hasPrevious();
}

bool PlayerCommands::canSeek() const
{
    return !core->isStopped() && core->length() > 0;
}

void PlayerCommands::playPause()
{
    if (core->state() == LibPlayer::Core::State::Playing)
        core->pausePlayback();
    else
        play();
}

void PlayerCommands::play()
{
    if (core->state() == LibPlayer::Core::State::Paused)
        core->resumePlayback();
    else if (canStartAgain())
        startAgain();
}

void PlayerCommands::startAgain()
{
    if (!core->isStopped())
        return;
    if (playlist->isEmpty()) {
        emit startAgainRequested();
        return;
    }
    const int current = playlist->current();
    emit itemRequested(current > 0 && playlist->hasNext() ? current : playlist->entries().firstKey());
}

void PlayerCommands::pause()
{
    core->pausePlayback();
}

void PlayerCommands::stop()
{
    if (!core->isStopped())
        emit stopRequested();
}

void PlayerCommands::seekBy(qint64 deltaMs)
{
    if (canSeek())
        seekTo(std::max<qint64>(0, core->time()) + deltaMs);
}

void PlayerCommands::seekTo(qint64 ms)
{
    if (!canSeek())
        return;
    // Not quite the end: a seek to the very end would end the medium at once.
    const qint64 last = std::max<qint64>(0, core->length() - 1000);
    const qint64 target = std::clamp<qint64>(ms, 0, last);
    core->seek(target);
    emit seeked(target);
}

void PlayerCommands::changeVolumeBy(int delta)
{
    setVolume(bar->volumeControl->value() + delta);
    emit volumeStepped(bar->volumeControl->value());
}

void PlayerCommands::setVolume(int volume)
{
    bar->volumeControl->setValue(std::clamp(volume, 0, MaximumVolume));
}

void PlayerCommands::toggleMute()
{
    bar->volumeControl->toggleMute();
    emit volumeStepped(bar->volumeControl->value());
}

void PlayerCommands::setRate(double rate)
{
    if (core->isStopped())
        return;
    core->changeRate(std::clamp(rate, MinimumRate, MaximumRate));
    emit rateChanged(core->rate());
}

void PlayerCommands::toggleFullscreen()
{
    bar->fullscreenButton->setChecked(!bar->fullscreenButton->isChecked());
}

void PlayerCommands::leaveFullscreen()
{
    bar->fullscreenButton->setChecked(false);
}

void PlayerCommands::next()
{
    if (!canGoNext())
        return;
    const auto &entries = playlist->entries();
    emit itemRequested(entries.upperBound(playlist->current()).key());
}

void PlayerCommands::previous()
{
    if (!canGoPrevious())
        return;
    const auto &entries = playlist->entries();
    emit itemRequested(std::prev(entries.lowerBound(playlist->current())).key());
}
