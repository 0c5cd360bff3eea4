// Construction, the playback commands and the release of players.
#include "core.h"

#include "corereleasethread.h"
#include "mediatrack.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <vlc/vlc.h>

#include <atomic>

namespace LibPlayer {

// Number of existing engines; the event callback does nothing while it is 0.
std::atomic_int liveEngineCount{0};

namespace {

struct DiscKind
{
    const char *prefix;
};
constexpr DiscKind discKinds[] = {{"dvd:///"}, {"bluray:///"}, {"cdda:///"}, {"vcd:///"}};

// libvlc's message for the last error of the calling thread, or an empty text.
QString libvlcError()
{
    const char *text = libvlc_errmsg();
    return text ? QString::fromUtf8(text) : QString();
}

// Notes a start error. A media that cannot be opened (a missing file, a
// folder that is no disc, a refused connection) passes through libvlc_Error for
// about a millisecond and then settles in libvlc_Ended, which would otherwise
// look like a media that ended at once.
void noteStartError(const libvlc_event_t *, void *failed)
{
    static_cast<std::atomic_bool *>(failed)->store(true);
}

// The media of a local path or of a "file://" location. A location goes to
// libvlc fully encoded, so that a name whose bytes are not UTF-8 reaches the
// file system unchanged.
libvlc_media_t *newFileMedia(libvlc_instance_t *instance, const QString &path)
{
    if (path.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return libvlc_media_new_location(instance, QUrl(path).toEncoded().constData());
    return libvlc_media_new_path(instance, QDir::toNativeSeparators(path).toUtf8().constData());
}

} // namespace

Core::Core(QObject *parent)
    : QObject(parent)
{
    ++liveEngineCount;
    // The destructor waits for this task, so the queued signal never reaches a
    // deleted engine.
    instanceLoad = std::async(std::launch::async, [this] {
        libvlc_instance_t *loaded = libvlc_new(0, nullptr);
        QMetaObject::invokeMethod(this, &Core::loadFinished, Qt::QueuedConnection);
        return loaded;
    });
    parseTimer = new QTimer(this);
    parseTimer->setInterval(1000);
    connect(parseTimer, &QTimer::timeout, this, &Core::parseMedia);
}

Core::~Core()
{
    // A player that still exists is released like stopPlayback() does, so that
    // no libvlc thread keeps running on (or calling back into) a freed engine.
    parseTimer->stop();
    if (player)
        releasePlayer();
    clearKnownTracks();
    --liveEngineCount;
    if (pendingMedia)
        libvlc_media_release(pendingMedia);
    if (libvlcInstance())
        libvlc_release(instance);
}

libvlc_instance_t *Core::libvlcInstance()
{
    if (instanceLoad.valid())
        instance = instanceLoad.get();
    return instance;
}

void Core::setVideoWidget(QWidget *widget)
{
    videoWidget = widget;
}

int Core::liveEngines()
{
    return liveEngineCount.load();
}

bool Core::isLoaded()
{
    if (libvlcInstance()) {
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

int Core::waitForState(std::initializer_list<int> endStates)
{
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        const int state = libvlc_media_player_get_state(player);
        for (int endState : endStates) {
            if (state == endState)
                return state;
        }
        if (elapsed.elapsed() >= StateWaitLimitMs)
            break;
        QThread::msleep(StatePollMs);
    }
    emit messageError(tr("[Core] libvlc did not reach the expected state within %1 ms").arg(StateWaitLimitMs));
    return -1;
}

int Core::startAndWait()
{
    std::atomic_bool failed{false};
    libvlc_event_manager_t *manager = libvlc_media_player_event_manager(player);
    libvlc_event_attach(manager, libvlc_MediaPlayerEncounteredError, &noteStartError, &failed);
    libvlc_media_player_play(player);
    int state = waitForState({libvlc_Playing, libvlc_Error, libvlc_Ended});
    // After the detach no callback can touch `failed` any more.
    libvlc_event_detach(manager, libvlc_MediaPlayerEncounteredError, &noteStartError, &failed);
    if (state == libvlc_Ended && failed.load())
        state = libvlc_Error;
    return state;
}

void Core::bindVideoWindow(bool bind)
{
#ifdef Q_OS_WIN
    void *handle = nullptr;
    if (bind && videoWidget)
        handle = reinterpret_cast<void *>(videoWidget->winId());
    if (bind && !handle)
        return;
    libvlc_media_player_set_hwnd(player, handle);
#else
    if (bind && !videoWidget)
        return;
    const auto handle = bind ? static_cast<uint32_t>(videoWidget->winId()) : 0u;
    libvlc_media_player_set_xwindow(player, handle);
#endif
}

bool Core::createPlayer(bool bindWindow)
{
    player = libvlc_media_player_new_from_media(pendingMedia);
    if (!player)
        return false;
    ++playerSerial;
    startAbandoned = false;
    libvlc_media_release(pendingMedia);
    pendingMedia = nullptr;
    // The window alone decides what pointer moves, clicks, keys and drops over
    // the video do; libvlc would otherwise also hide the pointer on its own.
    libvlc_video_set_mouse_input(player, false);
    libvlc_video_set_key_input(player, false);
    if (bindWindow)
        bindVideoWindow(true);
    // Listening before the start: a short medium may end while the start is
    // still being confirmed (or while the volume is set, which can wait for
    // the audio output), and its end must not be lost.
    attachEvents();
    return true;
}

void Core::abandonStart()
{
    // What the failed start reported and is still queued belongs to no media
    // the window knows of.
    detachEvents();
    ++playerSerial;
    startAbandoned = true;
}

void Core::startedPlayback(bool clearSubtitleFiles)
{
    startAbandoned = false;
    libvlc_audio_set_volume(player, volume);
    if (clearSubtitleFiles)
        subtitleFiles.clear();
    resetTracks();
    parseTimer->start();
    emit mediaStarted();
}

void Core::clearKnownTracks()
{
    qDeleteAll(knownTracks);
    knownTracks.clear();
}

void Core::resetTracks()
{
    clearKnownTracks();
    videoRecords.clear();
    zeroWidthPasses = 0;
}

bool Core::setPendingMedia(libvlc_media_t *media)
{
    if (pendingMedia)
        libvlc_media_release(pendingMedia);
    pendingMedia = media;
    return media != nullptr;
}

Core::Launch Core::launchPendingMedia(bool warnBeforeStop)
{
    if (player) {
        if (warnBeforeStop)
            emit messageWarning(tr("[Core] Stop playback is not safe from core player (Windows blocking bug)"));
        stopPlayback();
    }
    if (!createPlayer(true))
        return Launch::CreateFailed;
    const int state = startAndWait();
    if (state == libvlc_Playing || state == libvlc_Ended)
        return Launch::Started;
    abandonStart();
    return Launch::PlayFailed;
}

bool Core::playFile(const QString &path)
{
    const QString shown = path.toHtmlEscaped();
    if (!setPendingMedia(libvlcInstance() ? newFileMedia(instance, path) : nullptr)) {
        emit messageError(tr("[Core] Not possible to open file: %1").arg(shown));
        return false;
    }
    switch (launchPendingMedia(true)) {
    case Launch::CreateFailed:
        emit messageError(tr("[Core] Failed to create new media player from file: %1").arg(shown));
        return false;
    case Launch::PlayFailed:
        emit messageError(tr("[Core] Failed to play media from file: %1").arg(shown));
        return false;
    case Launch::Started:
        break;
    }
    startedPlayback(true);
    emit messageNotice(tr("[Core] Playing file: %1").arg(shown));
    return true;
}

bool Core::playUrl(const QString &url)
{
    const QString shown = url.toHtmlEscaped();
    if (!setPendingMedia(libvlcInstance() ? libvlc_media_new_location(instance, url.toUtf8().constData()) : nullptr)) {
        emit messageError(tr("[Core] Not possible to open URL: %1").arg(shown));
        return false;
    }
    switch (launchPendingMedia(false)) {
    case Launch::CreateFailed:
        emit messageError(tr("[Core] Failed to create new media player from URL: %1").arg(shown));
        return false;
    case Launch::PlayFailed:
        emit messageError(tr("[Core] Failed to play media from URL: %1").arg(shown));
        return false;
    case Launch::Started:
        break;
    }
    startedPlayback(true);
    emit messageNotice(tr("[Core] Playing URL: %1").arg(shown));
    return true;
}

bool Core::playDisc(int kind, const QString &path)
{
    if (kind < 0 || kind > 3)
        return false;
    const QString location = QString::fromLatin1(discKinds[kind].prefix) + path;
    const QString shown = location.toHtmlEscaped();
    if (!setPendingMedia(libvlcInstance() ? libvlc_media_new_location(instance, location.toUtf8().constData()) : nullptr)) {
        emit messageError(tr("[Core] Not possible to open disc: %1").arg(shown));
        return false;
    }
    if (location.startsWith(QLatin1String("cdda:")))
        libvlc_media_add_option(pendingMedia, ":cdda-track=1");
    switch (launchPendingMedia(true)) {
    case Launch::CreateFailed:
        emit messageError(tr("[Core] Failed to create new media player from file: %1").arg(shown));
        return false;
    case Launch::PlayFailed:
        emit messageError(tr("[Core] Error libvlc: %1").arg(libvlcError().toHtmlEscaped()));
        emit messageError(tr("[Core] Failed to play media from disc: %1").arg(shown));
        return false;
    case Launch::Started:
        break;
    }
    startedPlayback(true);
    emit messageNotice(tr("[Core] Playing disc: %1").arg(shown));
    return true;
}

void Core::releasePlayer()
{
    detachEvents();
    bindVideoWindow(false);
    auto *thread = new CoreReleaseThread(player, this);
    player = nullptr;
    startAbandoned = false;
    ++playerSerial;
    thread->start(QThread::InheritPriority);
    // The GUI thread sleeps until the thread has released the player (the
    // sleep ends the moment it finishes, so no end of media waits longer than
    // the release itself). A release that never ends is reported and left to
    // finish on its own: the window must not hang on libvlc.
    if (!thread->wait(StateWaitLimitMs)) {
        emit messageError(tr("[Core] Releasing the player takes longer than %1 ms").arg(StateWaitLimitMs));
        thread->setParent(nullptr);
        connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        if (thread->isFinished()) // finished before the connection was made
            thread->deleteLater();
        return;
    }
    Q_ASSERT(thread->isReleased());
    delete thread;
}

void Core::stopPlayback()
{
    parseTimer->stop();
    if (!player)
        return;
    emit mediaStopping();
    releasePlayer();
}

void Core::changeCdaTrack(int track)
{
    if (!player)
        return;
    parseTimer->stop();
    // The disc's location, then the player goes like every other stop: on the
    // release thread, which may wait for the audio output.
    const QByteArray location = this->location().toUtf8();
    releasePlayer();
    if (location.isEmpty())
        return;
    libvlc_media_t *newMedia = libvlc_media_new_location(instance, location.constData());
    if (!newMedia)
        return;
    libvlc_media_add_option(newMedia, QStringLiteral(":cdda-track=%1").arg(track).toLatin1().constData());
    setPendingMedia(newMedia);
    if (!createPlayer(false))
        return;
    const int state = startAndWait();
    if (state != libvlc_Playing && state != libvlc_Ended) {
        abandonStart();
        emit messageError(tr("[Core] Error libvlc: %1").arg(libvlcError().toHtmlEscaped()));
        emit messageError(tr("[Core] Failed to play CD audio track %1").arg(track));
        return;
    }
    startedPlayback(false);
}

} // namespace LibPlayer
