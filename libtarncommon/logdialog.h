#pragma once

#include "loglines.h"

#include <QDialog>
#include <QString>

class QListView;
class QPushButton;
class QUrl;

namespace LibTarnCommon {

// The application log: one coloured monospace line per message, red for
// errors, black for notices, orange for warnings. Messages are HTML: emitters
// escape any outside text they put into a line. The lines are rows of a list
// (LogLines) shown by a list view that lays out only what is on screen, so a
// burst of many thousands of lines costs little more than their texts. Rows
// can be selected and copied; a click on a link in a line emits gotoUrl().
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

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // New rows: the view keeps following the end when it was there.
    void showNewLines();
    void copySelection();

    QString m_title;
    LogLines *m_lines = nullptr;
    QListView *m_view = nullptr;
    QPushButton *m_clearButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};

} // namespace LibTarnCommon
