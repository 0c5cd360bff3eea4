#include "playerstatewatcher.h"

#include "core.h"
#include "playercommands.h"
#include "playlistcontroller.h"
#include "timeslider.h"
#include "volumecontrol.h"

#include <QTimer>

namespace Desktop {

PlayerStateWatcher::PlayerStateWatcher(const Sources &sources, QObject *parent)
    : QObject(parent)
    , sources(sources)
{
    using LibPlayer::Core;
    const Core *core = sources.core;
    connect(core, &Core::mediaParseBegin, this, &PlayerStateWatcher::scheduleReport);
    connect(core, &Core::mediaParseEnd, this, [this] {
        videoSerial = this->sources.core->mediaSerial();
        video = !this->sources.core->noVideo();
        scheduleReport();
    });
    connect(core, &Core::mediaPlayerLengthChanged, this, &PlayerStateWatcher::scheduleReport);
    connect(core, &Core::mediaPlayerEndReached, this, &PlayerStateWatcher::scheduleReport);
    connect(core, &Core::stateChanged, this, &PlayerStateWatcher::scheduleReport);
    connect(sources.volumeControl, &LibPlayer::VolumeControl::valueChanged, this,
            &PlayerStateWatcher::scheduleReport);
    connect(sources.playlists, &PlaylistController::changed, this, &PlayerStateWatcher::scheduleReport);
    connect(sources.commands, &PlayerCommands::rateChanged, this, &PlayerStateWatcher::scheduleReport);
    connect(sources.commands, &PlayerCommands::seeked, this, &PlayerStateWatcher::positionJumped);
    connect(sources.timeSlider, &LibPlayer::TimeSlider::seeked, this, &PlayerStateWatcher::positionJumped);
}

PlayerStateWatcher::~PlayerStateWatcher() = default;

PlayerSnapshot PlayerStateWatcher::snapshot() const
{
    const LibPlayer::Core *core = sources.core;
    PlayerSnapshot player;
    player.loaded = core->holdsMedia();
    player.serial = core->mediaSerial();
    player.playing = core->state() == LibPlayer::Core::State::Playing;
    player.video = player.loaded && video && videoSerial == player.serial;
    if (player.loaded) {
        // The engine's metadata belong to the medium of its last parse.
        const bool parsed = videoSerial == player.serial;
        const bool own = infoSerial == player.serial;
        const auto pick = [core, parsed](const char *key, const QString &early) {
            const QString value = parsed ? core->metadata(QLatin1String(key)) : QString();
            return value.isEmpty() ? early : value;
        };
        player.title = pick("Title", own ? info.title : QString());
        player.artist = pick("Artist", own ? info.artist : QString());
        player.album = pick("Album", own ? info.album : QString());
        const int parsedTrack = parsed ? core->metadata(QStringLiteral("TrackNumber")).toInt() : 0;
        player.trackNumber = parsedTrack > 0 ? parsedTrack : own ? info.trackNumber : 0;
        if (own)
            player.artUrl = artUrl;
        player.location = core->location();
        player.lengthMs = core->length();
        player.rate = core->rate();
    }
    player.volume = sources.volumeControl->value();
    player.canGoNext = sources.commands->canGoNext();
    player.canGoPrevious = sources.commands->canGoPrevious();
    player.canPlayPause = sources.commands->canPlayPause();
    player.canSeek = sources.commands->canSeek();
    return player;
}

qint64 PlayerStateWatcher::position() const
{
    return sources.core->holdsMedia() ? sources.core->time() : -1;
}

void PlayerStateWatcher::scheduleReport()
{
    if (reportDue)
        return;
    reportDue = true;
    QTimer::singleShot(0, this, &PlayerStateWatcher::report);
}

void PlayerStateWatcher::refreshTrackInfo()
{
    const LibPlayer::Core *core = sources.core;
    if (!core->holdsMedia() || core->mediaSerial() == infoSerial)
        return;
    infoSerial = core->mediaSerial();
    info = readTrackInfo(core->location());
    artUrl = artFile.write(infoSerial, info);
}

void PlayerStateWatcher::report()
{
    reportDue = false;
    refreshTrackInfo();
    emit changed(snapshot());
}

} // namespace Desktop
