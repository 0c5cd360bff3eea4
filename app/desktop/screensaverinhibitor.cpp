#include "screensaverinhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QPointer>

namespace Desktop {

namespace {

QDBusMessage screenSaverCall(const QString &method, const QVariantList &arguments)
{
    const QString name = QStringLiteral("org.freedesktop.ScreenSaver");
    const QString path = QStringLiteral("/org/freedesktop/ScreenSaver");
    QDBusMessage call = QDBusMessage::createMethodCall(name, path, name, method);
    call.setArguments(arguments);
    return call;
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QObject *parent)
    : QObject(parent)
{
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    // Sent without waiting; should the process end before it leaves, the
    // closing connection releases the inhibition all the same.
    release();
}

void ScreenSaverInhibitor::start()
{
    started = QDBusConnection::sessionBus().isConnected();
    apply();
}

void ScreenSaverInhibitor::setWanted(bool on)
{
    if (!on)
        refused = false;
    wanted = on;
    apply();
}

void ScreenSaverInhibitor::apply()
{
    if (!started || asking)
        return;
    if (!wanted) {
        release();
        return;
    }
    if (cookie || refused)
        return;
    asking = true;
    const QVariantList arguments{QGuiApplication::applicationDisplayName(), tr("Playing a video")};
    // The answer may come after this object is gone (the window closed
    // meanwhile): the watcher outlives it and gives such a cookie back.
    auto *answer = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(screenSaverCall(QStringLiteral("Inhibit"), arguments)),
        QCoreApplication::instance());
    const QPointer<ScreenSaverInhibitor> self(this);
    connect(answer, &QDBusPendingCallWatcher::finished, answer, [self](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (!self) {
            if (!reply.isError())
                QDBusConnection::sessionBus().asyncCall(screenSaverCall(QStringLiteral("UnInhibit"), {reply.value()}));
            return;
        }
        self->asking = false;
        if (reply.isError())
            self->refused = true;
        else
            self->cookie = reply.value();
        self->apply();
    });
}

void ScreenSaverInhibitor::release()
{
    if (!cookie)
        return;
    QDBusConnection::sessionBus().asyncCall(screenSaverCall(QStringLiteral("UnInhibit"), {*cookie}));
    cookie.reset();
}

} // namespace Desktop
