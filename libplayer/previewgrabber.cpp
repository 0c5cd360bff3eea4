#include "previewgrabber.h"

#include "corereleasethread.h"

#include <vlc/vlc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace LibPlayer {

namespace {

constexpr int ParseLimitMs = 5000;
constexpr int FirstPictureLimitMs = 5000;
constexpr int PictureLimitMs = 2000;
constexpr int RepeatSeekMs = 400;
constexpr int PauseLimitMs = 2000;
constexpr int PollMs = 5;
// A seek to the last second of a medium may find no picture at all.
constexpr qint64 EndMarginMs = 1000;
constexpr int SmallestHeight = 8;
constexpr int LargestHeight = 4 * PreviewGrabber::PictureWidth;

// Decode without sound, overlays or hardware, and let a seek stop at the
// keyframe before the time instead of decoding up to it.
const char *const mediaOptions[] = {
    ":no-audio",          ":no-spu",         ":no-osd",         ":no-video-title-show",
    ":no-sub-autodetect-file", ":input-fast-seek", ":avcodec-hw=none", ":avcodec-threads=1",
};

void *lockPicture(void *opaque, void **planes)
{
    auto *frame = static_cast<PreviewGrabber::Frame *>(opaque);
    // Held while libvlc writes the picture; unlockPicture releases it.
    frame->mutex.lock();
    planes[0] = frame->pixels.data();
    return nullptr;
}

void unlockPicture(void *opaque, void *, void *const *)
{
    static_cast<PreviewGrabber::Frame *>(opaque)->mutex.unlock();
}

void displayPicture(void *opaque, void *)
{
    auto *frame = static_cast<PreviewGrabber::Frame *>(opaque);
    {
        const std::lock_guard<std::mutex> lock(frame->mutex);
        ++frame->serial;
    }
    frame->shown.notify_all();
}

// Picture height for PictureWidth from the first video track's size and
// sample aspect; 0 without a video track.
int pictureHeight(libvlc_media_t *media)
{
    libvlc_media_track_t **tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(media, &tracks);
    int height = 0;
    for (unsigned i = 0; i < count && height == 0; ++i) {
        if (tracks[i]->i_type != libvlc_track_video)
            continue;
        const libvlc_video_track_t *video = tracks[i]->video;
        double width = video->i_width;
        if (video->i_sar_num > 0 && video->i_sar_den > 0)
            width = width * video->i_sar_num / video->i_sar_den;
        // Size not known before decoding: a 16:9 picture until it is.
        height = width > 0 && video->i_height > 0
                     ? int(std::lround(PreviewGrabber::PictureWidth * video->i_height / width))
                     : PreviewGrabber::PictureWidth * 9 / 16;
        height = std::clamp(height, SmallestHeight, LargestHeight);
    }
    if (count > 0)
        libvlc_media_tracks_release(tracks, count);
    return height;
}

} // namespace

PreviewGrabber::PreviewGrabber(libvlc_instance_t *instance, std::function<bool()> interrupted)
    : instance(instance)
    , interrupted(std::move(interrupted))
{
    libvlc_retain(instance);
}

PreviewGrabber::~PreviewGrabber()
{
    close();
    joinRelease();
    libvlc_release(instance);
}

void PreviewGrabber::joinRelease()
{
    if (release) {
        release->wait();
        release.reset();
    }
}

void PreviewGrabber::close()
{
    if (!player)
        return;
    joinRelease();
    release = std::make_unique<CoreReleaseThread>(player, nullptr);
    release->start(QThread::LowPriority);
    player = nullptr;
    lengthMs = 0;
}

