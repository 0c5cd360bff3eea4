#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

// Local files given as media or subtitles (start file, hand-over, drop,
// playlist item, file dialog) reach the engine only when they are regular
// files this process can read: a named pipe would hold the engine's start for
// seconds, a device or a folder never plays. A refused file gets a warning
// line naming it through warning and, when boxParent is given, the "Failed to
// play file" box over it. A missing file is left to the engine, which reports
// it. GUI thread only.
bool admitLocalFile(const QByteArray &nativePath, const std::function<void(const QString &)> &warning,
                    QWidget *boxParent = nullptr);
