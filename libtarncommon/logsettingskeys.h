#pragma once
// Names of the settings keys the log window keeps: its geometry, in group
// layoutGroup, subgroup LogDialog::layoutKey(), keys position and size.

#include <QString>

namespace LibTarnCommon::LogSettingsKey {

inline const QString layoutGroup = QStringLiteral("Layout");
inline const QString position = QStringLiteral("position"); // QPoint
inline const QString size = QStringLiteral("size");         // QSize

} // namespace LibTarnCommon::LogSettingsKey