PreviewGrabber::Open PreviewGrabber::open(const QString &mrl)
{
    close();
    libvlc_media_t *media = libvlc_media_new_location(instance, mrl.toUtf8().constData());
    if (!media)
        return Open::Failed;
    for (const char *option : mediaOptions)
        libvlc_media_add_option(media, option);

    if (libvlc_media_parse_with_options(media, libvlc_media_parse_local, ParseLimitMs) != 0) {
        libvlc_media_release(media);
        return Open::Failed;
    }
    while (libvlc_media_get_parsed_status(media) == 0) {
        if (interrupted()) {
            libvlc_media_parse_stop(media);
            libvlc_media_release(media);
            return Open::Interrupted;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(PollMs));
    }
    if (libvlc_media_get_parsed_status(media) != libvlc_media_parsed_status_done) {
        libvlc_media_release(media);
        return Open::Failed;
    }
    const int height = pictureHeight(media);
    if (height == 0) {
        libvlc_media_release(media);
        return Open::NoVideo;
    }
    lengthMs = std::max<qint64>(0, libvlc_media_get_duration(media));
    pictureSize = QSize(PictureWidth, height);
    // The player released last may still draw into the buffer until it stops.
    joinRelease();
    {
        const std::lock_guard<std::mutex> lock(frame.mutex);
        frame.pixels.assign(size_t(PictureWidth) * size_t(height) * 4, 0);
    }

    player = libvlc_media_player_new_from_media(media);
    libvlc_media_release(media);
    if (!player)
        return Open::Failed;
    libvlc_video_set_mouse_input(player, false);
    libvlc_video_set_key_input(player, false);
    libvlc_video_set_callbacks(player, &lockPicture, &unlockPicture, &displayPicture, &frame);
    libvlc_video_set_format(player, "RV32", unsigned(PictureWidth), unsigned(height), unsigned(PictureWidth * 4));

    quint64 since = 0;
    {
        const std::lock_guard<std::mutex> lock(frame.mutex);
        since = frame.serial;
    }
    if (libvlc_media_player_play(player) != 0 || !waitForPicture(since, FirstPictureLimitMs)) {
        const bool stopped = interrupted();
        close();
        return stopped ? Open::Interrupted : Open::Failed;
    }
    // A paused player shows the picture of every seek and decodes nothing else.
    libvlc_media_player_set_pause(player, 1);
    if (!waitForState(libvlc_Paused, PauseLimitMs)) {
        const bool stopped = interrupted();
        close();
        return stopped ? Open::Interrupted : Open::Failed;
    }
    return Open::Ok;
}

bool PreviewGrabber::waitForPicture(quint64 since, int limitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    std::unique_lock<std::mutex> lock(frame.mutex);
    while (frame.serial == since) {
        if (interrupted() || std::chrono::steady_clock::now() >= deadline)
            return false;
        frame.shown.wait_for(lock, std::chrono::milliseconds(PollMs));
        if (frame.serial != since)
            break;
        const libvlc_state_t state = libvlc_media_player_get_state(player);
        if (state == libvlc_Ended || state == libvlc_Error)
            return false;
    }
    return true;
}

bool PreviewGrabber::waitForState(int state, int limitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (libvlc_media_player_get_state(player) != state) {
        if (interrupted() || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(PollMs));
    }
    return true;
}

PreviewCache::Picture PreviewGrabber::grab(qint64 timeMs)
{
    if (!player)
        return {};
    qint64 target = std::max<qint64>(0, timeMs);
    if (lengthMs > 0)
        target = std::min(target, std::max<qint64>(0, lengthMs - EndMarginMs));
    quint64 since = 0;
    {
        const std::lock_guard<std::mutex> lock(frame.mutex);
        since = frame.serial;
    }
    libvlc_media_player_set_time(player, target);
    if (!waitForPicture(since, RepeatSeekMs)) {
        // A seek that comes while the pause is still settling may show
        // nothing at all; the same seek again does.
        if (interrupted())
            return {};
        libvlc_media_player_set_time(player, target);
        if (!waitForPicture(since, PictureLimitMs))
            return {};
    }
    QImage image(pictureSize, QImage::Format_RGB32);
    {
        const std::lock_guard<std::mutex> lock(frame.mutex);
        std::copy(frame.pixels.begin(), frame.pixels.end(), image.bits());
    }
    // Demuxers that know their keyframes report the keyframe's time; others
    // report the time asked for.
    const qint64 reported = libvlc_media_player_get_time(player);
    return {reported >= 0 && reported <= target ? reported : target, image};
}

} // namespace LibPlayer
