#include "dropplan.h"

#include "mediaformats.h"
#include "medialocation.h"

#include <QDir>

using MediaFormats::Kind;

namespace {

// A location as the playlist keeps it, for as long as it lives: a copy of
// exactly its size, not QUrl's text with the spare capacity it was built with
// (more than half again its size; shrinking it in place would leave the spare
// bytes as a hole between kept strings).
QString exactCopy(const QString &built)
{
    return QString(built.constData(), built.size());
}

} // namespace

void addDropCandidate(DropCandidates &found, const QUrl &url, DropSource source)
{
    const Kind kind = MediaFormats::classifyUrl(url);
    if (url.isLocalFile()) {
        // From the name's bytes: the path text would lose those of a name
        // that is not UTF-8.
        if (kind == Kind::Video || kind == Kind::Audio) {
            QStringList &list = kind == Kind::Video ? found.video : found.audio;
            list.append(exactCopy(MediaLocation::fileLocation(MediaLocation::nativePath(url))));
        } else if (kind == Kind::Subtitle) {
            found.subtitles.append(QDir::toNativeSeparators(url.toLocalFile()));
        }
    } else if (source == DropSource::PlaylistFile && isNetworkLocation(url)) {
        if (kind == Kind::Video)
            found.video.append(exactCopy(url.toString()));
        else if (kind != Kind::Subtitle)
            found.audio.append(exactCopy(url.toString()));
    }
}

bool isNetworkLocation(const QUrl &url)
{
    static const QStringList schemes = {
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),  QStringLiteral("ftps"),
        QStringLiteral("sftp"), QStringLiteral("rtsp"),  QStringLiteral("rtp"),  QStringLiteral("rtmp"),
        QStringLiteral("mms"),  QStringLiteral("mmsh"),  QStringLiteral("mmst"), QStringLiteral("udp"),
        QStringLiteral("smb"),  QStringLiteral("icyx"),  QStringLiteral("srt")};
    return url.isValid() && schemes.contains(url.scheme().toLower());
}

DropCandidates collectDropCandidates(const QList<QUrl> &urls, DropSource source)
{
    DropCandidates found;
    for (const QUrl &url : urls)
        addDropCandidate(found, url, source);
    return found;
}

DropPlan planDrop(const QList<QUrl> &urls, Playlist::Kind openKind, DropSource source)
{
    return planDrop(collectDropCandidates(urls, source), openKind);
}

DropPlan planDrop(const DropCandidates &found, Playlist::Kind openKind)
{
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
