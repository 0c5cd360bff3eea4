#include "updatehelper.h"

#include "richtext.h"

#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSysInfo>

namespace Common {

namespace {

constexpr int responseIntervalMs = 250;

// An error text carries the server's reason phrase: escaped and bounded.
QString errorStatus(const QNetworkReply *reply)
{
    return escapeHtml(boundedText(reply->errorString(), 512));
}

} // namespace

#ifdef Q_OS_WIN
QString updateSystemName()
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    switch (QSysInfo::windowsVersion()) {
    case QSysInfo::WV_NT: return QStringLiteral("Windows NT (4.0)");
    case QSysInfo::WV_2000: return QStringLiteral("Windows 2000 (5.0)");
    case QSysInfo::WV_XP: return QStringLiteral("Windows XP (5.1)");
    case QSysInfo::WV_2003: return QStringLiteral("Windows 2003 (5.2)");
    case QSysInfo::WV_VISTA: return QStringLiteral("Windows Vista (6.0)");
    case QSysInfo::WV_WINDOWS7: return QStringLiteral("Windows 7 (6.1)");
    case QSysInfo::WV_WINDOWS8: return QStringLiteral("Windows 8 (6.2)");
    case QSysInfo::WV_WINDOWS8_1: return QStringLiteral("Windows 8.1 (6.3)");
    default: return QStringLiteral("Windows");
    }
    QT_WARNING_POP
}
#else
QString updateSystemName()
{
    return QSysInfo::prettyProductName();
}
#endif

UpdateHelper::UpdateHelper(QObject *parent)
    : QObject(parent)
    , m_system(updateSystemName())
    , m_status(tr("<b>Ready to look for available update...</b>"))
{
    qRegisterMetaType<QNetworkReply::NetworkError>();
    setApp(QString());
    m_responseTimer.setSingleShot(true);
    m_responseTimer.setInterval(responseIntervalMs);
    // own status -> stored status; debug refresh timer -> response
    connect(this, &UpdateHelper::status, this, &UpdateHelper::handleStatus);
    connect(&m_responseTimer, &QTimer::timeout, this, [this] {
        if (m_responsePending)
            emitResponse();
    });
}

UpdateHelper::~UpdateHelper()
{
    if (m_running) {
        disconnect(m_running, nullptr, this, nullptr);
        m_running->abort();
        m_running->deleteLater();
    }
}

void UpdateHelper::setApp(const QString &app)
{
    m_app = app;
    const QString name = QGuiApplication::applicationDisplayName();
    m_updateAvailableText = tr("<b>An update is available for %1.</b>").arg(name);
    m_noUpdateText = tr("<b>No update available for %1.</b>").arg(name);
}

QString UpdateHelper::receivedText() const
{
    const QByteArray &bytes = m_reply.received();
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

FormFields UpdateHelper::requestFields() const
{
    return {{QStringLiteral("app"), m_app},
            {QStringLiteral("limit"), m_limit},
            {QStringLiteral("version"), m_version},
            {QStringLiteral("build"), m_build},
            {QStringLiteral("debug"), m_debug},
            {QStringLiteral("activated"), m_activated},
            {QStringLiteral("uuid"), m_uuid},
            {QStringLiteral("key"), m_key},
            {QStringLiteral("end"), QString::number(m_end)},
            {QStringLiteral("expired"), QString::number(m_expired)},
            {QStringLiteral("system"), m_system},
            {QStringLiteral("arch"), tr("x64")},
            {QStringLiteral("user"), m_user},
            {QStringLiteral("name"), m_name},
            {QStringLiteral("mail"), m_mail},
            {QStringLiteral("auto"), m_auto}};
}

void UpdateHelper::start()
{
    if (m_running && m_running->isRunning())
        return;
    // One manager for the client's lifetime; it follows the system's
    // default network configuration by itself.
    if (!m_manager)
        m_manager = new QNetworkAccessManager(this);

    QNetworkRequest request{QUrl(m_url)};
    request.setRawHeader("Referer", "CheckUpdates");
    request.setRawHeader("User-Agent", "AppTarn");
    request.setRawHeader("Content-Type", "application/x-www-form-urlencoded");

    emit status(tr("<b>Looking for available update...</b>"));
    m_reply.clear();
    m_done = false;
    m_responsePending = false;
    m_running = m_manager->post(request, encodeForm(requestFields()));
    m_limits = new ReplyLimits(m_running, m_timeouts, maxReplyBytes);
    // reply -> this
    connect(m_running, &QNetworkReply::errorOccurred, this, &UpdateHelper::handleReplyError);
    connect(m_running, &QNetworkReply::finished, this, &UpdateHelper::handleReplyFinished);
    connect(m_running, &QNetworkReply::readyRead, this, &UpdateHelper::handleReplyRead);
}

void UpdateHelper::handleReplyRead()
{
    if (!m_running || !m_limits)
        return;
    emit status(tr("<b>Checking current version...</b>"));
    m_reply.append(m_limits->read());
    if (!isDebug())
        return;
    m_responsePending = true;
    if (!m_responseTimer.isActive()) {
        emitResponse();
        m_responseTimer.start();
    }
}

void UpdateHelper::emitResponse()
{
    m_responsePending = false;
    emit response(receivedText());
}

QString UpdateHelper::limitStatus() const
{
    if (!m_limits)
        return QString();
    switch (m_limits->stop()) {
    case ReplyLimits::Stop::TimedOut:
        return tr("<b>The server did not answer in time. Try later.</b>");
    case ReplyLimits::Stop::TooLarge:
        return tr("<b>The server's reply is larger than %1 KiB: the check was stopped.</b>")
            .arg(maxReplyBytes / 1024);
    case ReplyLimits::Stop::None: break;
    }
    return QString();
}

void UpdateHelper::handleReplyError(QNetworkReply::NetworkError code)
{
    const QString limit = limitStatus();
    if (!limit.isEmpty())
        emit status(limit);
    else if (m_running && m_running->error() != QNetworkReply::NoError)
        emit status(errorStatus(m_running));
    else
        emit status(tr("Network error #%1").arg(int(code)));
}

void UpdateHelper::handleReplyFinished()
{
    QNetworkReply *reply = m_running;
    if (!reply)
        return;
    m_running = nullptr;

    if (isDebug() && m_responsePending) {
        m_responseTimer.stop();
        emitResponse();
    }
    const QString limit = limitStatus();
    if (!limit.isEmpty() || reply->error() != QNetworkReply::NoError) {
        // An error page or a cut reply is no answer: its tags do not count.
        m_reply.dropValues();
        emit status(!limit.isEmpty() ? limit : errorStatus(reply));
    } else if (m_reply.received().isEmpty()) {
        emit status(tr("<b>Internet connection failed! Try later.</b>"));
    } else if (update() == QLatin1String("yes")) {
        emit status(m_updateAvailableText);
    } else {
        emit status(m_noUpdateText);
    }
    reply->deleteLater();
    m_done = true;
    emit done();
}

void UpdateHelper::handleStatus(const QString &text)
{
    m_status = text;
}

} // namespace Common
