// The media information the engine gathers on request. GUI thread only; the
// calls read what libvlc already holds and never wait on playback.
#include "core_p.h"

#include "mediainfo.h"

#include <QUrl>

#include <vlc/vlc.h>

namespace LibPlayer {

namespace {

QString takeMeta(libvlc_media_t *media, libvlc_meta_t meta)
{
    char *text = libvlc_media_get_meta(media, meta);
    if (!text)
        return QString();
    const QString value = QString::fromUtf8(text);
    libvlc_free(text);
    return value;
}

MediaInfo::TrackType trackType(libvlc_track_type_t type)
{
    switch (type) {
    case libvlc_track_audio:
        return MediaInfo::TrackType::Audio;
    case libvlc_track_video:
        return MediaInfo::TrackType::Video;
    case libvlc_track_text:
        return MediaInfo::TrackType::Subtitle;
    default:
        return MediaInfo::TrackType::Unknown;
    }
}

MediaInfo::Track trackOf(const libvlc_media_track_t &source)
{
    MediaInfo::Track track;
    track.type = trackType(source.i_type);
    track.id = source.i_id;
    track.codec = source.i_codec;
    if (const char *name = libvlc_media_get_codec_description(source.i_type, source.i_codec))
        track.codecName = QString::fromUtf8(name); // libvlc's own constant: not freed
    track.language = QString::fromUtf8(source.psz_language ? source.psz_language : "");
    track.description = QString::fromUtf8(source.psz_description ? source.psz_description : "");
    track.bitRate = source.i_bitrate;
    if (source.i_type == libvlc_track_video && source.video) {
        track.width = source.video->i_width;
        track.height = source.video->i_height;
        track.frameRateNum = source.video->i_frame_rate_num;
        track.frameRateDen = source.video->i_frame_rate_den;
    } else if (source.i_type == libvlc_track_audio && source.audio) {
        track.channels = source.audio->i_channels;
        track.rate = source.audio->i_rate;
    }
    return track;
}

} // namespace

MediaInfo Core::mediaInfo() const
{
    MediaInfo info;
    if (!holdsMedia())
        return info;
    const QString mrl = location();
    const QUrl url(mrl);
    info.location = url.isLocalFile() ? url.toLocalFile() : mrl;
    info.container = containerName(mrl);
    info.lengthMs = length();
    libvlc_media_t *media = libvlc_media_player_get_media(d->player);
    if (!media)
        return info;
    libvlc_media_track_t **tracks = nullptr;
    const unsigned int count = libvlc_media_tracks_get(media, &tracks);
    if (tracks) {
        for (unsigned int i = 0; i < count; ++i) {
            MediaInfo::Track track = trackOf(*tracks[i]);
            // A picture size the media forgot after its first parse (MPEG-TS).
            if (track.type == MediaInfo::TrackType::Video && track.width == 0 && d->videoRecords.contains(track.id)) {
                const MediaTrack::VideoRecord &seen = d->videoRecords[track.id];
                track.width = seen.width;
                track.height = seen.height;
                track.frameRateNum = seen.frameRateNum;
                track.frameRateDen = seen.frameRateDen;
            }
            info.tracks.append(track);
        }
        libvlc_media_tracks_release(tracks, count);
    }
    info.title = takeMeta(media, libvlc_meta_Title);
    info.artist = takeMeta(media, libvlc_meta_Artist);
    info.album = takeMeta(media, libvlc_meta_Album);
    info.trackNumber = takeMeta(media, libvlc_meta_TrackNumber);
    info.date = takeMeta(media, libvlc_meta_Date);
    libvlc_media_release(media);
    return info;
}

} // namespace LibPlayer
