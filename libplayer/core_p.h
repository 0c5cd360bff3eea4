#pragma once
// The engine's own state: libvlc handles, the event tags, the open in
// progress and the release threads. Included by the engine's sources only.

#include "core.h"
#include "mediatrack.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <future>
#include <memory>

class QThread;
class QTimer;

struct libvlc_instance_t;
struct libvlc_media_t;
struct libvlc_media_player_t;

namespace LibPlayer {

class CoreReleaseThread;

// Number of existing engines; the event callback does nothing while it is 0.
extern std::atomic_int liveEngineCount;

// Identity of a player for the event callback: libvlc passes it back with
// every event, and an event whose serial is no longer the engine's current
// one (a player already released or replaced) is dropped on the GUI thread.
// Lives until the callback is detached.
struct EventTag
{
    Core *core;
    quint64 serial;
};

// What a play command asked for, kept until its start is settled: the texts
// of its log lines differ by command.
struct Core::OpenRequest
{
    enum class Kind { File, Url, Disc, CdTrack };
    Kind kind = Kind::File;
    QString shown; // the location as the log shows it (escaped); a CD track's number

    bool warnsBeforeStop() const { return kind == Kind::File || kind == Kind::Disc; }
    bool bindsWindow() const { return kind != Kind::CdTrack; }
};

// A snapshot under way: prepared on the GUI thread by Core's snapshot timer,
// then taken on its own thread.
struct SnapshotJob
{
    QString path;
    // The player it is for; another one (or none) ends the job unsaved.
    quint64 serial = 0;
    // Measures the current step against its bound.
    QElapsedTimer clock;
    // A paused output that has shown no picture yet plays until it has one.
    bool unpaused = false;
};

struct CorePrivate
{
    bool noVideoTracks = false;
    int volume = 100;
    Core::State state = Core::State::Stopped;
    QHash<QString, QString> metadataValues;
    QTimer *parseTimer = nullptr;
    // Bounds the start of the current request (GUI-thread timer, not a wait).
    QTimer *openTimer = nullptr;
    // Runs while a paused seek settles: reports the time it reached (once
    // it moved from pausedSeekFrom, or after a bound measured by
    // pausedSeekClock) and makes a seek that waited for the last picture.
    QTimer *pausedSeekTimer = nullptr;
    qint64 pausedSeekFrom = -1;
    qint64 pausedSeekTarget = -1;
    bool pausedSeekReported = false;
    bool pausedSeekQueued = false;
    // A resume made once the paused seek before it has shown its picture.
    bool resumeQueued = false;
    QElapsedTimer pausedSeekClock;
    QList<MediaTrack> knownTracks;
    QMap<int, QString> subtitleFiles;
    // Subtitle files handed to libvlc one at a time: the first is libvlc's
    // until its track shows up (looked for by subtitleTimer, within a bound
    // measured by subtitleClock); the others wait their turn.
    QStringList subtitleQueue;
    int subtitleBefore = -1;
    QElapsedTimer subtitleClock;
    QTimer *subtitleTimer = nullptr;
    QPointer<QWidget> videoWidget;
    libvlc_instance_t *instance = nullptr;
    std::future<libvlc_instance_t *> instanceLoad;
    libvlc_media_t *pendingMedia = nullptr;
    libvlc_media_player_t *player = nullptr;
    // The start under way while the state is Opening.
    std::unique_ptr<Core::OpenRequest> opening;
    // Events of the starting player that came before its start was settled;
    // run in their order right after the start's own report.
    QList<std::function<void()>> heldEvents;
    // The last pause or resume asked of libvlc, until libvlc confirms it; an
    // error meanwhile is that command's failure.
    enum class Asked { Nothing, Pause, Resume };
    Asked asked = Asked::Nothing;
    // Picture size, sample aspect and frame rate per video track id, as last
    // reported with a width; cleared with knownTracks by every play.
    QHash<int, MediaTrack::VideoRecord> videoRecords;
    // Full passes run only because the first video track's width was 0;
    // bounded so that a stream whose size never shows stops being re-parsed.
    int zeroWidthPasses = 0;
    std::unique_ptr<SnapshotJob> snapshot;
    QTimer *snapshotTimer = nullptr;
    // Takes the job's picture with its own reference to the player; deleted
    // once finished, waited for (within a bound) only by the destructor.
    QThread *snapshotThread = nullptr;
    std::unique_ptr<EventTag> eventTag;
    quint64 playerSerial = 0;
    // Release threads still running; each removes itself when it finishes.
    QList<CoreReleaseThread *> releasing;
    // The native window each player draws into: the current player's, and
    // those of the players the release threads still hold (until their video
    // output has closed, libvlc may draw into it).
    QPointer<QWidget> boundWidget;
    QHash<CoreReleaseThread *, QPointer<QWidget>> releasingWidgets;

    // The instance, once the load started by the constructor has finished;
    // null when libvlc failed to load.
    libvlc_instance_t *libvlcInstance();
    // Makes media (null when libvlc refused it) the pending media, releasing
    // an earlier one; returns whether there is one.
    bool setPendingMedia(libvlc_media_t *media);
    // Keeps the picture sizes the track array reports now: the first parse of
    // an MPEG-TS media resets them to 0x0 for the rest of its playback.
    void rememberVideoRecords(libvlc_media_t *media);
};

} // namespace LibPlayer
