#pragma once

#include "formencoding.h"
#include "replylimits.h"
#include "updatereply.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;

namespace Common {

// The update client: posts the form of the update request to the server,
// reads the tagged reply as it arrives and reports progress as status texts
// (rich text; anything from the network is escaped). One client serves one
// check; GUI thread only.
//
// Replies are bounded: more than maxReplyBytes aborts the check, and so does
// a transfer in which nothing moves for the idle time-out or that outlasts
// the deadline; both end as "did not answer in time".
class UpdateHelper : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 maxReplyBytes = 1024 * 1024;

    explicit UpdateHelper(QObject *parent = nullptr);
    ~UpdateHelper() override;

    void setUrl(const QString &url) { m_url = url; }
    void setDebug(bool debug) { m_debug = debug ? QStringLiteral("1") : QStringLiteral("0"); }
    void setApp(const QString &app);
    void setVersion(const QString &version) { m_version = version; }
    void setBuild(const QString &build) { m_build = build; }
    void setAuto(bool atStart) { m_auto = atStart ? QStringLiteral("1") : QStringLiteral("0"); }
    void setTimeouts(ReplyTimeouts timeouts) { m_timeouts = timeouts; }

    bool isDone() const { return m_done; }
    bool isDebug() const { return m_debug != QLatin1String("0"); }
    QString version() const { return m_version; }
    // The last status emitted (named apart from the status signal).
    QString statusText() const { return m_status; }
    QString receivedText() const;

    QString update() const { return m_reply.value(UpdateTag::Update); }
    QString changelog() const { return m_reply.value(UpdateTag::Changelog); }
    QString fileBin() const { return m_reply.value(UpdateTag::FileBin); }
    QString fileSrc() const { return m_reply.value(UpdateTag::FileSrc); }
    QString urlBin() const { return m_reply.value(UpdateTag::UrlBin); }
    QString urlSrc() const { return m_reply.value(UpdateTag::UrlSrc); }
    QString newVersion() const { return m_reply.value(UpdateTag::Version); }

    // The fields start() posts, in order.
    FormFields requestFields() const;

signals:
    // Once per request, after the final status.
    void done();
    // Debug mode only: the whole reply so far, at most every 250 ms and once
    // more before done.
    void response(const QString &text);
    void status(const QString &text);

public slots:
    // Sends the request; does nothing while a reply is running.
    void start();

protected slots:
    void handleReplyError(QNetworkReply::NetworkError code);
    void handleReplyFinished();
    void handleReplyRead();
    void handleStatus(const QString &text);

private:
    QString limitStatus() const;
    void emitResponse();

    QString m_activated;
    int m_expired = 0;
    QString m_key;
    QString m_build;
    QString m_debug = QStringLiteral("0");
    QString m_app;
    QString m_limit;
    int m_end = 0;
    QString m_auto;
    QString m_system;
    QString m_version;
    QString m_url;
    QString m_uuid;
    QString m_user;
    QString m_mail;
    QString m_name;
    ReplyTimeouts m_timeouts;

    QNetworkAccessManager *m_manager = nullptr;
    QPointer<QNetworkReply> m_running;
    QPointer<ReplyLimits> m_limits;
    UpdateReplyParser m_reply;
    bool m_done = false;

    QString m_updateAvailableText;
    QString m_noUpdateText;
    QString m_status;

    // Debug views of a large reply are refreshed on a timer, not per chunk.
    QTimer m_responseTimer;
    bool m_responsePending = false;
};

// The "system" field: the running system's name.
QString updateSystemName();

} // namespace Common
