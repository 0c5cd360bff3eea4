// Speed, frame steps, delays and chapters of the current player. None of
// these waits on libvlc. GUI thread only.
#include "core_p.h"


#include <vlc/vlc.h>

#include <algorithm>

namespace LibPlayer {

namespace {

constexpr qint64 DefaultFrameMs = 40;

} // namespace

double Core::rate() const
{
    return d->player ? double(libvlc_media_player_get_rate(d->player)) : 1.0;
}

void Core::changeRate(double rate)
{
    if (d->player)
        libvlc_media_player_set_rate(d->player, float(rate));
}

qint64 Core::frameDurationMs() const
{
    for (const MediaTrack::VideoRecord &record : d->videoRecords) {
        if (record.frameRateNum > 0 && record.frameRateDen > 0)
            return std::max<qint64>(1, qint64(record.frameRateDen) * 1000 / record.frameRateNum);
    }
    return DefaultFrameMs;
}

qint64 Core::audioDelay() const
{
    return d->player ? libvlc_audio_get_delay(d->player) / 1000 : 0;
}

qint64 Core::subtitleDelay() const
{
    return d->player ? libvlc_video_get_spu_delay(d->player) / 1000 : 0;
}

void Core::changeAudioDelay(qint64 ms)
{
    if (d->player)
        libvlc_audio_set_delay(d->player, ms * 1000);
}

void Core::changeSubtitleDelay(qint64 ms)
{
    if (d->player)
        libvlc_video_set_spu_delay(d->player, ms * 1000);
}

QSize Core::videoSize() const
{
    unsigned width = 0;
    unsigned height = 0;
    if (!d->player || libvlc_video_get_size(d->player, 0, &width, &height) != 0)
        return {};
    return QSize(int(width), int(height));
}

QList<Core::Chapter> Core::chapters() const
{
    QList<Chapter> list;
    if (!d->player)
        return list;
    libvlc_chapter_description_t **descriptions = nullptr;
    const int count = libvlc_media_player_get_full_chapter_descriptions(d->player, -1, &descriptions);
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
    return d->player ? libvlc_media_player_get_chapter(d->player) : -1;
}

void Core::changeChapter(int index)
{
    if (d->player)
        libvlc_media_player_set_chapter(d->player, index);
}

} // namespace LibPlayer
