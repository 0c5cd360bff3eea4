// The play commands and the CD-track change: one launch for all of them, and
// the settling of a start from libvlc's events or its bound.
#include "core_p.h"

#include <QDir>
#include <QTimer>
#include <QUrl>

#include <vlc/vlc.h>

namespace LibPlayer {

namespace {

constexpr const char *discPrefixes[] = {"dvd:///", "bluray:///", "cdda:///", "vcd:///"};

// The log lines of each kind of request, in the order of OpenRequest::Kind;
// null: no line. %1 is the location shown (the track number of a CD track).
struct KindTexts
{
    const char *notOpen;
    const char *createFailed;
    const char *playFailed;
    const char *playing;
    bool libvlcErrorFirst; // a failed start tells libvlc's own message first
};
constexpr KindTexts kindTexts[] = {
    {QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Not possible to open file: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Failed to create new media player from file: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Failed to play media from file: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Playing file: %1"), false},
    {QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Not possible to open URL: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Failed to create new media player from URL: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Failed to play media from URL: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Playing URL: %1"), false},
    {QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Not possible to open disc: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Failed to create new media player from file: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Failed to play media from disc: %1"),
     QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Playing disc: %1"), true},
    {nullptr, nullptr, QT_TRANSLATE_NOOP("LibPlayer::Core", "[Core] Failed to play CD audio track %1"), nullptr, true},
};

const KindTexts &textsOf(int kind)
{
    return kindTexts[kind];
}

// libvlc's message for the last error of the calling thread, or an empty text.
QString libvlcError()
{
    const char *text = libvlc_errmsg();
    return text ? QString::fromUtf8(text) : QString();
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

bool Core::playFile(const QString &path)
{
    libvlc_instance_t *instance = d->libvlcInstance();
    d->setPendingMedia(instance ? newFileMedia(instance, path) : nullptr);
    return launch({OpenRequest::Kind::File, path.toHtmlEscaped()});
}

bool Core::playUrl(const QString &url)
{
    libvlc_instance_t *instance = d->libvlcInstance();
    d->setPendingMedia(instance ? libvlc_media_new_location(instance, url.toUtf8().constData()) : nullptr);
    return launch({OpenRequest::Kind::Url, url.toHtmlEscaped()});
}

bool Core::playDisc(int kind, const QString &path)
{
    if (kind < 0 || kind > 3)
        return false;
    const QString location = QString::fromLatin1(discPrefixes[kind]) + path;
    libvlc_instance_t *instance = d->libvlcInstance();
    if (d->setPendingMedia(instance ? libvlc_media_new_location(instance, location.toUtf8().constData()) : nullptr)
        && location.startsWith(QLatin1String("cdda:")))
        libvlc_media_add_option(d->pendingMedia, ":cdda-track=1");
    return launch({OpenRequest::Kind::Disc, location.toHtmlEscaped()});
}

void Core::changeCdaTrack(int track)
{
    if (!d->player)
        return;
    d->parseTimer->stop();
    // The disc's location; the player goes like every other stop.
    const QByteArray location = this->location().toUtf8();
    releasePlayer();
    libvlc_media_t *media = location.isEmpty() ? nullptr : libvlc_media_new_location(d->instance, location.constData());
    if (!media) {
        setState(State::Stopped);
        return;
    }
    libvlc_media_add_option(media, QStringLiteral(":cdda-track=%1").arg(track).toLatin1().constData());
    d->setPendingMedia(media);
    launch({OpenRequest::Kind::CdTrack, QString::number(track)});
}

bool Core::launch(const OpenRequest &request)
{
    const KindTexts &texts = textsOf(int(request.kind));
    const auto refuse = [this, &request](const char *line) {
        if (line)
            emit messageError(tr(line).arg(request.shown));
        if (!d->player)
            setState(State::Failed);
        emit mediaOpenFailed();
        return false;
    };
    if (!d->pendingMedia)
        return refuse(texts.notOpen);
    if (d->player) {
        if (request.warnsBeforeStop())
            emit messageWarning(tr("[Core] Stop playback is not safe from core player (Windows blocking bug)"));
        d->parseTimer->stop();
        emit mediaStopping();
        releasePlayer();
    }
    d->player = libvlc_media_player_new_from_media(d->pendingMedia);
    if (!d->player)
        return refuse(texts.createFailed);
    ++d->playerSerial;
    libvlc_media_release(d->pendingMedia);
    d->pendingMedia = nullptr;
    // The window alone decides what pointer moves, clicks, keys and drops over
    // the video do; libvlc would otherwise also hide the pointer on its own.
    libvlc_video_set_mouse_input(d->player, false);
    libvlc_video_set_key_input(d->player, false);
    if (request.bindsWindow())
        bindVideoWindow(true);
    d->opening = std::make_unique<OpenRequest>(request);
    d->heldEvents.clear();
    // Listening before the start: the start is settled by libvlc's events,
    // and a short medium may end right after it.
    attachEvents();
    setState(State::Opening);
    d->openTimer->start();
    libvlc_media_player_play(d->player);
    return true;
}

void Core::finishOpen(bool started)
{
    d->openTimer->stop();
    const std::unique_ptr<OpenRequest> request = std::move(d->opening);
    if (!request)
        return;
    const KindTexts &texts = textsOf(int(request->kind));
    QList<std::function<void()>> held;
    held.swap(d->heldEvents);
    if (!started) {
        // What the failed start reported and is still queued belongs to no
        // media the window knows of; its player goes now, with its connection.
        releasePlayer();
        if (texts.libvlcErrorFirst)
            emit messageError(tr("[Core] Error libvlc: %1").arg(libvlcError().toHtmlEscaped()));
        emit messageError(tr(texts.playFailed).arg(request->shown));
        setState(State::Failed);
        emit mediaOpenFailed();
        return;
    }
    libvlc_audio_set_volume(d->player, d->volume);
    if (request->kind != OpenRequest::Kind::CdTrack)
        d->subtitleFiles.clear();
    resetTracks();
    d->parseTimer->start();
    setState(State::Playing);
    emit mediaStarted();
    if (texts.playing)
        emit messageNotice(tr(texts.playing).arg(request->shown));
    const quint64 serial = d->playerSerial;
    for (const auto &event : qAsConst(held)) {
        if (d->playerSerial != serial) // a receiver stopped or replaced the player
            break;
        event();
    }
}

} // namespace LibPlayer
