#pragma once
// The extension tables that classify media files, and the filter texts of the
// file dialogs built from them. QtCore only; stateless.
//
// The tables are kept as the pattern literals the dialogs show
// ("*.3g2;*.3gp;..."); their bare suffixes come from splitting on every
// character that is not a word character ("*f4v" gives "f4v" like the rest).

#include <QString>
#include <QStringList>

class QUrl;

namespace MediaFormats {

enum class Kind { Unknown, Video, Audio, Subtitle, Playlist };

extern const char *const videoPatterns;    // 58 patterns
extern const char *const audioPatterns;    // 51 patterns
extern const char *const subtitlePatterns; // 20 patterns
extern const char *const playlistPatterns; // "*.m3u;*.m3u8"

// Bare suffixes of a pattern literal, in table order.
QStringList suffixes(const char *patterns);

// The table a suffix belongs to, compared without regard to case. Video is
// tried first, so "mp2" and "ogg" (in both tables) count as video; then audio,
// subtitle and playlist.
Kind classifySuffix(const QString &suffix);
// The same for the suffix of a file name or path ("a/b.MKV" is video).
Kind classifyFile(const QString &fileName);
// The same for the last segment of a URL's decoded path; a URL whose path has
// no known suffix is Unknown.
Kind classifyUrl(const QUrl &url);

// Whether a file name's suffix, lower-cased, starts with "m3u": it is read as
// a playlist file.
bool isPlaylistFile(const QString &fileName);

// Filter of the "Open file" dialog: All files first, then the video, audio and
// playlist tables; translated captions are passed in.
QString openFileFilter(const QString &allFiles, const QString &videoFiles, const QString &audioFiles,
                       const QString &playlistFiles);
// Filter of the "Add subtitle file" dialog: subtitle files first, then all files.
QString subtitleFileFilter(const QString &subtitleFiles, const QString &allFiles);

} // namespace MediaFormats
