#pragma once

#include "playerstatewatcher.h"

#include <QObject>

class QWidget;

namespace Desktop {

class MprisService;
class ScreenSaverInhibitor;

// The player on the desktop's session bus: MPRIS 2 (media keys, sound
// menus, desktop widgets) and the screen saver held off while a video plays.
// Nothing happens before the window is first shown; the bus is then opened
// on a worker thread, so that start-up never waits for it. Without a session
// bus both are silently absent.
//
// It reads the player through the watcher's sources and drives it through
// the player commands; what only the window can do comes out as signals,
// each emitted from the event loop. GUI thread only.
class DesktopIntegration : public QObject
{
    Q_OBJECT

public:
    DesktopIntegration(const PlayerStateWatcher::Sources &sources, PlayerCommands *commands, QWidget *window);
    ~DesktopIntegration() override;

    // The MPRIS name held on the bus, empty while there is none.
    QString serviceName() const;

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void openFileRequested(const QString &path);
    void openUrlRequested(const QString &url);
    void raiseRequested();
    void quitRequested();

private:
    void busOpened(bool connected);

    PlayerStateWatcher *watcher = nullptr;
    MprisService *mpris = nullptr;
    ScreenSaverInhibitor *inhibitor = nullptr;
};

} // namespace Desktop
