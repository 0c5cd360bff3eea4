#include "sessionbus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QThread>

#include <atomic>
#include <memory>

namespace Desktop {

SessionBus::SessionBus(QObject *parent)
    : QObject(parent)
{
}

SessionBus *SessionBus::instance()
{
    static SessionBus *bus = nullptr;
    if (!bus) {
        bus = new SessionBus(QCoreApplication::instance());
        connect(bus, &QObject::destroyed, [] { bus = nullptr; });
    }
    return bus;
}

void SessionBus::open()
{
    if (state != State::Idle)
        return;
    state = State::Opening;
    auto connected = std::make_shared<std::atomic<bool>>(false);
    QThread *worker = QThread::create([connected] { *connected = QDBusConnection::sessionBus().isConnected(); });
    // The result comes back through a queued connection to this object; a
    // worker still stuck in libdbus when the program ends is left to the
    // end of the process rather than waited for.
    connect(worker, &QThread::finished, this, [this, connected] { finish(*connected); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void SessionBus::finish(bool connected)
{
    state = connected ? State::Connected : State::Absent;
    emit opened(connected);
}

} // namespace Desktop
