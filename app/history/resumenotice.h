#pragma once

#include <QLabel>

class QTimer;

// The short line over the video after a resume ("Resumed at 1:02:03 - Home:
// start over"), near the bottom of the window, for about four seconds. A
// click on it asks to start over. Its own native window, so that it shows
// above the video that libvlc draws into the native frame below it.
class ResumeNotice : public QLabel
{
    Q_OBJECT

public:
    explicit ResumeNotice(QWidget *window);

    void showLine(const QString &text, int milliseconds);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QTimer *hideTimer = nullptr;
};
