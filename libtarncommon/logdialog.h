#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QTextBrowser;
class QUrl;

namespace LibTarnCommon {

// The application log: one coloured monospace line per message, red for
// errors, black for notices, orange for warnings. Messages are HTML: emitters
// escape any outside text they put into a line. Lines are gathered and
// shown in batches from the event loop, so that a burst of thousands (a large
// playlist) costs a few layouts, not one per line, and never freezes the
// window for long.
//
// Settings: group "Layout", subgroup layoutKey() (the title with '/' replaced
// by '-'), keys "position" (QPoint) and "size" (QSize).
class LogDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LogDialog(const QString &title, QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    // Connects sender's messageError/messageNotice/messageWarning (QString)
    // to the three add slots with the automatic connection type, so messages
    // emitted on other threads are queued to the GUI thread.
    void attachSender(QObject *sender);

    QString plainText() const;
    QString title() const { return m_title; }
    QString layoutKey() const;

signals:
    void aboutToClose();
    void gotoUrl(const QString &url);

public slots:
    void addError(const QString &message);
    void addNotice(const QString &message);
    void addWarning(const QString &message);
    void clear();
    void restoreWindow();

protected slots:
    void handleAnchorClicked(const QUrl &url);
    void layoutSaveSettings();

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Kind { Error, Notice, Warning };
    struct Line
    {
        Kind kind;
        QString html;
    };
    void append(Kind kind, const QString &message);
    // Puts up to `limit` gathered lines into the view (all when negative).
    void flushPending(int limit = -1) const;
    QString styleOf(Kind kind) const;

    QString m_errorStyle = QStringLiteral("font-family:monospace,courier new,courier; white-space:pre; color:red;");
    QString m_noticeStyle = QStringLiteral("font-family:monospace,courier new,courier; white-space:pre; color:black;");
    QString m_warningStyle = QStringLiteral("font-family:monospace,courier new,courier; white-space:pre; color:orange;");
    QString m_title;
    QTextBrowser *m_browser = nullptr;
    // Lines not yet in the view, and the timer that shows them.
    mutable QList<Line> m_pending;
    QTimer *m_flushTimer = nullptr;
    QPushButton *m_clearButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};

} // namespace LibTarnCommon
