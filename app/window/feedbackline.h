#pragma once

#include <QLabel>
#include <QTimer>

// One short line of feedback ("Volume 85 %", "Speed 1.25x") over the top-left
// corner of the video, below the place of the top bar, far from the
// subtitles at the bottom. A new line replaces the one showing; a line goes
// after ShowMs. It never takes the mouse (clicks and the wheel reach the
// video under it), and while no line shows it is hidden and no timer runs.
// GUI thread only.
class FeedbackLine : public QLabel
{
    Q_OBJECT

public:
    static constexpr int ShowMs = 1500;

    // topBar: the overlay whose lower edge the line stays under.
    FeedbackLine(QWidget *window, const QWidget *topBar);
    ~FeedbackLine() override;

    bool isTimerActive() const { return hideTimer.isActive(); }

public slots:
    void showText(const QString &text);

private:
    QTimer hideTimer;
    const QWidget *topBar;
};
