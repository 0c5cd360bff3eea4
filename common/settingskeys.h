#pragma once
// Names of every settings key the player and its frame keep, in one place.
// All settings live in the default settings store (organisation "Mirelva",
// application "Player").

#include <QString>

namespace SettingsKey {

// Start-up
inline const QString videoInstance = QStringLiteral("Input/video instance"); // bool
inline const QString interfaceLanguage = QStringLiteral("Interface language"); // string, read only

// Player window
inline const QString lastDisc = QStringLiteral("Input/last disc");                  // string
inline const QString lastFile = QStringLiteral("Input/last file");                  // string
inline const QString volume = QStringLiteral("Output/volume");                      // int 0..150
inline const QString lastPlaylistSaved = QStringLiteral("Output/last playlist saved"); // string
inline const QString seekBarPreviews = QStringLiteral("Interface/seek-bar previews"); // bool, default true

// History (the positions and lists themselves are in the history database)
inline const QString resumePlayback = QStringLiteral("History/resume playback");     // bool, default true
inline const QString restorePlaylist = QStringLiteral("History/restore playlist");   // bool, default true

// Frame
inline const QString checkUpdate = QStringLiteral("Check update"); // bool, default true
inline const QString layoutPosition = QStringLiteral("Layout/Main/position");     // QPoint
inline const QString layoutSize = QStringLiteral("Layout/Main/size");             // QSize
inline const QString layoutFullscreen = QStringLiteral("Layout/Main/fullscreen"); // bool
// Screen configuration at the last save: group "Desktop", with "screens" (int)
// and "Screen N/size" (QRect, the available geometry of screen N).
inline const QString desktopGroup = QStringLiteral("Desktop");
inline const QString desktopScreens = QStringLiteral("screens");
inline QString desktopScreenSize(int screen)
{
    return QStringLiteral("Screen %1/size").arg(screen);
}

} // namespace SettingsKey
