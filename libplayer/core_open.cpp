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
    OpenRequest request{OpenRequest::Kind::CdTrack, QString(), track};
    launch(request);
}

bool Core::launch(const OpenRequest &request)
{
    using Kind = OpenRequest::Kind;
    const auto refuse = [this](const QString &line) {
        if (!line.isEmpty())
            emit messageError(line);
        if (!d->player)
            setState(State::Failed);
        emit mediaOpenFailed();
        return false;
    };
    if (!d->pendingMedia) {
        switch (request.kind) {
        case Kind::File:
            return refuse(tr("[Core] Not possible to open file: %1").arg(request.shown));
        case Kind::Url:
            return refuse(tr("[Core] Not possible to open URL: %1").arg(request.shown));
        case Kind::Disc:
            return refuse(tr("[Core] Not possible to open disc: %1").arg(request.shown));
        case Kind::CdTrack:
            return refuse(QString());
        }
    }
    if (d->player) {
        if (request.warnsBeforeStop())
            emit messageWarning(tr("[Core] Stop playback is not safe from core player (Windows blocking bug)"));
        d->parseTimer->stop();
        emit mediaStopping();
        releasePlayer();
    }
    d->player = libvlc_media_player_new_from_media(d->pendingMedia);
    if (!d->player) {
        switch (request.kind) {
        case Kind::File:
        case Kind::Disc:
            return refuse(tr("[Core] Failed to create new media player from file: %1").arg(request.shown));
        case Kind::Url:
            return refuse(tr("[Core] Failed to create new media player from URL: %1").arg(request.shown));
        case Kind::CdTrack:
            return refuse(QString());
        }
    }
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
    using Kind = OpenRequest::Kind;
    d->openTimer->stop();
    const std::unique_ptr<OpenRequest> request = std::move(d->opening);
    if (!request)
        return;
    QList<std::function<void()>> held;
    held.swap(d->heldEvents);
    if (!started) {
        // What the failed start reported and is still queued belongs to no
        // media the window knows of; its player goes now, with its connection.
        releasePlayer();
        switch (request->kind) {
        case Kind::File:
            emit messageError(tr("[Core] Failed to play media from file: %1").arg(request->shown));
            break;
        case Kind::Url:
            emit messageError(tr("[Core] Failed to play media from URL: %1").arg(request->shown));
            break;
        case Kind::Disc:
            emit messageError(tr("[Core] Error libvlc: %1").arg(libvlcError().toHtmlEscaped()));
            emit messageError(tr("[Core] Failed to play media from disc: %1").arg(request->shown));
            break;
        case Kind::CdTrack:
            emit messageError(tr("[Core] Error libvlc: %1").arg(libvlcError().toHtmlEscaped()));
            emit messageError(tr("[Core] Failed to play CD audio track %1").arg(request->cdTrack));
            break;
        }
        setState(State::Failed);
        emit mediaOpenFailed();
        return;
    }
    libvlc_audio_set_volume(d->player, d->volume);
    if (request->kind != Kind::CdTrack)
        d->subtitleFiles.clear();
    resetTracks();
    d->parseTimer->start();
    setState(State::Playing);
    emit mediaStarted();
    switch (request->kind) {
    case Kind::File:
        emit messageNotice(tr("[Core] Playing file: %1").arg(request->shown));
        break;
    case Kind::Url:
        emit messageNotice(tr("[Core] Playing URL: %1").arg(request->shown));
        break;
    case Kind::Disc:
        emit messageNotice(tr("[Core] Playing disc: %1").arg(request->shown));
        break;
    case Kind::CdTrack:
        break;
    }
    const quint64 serial = d->playerSerial;
    for (const auto &event : qAsConst(held)) {
        if (d->playerSerial != serial) // a receiver stopped or replaced the player
            break;
        event();
    }
}

} // namespace LibPlayer
