#include "shutdowninhibitor.h"

#include <QDBusMessage>
#include <QVariant>

namespace Platform {

namespace {

constexpr int CallTimeoutMs = 2000;

} // namespace

ShutdownInhibitor::ShutdownInhibitor(const QDBusConnection &bus)
    : bus(bus)
{
}

ShutdownInhibitor::~ShutdownInhibitor() = default;

bool ShutdownInhibitor::acquire(const QString &who, const QString &why)
{
    release();
    if (!bus.isConnected()) {
        error = QStringLiteral("no system bus");
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("shutdown") << who << why << QStringLiteral("delay");
    const QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return false;
    }
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.isEmpty() || !arguments.first().canConvert<QDBusUnixFileDescriptor>()) {
        error = QStringLiteral("the answer holds no file descriptor");
        return false;
    }
    lock = arguments.first().value<QDBusUnixFileDescriptor>();
    if (!lock.isValid()) {
        error = QStringLiteral("the answer holds no file descriptor");
        return false;
    }
    error.clear();
    return true;
}

void ShutdownInhibitor::release()
{
    // The descriptor closes with the last copy of it.
    lock = QDBusUnixFileDescriptor();
}

} // namespace Platform
