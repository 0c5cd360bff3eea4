#include "replylimits.h"

#include <QNetworkReply>

namespace Common {

ReplyLimits::ReplyLimits(QNetworkReply *reply, ReplyTimeouts timeouts, qint64 maxBytes)
    : QObject(reply)
    , m_reply(reply)
    , m_maxBytes(maxBytes)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(timeouts.idleMs);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(timeouts.deadlineMs);
    // reply progress -> idle time-out restarts; either time-out -> abort
    connect(&m_idle, &QTimer::timeout, this, &ReplyLimits::timedOut);
    connect(&m_deadline, &QTimer::timeout, this, &ReplyLimits::timedOut);
    connect(reply, &QNetworkReply::uploadProgress, this, &ReplyLimits::transferMoved);
    connect(reply, &QNetworkReply::downloadProgress, this, &ReplyLimits::transferMoved);
    connect(reply, &QNetworkReply::metaDataChanged, this, &ReplyLimits::transferMoved);
    connect(reply, &QNetworkReply::finished, &m_idle, &QTimer::stop);
    connect(reply, &QNetworkReply::finished, &m_deadline, &QTimer::stop);
    m_idle.start();
    m_deadline.start();
}

QByteArray ReplyLimits::read()
{
    if (m_stop != Stop::None) {
        m_reply->skip(m_reply->bytesAvailable());
        return QByteArray();
    }
    const qint64 allowed = m_maxBytes - m_taken;
    QByteArray data = m_reply->read(qMin(m_reply->bytesAvailable(), allowed));
    m_taken += data.size();
    if (m_reply->bytesAvailable() > 0) {
        m_stop = Stop::TooLarge;
        m_reply->skip(m_reply->bytesAvailable());
        QTimer::singleShot(0, m_reply, &QNetworkReply::abort);
    }
    return data;
}

void ReplyLimits::transferMoved()
{
    if (m_reply->isRunning() && m_stop == Stop::None)
        m_idle.start();
}

void ReplyLimits::timedOut()
{
    if (!m_reply->isRunning() || m_stop != Stop::None)
        return;
    m_stop = Stop::TimedOut;
    m_reply->abort();
}

} // namespace Common
