#pragma once
// Names of the settings keys the player itself keeps (the window frame's are
// in settingskeys.h, the log window's in logsettingskeys.h). All settings live
// in the default settings store (organisation "Mirelva", application "Player");
// the stored names never change, so that existing settings files keep working.

#include <QString>

namespace PlayerSettingsKey {

// Start-up
inline const QString videoInstance = QStringLiteral("Input/video instance"); // bool
inline const QString interfaceLanguage = QStringLiteral("Interface language"); // string, read only

// Player window
inline const QString lastDisc = QStringLiteral("Input/last disc");                  // string
inline const QString lastFile = QStringLiteral("Input/last file");                  // string
inline const QString volume = QStringLiteral("Output/volume");                      // int 0..150
inline const QString lastPlaylistSaved = QStringLiteral("Output/last playlist saved"); // string

// History (the positions and lists themselves are in the history database)
inline const QString resumePlayback = QStringLiteral("History/resume playback");     // bool, default true
inline const QString restorePlaylist = QStringLiteral("History/restore playlist");   // bool, default true

} // namespace PlayerSettingsKey
