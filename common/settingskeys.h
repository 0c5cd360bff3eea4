#pragma once
// Names of the settings keys the window frame keeps. All settings live in the
// default settings store (organisation "Mirelva", application "Player").

#include <QString>

namespace SettingsKey {

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
