#include "dropplan.h"

#include "mediaformats.h"
#include "medialocation.h"

#include <QDir>

using MediaFormats::Kind;

namespace {

struct Candidates
{
    QStringList video;
    QStringList audio;
    QStringList subtitles;
};

Candidates collect(const QList<QUrl> &urls, DropSource source)
{
    Candidates found;
    for (const QUrl &url : urls) {
        const Kind kind = MediaFormats::classifyUrl(url);
        if (url.isLocalFile()) {
            // From the name's bytes: the path text would lose those of a
            // name that is not UTF-8.
            const QString location = MediaLocation::fileLocation(MediaLocation::nativePath(url));
            if (kind == Kind::Video)
                found.video.append(location);
            else if (kind == Kind::Audio)
                found.audio.append(location);
            else if (kind == Kind::Subtitle)
                found.subtitles.append(QDir::toNativeSeparators(url.toLocalFile()));
        } else if (source == DropSource::PlaylistFile && isNetworkLocation(url)) {
            if (kind == Kind::Video)
                found.video.append(url.toString());
            else if (kind != Kind::Subtitle)
                found.audio.append(url.toString());
        }
    }
    return found;
}

} // namespace

bool isNetworkLocation(const QUrl &url)
{
    static const QStringList schemes = {
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),  QStringLiteral("ftps"),
        QStringLiteral("sftp"), QStringLiteral("rtsp"),  QStringLiteral("rtp"),  QStringLiteral("rtmp"),
        QStringLiteral("mms"),  QStringLiteral("mmsh"),  QStringLiteral("mmst"), QStringLiteral("udp"),
        QStringLiteral("smb"),  QStringLiteral("icyx"),  QStringLiteral("srt")};
    return url.isValid() && schemes.contains(url.scheme().toLower());
}

DropPlan planDrop(const QList<QUrl> &urls, Playlist::Kind openKind, DropSource source)
{
    const Candidates found = collect(urls, source);
    const bool anyVideo = !found.video.isEmpty();
    const bool anyAudio = !found.audio.isEmpty();
    const bool anySubtitle = !found.subtitles.isEmpty();
    DropPlan plan;
    const auto warnIf = [&plan](bool condition, DropWarning warning) {
        if (condition)
            plan.warnings.append(warning);
    };

    if (openKind == Playlist::Kind::Video && anyVideo) {
        plan.action = DropAction::AppendVideo;
        warnIf(anyAudio, DropWarning::AudioIgnoredInVideoPlaylist);
        warnIf(anySubtitle, DropWarning::SubtitlesIgnoredInVideoPlaylist);
        plan.items = found.video;
    } else if (openKind == Playlist::Kind::Audio && anyAudio) {
        plan.action = DropAction::AppendAudio;
        warnIf(anyVideo, DropWarning::VideoIgnoredInAudioPlaylist);
        warnIf(anySubtitle, DropWarning::SubtitlesIgnoredInAudioPlaylist);
        plan.items = found.audio;
    } else if (found.audio.size() >= 2) {
        plan.action = DropAction::NewAudio;
        warnIf(anyVideo, DropWarning::VideoIgnoredInNewAudioPlaylist);
        warnIf(anySubtitle, DropWarning::SubtitlesIgnoredInNewAudioPlaylist);
        plan.items = found.audio;
    } else if (found.video.size() >= 2) {
        plan.action = DropAction::NewVideo;
        warnIf(anyAudio, DropWarning::AudioIgnoredInNewVideoPlaylist);
        warnIf(anySubtitle, DropWarning::SubtitlesIgnoredInNewVideoPlaylist);
        plan.items = found.video;
    } else if (found.audio.size() == 1) {
        plan.action = DropAction::PlayAudio;
        plan.items = found.audio;
    } else if (!anyVideo) {
        plan.action = DropAction::AddSubtitles;
        plan.subtitles = found.subtitles;
    } else {
        plan.action = DropAction::PlayVideo;
        plan.items = found.video;
        plan.subtitles = found.subtitles;
    }
    return plan;
}
