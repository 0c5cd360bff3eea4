#pragma once

#include "replylimits.h"

#include <QDialog>
#include <QPointer>

class QGroupBox;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QTextEdit;

namespace LibTarnCommon {
class LogDialog;
}

namespace Common {

// Sends a problem report to the maker's support team: a description (typed
// here, or prepared by the caller), an optional e-mail address, the version
// line and the whole application log, as one form post to the report
// address on the maker's server.
//
// The dialog closes as soon as the report is posted and deletes itself when
// the post has finished; a failed post (network error, HTTP status 400 or
// more, no answer by the deadline) tells the user and offers the report text for the clipboard. When
// nothing is sent it deletes itself on closing.
class ReportDialog : public QDialog
{
    Q_OBJECT

public:
    ReportDialog(const QString &versionText, const QString &app, bool a, const QString &description,
                 LibTarnCommon::LogDialog *log, QWidget *parent = nullptr);

    void setTimeouts(ReplyTimeouts timeouts) { m_timeouts = timeouts; }
    void done(int result) override;

protected slots:
    void sendReportButtonClicked();

private:
    void createWidgets();
    void postReport(const QString &report);
    void postFinished();

    bool m_a = false;
    QString m_description;
    QPointer<LibTarnCommon::LogDialog> m_log;
    QString m_app;
    QString m_versionText;
    QString m_report;
    ReplyTimeouts m_timeouts;

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    QPointer<ReplyLimits> m_limits;

    QPushButton *m_ignoreButton = nullptr;
    QGroupBox *m_group = nullptr;
    QLabel *m_information = nullptr;
    QLabel *m_emailLabel = nullptr;
    QLineEdit *m_email = nullptr;
    QTextEdit *m_descriptionBox = nullptr;
    QPushButton *m_postButton = nullptr;
};

} // namespace Common
