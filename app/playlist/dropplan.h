#pragma once
// What a set of dropped (or read) locations does to the player, decided from
// their suffixes alone. Pure: no widgets, no engine, no file access.

#include "playlist.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

enum class DropAction {
    AppendVideo,   // a video playlist is open and there is a video
    AppendAudio,   // an audio playlist is open and there is an audio file
    NewAudio,      // two or more audio files
    NewVideo,      // two or more videos
    PlayAudio,     // one audio file, played alone
    AddSubtitles,  // no video and no audio: only the subtitle files are used
    PlayVideo,     // one video, played alone, with the subtitle files
};

// The "ignored" notices shown before a playlist is extended or created.
enum class DropWarning {
    AudioIgnoredInVideoPlaylist,
    SubtitlesIgnoredInVideoPlaylist,
    VideoIgnoredInAudioPlaylist,
    SubtitlesIgnoredInAudioPlaylist,
    VideoIgnoredInNewAudioPlaylist,
    SubtitlesIgnoredInNewAudioPlaylist,
    AudioIgnoredInNewVideoPlaylist,
    SubtitlesIgnoredInNewVideoPlaylist,
};

struct DropPlan
{
    DropAction action = DropAction::AddSubtitles;
    QList<DropWarning> warnings; // in the order they are shown
    // Item locations to append, to make the new playlist of, or (one) to play.
    QStringList items;
    // Local subtitle files, native separators, in drop order, to load (for
    // AddSubtitles and PlayVideo; otherwise empty).
    QStringList subtitles;
};

// Where the locations come from. Dropped locations count only when they are
// local files. A playlist file may also name network locations (http, rtsp,
// mms, ...): those are classified by their suffix, and one with no known
// media suffix counts as audio (internet radio).
enum class DropSource { Drop, PlaylistFile };

// The locations a set of URLs offers, by kind, in order. Extensions are
// compared without regard to case. Local items become "file:///..."
// locations made from their paths.
struct DropCandidates
{
    QStringList video;
    QStringList audio;
    QStringList subtitles; // local paths, native separators
};

// Adds one URL to the candidates (or nothing, when it does not count).
void addDropCandidate(DropCandidates &candidates, const QUrl &url, DropSource source);
DropCandidates collectDropCandidates(const QList<QUrl> &urls, DropSource source);

// candidates in the order they are to be added; openKind: the kind of the
// open playlist (None when there is none).
DropPlan planDrop(const DropCandidates &candidates, Playlist::Kind openKind);
// The same for URLs.
DropPlan planDrop(const QList<QUrl> &urls, Playlist::Kind openKind, DropSource source = DropSource::Drop);

// Whether a URL names a network stream the player hands to the engine from a
// playlist file.
bool isNetworkLocation(const QUrl &url);
