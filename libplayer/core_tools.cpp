// Speed, frame steps, delays and snapshots of the current player. None of
// these waits on libvlc except the snapshot. GUI thread only.
#include "core.h"

#include <vlc/vlc.h>

#include <algorithm>

namespace LibPlayer {

namespace {

constexpr qint64 DefaultFrameMs = 40;

} // namespace

double Core::rate() const
{
    return player ? double(libvlc_media_player_get_rate(player)) : 1.0;
}

void Core::changeRate(double rate)
{
    if (player)
        libvlc_media_player_set_rate(player, float(rate));
}

qint64 Core::frameDurationMs() const
{
    for (const MediaTrack::VideoRecord &record : videoRecords) {
        if (record.frameRateNum > 0 && record.frameRateDen > 0)
            return std::max<qint64>(1, qint64(record.frameRateDen) * 1000 / record.frameRateNum);
    }
    return DefaultFrameMs;
}

qint64 Core::audioDelay() const
{
    return player ? libvlc_audio_get_delay(player) / 1000 : 0;
}

qint64 Core::subtitleDelay() const
{
    return player ? libvlc_video_get_spu_delay(player) / 1000 : 0;
}

void Core::changeAudioDelay(qint64 ms)
{
    if (player)
        libvlc_audio_set_delay(player, ms * 1000);
}

void Core::changeSubtitleDelay(qint64 ms)
{
    if (player)
        libvlc_video_set_spu_delay(player, ms * 1000);
}

QSize Core::videoSize() const
{
    unsigned width = 0;
    unsigned height = 0;
    if (!player || libvlc_video_get_size(player, 0, &width, &height) != 0)
        return {};
    return QSize(int(width), int(height));
}

bool Core::takeSnapshot(const QString &path)
{
    if (!player || videoSize().isEmpty())
        return false;
    const QByteArray file = path.toUtf8();
    // libvlc takes the next picture the video output shows, and a paused
    // output shows none: a jump to the time it stands at shows the same
    // picture again. The jump may show it before the request is made, so a
    // failed attempt gets a second one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (libvlc_media_player_get_state(player) == libvlc_Paused)
            libvlc_media_player_set_time(player, libvlc_media_player_get_time(player));
        if (libvlc_video_take_snapshot(player, 0, file.constData(), 0, 0) == 0)
            return true;
    }
    return false;
}

QList<Core::Chapter> Core::chapters() const
{
    QList<Chapter> list;
    if (!player)
        return list;
    libvlc_chapter_description_t **descriptions = nullptr;
    const int count = libvlc_media_player_get_full_chapter_descriptions(player, -1, &descriptions);
    for (int i = 0; i < count; ++i) {
        const char *name = descriptions[i]->psz_name;
        list.append({descriptions[i]->i_time_offset, name ? QString::fromUtf8(name).trimmed() : QString()});
    }
    if (count > 0)
        libvlc_chapter_descriptions_release(descriptions, unsigned(count));
    return list;
}

int Core::chapter() const
{
    return player ? libvlc_media_player_get_chapter(player) : -1;
}

void Core::changeChapter(int index)
{
    if (player)
        libvlc_media_player_set_chapter(player, index);
}

} // namespace LibPlayer
