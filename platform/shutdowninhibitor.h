#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QString>

namespace Platform {

// A systemd-logind inhibitor lock that delays shutdown and reboot:
// org.freedesktop.login1.Manager.Inhibit("shutdown", who, why, "delay") on
// the given bus (the system bus in the program). logind keeps the lock for
// as long as the file descriptor it hands out stays open; this object holds
// it until release() or its own destruction. GUI thread (blocking call of at
// most two seconds).
class ShutdownInhibitor
{
public:
    explicit ShutdownInhibitor(const QDBusConnection &bus);
    ~ShutdownInhibitor();
    ShutdownInhibitor(const ShutdownInhibitor &) = delete;
    ShutdownInhibitor &operator=(const ShutdownInhibitor &) = delete;

    // Takes a lock (after releasing one held). False when the bus is not
    // there, no logind answers, or the answer carries no descriptor.
    bool acquire(const QString &who, const QString &why);
    // Closes the descriptor, which ends the lock.
    void release();
    bool isHeld() const { return lock.isValid(); }
    // Why the last acquire failed.
    QString lastError() const { return error; }

private:
    QDBusConnection bus;
    QDBusUnixFileDescriptor lock;
    QString error;
};

} // namespace Platform
