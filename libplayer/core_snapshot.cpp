// Snapshots of the current picture. The GUI thread only looks at libvlc's
// state from a timer; libvlc's own snapshot, which waits up to half a second
// for the next picture the video output shows, runs on a thread of its own.
#include "core_p.h"

#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <vlc/vlc.h>

#include <memory>
#include <utility>

namespace LibPlayer {

namespace {

// Longest wait for the picture to take: a video output still starting, a
// paused seek not shown yet, a paused output playing until its first picture.
constexpr qint64 SnapshotPrepareMs = 3000;
// Longest time the snapshot thread keeps trying (each try waits up to half a
// second for a picture; a loaded machine may need more than one).
constexpr qint64 SnapshotTakeMs = 3000;

} // namespace

bool Core::requestSnapshot(const QString &path)
{
    if (!d->player || snapshotPending())
        return false;
    if (!d->snapshotTimer) {
        d->snapshotTimer = new QTimer(this);
        d->snapshotTimer->setInterval(10);
        connect(d->snapshotTimer, &QTimer::timeout, this, &Core::prepareSnapshot);
    }
    d->snapshot = std::make_unique<SnapshotJob>();
    d->snapshot->path = path;
    d->snapshot->serial = d->playerSerial;
    d->snapshot->clock.start();
    d->snapshotTimer->start();
    prepareSnapshot();
    return true;
}

bool Core::snapshotPending() const
{
    return d->snapshot != nullptr;
}

void Core::prepareSnapshot()
{
    if (!d->snapshot || d->snapshotThread)
        return;
    SnapshotJob &job = *d->snapshot;
    if (!d->player || d->playerSerial != job.serial) {
        finishSnapshot(false);
        return;
    }
    const bool overdue = job.clock.elapsed() >= SnapshotPrepareMs;
    if (job.unpaused) {
        if (!firstPictureShown() && !overdue)
            return;
        job.unpaused = false;
        // Unless the user resumed meanwhile.
        if (d->state == State::Paused)
            libvlc_media_player_set_pause(d->player, 1);
    } else {
        // A paused seek moves libvlc's time before it shows its picture.
        const bool seekShowing = d->state == State::Paused &&
                                 (libvlc_media_player_get_state(d->player) != libvlc_Paused ||
                                  d->pausedSeekTimer->isActive());
        if ((seekShowing || videoSize().isEmpty()) && !overdue)
            return;
        if (videoSize().isEmpty()) {
            finishSnapshot(false);
            return;
        }
        // A video output paused before it showed its first picture shows
        // none until playback goes on: it plays until that picture is out.
        if (d->state == State::Paused && !firstPictureShown()) {
            libvlc_media_player_set_pause(d->player, 0);
            job.unpaused = true;
            job.clock.restart();
            return;
        }
    }
    d->snapshotTimer->stop();
    startSnapshotThread();
}

void Core::startSnapshotThread()
{
    // The thread's own reference keeps the player valid when it is released
    // meanwhile; its stop closes the video output, and the snapshot then
    // fails at once.
    libvlc_media_player_t *player = d->player;
    libvlc_media_player_retain(player);
    const QByteArray file = d->snapshot->path.toUtf8();
    auto saved = std::make_shared<std::atomic_bool>(false);
    d->snapshotThread = QThread::create([player, file, saved] {
        QElapsedTimer clock;
        clock.start();
        // libvlc takes the next picture the video output shows, and a paused
        // output shows none: a jump to the time it stands at shows the same
        // picture again. The jump may show it before the request is made, or
        // later than libvlc's half second: then another try.
        do {
            if (libvlc_media_player_get_state(player) == libvlc_Paused)
                libvlc_media_player_set_time(player, libvlc_media_player_get_time(player));
            if (libvlc_video_take_snapshot(player, 0, file.constData(), 0, 0) == 0) {
                saved->store(true);
                break;
            }
        } while (clock.elapsed() < SnapshotTakeMs && libvlc_media_player_has_vout(player) > 0);
        libvlc_media_player_release(player);
    });
    connect(d->snapshotThread, &QThread::finished, this, [this, saved] {
        QThread *thread = std::exchange(d->snapshotThread, nullptr);
        thread->wait(); // finished() comes just before the thread ends
        delete thread;
        finishSnapshot(saved->load());
    });
    d->snapshotThread->start();
}

void Core::finishSnapshot(bool saved)
{
    if (d->snapshotTimer)
        d->snapshotTimer->stop();
    const std::unique_ptr<SnapshotJob> job = std::move(d->snapshot);
    if (job)
        emit snapshotFinished(job->path, saved && QFileInfo(job->path).isFile());
}

} // namespace LibPlayer
