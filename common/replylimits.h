#pragma once

#include <QObject>
#include <QTimer>

class QNetworkReply;

namespace Common {

// How long a reply may take: nothing moving for idleMs, or more than
// deadlineMs in all (a server that trickles keeps the idle timer alive).
struct ReplyTimeouts
{
    int idleMs = 30000;
    int deadlineMs = 60000;
};

// Bounds one network reply from a server we do not control. A transfer in
// which nothing moves for the idle time-out, or that is still running at the
// deadline, is aborted; a reply larger than the cap is cut at the cap and
// aborted. Lives as a child of the reply.
//
// The owner reads through read() and, once the reply has finished, asks
// stop() whether the limits ended it.
class ReplyLimits : public QObject
{
    Q_OBJECT

public:
    enum class Stop { None, TimedOut, TooLarge };

    ReplyLimits(QNetworkReply *reply, ReplyTimeouts timeouts, qint64 maxBytes);

    // What the reply holds, up to the cap. Past it, the rest is discarded,
    // stop() becomes TooLarge and the abort follows from the event loop, so
    // the owner never sees the reply finish inside its own read.
    QByteArray read();
    Stop stop() const { return m_stop; }

private:
    void transferMoved();
    void timedOut();

    QNetworkReply *m_reply = nullptr;
    qint64 m_maxBytes = 0;
    qint64 m_taken = 0;
    Stop m_stop = Stop::None;
    QTimer m_idle;
    QTimer m_deadline;
};

} // namespace Common
