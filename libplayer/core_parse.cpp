// The once-a-second media parse, the metadata it keeps, and external subtitle
// files.
#include "core_p.h"

#include "displayratio.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include <vlc/vlc.h>

#include <algorithm>
#include <utility>

// The engine uses the calls that exist since libvlc 2.1 (the synchronous parse,
// the parsed flag, title descriptions, subtitle files), so that it runs on every
// libvlc from 2.1 on; libvlc 3 marks some of them deprecated.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace LibPlayer {

namespace {

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
void CorePrivate::rememberVideoRecords(libvlc_media_t *media)
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
    return d->metadataValues.value(key);
}

QStringList Core::metadataKeys() const
{
    QStringList keys = d->metadataValues.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

void Core::parseMedia()
{
    if (!d->player || libvlc_media_player_is_playing(d->player) == 0)
        return;
    // libvlc drops a volume set while its audio output is still starting; put
    // the engine's volume back if the output came up with another one.
    const int playerVolume = libvlc_audio_get_volume(d->player);
    if (playerVolume >= 0 && playerVolume != d->volume)
        libvlc_audio_set_volume(d->player, d->volume);

    libvlc_media_t *media = libvlc_media_player_get_media(d->player);
    if (!media)
        return;
    if (libvlc_media_is_parsed(media) == 0) {
        // libvlc never parses a playing media by itself; the synchronous parse
        // takes a few milliseconds for a local file.
        d->rememberVideoRecords(media);
        libvlc_media_parse(media);
        if (libvlc_media_is_parsed(media) == 0) {
            emit messageWarning(tr("[Core] Media not parsed"));
            libvlc_media_release(media);
            return;
        }
    }

    if (isDiscLocation(takeLatin1(libvlc_media_get_mrl(media))))
        emit currentTitle(libvlc_media_player_get_title(d->player));

    libvlc_media_track_t **tracks = nullptr;
    const unsigned int count = libvlc_media_tracks_get(media, &tracks);

    const int previousCount = d->knownTracks.size();
    const auto firstVideo = std::find_if(d->knownTracks.cbegin(), d->knownTracks.cend(),
                                         [](const MediaTrack &track) { return track.video.has_value(); });
    const bool hadVideo = firstVideo != d->knownTracks.cend();
    d->noVideoTracks = !hadVideo;
    const bool moreTracks = count > static_cast<unsigned int>(previousCount);
    const bool noWidth = hadVideo && firstVideo->video->width == 0 && d->zeroWidthPasses < MaxZeroWidthPasses;
    if (!moreTracks && noWidth)
        ++d->zeroWidthPasses;
    if (!moreTracks && !noWidth) {
        if (tracks)
            libvlc_media_tracks_release(tracks, count);
        libvlc_media_release(media);
        return;
    }

    emit mediaParseBegin();
    const qint64 length = libvlc_media_player_get_length(d->player);
    emit mediaPlayerLengthChanged(length);
    emit messageNotice(tr("[Core] Playback length: %1 milliseconds").arg(length));

    d->metadataValues.clear();
    for (const MetaKey &entry : metaKeys) {
        const QString value = takeUtf8(libvlc_media_get_meta(media, entry.meta));
        if (!value.isEmpty())
            d->metadataValues.insert(QString::fromLatin1(entry.key), value);
    }

    emit messageNotice(tr("[Core] Media tracks: %1 newly identified (total %2)")
                           .arg(static_cast<int>(count) - previousCount)
                           .arg(count));

    if (!tracks) {
        emit messageWarning(tr("[Core] Media tracks: parsing error"));
    } else {
        d->knownTracks.clear();
        for (unsigned int i = 0; i < count; ++i) {
            const libvlc_media_track_t *source = tracks[i];
            MediaTrack track(source->i_type);
            track.codec = source->i_codec;
            track.fourcc = source->i_original_fourcc;
            track.id = source->i_id;
            track.profile = source->i_profile;
            track.level = source->i_level;
            track.language = QString::fromLatin1(source->psz_language ? source->psz_language : "");
            track.description = QString::fromLatin1(source->psz_description ? source->psz_description : "");
            if (track.audio && source->audio) {
                track.audio->channels = source->audio->i_channels;
                track.audio->rate = source->audio->i_rate;
            } else if (track.video && source->video) {
                MediaTrack::VideoRecord &video = *track.video;
                video = videoRecordOf(*source->video);
                // Parsing an MPEG-TS stream resets its size to 0x0 for good;
                // without the size seen before, every tick would run a full
                // pass until the end of the file.
                if (video.width > 0)
                    d->videoRecords.insert(track.id, video);
                else if (d->videoRecords.contains(track.id))
                    video = d->videoRecords.value(track.id);
                const DisplayRatio ratio = displayRatio(video.width, video.height, video.sarNum, video.sarDen);
                emit displayRatioChanged(ratio.width, ratio.height);
            } else if (track.subtitleEncoding && source->subtitle) {
                *track.subtitleEncoding = QString::fromLatin1(
                    source->subtitle->psz_encoding ? source->subtitle->psz_encoding : "");
            }
            d->knownTracks.append(track);
        }
        libvlc_media_tracks_release(tracks, count);
        // The presentation (film or audio) follows the tracks just identified,
        // not those known before this pass.
        d->noVideoTracks = std::none_of(d->knownTracks.cbegin(), d->knownTracks.cend(),
                                     [](const MediaTrack &track) { return track.video.has_value(); });
        for (const MediaTrack &track : qAsConst(d->knownTracks))
            emit messageNotice(track.toString(22, 7).toHtmlEscaped());
    }

    announceDescriptions(libvlc_video_get_title_description(d->player), false,
                         [this](int id, const QString &name) { emit mediaTitle(id, name); });

    const int videoCount = announceDescriptions(libvlc_video_get_track_description(d->player), true,
                                                [this](int id, const QString &name) { emit mediaTrackVideo(id, name); });
    if (videoCount == 0)
        emit messageWarning(tr("[Core] Media tracks: no video detected"));
    else if (videoCount >= 2)
        emit messageWarning(tr("[Core] Media tracks: multiple video detected (%1 streams)").arg(videoCount));
    emit currentTrackVideo(libvlc_video_get_track(d->player));

    announceDescriptions(libvlc_audio_get_track_description(d->player), true,
                         [this](int id, const QString &name) { emit mediaTrackAudio(id, name); });
    emit currentTrackAudio(libvlc_audio_get_track(d->player));

    announceDescriptions(libvlc_video_get_spu_description(d->player), true,
                         [this](int id, const QString &name) { emit mediaTrackSubtitle(id, name); });
    emit currentTrackSubtitle(libvlc_video_get_spu(d->player));

    emit mediaParseEnd();
    libvlc_media_release(media);
}

void Core::changeSubtitle(const QString &path)
{
    if (!d->player)
        return;
    for (auto it = d->subtitleFiles.cbegin(); it != d->subtitleFiles.cend(); ++it) {
        if (it.value() == path && it.key() != -1) {
            if (libvlc_video_set_spu(d->player, it.key()) == 0)
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
    if (d->subtitleQueue.contains(path))
        return;
    d->subtitleQueue.append(path);
    if (!d->subtitleTimer->isActive())
        addSubtitleFile();
}

void Core::addSubtitleFile()
{
    while (!d->subtitleQueue.isEmpty()) {
        const QString path = d->subtitleQueue.first();
        d->subtitleBefore = libvlc_video_get_spu(d->player);
        const QByteArray file = QFileInfo(path).absoluteFilePath().toUtf8();
        if (libvlc_video_set_subtitle_file(d->player, file.constData()) != 0) {
            d->subtitleClock.start();
            d->subtitleTimer->start();
            return;
        }
        d->subtitleQueue.removeFirst();
    }
}

void Core::checkSubtitleFile()
{
    if (!d->player || d->subtitleQueue.isEmpty()) {
        d->subtitleTimer->stop();
        d->subtitleQueue.clear();
        return;
    }
    // The new track is selected a few milliseconds after the file was
    // handed over, on libvlc's input thread.
    const int id = libvlc_video_get_spu(d->player);
    const bool shown = id != -1 && id != d->subtitleBefore;
    if (!shown && d->subtitleClock.elapsed() < SubtitleWaitLimitMs)
        return;
    d->subtitleTimer->stop();
    const QString path = d->subtitleQueue.takeFirst();
    if (shown) {
        d->subtitleFiles.insert(id, path);
        emit subtitleFileAdded(id, path);
        emit currentTrackSubtitle(id);
    } else {
        emit messageWarning(tr("[Core] Subtitle file gave no subtitle track: %1").arg(path.toHtmlEscaped()));
    }
    // Unless a receiver has handed over the next one already.
    if (d->player && !d->subtitleTimer->isActive())
        addSubtitleFile();
}

} // namespace LibPlayer
