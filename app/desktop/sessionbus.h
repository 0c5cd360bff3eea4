#pragma once

#include <QObject>

namespace Desktop {

// The process's connection to the session bus, opened once on a worker
// thread: finding and joining the bus (a slow bus, a missing one, libdbus
// trying to launch one) never holds up the GUI thread. Until opened() has
// come, nothing on the GUI thread may touch QDBusConnection::sessionBus(),
// which would wait for the worker; afterwards it returns at once.
//
// Lives on the GUI thread, a child of the application object.
class SessionBus : public QObject
{
    Q_OBJECT

public:
    static SessionBus *instance();

    // Starts opening the bus; later calls do nothing.
    void open();
    bool isOpened() const { return state != State::Idle && state != State::Opening; }
    bool isConnected() const { return state == State::Connected; }

signals:
    // Once, on the GUI thread, when the attempt is over.
    void opened(bool connected);

private:
    explicit SessionBus(QObject *parent);
    void finish(bool connected);

    enum class State { Idle, Opening, Connected, Absent };
    State state = State::Idle;
};

} // namespace Desktop
