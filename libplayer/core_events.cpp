// libvlc's event callback, the once-a-second media parse and external subtitle
// files.
#include "core.h"

#include "displayratio.h"
#include "mediatrack.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <vlc/vlc.h>

#include <algorithm>
#include <atomic>

// The engine uses the calls that exist since libvlc 2.1 (the synchronous parse,
// the parsed flag, title descriptions, subtitle files), so that it runs on every
// libvlc from 2.1 on; libvlc 3 marks some of them deprecated.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace LibPlayer {

extern std::atomic_int liveEngineCount;

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
    libvlc_MediaPlayerTimeChanged,   libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerStopped,
};

struct MetaKey
{
    const char *key;
    libvlc_meta_t meta;
};
constexpr MetaKey metaKeys[] = {
    {"Title", libvlc_meta_Title},       {"Artist", libvlc_meta_Artist},
    {"Album", libvlc_meta_Album},       {"ArtworkURL", libvlc_meta_ArtworkURL},
    {"TrackNumber", libvlc_meta_TrackNumber}, {"Description", libvlc_meta_Description},
    {"URL", libvlc_meta_URL},           {"TrackID", libvlc_meta_TrackID},
};

// Most full passes run only because the first video track has no width yet.
constexpr int MaxZeroWidthPasses = 5;

// Longest wait for the track of a newly added subtitle file to show up.
constexpr int SubtitleWaitLimitMs = 1000;

// Takes ownership of a string that libvlc returns.
QString takeUtf8(char *text)
{
    if (!text)
        return QString();
    const QString result = QString::fromUtf8(text);
    libvlc_free(text);
    return result;
}

QString takeLatin1(char *text)
{
    if (!text)
        return QString();
    const QString result = QString::fromLatin1(text);
    libvlc_free(text);
    return result;
}

MediaTrack::VideoRecord videoRecordOf(const libvlc_video_track_t &source)
{
    MediaTrack::VideoRecord video;
    video.height = source.i_height;
    video.width = source.i_width;
    video.sarNum = source.i_sar_num;
    video.sarDen = source.i_sar_den;
    video.frameRateNum = source.i_frame_rate_num;
    video.frameRateDen = source.i_frame_rate_den;
    return video;
}

bool isDiscLocation(const QString &mrl)
{
    return mrl.startsWith(QLatin1String("dvd://")) || mrl.startsWith(QLatin1String("bluray://"))
           || (mrl.startsWith(QLatin1String("file://")) && mrl.endsWith(QLatin1String(".iso"), Qt::CaseInsensitive));
}

