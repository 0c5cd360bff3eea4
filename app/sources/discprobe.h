#pragma once
// Asks a drive what it holds without blocking the GUI thread: each query runs
// on a detached worker thread, and its answer comes back as a queued signal
// while this object lives. A query that outlives its object (a drive that
// takes seconds to spin up after the dialog closed) ends quietly.

#include <QHash>
#include <QObject>

#include <memory>

namespace Platform {
class OpticalDrives;
}

class DiscProbe : public QObject
{
    Q_OBJECT

public:
    explicit DiscProbe(std::shared_ptr<const Platform::OpticalDrives> drives, QObject *parent = nullptr);
    ~DiscProbe() override;

    // Starts driveDiscKind(location, device) on a worker thread and returns its
    // ticket (> 0); the same pair while its query runs gives the same ticket.
    // 0 when no thread could be started.
    int start(const QString &location, const QString &device);

signals:
    // On this object's thread. kind: a DiscKind value, or -1 when the disc
    // gave no kind.
    void finished(int ticket, int kind);

private:
    struct Mailbox;

    void deliver(const QString &key, int ticket, int kind);

    std::shared_ptr<const Platform::OpticalDrives> drives;
    std::shared_ptr<Mailbox> mailbox;
    QHash<QString, int> running; // query key → ticket
    int lastTicket = 0;
};
