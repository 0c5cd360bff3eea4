#pragma once

#include "previewcache.h"

#include <QSize>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct libvlc_instance_t;
struct libvlc_media_player_t;

namespace LibPlayer {

class CoreReleaseThread;

// A second libvlc player for preview pictures: no audio, no subtitles, no
// window; libvlc decodes into memory (RV32, PictureWidth pixels wide, the
// height from the picture's display ratio). The player stays paused; a grab
// seeks it to the keyframe at or before the time (fast seek), and libvlc
// shows that keyframe's picture at once.
//
// Every call blocks and belongs to one thread (PreviewEngine's worker); the
// waits end early when `interrupted` says so. Released players go to a
// CoreReleaseThread, which is joined before the next one or on destruction.
class PreviewGrabber
{
public:
    static constexpr int PictureWidth = 160;

    enum class Open { Ok, NoVideo, Failed, Interrupted };

    // Holds a reference to instance while it exists.
    PreviewGrabber(libvlc_instance_t *instance, std::function<bool()> interrupted);
    ~PreviewGrabber();
    PreviewGrabber(const PreviewGrabber &) = delete;
    PreviewGrabber &operator=(const PreviewGrabber &) = delete;

    // Opens a location (an MRL) and waits for its first picture; closes the
    // medium held before.
    Open open(const QString &mrl);
    // The picture at or before timeMs with the time libvlc gives it; null
    // when none came within the wait.
    PreviewCache::Picture grab(qint64 timeMs);
    // Hands the player to the release thread.
    void close();
    bool isOpen() const { return player != nullptr; }
    qint64 length() const { return lengthMs; }

    // The video callbacks; they run on libvlc's output thread.
    struct Frame
    {
        std::mutex mutex;
        std::condition_variable shown;
        std::vector<uchar> pixels;
        quint64 serial = 0;
    };

private:
    // Waits until the output has shown a picture after `since`; false when
    // interrupted or after limitMs.
    bool waitForPicture(quint64 since, int limitMs);
    bool waitForState(int state, int limitMs);
    void joinRelease();

    libvlc_instance_t *instance;
    std::function<bool()> interrupted;
    libvlc_media_player_t *player = nullptr;
    std::unique_ptr<CoreReleaseThread> release;
    Frame frame;
    QSize pictureSize;
    qint64 lengthMs = 0;
};

} // namespace LibPlayer
