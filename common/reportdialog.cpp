#include "reportdialog.h"

#include "formencoding.h"
#include "logdialog.h"
#include "modernmessagebox.h"
#include "reporttext.h"
#include "richtext.h"
#include "serverbase.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace Common {

namespace {

// The server's answer to a report is not read; a bounded amount is taken
// and dropped so that the reply cannot grow in memory.
constexpr qint64 maxAnswerBytes = 64 * 1024;

} // namespace

ReportDialog::ReportDialog(const QString &versionText, const QString &app, bool a, const QString &description,
                           LibTarnCommon::LogDialog *log, QWidget *parent)
    : QDialog(parent)
    , m_a(a)
    , m_description(description)
    , m_log(log)
    , m_app(app)
    , m_versionText(versionText)
{
    // The default dialog flags carry the help button: toggling removes it.
    setWindowFlags(windowFlags() ^ Qt::WindowContextHelpButtonHint);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(tr("Issue report"));
    createWidgets();
}

void ReportDialog::createWidgets()
{
    const QString name = QGuiApplication::applicationDisplayName();
    m_information = new QLabel(this);
    m_information->setTextFormat(Qt::RichText);
    m_information->setWordWrap(true);
    if (!m_description.isEmpty()) {
        m_information->setText(
            m_description
            + tr("<br><br>You can post an anonymous report with all technical details, it will be analyzed by the "
                 "support team.<br><br>Enter your e-mail address to be notified by %1 support team when issue is "
                 "solved.")
                  .arg(name));
    } else {
        m_descriptionBox = new QTextEdit(this);
        m_information->setText(
            tr("Enter your e-mail address to be notified by %1 support team when issue is treated.").arg(name));
    }
    m_group = new QGroupBox(tr("Report issue to %1 support team").arg(name), this);
    m_emailLabel = new QLabel(tr("E-mail address (optional):"), this);
    m_email = new QLineEdit(this);
    m_postButton = new QPushButton(tr("Post report"), this);
    m_ignoreButton = new QPushButton(tr("Ignore"), this);
    m_ignoreButton->setToolTip(tr("Don't send report"));

    auto *grid = new QGridLayout(m_group);
    int row = 0;
    if (m_descriptionBox)
        grid->addWidget(m_descriptionBox, row++, 0, 1, 2);
    grid->addWidget(m_information, row++, 0, 1, 2);
    grid->addWidget(m_emailLabel, row, 0);
    grid->addWidget(m_email, row++, 1);
    grid->addWidget(m_postButton, row, 0, 1, 2);

    auto *ignoreRow = new QHBoxLayout;
    ignoreRow->addStretch();
    ignoreRow->addWidget(m_ignoreButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    layout->addLayout(ignoreRow);

    // buttons -> this
    connect(m_postButton, &QPushButton::clicked, this, &ReportDialog::sendReportButtonClicked);
    connect(m_ignoreButton, &QPushButton::clicked, this, &ReportDialog::accept);

    if (m_descriptionBox)
        m_descriptionBox->setFocus();
    else
        m_ignoreButton->setFocus();
}

void ReportDialog::done(int result)
{
    QDialog::done(result);
    if (!m_reply)
        deleteLater();
}

void ReportDialog::sendReportButtonClicked()
{
    if (m_reply)
        return;
    if (m_description.isEmpty() && m_descriptionBox)
        m_description = m_descriptionBox->toPlainText().trimmed();
    if (m_description.isEmpty()) {
        accept();
        return;
    }
    if (!isAcceptedEmail(m_email->text())) {
        QString text = tr("Please enter a valid e-mail address (or clear it).");
        if (text.size() < 60)
            text = text.leftJustified(60, QLatin1Char(' '));
        QMessageBox box(QMessageBox::NoIcon, tr("Invalid e-mail address"), text, QMessageBox::NoButton, this);
        box.exec();
        return;
    }
    const QString log = m_log ? m_log->plainText() : QString();
    postReport(composeReport(QGuiApplication::applicationDisplayName(), m_versionText, m_description, log));
}

void ReportDialog::postReport(const QString &report)
{
    m_report = report;
    const QByteArray body = encodeForm({{QStringLiteral("p"), m_app},
                                        {QStringLiteral("a"), m_a ? QStringLiteral("1") : QStringLiteral("0")},
                                        {QStringLiteral("e"), m_email->text()},
                                        {QStringLiteral("r"), QStringLiteral("issue")},
                                        {QStringLiteral("d"), report}});
    QNetworkRequest request{QUrl(serverAddress(QStringLiteral("/Tarn/report.php")))};
    request.setRawHeader("Referer", "Report");
    request.setRawHeader("User-Agent", "AppTarn");
    request.setRawHeader("Content-Type", "application/x-www-form-urlencoded");
    m_manager = new QNetworkAccessManager(this);
    m_reply = m_manager->post(request, body);
    m_limits = new ReplyLimits(m_reply, m_timeouts, maxAnswerBytes);
    // reply -> answer dropped; end of the post -> outcome, then deletion
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        if (m_limits)
            m_limits->read();
    });
    connect(m_reply, &QNetworkReply::finished, this, &ReportDialog::postFinished);
    QTimer::singleShot(0, this, &ReportDialog::accept);
}

void ReportDialog::postFinished()
{
    const int httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool timedOut = m_limits && m_limits->stop() == ReplyLimits::Stop::TimedOut;
    // A long answer was cut on purpose: only the status counts.
    const bool failed = timedOut || httpStatus >= 400
                        || (m_reply->error() != QNetworkReply::NoError
                            && !(m_limits && m_limits->stop() == ReplyLimits::Stop::TooLarge));
    const QString reason = timedOut ? tr("the server did not answer") : m_reply->errorString();
    m_reply->deleteLater();
    m_reply = nullptr;
    hide();

    if (failed) {
        ModernMessageBox box(QMessageBox::Warning, tr("Report not sent"),
                             tr("The report could not be sent: %1.<br><br>Copy the report to the clipboard, "
                                "so that it is not lost?")
                                 .arg(escapeHtml(reason)),
                             QMessageBox::Yes | QMessageBox::No, parentWidget());
        if (box.exec() == QMessageBox::Yes)
            QGuiApplication::clipboard()->setText(m_report);
    }
    deleteLater();
}

} // namespace Common
