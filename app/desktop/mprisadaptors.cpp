#include "mprisadaptors.h"

#include "defaultplayer.h"
#include "desktopentry.h"
#include "mprisservice.h"
#include "playercommands.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cmath>

namespace Desktop {

MprisRootAdaptor::MprisRootAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service)
    , service(service)
{
}

MprisRootAdaptor::~MprisRootAdaptor() = default;

QString MprisRootAdaptor::identity() const
{
    return QGuiApplication::applicationDisplayName();
}

QString MprisRootAdaptor::desktopEntry() const
{
    return QFileInfo(QLatin1String(DesktopEntry::fileName)).completeBaseName();
}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https"),
            QStringLiteral("mms"),  QStringLiteral("rtp"),  QStringLiteral("rtsp")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return DefaultPlayer::mimeTypes();
}

void MprisRootAdaptor::Raise()
{
    service->queueRaise();
}

void MprisRootAdaptor::Quit()
{
    service->queueQuit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service)
    , service(service)
{
}

MprisPlayerAdaptor::~MprisPlayerAdaptor() = default;

QVariant MprisPlayerAdaptor::current(const QString &name) const
{
    return playerProperties(service->player()).value(name);
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return playbackStatusText(Desktop::playbackStatus(service->player()));
}

double MprisPlayerAdaptor::rate() const
{
    return current(QStringLiteral("Rate")).toDouble();
}

void MprisPlayerAdaptor::setRate(double rate)
{
    if (rate <= 0.0)
        Pause();
    else if (std::isfinite(rate))
        service->queue([rate](PlayerCommands *commands) { commands->setRate(rate); });
}

double MprisPlayerAdaptor::minimumRate() const
{
    return PlayerCommands::MinimumRate;
}

double MprisPlayerAdaptor::maximumRate() const
{
    return PlayerCommands::MaximumRate;
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return Desktop::metadata(service->player());
}

double MprisPlayerAdaptor::volume() const
{
    return mprisVolume(service->player().volume);
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    const int level = controlVolume(volume, service->player().volume);
    service->queue([level](PlayerCommands *commands) { commands->setVolume(level); });
}

qlonglong MprisPlayerAdaptor::position() const
{
    return qMax<qint64>(0, service->positionMs()) * 1000;
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return current(QStringLiteral("CanGoNext")).toBool();
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return current(QStringLiteral("CanGoPrevious")).toBool();
}

bool MprisPlayerAdaptor::canPlay() const
{
    return current(QStringLiteral("CanPlay")).toBool();
}

bool MprisPlayerAdaptor::canPause() const
{
    return current(QStringLiteral("CanPause")).toBool();
}

bool MprisPlayerAdaptor::canSeek() const
{
    return current(QStringLiteral("CanSeek")).toBool();
}

void MprisPlayerAdaptor::Next()
{
    service->queue([](PlayerCommands *commands) { commands->next(); });
}

void MprisPlayerAdaptor::Previous()
{
    service->queue([](PlayerCommands *commands) { commands->previous(); });
}

void MprisPlayerAdaptor::Pause()
{
    service->queue([](PlayerCommands *commands) { commands->pause(); });
}

void MprisPlayerAdaptor::PlayPause()
{
    service->queue([](PlayerCommands *commands) { commands->playPause(); });
}

void MprisPlayerAdaptor::Stop()
{
    service->queue([](PlayerCommands *commands) { commands->stop(); });
}

void MprisPlayerAdaptor::Play()
{
    service->queue([](PlayerCommands *commands) { commands->play(); });
}

void MprisPlayerAdaptor::Seek(qlonglong Offset)
{
    // A jump past either end stops at it (the commands keep the last second
    // so that a seek never ends the medium by itself).
    service->queue([Offset](PlayerCommands *commands) { commands->seekBy(Offset / 1000); });
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    // Ignored unless it names the current track and a time inside it.
    const PlayerSnapshot player = service->player();
    if (TrackId.path() != trackPath(player) || Position < 0 || Position > qlonglong(player.lengthMs) * 1000)
        return;
    service->queue([Position](PlayerCommands *commands) { commands->seekTo(Position / 1000); });
}

void MprisPlayerAdaptor::OpenUri(const QString &Uri)
{
    service->queueOpen(Uri);
}

} // namespace Desktop
