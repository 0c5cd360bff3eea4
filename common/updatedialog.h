#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QStackedWidget;
class QTabWidget;
class QTextEdit;

namespace LibTarnCommon {
class BlinkLabel;
}

namespace Common {

class UpdateHelper;

// Shows one update check live: the blinking status line, the running and
// available versions, the download links (http and https only) or the
// application's links page, the changelog as plain text and, in debug mode,
// the raw server reply. Follows the client in whatever state it is in when
// the dialog opens. The client must outlive the dialog; callers run exec().
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    UpdateDialog(UpdateHelper *client, const QString &links, const QString &title, QWidget *parent = nullptr,
                 Qt::WindowFlags flags = Qt::WindowFlags());

protected slots:
    void updateResponse(const QString &text);
    void updateResult();
    void updateStatus(const QString &text);

private:
    void createWidgets();
    void layoutWidgets();

    UpdateHelper *m_client = nullptr;
    QString m_links;

    QLabel *m_runningLabel = nullptr;
    QLabel *m_availableLabel = nullptr;
    QLabel *m_downloadLabel = nullptr;
    QLabel *m_sourceLabel = nullptr;
    QLabel *m_runningValue = nullptr;
    QLabel *m_availableValue = nullptr;
    QLabel *m_rule = nullptr;
    QLabel *m_binLink = nullptr;
    QLabel *m_srcLink = nullptr;
    QLabel *m_linksLabel = nullptr;
    LibTarnCommon::BlinkLabel *m_statusLabel = nullptr;
    QStackedWidget *m_stack = nullptr;
    QWidget *m_linksPage = nullptr;
    QWidget *m_downloadPage = nullptr;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_statusPage = nullptr;
    QTextEdit *m_responseView = nullptr;
    QTextEdit *m_sourceView = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

// The same dialog, frameless and flat.
class ModernUpdateDialog : public UpdateDialog
{
    Q_OBJECT

public:
    ModernUpdateDialog(UpdateHelper *client, const QString &links, const QString &title, QWidget *parent = nullptr,
                       Qt::WindowFlags flags = Qt::WindowFlags());
};

} // namespace Common
