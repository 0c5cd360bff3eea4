#include "desktopintegration.h"

#include "mprisservice.h"
#include "screensaverinhibitor.h"
#include "sessionbus.h"

#include <QEvent>
#include <QWidget>

namespace Desktop {

DesktopIntegration::DesktopIntegration(const PlayerStateWatcher::Sources &sources, PlayerCommands *commands,
                                       QWidget *window)
    : QObject(window)
{
    watcher = new PlayerStateWatcher(sources, this);
    mpris = new MprisService(watcher, commands, this);
    inhibitor = new ScreenSaverInhibitor(this);

    // player state -> screen saver
    connect(watcher, &PlayerStateWatcher::changed, inhibitor,
            [this](const PlayerSnapshot &player) { inhibitor->setWanted(wantsInhibition(player)); });
    // MPRIS -> window
    connect(mpris, &MprisService::openFileRequested, this, &DesktopIntegration::openFileRequested);
    connect(mpris, &MprisService::openUrlRequested, this, &DesktopIntegration::openUrlRequested);
    connect(mpris, &MprisService::raiseRequested, this, &DesktopIntegration::raiseRequested);
    connect(mpris, &MprisService::quitRequested, this, &DesktopIntegration::quitRequested);

    window->installEventFilter(this);
}

DesktopIntegration::~DesktopIntegration() = default;

QString DesktopIntegration::serviceName() const
{
    return mpris->serviceName();
}

bool DesktopIntegration::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        watched->removeEventFilter(this);
        SessionBus *bus = SessionBus::instance();
        if (bus->isOpened()) {
            busOpened(bus->isConnected());
        } else {
            connect(bus, &SessionBus::opened, this, &DesktopIntegration::busOpened);
            bus->open();
        }
    }
    return QObject::eventFilter(watched, event);
}

void DesktopIntegration::busOpened(bool connected)
{
    if (!connected)
        return;
    mpris->start();
    inhibitor->start();
}

} // namespace Desktop
