#include "discprobe.h"

#include "disclocation.h"

#include <QMutex>
#include <QMutexLocker>

#include <system_error>
#include <thread>

// Shared by the object and its workers. The object's destructor clears
// `owner` under the lock, so a worker either posts its answer before the
// object starts to go (Qt then drops the posted call with the object) or
// finds no owner.
struct DiscProbe::Mailbox
{
    QMutex mutex;
    DiscProbe *owner = nullptr;
};

DiscProbe::DiscProbe(std::shared_ptr<const Platform::OpticalDrives> drives, QObject *parent)
    : QObject(parent)
    , drives(std::move(drives))
    , mailbox(std::make_shared<Mailbox>())
{
    mailbox->owner = this;
}

DiscProbe::~DiscProbe()
{
    QMutexLocker lock(&mailbox->mutex);
    mailbox->owner = nullptr;
}

int DiscProbe::start(const QString &location, const QString &device)
{
    if (!drives)
        return 0;
    const QString key = location + QLatin1Char('\n') + device;
    if (const int ticket = running.value(key))
        return ticket;
    const int ticket = ++lastTicket;
    try {
        std::thread([box = mailbox, drives = drives, location, device, key, ticket] {
            const std::optional<DiscKind> kind = driveDiscKind(location, device, *drives);
            const int value = kind ? int(*kind) : -1;
            QMutexLocker lock(&box->mutex);
            if (DiscProbe *owner = box->owner)
                QMetaObject::invokeMethod(
                    owner, [owner, key, ticket, value] { owner->deliver(key, ticket, value); }, Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error &) {
        return 0;
    }
    running.insert(key, ticket);
    return ticket;
}

void DiscProbe::deliver(const QString &key, int ticket, int kind)
{
    running.remove(key);
    emit finished(ticket, kind);
}