// Emits `announce` for every entry of a track description list whose id is
// not -1 (libvlc's entry for "no track"), releases the list and returns the
// number of entries announced.
template<typename Announce>
int announceDescriptions(libvlc_track_description_t *list, bool skipNoTrack, Announce announce)
{
    int count = 0;
    for (libvlc_track_description_t *entry = list; entry; entry = entry->p_next) {
        if (skipNoTrack && entry->i_id == -1)
            continue;
        announce(entry->i_id, QString::fromLatin1(entry->psz_name ? entry->psz_name : ""));
        ++count;
    }
    if (list)
        libvlc_track_description_list_release(list);
    return count;
}

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
    // it reported then belongs to another media and is dropped.
    const auto queue = [core, source](auto function) {
        QMetaObject::invokeMethod(
            core,
            [core, source, function] {
                if (core->playerSerial == source.serial)
                    function();
            },
            Qt::QueuedConnection);
    };
    switch (event->type) {
    case libvlc_MediaPlayerPlaying:
        queue([core] { emit core->messageNotice(tr("[Core] Playing")); });
        break;
    case libvlc_MediaDurationChanged:
    case libvlc_MediaStateChanged:
    case libvlc_MediaPlayerMediaChanged:
        queue([core] { emit core->messageWarning(tr("[Core] Callback not managed yet!")); });
        break;
    case libvlc_MediaPlayerEndReached:
        queue([core] { emit core->messageNotice(tr("[Core] Playback end reached")); });
        break;
    case libvlc_MediaPlayerEncounteredError:
        queue([core] { emit core->messageWarning(tr("[Core] Playback error")); });
        break;
    case libvlc_MediaPlayerStopped:
        queue([core] { core->finishPlayback(); });
        break;
    case libvlc_MediaPlayerTimeChanged: {
        const qint64 time = event->u.media_player_time_changed.new_time;
        queue([core, time] { emit core->mediaPlayerTimeChanged(time); });
        break;
    }
    case libvlc_MediaPlayerLengthChanged: {
        const qint64 length = event->u.media_player_length_changed.new_length;
        queue([core, length] {
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
    eventTag = std::make_unique<EventTag>(EventTag{this, playerSerial});
    libvlc_event_manager_t *manager = libvlc_media_player_event_manager(player);
    for (libvlc_event_type_t type : playerEvents)
        libvlc_event_attach(manager, type, &Core::handleEvent, eventTag.get());
}

void Core::detachEvents()
{
    // libvlc holds the manager's lock while it runs a callback, so once the
    // detach returns no callback of this player is running or will run, and
    // the tag may go. libvlc aborts on the detach of a callback that was never
    // attached (a failed start), hence the test.
    if (!eventTag)
        return;
    libvlc_event_manager_t *manager = libvlc_media_player_event_manager(player);
    for (libvlc_event_type_t type : playerEvents)
        libvlc_event_detach(manager, type, &Core::handleEvent, eventTag.get());
    eventTag.reset();
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
    if (!player)
        return;
    bool played = true;
    if (libvlc_media_t *media = libvlc_media_player_get_media(player)) {
        libvlc_media_stats_t stats{};
        if (libvlc_media_get_stats(media, &stats))
            played = stats.i_played_abuffers > 0 || stats.i_lost_abuffers > 0 || stats.i_decoded_video > 0 ||
                     stats.i_displayed_pictures > 0;
        libvlc_media_release(media);
    }
    if (played) {
        emit mediaPlayerEndReached();
        return;
    }
    emit messageWarning(tr("[Core] No audio or video played: %1").arg(location().toHtmlEscaped()));
    emit mediaPlayerFailed();
}

void Core::rememberVideoRecords(libvlc_media_t *media)
{
    libvlc_media_track_t **tracks = nullptr;
    const unsigned int count = libvlc_media_tracks_get(media, &tracks);
    if (!tracks)
        return;
    for (unsigned int i = 0; i < count; ++i) {
        const libvlc_media_track_t *source = tracks[i];
        if (source->i_type != libvlc_track_video || !source->video || source->video->i_width == 0)
            continue;
        videoRecords.insert(source->i_id, videoRecordOf(*source->video));
    }
    libvlc_media_tracks_release(tracks, count);
}

QString Core::metadata(const QString &key) const
{
    return metadataValues.value(key);
}

QStringList Core::metadataKeys() const
{
    QStringList keys = metadataValues.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

void Core::parseMedia()
{
    if (!player || libvlc_media_player_is_playing(player) == 0)
        return;
    // libvlc drops a volume set while its audio output is still starting; put
    // the engine's volume back if the output came up with another one.
    const int playerVolume = libvlc_audio_get_volume(player);
    if (playerVolume >= 0 && playerVolume != volume)
        libvlc_audio_set_volume(player, volume);

    libvlc_media_t *media = libvlc_media_player_get_media(player);
    if (!media)
        return;
    if (libvlc_media_is_parsed(media) == 0) {
        // libvlc never parses a playing media by itself; the synchronous parse
        // takes a few milliseconds for a local file.
        rememberVideoRecords(media);
        libvlc_media_parse(media);
        if (libvlc_media_is_parsed(media) == 0) {
            emit messageWarning(tr("[Core] Media not parsed"));
            libvlc_media_release(media);
            return;
        }
    }

    if (isDiscLocation(takeLatin1(libvlc_media_get_mrl(media))))
        emit currentTitle(libvlc_media_player_get_title(player));

    libvlc_media_track_t **tracks = nullptr;
    const unsigned int count = libvlc_media_tracks_get(media, &tracks);

    const int previousCount = knownTracks.size();
    const auto firstVideo = std::find_if(knownTracks.cbegin(), knownTracks.cend(),
                                         [](const MediaTrack *track) { return track->video != nullptr; });
    const bool hadVideo = firstVideo != knownTracks.cend();
    noVideoTracks = !hadVideo;
    const bool moreTracks = count > static_cast<unsigned int>(previousCount);
    const bool noWidth = hadVideo && (*firstVideo)->video->width == 0 && zeroWidthPasses < MaxZeroWidthPasses;
    if (!moreTracks && noWidth)
        ++zeroWidthPasses;
    if (!moreTracks && !noWidth) {
        if (tracks)
            libvlc_media_tracks_release(tracks, count);
        libvlc_media_release(media);
        return;
    }

    emit mediaParseBegin();
    const qint64 length = libvlc_media_player_get_length(player);
    emit mediaPlayerLengthChanged(length);
    emit messageNotice(tr("[Core] Playback length: %1 milliseconds").arg(length));

    metadataValues.clear();
    for (const MetaKey &entry : metaKeys) {
        const QString value = takeUtf8(libvlc_media_get_meta(media, entry.meta));
        if (!value.isEmpty())
            metadataValues.insert(QString::fromLatin1(entry.key), value);
    }

    emit messageNotice(tr("[Core] Media tracks: %1 newly identified (total %2)")
                           .arg(static_cast<int>(count) - previousCount)
                           .arg(count));

    if (!tracks) {
        emit messageWarning(tr("[Core] Media tracks: parsing error"));
    } else {
        clearKnownTracks();
        for (unsigned int i = 0; i < count; ++i) {
            const libvlc_media_track_t *source = tracks[i];
            auto *track = new MediaTrack(source->i_type);
            track->codec = source->i_codec;
            track->fourcc = source->i_original_fourcc;
            track->id = source->i_id;
            track->profile = source->i_profile;
            track->level = source->i_level;
            track->language = QString::fromLatin1(source->psz_language ? source->psz_language : "");
            track->description = QString::fromLatin1(source->psz_description ? source->psz_description : "");
            if (track->audio && source->audio) {
                track->audio->channels = source->audio->i_channels;
                track->audio->rate = source->audio->i_rate;
            } else if (track->video && source->video) {
                MediaTrack::VideoRecord &video = *track->video;
                video = videoRecordOf(*source->video);
                // Parsing an MPEG-TS stream resets its size to 0x0 for good;
                // without the size seen before, every tick would run a full
                // pass until the end of the file.
                if (video.width > 0)
                    videoRecords.insert(track->id, video);
                else if (videoRecords.contains(track->id))
                    video = videoRecords.value(track->id);
                const DisplayRatio ratio = displayRatio(video.width, video.height, video.sarNum, video.sarDen);
                emit displayRatioChanged(ratio.width, ratio.height);
            } else if (track->subtitleEncoding && source->subtitle) {
                *track->subtitleEncoding = QString::fromLatin1(
                    source->subtitle->psz_encoding ? source->subtitle->psz_encoding : "");
            }
            knownTracks.append(track);
        }
        libvlc_media_tracks_release(tracks, count);
        // The presentation (film or audio) follows the tracks just identified,
        // not those known before this pass.
        noVideoTracks = std::none_of(knownTracks.cbegin(), knownTracks.cend(),
                                     [](const MediaTrack *track) { return track->video != nullptr; });
        for (const MediaTrack *track : qAsConst(knownTracks))
            emit messageNotice(track->toString(22, 7).toHtmlEscaped());
    }

    announceDescriptions(libvlc_video_get_title_description(player), false,
                         [this](int id, const QString &name) { emit mediaTitle(id, name); });

    const int videoCount = announceDescriptions(libvlc_video_get_track_description(player), true,
                                                [this](int id, const QString &name) { emit mediaTrackVideo(id, name); });
    if (videoCount == 0)
        emit messageWarning(tr("[Core] Media tracks: no video detected"));
    else if (videoCount >= 2)
        emit messageWarning(tr("[Core] Media tracks: multiple video detected (%1 streams)").arg(videoCount));
    emit currentTrackVideo(libvlc_video_get_track(player));

    announceDescriptions(libvlc_audio_get_track_description(player), true,
                         [this](int id, const QString &name) { emit mediaTrackAudio(id, name); });
    emit currentTrackAudio(libvlc_audio_get_track(player));

    announceDescriptions(libvlc_video_get_spu_description(player), true,
                         [this](int id, const QString &name) { emit mediaTrackSubtitle(id, name); });
    emit currentTrackSubtitle(libvlc_video_get_spu(player));

    emit mediaParseEnd();
    libvlc_media_release(media);
}

void Core::changeSubtitle(const QString &path)
{
    if (!player)
        return;
    for (auto it = subtitleFiles.cbegin(); it != subtitleFiles.cend(); ++it) {
        if (it.value() == path && it.key() != -1) {
            if (libvlc_video_set_spu(player, it.key()) == 0)
                emit currentTrackSubtitle(it.key());
            return;
        }
    }
    // libvlc accepts any path here, even one that does not exist, and then
    // simply never shows a track: check first so that the user learns why.
    if (!QFileInfo(path).isFile()) {
        emit messageError(tr("[Core] Subtitle file not found: %1").arg(path.toHtmlEscaped()));
        return;
    }
    const int before = libvlc_video_get_spu(player);
    const int added = libvlc_video_set_subtitle_file(player, QFileInfo(path).absoluteFilePath().toUtf8().constData());
    if (added == 0)
        return;
    // The new track is selected a few milliseconds later, on libvlc's input
    // thread.
    QElapsedTimer elapsed;
    elapsed.start();
    int id = before;
    while ((id == -1 || id == before) && elapsed.elapsed() < SubtitleWaitLimitMs) {
        QThread::msleep(StatePollMs);
        id = libvlc_video_get_spu(player);
    }
    if (id == -1 || id == before) {
        emit messageWarning(tr("[Core] Subtitle file gave no subtitle track: %1").arg(path.toHtmlEscaped()));
        return;
    }
    subtitleFiles.insert(id, path);
    emit subtitleFileAdded(id, path);
    emit currentTrackSubtitle(id);
}

} // namespace LibPlayer
