// Construction, the playback state and the release of players.
#include "core_p.h"

#include "corereleasethread.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <vlc/vlc.h>

#include <utility>

namespace LibPlayer {

std::atomic_int liveEngineCount{0};

libvlc_instance_t *CorePrivate::libvlcInstance()
{
    if (instanceLoad.valid())
        instance = instanceLoad.get();
    return instance;
}

bool CorePrivate::setPendingMedia(libvlc_media_t *media)
{
    if (pendingMedia)
        libvlc_media_release(pendingMedia);
    pendingMedia = media;
    return media != nullptr;
}

Core::Core(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<CorePrivate>())
{
    ++liveEngineCount;
    // The destructor waits for this task, so the queued signal never reaches a
    // deleted engine.
    d->instanceLoad = std::async(std::launch::async, [this] {
        libvlc_instance_t *loaded = libvlc_new(0, nullptr);
        QMetaObject::invokeMethod(this, &Core::loadFinished, Qt::QueuedConnection);
        return loaded;
    });
    d->parseTimer = new QTimer(this);
    d->parseTimer->setInterval(1000);
    connect(d->parseTimer, &QTimer::timeout, this, &Core::parseMedia);
    d->openTimer = new QTimer(this);
    d->openTimer->setSingleShot(true);
    d->openTimer->setInterval(StateWaitLimitMs);
    connect(d->openTimer, &QTimer::timeout, this, [this] {
        emit messageError(tr("[Core] libvlc did not reach the expected state within %1 ms").arg(StateWaitLimitMs));
        finishOpen(false);
    });
    d->pausedSeekTimer = new QTimer(this);
    d->pausedSeekTimer->setInterval(10);
    connect(d->pausedSeekTimer, &QTimer::timeout, this, &Core::reportPausedTime);
    d->subtitleTimer = new QTimer(this);
    d->subtitleTimer->setInterval(5);
    connect(d->subtitleTimer, &QTimer::timeout, this, &Core::checkSubtitleFile);
}

Core::~Core()
{
    // A player that still exists is released like stopPlayback() does, so that
    // no libvlc thread keeps running on (or calling back into) a freed engine.
    d->parseTimer->stop();
    d->openTimer->stop();
    if (d->snapshotTimer)
        d->snapshotTimer->stop();
    if (d->player)
        releasePlayer();
    --liveEngineCount;
    if (d->pendingMedia)
        libvlc_media_release(d->pendingMedia);
    // The instance goes only after every player made from it. A release that
    // outlives the bound is left to finish on its own, and the instance with
    // it: quitting must not hang on libvlc.
    QDeadlineTimer deadline(StateWaitLimitMs);
    bool allReleased = true;
    for (CoreReleaseThread *thread : qAsConst(d->releasing)) {
        disconnect(thread, nullptr, this, nullptr);
        if (thread->wait(deadline)) {
            delete thread;
        } else {
            allReleased = false;
            thread->setParent(nullptr);
        }
    }
    d->releasing.clear();
    d->releasingWidgets.clear();
    // A snapshot thread holds a player of its own; it ends within its bound.
    if (QThread *thread = std::exchange(d->snapshotThread, nullptr)) {
        disconnect(thread, nullptr, this, nullptr);
        if (thread->wait(deadline))
            delete thread;
        else
            allReleased = false;
    }
    libvlc_instance_t *instance = d->libvlcInstance();
    if (instance && allReleased)
        libvlc_release(instance);
}

void Core::setVideoWidget(QWidget *widget)
{
    d->videoWidget = widget;
}

int Core::liveEngines()
{
    return liveEngineCount.load();
}

bool Core::isLoaded()
{
    if (d->libvlcInstance()) {
        emit messageNotice(tr("[Core] Using libvlc version: %1").arg(libvlcVersion().toHtmlEscaped()));
        return true;
    }
    emit messageError(tr("[Core] libvlc failed to load!"));
    return false;
}

QString Core::libvlcVersion()
{
    return QString::fromLatin1(libvlc_get_version());
}

Core::State Core::state() const
{
    return d->state;
}

void Core::setState(State next)
{
    if (d->state == next)
        return;
    d->state = next;
    emit stateChanged(next);
}

bool Core::isStopped() const
{
    return d->player == nullptr;
}

bool Core::holdsMedia() const
{
    return d->state == State::Playing || d->state == State::Paused || d->state == State::Ended;
}

bool Core::isPlaying() const
{
    return d->state == State::Playing;
}

quint64 Core::mediaSerial() const
{
    return d->playerSerial;
}

int Core::releasesPending() const
{
    return d->releasing.size();
}

bool Core::drawsInto(const QWidget *widget) const
{
    if (!widget)
        return false;
    if (d->player && d->boundWidget == widget)
        return true;
    for (const QPointer<QWidget> &bound : qAsConst(d->releasingWidgets)) {
        if (bound == widget)
            return true;
    }
    return false;
}

void Core::bindVideoWindow(bool bind)
{
    QWidget *widget = d->videoWidget;
#ifdef Q_OS_WIN
    void *handle = nullptr;
    if (bind && widget)
        handle = reinterpret_cast<void *>(widget->winId());
    if (bind && !handle)
        return;
    libvlc_media_player_set_hwnd(d->player, handle);
#else
    if (bind && !widget)
        return;
    const auto handle = bind ? static_cast<uint32_t>(widget->winId()) : 0u;
    libvlc_media_player_set_xwindow(d->player, handle);
#endif
    if (bind)
        d->boundWidget = widget;
}

void Core::resetTracks()
{
    d->knownTracks.clear();
    d->videoRecords.clear();
    d->zeroWidthPasses = 0;
}

void Core::releasePlayer()
{
    detachEvents();
    bindVideoWindow(false);
    d->pausedSeekTimer->stop();
    d->subtitleTimer->stop();
    d->subtitleQueue.clear();
    d->pausedSeekQueued = false;
    d->resumeQueued = false;
    d->openTimer->stop();
    d->opening.reset();
    d->heldEvents.clear();
    d->asked = CorePrivate::Asked::Nothing;
    auto *thread = new CoreReleaseThread(d->player, this);
    d->player = nullptr;
    ++d->playerSerial;
    d->releasing.append(thread);
    d->releasingWidgets.insert(thread, d->boundWidget);
    d->boundWidget = nullptr;
    // Nobody waits for the thread but the destructor: libvlc's stop joins the
    // player's threads, which may wait for the network or the window system.
    connect(thread, &QThread::finished, this, [this, thread] {
        d->releasing.removeOne(thread);
        d->releasingWidgets.remove(thread);
        thread->wait(); // finished() comes just before the thread ends
        delete thread;
        emit playerReleased();
    });
    thread->start(QThread::InheritPriority);
}

void Core::stopPlayback()
{
    d->parseTimer->stop();
    if (!d->player) {
        if (d->state == State::Failed)
            setState(State::Stopped);
        return;
    }
    emit mediaStopping();
    releasePlayer();
    setState(State::Stopped);
}

} // namespace LibPlayer
