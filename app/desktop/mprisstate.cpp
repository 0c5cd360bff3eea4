#include "mprisstate.h"

#include "medialocation.h"

#include <QDBusObjectPath>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace Desktop {

namespace {

constexpr int MaximumVolume = 150;

} // namespace

PlaybackStatus playbackStatus(const PlayerSnapshot &player)
{
    if (!player.loaded)
        return PlaybackStatus::Stopped;
    return player.playing ? PlaybackStatus::Playing : PlaybackStatus::Paused;
}

QString playbackStatusText(PlaybackStatus status)
{
    switch (status) {
    case PlaybackStatus::Playing:
        return QStringLiteral("Playing");
    case PlaybackStatus::Paused:
        return QStringLiteral("Paused");
    case PlaybackStatus::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

bool wantsInhibition(const PlayerSnapshot &player)
{
    return playbackStatus(player) == PlaybackStatus::Playing && player.video;
}

QString trackPath(const PlayerSnapshot &player)
{
    if (!player.loaded)
        return QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
    return QStringLiteral("/org/mpris/MediaPlayer2/player_tarn/track/%1").arg(player.serial);
}

QVariantMap metadata(const PlayerSnapshot &player)
{
    QVariantMap map;
    if (!player.loaded)
        return map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackPath(player))));
    if (player.lengthMs > 0)
        map.insert(QStringLiteral("mpris:length"), qlonglong(player.lengthMs) * 1000);
    if (!player.title.isEmpty())
        map.insert(QStringLiteral("xesam:title"), player.title);
    if (!player.artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{player.artist});
    if (!player.album.isEmpty())
        map.insert(QStringLiteral("xesam:album"), player.album);
    if (player.trackNumber > 0)
        map.insert(QStringLiteral("xesam:trackNumber"), player.trackNumber);
    if (!player.artUrl.isEmpty())
        map.insert(QStringLiteral("mpris:artUrl"), player.artUrl);
    if (!player.location.isEmpty())
        map.insert(QStringLiteral("xesam:url"), player.location);
    return map;
}

QVariantMap playerProperties(const PlayerSnapshot &player)
{
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatusText(playbackStatus(player))},
        {QStringLiteral("Metadata"), metadata(player)},
        {QStringLiteral("Volume"), mprisVolume(player.volume)},
        {QStringLiteral("Rate"), player.rate},
        {QStringLiteral("CanGoNext"), player.canGoNext},
        {QStringLiteral("CanGoPrevious"), player.canGoPrevious},
        {QStringLiteral("CanPlay"), player.canPlayPause},
        {QStringLiteral("CanPause"), player.canPlayPause},
        {QStringLiteral("CanSeek"), player.canSeek},
    };
}

QVariantMap changedProperties(const QVariantMap &before, const QVariantMap &after)
{
    // Without a registered comparator, QVariant compares object paths by
    // their bytes, and every metadata map would count as changed.
    static const bool pathsComparable = QMetaType::registerEqualsComparator<QDBusObjectPath>();
    Q_UNUSED(pathsComparable)
    QVariantMap changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend() || old.value() != it.value())
            changed.insert(it.key(), it.value());
    }
    return changed;
}

double mprisVolume(int volume)
{
    return volume / 100.0;
}

int controlVolume(double mprisVolume, int current)
{
    if (std::isnan(mprisVolume))
        return current;
    return int(std::lround(std::clamp(mprisVolume * 100.0, 0.0, double(MaximumVolume))));
}

OpenTarget openTarget(const QString &uri)
{
    const QUrl url(uri);
    if (url.isLocalFile())
        return {true, MediaLocation::pathOrLocation(MediaLocation::nativePath(url))};
    return {false, uri};
}

} // namespace Desktop
